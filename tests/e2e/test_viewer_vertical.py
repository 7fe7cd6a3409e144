"""The vertical preview pane under Wine: hidden at first start, toggled from
the View menu, the sample set in columns from the right in a face's vertical
variant, the note for a face without one, its layout kept out of the bars'
registry values; and the family names line of the property dialog."""
import pytest
from fontTools.ttLib import TTFont

from harness.glimra import QUERY_SELECTED_ROW, Glimra
from harness.pixels import capture
from harness.wine import wait_until

WM_GLIMRA_QUERY = 0x8050
QUERY_SHOWN, QUERY_FORMS, QUERY_COLUMNS = 20, 21, 22
SHOWN_NOTHING, SHOWN_VERTICAL, SHOWN_NO_VARIANT = 0, 1, 2
ID_VIEW_VERTICAL, ID_FONT_PROPERTIES = 32813, 32799
IDC_SAMPLE_TEXT, IDC_SAMPLE_SIZE = 1000, 1001
IDC_INFO_FACE, IDC_INFO_FILE, IDC_INFO_NAMES = 1066, 1067, 1069
KEY = r"HKCU\Software\VANTO\Glimra"
BAR_ENTRIES = ("BarID", "Visible", "Side", "Row", "Order")
DARK = 128
EM_SETSEL = 0x00B1
WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON = 0x0200, 0x0201, 0x0202, 0x0001


class Viewer(Glimra):
    def child(self, ctrl_id, cls=None):
        return next(c for c in self.wine.children(self.frame.hwnd)
                    if c.id == ctrl_id and (cls is None or c.cls == cls))

    def pane(self):
        return self.child(ID_VIEW_VERTICAL, "FwControlBar")

    def pane_query(self, what):
        if not hasattr(self, "pane_hwnd"):
            self.pane_hwnd = self.pane().hwnd
        return self.wine.send(self.pane_hwnd, WM_GLIMRA_QUERY, what)

    def settle(self):
        self.wine.send(self.view.hwnd, 0)  # WM_NULL: everything posted so far is handled

    def keys(self, *keys):
        self.wine.wtool("keys", hex(self.view.hwnd), *keys)
        self.settle()

    def wait_pane(self, what, predicate):
        return wait_until(lambda: predicate(self.pane_query(what)), timeout=15)


def bar_layout(wine):
    """Every value of the standard bar layout in the registry."""
    count = wine.reg_get(KEY + r"\ControlBar-Summary", "Bars")
    values = {"Bars": count}
    for n in range(count or 0):
        for entry in BAR_ENTRIES:
            values[(n, entry)] = wine.reg_get(KEY + r"\ControlBar-Bar%d" % n, entry)
    return values


def ink(image, x0=0, y0=0, x1=None, y1=None):
    """Dark pixels (x, y) of a box of a colour capture."""
    x1 = image.width if x1 is None else x1
    y1 = image.height if y1 is None else y1
    return [(x, y) for y in range(y0, y1) for x in range(x0, x1) if sum(image.pixel(x, y)) < 3 * DARK]


def sample_ink(image):
    """The pane's ink below its first line of text (the vertical forms line)."""
    rows = sorted({y for _, y in ink(image)})
    assert rows, "the pane is empty"
    end = rows[0]
    while end + 1 in rows:
        end += 1
    return ink(image, 0, end + 1)


def clusters(values, gap=4):
    """Runs of sorted values with no gap wider than gap: (first, last) each."""
    runs = []
    for v in sorted(set(values)):
        if runs and v - runs[-1][1] <= gap:
            runs[-1][1] = v
        else:
            runs.append([v, v])
    return runs


def shoot(wine, pane, path):
    left, top, right, bottom = pane.rect
    # Inside the bar's border and gripper.
    return capture(wine.env["DISPLAY"], (left + 4, top + 12, right - 4, bottom - 4), path)


@pytest.fixture
def viewer(programs, clean_registry):
    return lambda: Viewer(programs)


