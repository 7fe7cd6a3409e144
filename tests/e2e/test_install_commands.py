"""The font installation commands under Wine, in a host window that carries
them as the view does, over the real font catalogue: the cases that are
awkward to reach through Glimra's list (every message of the folder search,
an installation folder with spaces or without the install program, property
texts of chosen faces). The commands in Glimra itself: test_install_viewer.py."""
import shutil
from pathlib import Path

import pytest

from harness.wine import wait_until
from install_support import (IDCANCEL, IDOK, answer, box, box_text, copy_fonts,
                             delete_font_value, font_folder, font_values, settle)

OPEN_TITLE = "フォントの一時インストール"
SEARCH_TITLE = "CD/ﾌｫﾙﾀﾞ検索 一時ｲﾝｽﾄｰﾙ"
ERROR = "エラーメッセージ"
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults\InstallHost.exe"


class Host:
    def __init__(self, wine, tmp_path, *args):
        self.wine = wine
        self.state_file = tmp_path / "state.txt"
        self.proc = wine.launch(wine.bin / "InstallHost.exe", wine.winpath(self.state_file), *args)
        self.win = wine.wait_window("GlimraInstallHost", timeout=60, pid=self.proc.pid)

    def state(self):
        self.wine.send(self.win.hwnd, 0x8001)
        s = {"loaded": [], "faces": {}, "temp": {}}
        for line in self.state_file.read_bytes().decode("cp932").splitlines():
            kind, _, rest = line.partition("\t")
            if kind == "loaded":
                s["loaded"].append(rest)
            elif kind == "face":
                k, _, name = rest.partition("\t")
                s["faces"][name] = int(k)
            elif kind == "temp":
                name, _, path = rest.partition("\t")
                s["temp"][name] = path
            else:
                s[kind] = int(rest)
        return s

    def select(self, face):
        faces = list(self.state()["faces"])
        self.wine.send(self.win.hwnd, 0x8000, faces.index(face))

    def command(self, cmd_id):
        self.wine.command(self.win.hwnd, cmd_id)

    def open_files(self, folder, *names):
        self.command(32775)
        texts = [self.wine.winpath(folder)]
        if names:
            texts.append(" ".join(f'"{n}"' for n in names))
        self.wine.file_dialog(OPEN_TITLE, *texts)
        wait_until(lambda: not self.wine.find_windows("#32770", OPEN_TITLE), timeout=15)
        settle()


@pytest.fixture
def host(programs, tmp_path):
    def make(*args):
        return Host(programs, tmp_path, *args)
    return make


def open_search(h):
    h.command(32796)
    win, children = box(h.wine, SEARCH_TITLE)
    return win, {c.id: c for c in children}


def search_for(h, win, controls, folder):
    h.wine.set_text(controls[1034].hwnd, h.wine.winpath(folder) if isinstance(folder, Path) else folder)
    h.wine.post(win.hwnd, 0x0111, IDOK)


def test_folder_search_finds_sub_folders_and_loads_only_new_files(host, tmp_path, shots):
    root = tmp_path / "cd"
    copy_fonts(root, "GlimraSearchOne.ttf", rename={"GlimraSearchOne.ttf": "ONE.TTF"})
    copy_fonts(root / "a" / "b", "GlimraSearchTwo.ttf", "NotAFont.ttf")
    copy_fonts(root / "c", "GlimraSearchThree.ttf", rename={"GlimraSearchThree.ttf": "Three.Ttf"})
    (root / "c" / "readme.txt").write_text("not searched")
    h = host()
    w = h.wine

    win, controls = open_search(h)
    assert controls[1040].text == "その他　*."
    assert not controls[1041].enabled
    search_for(h, win, controls, root)
    warn, children = box(w, "ワーニング")
    assert "フォントファイルを検索します" in box_text(children)
    answer(w, warn, IDOK)
    info, children = box(w, "インフォメーション")
    assert "指定パス以下に 4 個の対象ファイルが見つかりました" in box_text(children)
    w.screenshot(shots / "install_search_count.png")
    answer(w, info, IDOK)
    settle(1)
    s = h.state()
    assert sorted(s["loaded"]) == sorted(w.winpath(p) for p in (
        root / "ONE.TTF", root / "a" / "b" / "GlimraSearchTwo.ttf", root / "c" / "Three.Ttf"))
    for face in ("Glimra Search One", "Glimra Search Two", "Glimra Search Three"):
        assert s["faces"][face] == 2

    # Again, with a trailing backslash: the same files are found, none is new.
    win, controls = open_search(h)
    w.screenshot(shots / "install_search_dialog.png")
    search_for(h, win, controls, w.winpath(root) + "\\")
    answer(w, box(w, "ワーニング")[0], IDOK)
    info, children = box(w, "インフォメーション")
    assert "4 個" in box_text(children)
    answer(w, info, IDOK)
    settle(1)
    assert h.state()["refreshes"] == s["refreshes"]
    assert h.state()["loaded"] == s["loaded"]


