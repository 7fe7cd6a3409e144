"""The test bed itself: a program of ours starts under Wine on Xvfb in the
Japanese locale, shows its window, writes the registry, and ends cleanly."""
from harness.http import Answer
import urllib.request


def test_program_runs_draws_and_writes_registry(programs, clean_registry, shots):
    wine = programs
    proc = wine.start(wine.bin / "SmokeApp.exe")
    win = wine.wait_window("GlimraSmoke", timeout=30)
    assert win.text == "Glimra スモークテスト"
    assert win.width == 640
    shot = wine.screenshot(shots / "smoke.png")
    assert shot.stat().st_size > 1000

    assert wine.reg_get(r"HKCU\Software\VANTO\GlimraSmoke", "Acp") == 932
    assert wine.reg_get(r"HKCU\Software\VANTO\GlimraSmoke", "Sample") == "あいうえお　日本語フォント Aa"

    wine.close(win.hwnd)
    assert wine.wait_exit(proc, timeout=20) == 0


def test_wtool_reports_code_page_and_screen(wine):
    assert wine.wtool("acp").strip() == "932"
    assert wine.wtool("screen").split() == ["1920", "1080"]


def test_registry_round_trip_in_cp932(clean_registry):
    wine = clean_registry
    key = r"HKCU\Software\VANTO\Glimra\Settings"
    wine.reg_set(key, "DispText", "表示テスト")
    wine.reg_set(key, "FavMax", -5)
    assert wine.reg_get(key, "DispText") == "表示テスト"
    assert wine.reg_get(key, "FavMax") == -5
    assert wine.reg_get(key, "Missing") is None


def test_scripted_http_server(http_server):
    http_server.route("/a", Answer(body=b"hello", content_length=False))
    http_server.route("/cut", Answer(body=b"x" * 10000, cut_after=100))
    with urllib.request.urlopen(http_server.url("/a")) as r:
        assert r.read() == b"hello"
        assert r.headers.get("Content-Length") is None
    with urllib.request.urlopen(http_server.url("/cut")) as r:
        try:
            data = r.read()
        except Exception:  # a short read is what the cut is for
            data = b""
        assert len(data) <= 100