def test_vertical_pane_and_family_names(viewer, wine, shots, tmp_path):
    # First start: the pane exists but stays hidden and draws nothing.
    v = viewer()
    assert not v.pane().visible
    assert v.pane_query(QUERY_SHOWN) == SHOWN_NOTHING
    assert v.close() == 0
    without = bar_layout(wine)
    assert without["Bars"] == 4 and ID_VIEW_VERTICAL not in [without[(n, "BarID")] for n in range(4)]
    assert wine.reg_get(KEY + r"\VerticalPreview", "Visible") == 0

    # Shown from the View menu on the right of the list, beside the view.
    v = viewer()
    v.command(ID_VIEW_VERTICAL)
    v.settle()
    pane, view = v.pane(), v.child(59648, "FwView")
    assert pane.visible and pane.rect[0] >= view.rect[2] and pane.rect[3] == view.rect[3]

    # A face with a vertical variant: the default sample runs down one column.
    v.keys("I")
    assert v.wait_pane(QUERY_SHOWN, lambda s: s == SHOWN_VERTICAL)
    assert v.pane_query(QUERY_FORMS) & 1  # the IPA fonts substitute 'vert'
    assert v.pane_query(QUERY_COLUMNS) == 1
    image = shoot(wine, pane, tmp_path / "pane1.ppm")
    xs, ys = zip(*sample_ink(image))
    assert max(ys) - min(ys) > 3 * (max(xs) - min(xs)), "the sample is not set vertically"
    assert max(xs) > image.width * 2 // 3, "the column is not on the right"

    # A longer sample wraps into a second column on the left; the first
    # character (a black square) sits at the top of the right one.
    v.wine.set_text(v.child(IDC_SAMPLE_TEXT, "Edit").hwnd, "■" + "一" * 24)
    assert v.wait_pane(QUERY_COLUMNS, lambda n: n >= 2)
    wine.screenshot(shots / "vertical-two-columns.png")
    image = shoot(wine, pane, tmp_path / "pane2.ppm")
    dots = sample_ink(image)
    columns = clusters([x for x, _ in dots], gap=6)
    assert len(columns) >= 2
    (l0, l1), (r0, r1) = columns[0], columns[-1]
    right_ys = [y for x, y in dots if r0 <= x <= r1]
    left_ys = [y for x, y in dots if l0 <= x <= l1]
    assert abs(min(left_ys) - min(right_ys)) < (r1 - r0), "the columns do not start at the same top"
    assert max(left_ys) - min(left_ys) < (max(right_ys) - min(right_ys)) / 2, "the last column is not the short left one"
    top, size = min(right_ys), r1 - r0 + 1
    square = [(x, y) for x, y in dots if r0 <= x <= r1 and top <= y < top + size]
    assert len(square) > size * size // 2, "the first character is not at the top right"

    # Smaller sample: the pane follows and needs one column again.
    size_edit = next(c for c in wine.children(v.child(IDC_SAMPLE_SIZE, "ComboBox").hwnd) if c.cls == "Edit")
    wine.wtool("click", (size_edit.rect[0] + size_edit.rect[2]) // 2, (size_edit.rect[1] + size_edit.rect[3]) // 2)
    wine.send(size_edit.hwnd, EM_SETSEL, 0, 0xFFFFFFFF)
    wine.wtool("keys", hex(size_edit.hwnd), "9")
    assert v.wait_pane(QUERY_COLUMNS, lambda n: n == 1)

    # The property dialog names the face's families from its name table.
    v.command(ID_FONT_PROPERTIES)
    dialog = wait_until(lambda: wine.find_windows("#32770", "フォント・プロパティ"), timeout=20)[0]
    texts = {c.id: c.text for c in wine.children(dialog.hwnd)}
    face, path = texts[IDC_INFO_FACE], texts[IDC_INFO_FILE]
    names = {(r.platformID, r.langID): r.toUnicode() for r in TTFont(path[2:].replace("\\", "/"))["name"].names
             if r.nameID == 1}
    assert texts[IDC_INFO_NAMES] == names[(3, 0x411)] + " / " + names[(3, 0x409)]
    assert names[(3, 0x411)] == face
    wine.screenshot(shots / "vertical-properties.png")
    wine.command(dialog.hwnd, 2)  # IDCANCEL
    wait_until(lambda: not wine.find_windows("#32770", "フォント・プロパティ"), timeout=10)

    # A Western face has no vertical variant: the pane says so in a line of text.
    v.keys("L")
    assert v.wait_pane(QUERY_SHOWN, lambda s: s == SHOWN_NO_VARIANT)
    assert v.query(QUERY_SELECTED_ROW) > 0
    assert v.pane_query(QUERY_COLUMNS) == 0
    wine.screenshot(shots / "vertical-no-variant.png")
    xs, ys = zip(*sample_ink(shoot(wine, pane, tmp_path / "pane3.ppm")))
    assert max(xs) - min(xs) > 2 * (max(ys) - min(ys)), "the note is not a line of text"

    # Its inner edge follows the mouse: 60 pixels wider; the view gives way.
    width = pane.rect[2] - pane.rect[0]
    for msg, keys, x in ((WM_LBUTTONDOWN, MK_LBUTTON, 2), (WM_MOUSEMOVE, MK_LBUTTON, -60), (WM_LBUTTONUP, 0, -60)):
        wine.post(v.pane_hwnd, msg, keys, (300 << 16) | (x & 0xFFFF))
    pane = wait_until(lambda: next((p for p in [v.pane()] if p.rect[2] - p.rect[0] == width + 60), None), timeout=10)
    assert v.child(59648, "FwView").rect[2] <= pane.rect[0]
    assert v.close() == 0
    assert wine.reg_get(KEY + r"\VerticalPreview", "Visible") == 1
    assert wine.reg_get(KEY + r"\VerticalPreview", "Side") == 3
    assert wine.reg_get(KEY + r"\VerticalPreview", "Width") == width + 60
    assert bar_layout(wine) == without

    # Back as it was left; hidden again from the menu, and still out of the bars' values.
    v = viewer()
    assert v.pane().visible and v.pane().rect[2] - v.pane().rect[0] == width + 60
    v.command(ID_VIEW_VERTICAL)
    v.settle()
    assert not v.pane().visible
    assert v.close() == 0
    assert wine.reg_get(KEY + r"\VerticalPreview", "Visible") == 0
    assert bar_layout(wine) == without
