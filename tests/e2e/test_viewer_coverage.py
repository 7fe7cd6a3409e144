"""Japanese coverage in Glimra.exe under Wine, on the IPA fonts and on fonts
made by tools/fontgen and loaded temporarily: the line under each face name
and the taller rows, the full-joyo filter, the CSV file of every face against
fontcover.exe, and the coverage window listing exactly the kanji a generated
font leaves out. Everything is off until the commands turn it on."""
import csv
import io
import os
import sys
from pathlib import Path

import pytest

from harness.glimra import QUERY_DIVIDER, QUERY_ROW_COUNT, QUERY_SELECTED_ROW, Glimra
from harness.pixels import capture
from harness.wine import wait_until
from install_support import IDNO, answer, box

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "fontgen"))

COVERAGE = r"HKCU\Software\VANTO\Glimra\Coverage"
SETTINGS = r"HKCU\Software\VANTO\Glimra\Settings"
ID_FONT_TEMPORARY = 32775
ID_VIEW_COVERAGE, ID_COVERAGE_FULL_JOYO, ID_COVERAGE_DETAILS, ID_COVERAGE_SAVE_CSV = 32809, 32810, 32811, 32812
QUERY_OUTSTANDING, QUERY_COLLECTED, QUERY_ROW_HEIGHT, QUERY_JOYO = 10, 11, 12, 13
IDC_COVERAGE_FACE, IDC_COVERAGE_SETS, IDC_COVERAGE_MISSING = 1120, 1121, 1123
JOYO = 2136
SET_COLUMNS = ["kana", "nonkanji", "jis1", "jis2", "joyo", "jinmeiyo", "jis3", "jis4", "ivs"]
IPA_FILES = ["/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf",
             "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"]


@pytest.fixture(scope="module")
def generated(tmp_path_factory):
    """Two fonts lacking 10 named joyo kanji each and one with all of them."""
    import make_fonts

    folder = tmp_path_factory.mktemp("coverage-fonts")
    manifest = make_fonts.make(str(folder), 2, omit=10, first=0)
    manifest += make_fonts.make(str(folder), 1, omit=0, first=2)
    return folder, {e["japanese"]: e for e in manifest}


class Viewer(Glimra):
    def settle(self):
        self.wine.send(self.view.hwnd, 0)  # WM_NULL: everything posted so far is handled

    def command(self, cmd_id):
        super().command(cmd_id)
        self.settle()

    def scan_done(self, timeout=60):
        wait_until(lambda: self.query(QUERY_OUTSTANDING) == 0 and self.query(QUERY_COLLECTED) > 0,
                   timeout=timeout, interval=0.3)
        self.settle()

    def joyo_of_rows(self):
        return [self.query(QUERY_JOYO, row) for row in range(self.query(QUERY_ROW_COUNT))]


def text_bands(image, x0, x1, y0, y1):
    """Bands of consecutive screen lines between y0 and y1 holding dark
    (text) pixels between x0 and x1."""
    bands = []
    for y in range(y0, y1):
        row = image.row(y, x0, x1)
        dark = any(max(row[i:i + image.channels]) < 96 for i in range(0, len(row), image.channels))
        if dark and bands and bands[-1][1] == y - 1:
            bands[-1][1] = y
        elif dark:
            bands.append([y, y])
    return bands


def label_cell(v, tmp_path, name):
    """Text bands of the top row's name cell, and the row's height."""
    left, top, right, bottom = v.view.rect
    width = v.query(QUERY_DIVIDER)
    height = v.query(QUERY_ROW_HEIGHT, 0)
    image = capture(v.wine.env["DISPLAY"], (left + 2, top + 2, right - 2, bottom - 2), tmp_path / name)
    return text_bands(image, 4, width - 4, 2, height), height


def load_fonts(v, wine, folder, names):
    before = v.query(QUERY_ROW_COUNT)
    v.command(ID_FONT_TEMPORARY)
    wine.file_dialog("フォントの一時インストール", wine.winpath(folder), " ".join('"%s"' % n for n in names))
    wait_until(lambda: v.query(QUERY_ROW_COUNT) == before + len(names), timeout=30)


