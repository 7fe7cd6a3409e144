"""Settings sheet, About dialog and help file of Glimra.exe under Wine."""
import shutil

from export_support import SETTINGS, Glimra
from harness.wine import wait_until

ID_SETTINGS, ID_APP_ABOUT, ID_HELP = 32792, 57664, 57670
IDOK, IDCANCEL = 1, 2
WM_COMMAND, CB_GETCURSEL, CB_SETCURSEL, CBN_SELCHANGE = 0x0111, 0x0147, 0x014E, 1
IDC_AUTOUPDATE, IDC_VERSION, IDC_MAKER_LINK, IDC_FAVMAX = 1007, 1008, 1009, 1069


def signed(v):
    return v - (1 << 32) if v >= (1 << 31) else v


def open_settings(g):
    g.command(ID_SETTINGS)
    sheet = g.wine.wait_window("#32770", "設定", timeout=20)
    combo = wait_until(lambda: next((c for c in g.wine.children(sheet.hwnd) if c.id == IDC_FAVMAX), None))
    return sheet, combo


def page_of(g, sheet, combo):
    # The combo box's parent: the page inside the sheet.
    return next(c for c in g.wine.children(sheet.hwnd) if c.cls == "#32770" and
                any(k.hwnd == combo.hwnd for k in g.wine.children(c.hwnd)))


def test_unlisted_maximum_shows_no_choice_and_becomes_20_on_ok(programs, clean_registry):
    g = Glimra(programs, FavMax=25)
    sheet, combo = open_settings(g)
    assert signed(g.wine.send(combo.hwnd, CB_GETCURSEL)) == -1
    g.wine.post(sheet.hwnd, WM_COMMAND, IDOK)
    wait_until(lambda: not g.wine.find_windows("#32770", "設定"))
    g.close()
    assert programs.reg_get(SETTINGS, "FavMax") == 20


def test_a_chosen_maximum_stays_after_cancel(programs, clean_registry, shots):
    g = Glimra(programs, FavMax=40)
    sheet, combo = open_settings(g)
    assert signed(g.wine.send(combo.hwnd, CB_GETCURSEL)) == 2
    g.wine.screenshot(shots / "export_settings.png")
    page = page_of(g, sheet, combo)
    g.wine.send(combo.hwnd, CB_SETCURSEL, 5)  # "70"
    g.wine.send(page.hwnd, WM_COMMAND, (CBN_SELCHANGE << 16) | IDC_FAVMAX, combo.hwnd)
    g.wine.post(sheet.hwnd, WM_COMMAND, IDCANCEL)
    wait_until(lambda: not g.wine.find_windows("#32770", "設定"))
    g.close()
    assert programs.reg_get(SETTINGS, "FavMax") == 70


def test_about_shows_version_and_maker_link(programs, clean_registry, shots):
    g = Glimra(programs)
    try:
        g.command(ID_APP_ABOUT)
        about = g.wine.wait_window("#32770", "バージョン情報", timeout=20)
        kids = {c.id: c for c in g.wine.children(about.hwnd)}
        wait_until(lambda: {c.id: c for c in g.wine.children(about.hwnd)}[IDC_VERSION].text == "2.0.1")
        assert kids[IDC_MAKER_LINK].text == "VANTO"
        g.wine.screenshot(shots / "export_about.png")
        g.wine.post(about.hwnd, WM_COMMAND, IDOK)
        wait_until(lambda: not g.wine.find_windows("#32770", "バージョン情報"))
    finally:
        g.close()


def test_help_without_the_file_says_so(programs, clean_registry, tmp_path):
    program = tmp_path / "Glimra.exe"
    shutil.copy(programs.bin / "Glimra.exe", program)
    for dll in programs.bin.glob("*.dll"):
        shutil.copy(dll, tmp_path / dll.name)
    g = Glimra(programs, program=program)
    try:
        g.command(ID_HELP)
        box = wait_until(lambda: next((w for w in g.dialogs()), None), timeout=20)
        texts = " ".join(c.text for c in g.wine.children(box.hwnd))
        assert "Not Exist Html Help File" in texts
        g.wine.post(box.hwnd, WM_COMMAND, IDOK)
    finally:
        g.close()
