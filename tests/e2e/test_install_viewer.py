"""Font installation in Glimra.exe itself: the commands of the view, driven
through its frame, seen through the property dialog of the selected row and
the list switches (only temporary faces, or only favourites)."""

import pytest

from harness.glimra import Glimra as GlimraBase
from harness.wine import wait_until
from install_support import (IDCANCEL, IDNO, IDOK, IDYES, answer, box, box_text, copy_fonts,
                             delete_font_value, font_folder, font_values, settle)

SETTINGS = r"HKCU\Software\VANTO\Glimra\Settings"
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults\Glimra.exe"
OPEN_TITLE = "フォントの一時インストール"
SEARCH_TITLE = "CD/ﾌｫﾙﾀﾞ検索 一時ｲﾝｽﾄｰﾙ"
PROPERTIES = "フォント・プロパティ"
INVALID = "無効な引数が発生しました。"
ID_TEMPINSTALL, ID_TEMPUNINSTALL, ID_FOLDERINSTALL = 32775, 32776, 32796
ID_PROPERTIES, ID_PERMANENT, ID_MODE_FAVOURITES = 32799, 32807, 32802
VK_DOWN = 0x28


class Glimra(GlimraBase):
    def open_files(self, folder, *names):
        self.command(ID_TEMPINSTALL)
        texts = [self.wine.winpath(folder)]
        if names:
            texts.append(" ".join(f'"{n}"' for n in names))
        self.wine.file_dialog(OPEN_TITLE, *texts)
        wait_until(lambda: not self.wine.find_windows("#32770", OPEN_TITLE), timeout=15)
        settle(1)

    def properties(self):
        """(face, file, kind) of the selected row; None for an empty list."""
        self.command(ID_PROPERTIES)
        found = wait_until(lambda: [w for w in self.wine.find_windows("#32770", "-")
                                    if w.text in (PROPERTIES, "Glimra")], timeout=30)
        win, children = box(self.wine, found[0].text)
        if found[0].text != PROPERTIES:
            assert INVALID in box_text(children)
            answer(self.wine, win, IDOK)
            return None
        texts = {c.id: c.text for c in children}
        answer(self.wine, win, IDCANCEL)
        return texts[1066], texts[1067], texts[1068]

    def listed(self):
        """Properties of every row, from the first (where a refresh puts the
        selection) down to the last."""
        rows = []
        while True:
            p = self.properties()
            if p is None or (rows and p == rows[-1]):
                return rows
            rows.append(p)
            self.wine.post(self.view.hwnd, 0x0100, VK_DOWN)  # WM_KEYDOWN
            settle(0.3)

    def close(self):
        self.wine.close(self.frame.hwnd)


@pytest.fixture
def temporary_only(clean_registry):
    """Every language, only temporary faces."""
    w = clean_registry
    for name, value in (("SelLangEN", 1), ("SelLangJA", 1), ("SelLangALL", 1), ("SelFontORG", 0),
                        ("SelFontTMP", 1), ("AutoUpdate", 0)):
        w.reg_set(SETTINGS, name, value)
    return w


def test_load_and_unload_through_the_view(programs, temporary_only, tmp_path, shots):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf", "GlimraPair.ttc", "NotAFont.ttf")
    g = Glimra(programs)
    w = g.wine
    assert g.properties() is None  # nothing temporary yet

    g.open_files(fonts, "GlimraAlpha.ttf", "NotAFont.ttf", "GlimraPair.ttc")
    w.screenshot(shots / "install_viewer_temporary.png")
    rows = g.listed()
    pair = w.winpath(fonts / "GlimraPair.ttc")
    assert rows == [("Glimra Test Alpha", w.winpath(fonts / "GlimraAlpha.ttf"), "一時インストール・フォント"),
                    ("Glimra Test Beta", pair, "一時インストール・フォント"),
                    ("Glimra Test Gamma", pair, "一時インストール・フォント")]

    # The same file again changes nothing: no refresh, which would also have
    # put the selection back on the first row.
    g.open_files(fonts, "GlimraAlpha.ttf")
    assert g.properties() == rows[-1]

    g.command(ID_TEMPUNINSTALL)
    settle(1)
    assert g.properties() is None

    # With nothing loaded, closing asks nothing and the program ends.
    g.close()
    assert w.wait_exit(g.proc, timeout=30) == 0


@pytest.mark.parametrize("reply", [IDYES, IDNO])
def test_closing_asks_about_loaded_fonts(programs, temporary_only, tmp_path, reply):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf")
    g = Glimra(programs)
    w = g.wine
    g.open_files(fonts, "GlimraAlpha.ttf")
    g.close()
    win, children = box(w, "Glimra")
    assert "一時インストールしたフォントを解除しますか？" in box_text(children)
    answer(w, win, reply)
    assert w.wait_exit(g.proc, timeout=30) == 0
    # The settings were saved in both cases.
    assert w.reg_get(SETTINGS, "SelFontORG") == 0