@pytest.mark.parametrize("links", [["self"], ["self", "again"]])
def test_folder_search_does_not_follow_links_back_up(host, tmp_path, links):
    # Wine shows these Unix links as reparse points, as Windows shows
    # junctions: followed, one loops until the path is too long, two double
    # the work at every level and never end.
    root = tmp_path / "cd"
    copy_fonts(root, "GlimraSearchOne.ttf")
    for name in links:
        (root / name).symlink_to(root, target_is_directory=True)
    h = host()
    w = h.wine
    win, controls = open_search(h)
    search_for(h, win, controls, root)
    answer(w, box(w, "ワーニング")[0], IDOK)
    info, children = box(w, "インフォメーション", timeout=20)
    assert "指定パス以下に 1 個の対象ファイルが見つかりました" in box_text(children)
    answer(w, info, IDCANCEL)


def test_folder_search_messages(host, tmp_path):
    empty = tmp_path / "empty"
    (empty / "sub").mkdir(parents=True)
    h = host()
    w = h.wine
    win, controls = open_search(h)

    def expect_error(text):
        w.post(win.hwnd, 0x0111, IDOK)
        err, children = box(w, ERROR)
        assert text in box_text(children)
        answer(w, err, IDOK)
        assert w.find_windows("#32770", SEARCH_TITLE)  # the dialog stays open

    # Every extension off, "other" on with an empty edit.
    for cid in range(1035, 1040):
        w.post(controls[cid].hwnd, 0x00F5)  # BM_CLICK
    w.post(controls[1040].hwnd, 0x00F5)
    settle(1)
    assert w.children(win.hwnd)[[c.id for c in w.children(win.hwnd)].index(1041)].enabled
    expect_error("検索するフォントファイルの拡張子が１個も選択されていません。")

    w.set_text(controls[1041].hwnd, "ttf")
    expect_error("検索するＣＤ／フォルダのパスが設定されていません。")

    w.set_text(controls[1034].hwnd, w.winpath(tmp_path / "nowhere"))
    expect_error("検索するＣＤ／フォルダのパスに実在しないパスが設定されています。")

    w.set_text(controls[1034].hwnd, "Z:\\" + "x" * 300)
    expect_error("検索するＣＤ／フォルダのパスが長すぎます。")

    w.set_text(controls[1034].hwnd, w.winpath(empty))
    w.post(win.hwnd, 0x0111, IDOK)
    answer(w, box(w, "ワーニング")[0], IDOK)
    err, children = box(w, ERROR)
    assert "見つかりませんでした" in box_text(children)
    answer(w, err, IDOK)

    # Cancel in the warning closes the dialog without searching.
    w.post(win.hwnd, 0x0111, IDOK)
    answer(w, box(w, "ワーニング")[0], IDCANCEL)
    wait_until(lambda: not w.find_windows("#32770", SEARCH_TITLE), timeout=10)


@pytest.fixture
def xp(programs):
    programs.reg_set(APP_DEFAULTS, "Version", "winxp")
    yield programs
    programs.reg_delete(APP_DEFAULTS)


def test_permanent_install_through_pellmark(host, xp, tmp_path):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraEpsilon.ttf")
    installed = font_folder(xp) / "GlimraEpsilon.ttf"
    value = "グリムラ試験イプシロン (TrueType)"
    # An installation folder with a space: the command line is not quoted.
    folder = tmp_path / "Program Files" / "GLIMRA"
    folder.mkdir(parents=True)
    shutil.copy(xp.bin / "Pellmark.exe", folder / "Pellmark.exe")
    try:
        h = host(xp.winpath(folder))
        w = h.wine
        assert h.state()["classic"] == 1
        h.open_files(fonts, "GlimraEpsilon.ttf")
        face = next(f for f, k in h.state()["faces"].items() if k == 2)
        h.select(face)
        assert h.state()["permanent"] == 1

        h.command(32807)
        win, children = box(w, "フォントインストール注意")
        assert "本番インストールしますが宜しいですか？" in box_text(children)
        answer(w, win, IDOK)
        wait_until(lambda: h.state()["loaded"] == [], timeout=30)
        s = h.state()
        assert s["faces"][face] == 0
        assert face not in s["temp"]
        assert installed.read_bytes() == (fonts / "GlimraEpsilon.ttf").read_bytes()
        assert dict(font_values(w)).get(value) == "GlimraEpsilon.ttf"
        w.stop()

        # A new start sees it as a registered font.
        h = host()
        assert h.state()["faces"][face] == 0
    finally:
        xp.stop()
        installed.unlink(missing_ok=True)
        delete_font_value(xp, value)