def test_coverage_line_filter_csv_and_window(programs, clean_registry, fresh_server_after, wine, generated,
                                             tmp_path, shots):
    folder, manifest = generated
    v = Viewer(programs, DispFontSize=100)  # rows as tall as their labels
    # Off by default: no section of its own, rows as tall as ever.
    assert wine.reg_get(COVERAGE, "Line") is None
    bands_off, height_off = label_cell(v, tmp_path, "off.ppm")
    load_fonts(v, wine, folder, sorted(e["file"] for e in manifest.values()))

    # The line: one more band of text under the name, taller rows.
    v.command(ID_VIEW_COVERAGE)
    v.scan_done()
    wait_until(lambda: v.query(QUERY_ROW_HEIGHT, 0) > height_off, timeout=10)
    bands_on, height_on = label_cell(v, tmp_path, "on.ppm")
    wine.screenshot(shots / "viewer-coverage-line.png")
    assert height_on > height_off
    assert len(bands_on) == len(bands_off) + 1, (bands_off, bands_on)
    assert bands_on[-1][0] > bands_off[-1][1]
    assert wine.reg_get(COVERAGE, "Line") == 1 and wine.reg_get(SETTINGS, "Line") is None

    joyo = v.joyo_of_rows()
    assert -1 not in joyo

    # The CSV file: every face, the same counts as fontcover.exe on the files.
    target = tmp_path / "coverage.csv"
    v.command(ID_COVERAGE_SAVE_CSV)
    wine.file_dialog("カバー率をCSVで保存", wine.winpath(target))
    wait_until(target.exists, timeout=30)
    raw = target.read_bytes()
    assert raw.startswith(b"\xef\xbb\xbf") and not Path(str(target) + ".part").exists()
    rows = list(csv.DictReader(io.StringIO(raw[3:].decode("utf-8"), newline="")))
    assert list(rows[0].keys()) == ["face", "family_ja", "family_en"] + SET_COLUMNS
    by_face = {r["face"]: r for r in rows}
    files = [str(folder / e["file"]) for e in manifest.values()] + IPA_FILES
    oracle = wine.run(wine.bin / "fontcover.exe", *[wine.winpath(f) for f in files], timeout=120)
    assert oracle.returncode == 0, oracle.stderr
    expected = list(csv.DictReader(io.StringIO(oracle.stdout.decode("utf-8").replace("\r\n", "\n"))))
    assert len(expected) == len(files)
    for face_row in expected:
        face = face_row["family"] if face_row["family"] in by_face else None
        assert face, face_row["family"]
        assert [by_face[face][c] for c in SET_COLUMNS] == [face_row[c] for c in SET_COLUMNS], face
    for name, entry in manifest.items():
        assert int(by_face[name]["joyo"]) == JOYO - len(entry["missing_joyo"])
        assert by_face[name]["family_en"] == entry["english"]

    # The coverage window of a generated face lists exactly its omitted kanji.
    row = joyo.index(JOYO - 10)
    wine.wtool("keys", hex(v.view.hwnd), "0x24+ctrl", *["0x28"] * row)
    wait_until(lambda: v.query(QUERY_SELECTED_ROW) == row, timeout=10)
    v.command(ID_COVERAGE_DETAILS)
    dialog = wine.wait_window("-", "文字カバー率の詳細", timeout=30, pid=v.proc.pid)
    kids = {c.id: c for c in wine.children(dialog.hwnd)}
    entry = manifest[kids[IDC_COVERAGE_FACE].text]
    shown = wine.wtool("text", hex(kids[IDC_COVERAGE_MISSING].hwnd)).split()
    wanted = [chr(c).encode("cp932", errors="replace").decode("cp932") for c in entry["missing_joyo"]]
    assert sorted(shown) == sorted(wanted)
    wine.screenshot(shots / "viewer-coverage-window.png")
    wine.command(dialog.hwnd, 2)  # IDCANCEL
    wait_until(lambda: not wine.find_windows("-", "文字カバー率の詳細", pid=v.proc.pid), timeout=30)

    # The filter keeps exactly the faces with every joyo kanji.
    full = joyo.count(JOYO)
    assert 0 < full < len(joyo)
    v.command(ID_COVERAGE_FULL_JOYO)
    wait_until(lambda: v.query(QUERY_ROW_COUNT) == full, timeout=10)
    assert set(v.joyo_of_rows()) == {JOYO}
    assert wine.reg_get(COVERAGE, "FullJoyo") == 1
    v.command(ID_COVERAGE_FULL_JOYO)
    wait_until(lambda: v.query(QUERY_ROW_COUNT) == len(joyo), timeout=10)
    v.command(ID_COVERAGE_FULL_JOYO)
    wait_until(lambda: v.query(QUERY_ROW_COUNT) == full, timeout=10)

    wine.close(v.frame.hwnd)
    keep, _ = box(wine, "Glimra")  # kept for the session: the fixture's new server drops them
    answer(wine, keep, IDNO)
    assert wine.wait_exit(v.proc, timeout=30) == 0

    # Both switches are read back at the next start.
    v = Viewer(programs, DispFontSize=100)  # rows as tall as their labels
    v.scan_done()
    # The faces with every joyo kanji (the generated one gone with its process).
    assert v.query(QUERY_ROW_COUNT) in (full - 1, full)
    assert set(v.joyo_of_rows()) == {JOYO}
    assert v.query(QUERY_ROW_HEIGHT, 0) > height_off
    assert v.close() == 0