def test_folder_search_through_the_view(programs, temporary_only, tmp_path):
    root = tmp_path / "cd"
    copy_fonts(root / "sub", "GlimraSearchOne.ttf", rename={"GlimraSearchOne.ttf": "SEARCH1.TTF"})
    copy_fonts(root / "sub" / "deeper", "GlimraSearchTwo.ttf")
    g = Glimra(programs)
    w = g.wine
    g.command(ID_FOLDERINSTALL)
    win, children = box(w, SEARCH_TITLE)
    edit = next(c for c in children if c.id == 1034)
    w.set_text(edit.hwnd, w.winpath(root))
    w.post(win.hwnd, 0x0111, IDOK)
    answer(w, box(w, "ワーニング")[0], IDOK)
    info, children = box(w, "インフォメーション")
    assert "指定パス以下に 2 個の対象ファイルが見つかりました" in box_text(children)
    answer(w, info, IDOK)
    settle(1)
    assert [r[0] for r in g.listed()] == ["Glimra Search One", "Glimra Search Two"]


@pytest.fixture
def xp(programs):
    programs.reg_set(APP_DEFAULTS, "Version", "winxp")
    yield programs
    programs.reg_delete(APP_DEFAULTS)


def favourite_only(wine, face):
    """The next start lists only face (as the only favourite)."""
    wine.reg_set(SETTINGS, "SelFontORG", 1)
    wine.reg_set(SETTINGS, "Favorite01", face)


def test_permanent_install_survives_a_restart(xp, temporary_only, tmp_path, shots):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraEpsilon.ttf")
    face = "グリムラ試験イプシロン"
    installed = font_folder(xp) / "GlimraEpsilon.ttf"
    value = face + " (TrueType)"
    try:
        g = Glimra(xp)
        w = g.wine
        g.open_files(fonts, "GlimraEpsilon.ttf")
        assert g.properties()[0] == face
        g.command(ID_PERMANENT)
        win, children = box(w, "フォントインストール注意")
        answer(w, win, IDOK)
        # Registered now: the list of temporary faces is empty.
        wait_until(lambda: g.properties() is None, timeout=30, interval=1)
        assert installed.read_bytes() == (fonts / "GlimraEpsilon.ttf").read_bytes()
        assert w.reg_get(r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts", value) == "GlimraEpsilon.ttf"
        # Installed for good: closing has nothing to ask.
        g.close()
        assert w.wait_exit(g.proc, timeout=30) == 0

        favourite_only(w, face)
        g = Glimra(w)
        g.command(ID_MODE_FAVOURITES)
        settle(1)
        assert g.properties() == (face, str(installed_winpath(w)), "既存登録フォント")
        w.screenshot(shots / "install_viewer_registered.png")
    finally:
        xp.stop()
        installed.unlink(missing_ok=True)
        delete_font_value(xp, value)


def installed_winpath(wine):
    return "C:\\windows\\Fonts\\GlimraEpsilon.ttf"


def test_failing_install_keeps_the_font_temporary(xp, temporary_only, tmp_path):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf")
    g = Glimra(xp)
    w = g.wine
    g.open_files(fonts, "GlimraAlpha.ttf")
    before = g.properties()
    (fonts / "GlimraAlpha.ttf").unlink()  # Pellmark will not find it
    g.command(ID_PERMANENT)
    answer(w, box(w, "フォントインストール注意")[0], IDOK)
    win, children = box(w, "フォントインストール中止")
    assert "手動でインストールしてみて下さい。" in box_text(children)
    answer(w, win, IDOK)
    assert g.properties() == before
    assert not (font_folder(w) / "GlimraAlpha.ttf").exists()


def test_properties_of_registered_faces(programs, clean_registry, shots):
    w = programs
    w.reg_set(SETTINGS, "AutoUpdate", 0)
    favourite_only(w, "DejaVu Sans")
    # No value of the font key names this face (values name "Nimbus Sans Regular"...
    # only when the system has them; the face is then listed without a file).
    orphan = next((f for f in ("Nimbus Sans", "URW Gothic") if not any(f in n for n, _ in font_values(w))), None)
    if orphan:
        w.reg_set(SETTINGS, "Favorite02", orphan)
    g = Glimra(w)
    g.command(ID_MODE_FAVOURITES)
    settle(1)
    rows = g.listed()
    face, file, kind = rows[0]
    assert (face, kind) == ("DejaVu Sans", "既存登録フォント")
    assert file == next(d for n, d in font_values(w) if "DejaVu Sans" in n)
    if orphan and len(rows) > 1:
        assert rows[1] == (orphan, "---ファイルパス不明---", "既存登録フォント")
    g.command(ID_PROPERTIES)
    box(w, PROPERTIES)
    w.screenshot(shots / "install_viewer_properties.png")
    answer(w, box(w, PROPERTIES)[0], IDCANCEL)
    g.close()
    w.wait_exit(g.proc, timeout=30)