def test_failing_install_shows_the_failure_box_and_changes_nothing(host, xp, tmp_path):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf")
    nowhere = tmp_path / "no-installer"
    nowhere.mkdir()
    h = host(xp.winpath(nowhere))
    w = h.wine
    h.open_files(fonts, "GlimraAlpha.ttf")
    h.select("Glimra Test Alpha")
    before = h.state()
    h.command(32807)
    answer(w, box(w, "フォントインストール注意")[0], IDOK)
    win, children = box(w, "フォントインストール中止")
    assert "フォントのインストールに失敗しました。" in box_text(children)
    answer(w, win, IDOK)
    after = h.state()
    assert after["loaded"] == before["loaded"]
    assert after["faces"]["Glimra Test Alpha"] == 2
    assert after["temp"] == before["temp"]

    # Cancel in the question starts nothing.
    h.command(32807)
    answer(w, box(w, "フォントインストール注意")[0], IDCANCEL)
    settle(1)
    assert not w.find_windows("#32770", "フォントインストール中止")


def property_texts(h, face):
    h.select(face)
    h.command(32799)
    win, children = box(h.wine, "フォント・プロパティ")
    texts = {c.id: c.text for c in children}
    return win, texts


def test_property_dialog(host, tmp_path, shots):
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf")
    h = host()
    w = h.wine
    values = font_values(w)
    faces = h.state()["faces"]

    # A registered face: the value made for it (else the first that contains
    # its name), a full path kept.
    win, texts = property_texts(h, "DejaVu Sans")
    named = dict(values)
    expected = named.get("DejaVu Sans (TrueType)") or next(data for name, data in values if "DejaVu Sans" in name)
    assert texts[1066] == "DejaVu Sans"
    assert texts[1067] == expected
    assert texts[1068] == "既存登録フォント"
    w.screenshot(shots / "install_properties_registered.png")
    answer(w, win, IDCANCEL)

    # A bare file name in the key lives in the font folder.
    bare = next(((n, d) for n, d in values if "\\" not in d and n.split(" (")[0] in faces), None)
    if bare:
        win, texts = property_texts(h, bare[0].split(" (")[0])
        assert texts[1067].lower() == ("c:\\windows\\fonts\\" + bare[1]).lower()
        answer(w, win, IDCANCEL)

    # Families that Wine registers under their styles' names only
    # ("C059-Roman (TrueType)"): the regular style, not the first style that
    # happens to contain the name.
    for face in ("C059", "P052"):
        regular = named.get(face + "-Roman (TrueType)")
        if face in faces and regular:
            win, texts = property_texts(h, face)
            assert texts[1067] == regular, face
            answer(w, win, IDCANCEL)

    # A face that no value names.
    orphan = next(f for f in faces if not any(f in name for name, _ in values))
    win, texts = property_texts(h, orphan)
    assert texts[1067] == "---ファイルパス不明---"
    assert texts[1068] == "既存登録フォント"
    answer(w, win, IDCANCEL)

    # A temporary face: the file the host loaded.
    h.open_files(fonts, "GlimraAlpha.ttf")
    win, texts = property_texts(h, "Glimra Test Alpha")
    assert texts[1067] == w.winpath(fonts / "GlimraAlpha.ttf")
    assert texts[1068] == "一時インストール・フォント"
    w.screenshot(shots / "install_properties_temporary.png")
    answer(w, win, IDCANCEL)


def test_browse_button_opens_the_folder_browser(host, tmp_path):
    h = host()
    w = h.wine
    win, controls = open_search(h)
    edit = controls[1034].hwnd
    w.set_text(edit, w.winpath(tmp_path))
    w.post(win.hwnd, 0x0111, 1033)
    browser = wait_until(lambda: [x for x in w.find_windows("#32770", "-", pid=h.proc.pid) if x.hwnd != win.hwnd
                                  and x.text != SEARCH_TITLE], timeout=20)[0]
    assert "ＣＤ／フォルダ検索 一時インストール" in [c.text for c in w.children(browser.hwnd)]
    # Cancel leaves the field as it was.
    answer(w, browser, IDCANCEL)
    assert w.wtool("text", hex(edit))[:-1] == w.winpath(tmp_path)
