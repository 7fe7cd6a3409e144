"""The setup program's pages under Wine, in Japanese: the default folder
under Program Files, a chosen folder, the refusal while Glimra runs from
that folder (silent: exit code 2; interactive: a message with Retry), and
the help pages the viewer opens in the browser under Wine."""
from harness.glimra import Glimra
from harness.wine import wait_until
from release_support import PROGRAMS, UNINSTALL_KEY, install_silently, run_batch, today, tree_version

IDRETRY, ID_NEXT = 4, 1
ID_HELP = 57670
DIRECTORY_EDIT = 1019
IN_USE_START = "Glimra が "


def page_texts(wine, window):
    return [c.text for c in wine.children(window.hwnd) if c.visible and c.text]


def wait_page(wine, window, text, timeout=60):
    """Waits until some visible control of the setup window shows text."""
    return wait_until(lambda: any(text in t for t in page_texts(wine, window)), timeout=timeout)


def test_pages_default_folder_refusal_while_running_and_retry(programs, clean_registry, tmp_path, shots):
    wine = programs
    version = tree_version(wine.build)
    setup = wine.build / "setup" / f"Glimra-{version}-setup.exe"
    target = tmp_path / "Glimra Pages"
    assert install_silently(wine, setup, target) == 0

    # Glimra running from the folder: a silent install refuses and writes
    # nothing (the file taken away stays away).
    wine.reg_set(r"HKCU\Software\VANTO\Glimra\AutoUpdate", "LastConnectDate", today())
    (target / "Pellmark.exe").unlink()
    running = Glimra(wine, program=target / "Glimra.exe", cwd=tmp_path)
    assert install_silently(wine, setup, target) == 2
    assert not (target / "Pellmark.exe").exists()

    # Interactively: Japanese pages, the default folder, then the refusal with Retry.
    proc = wine.start(setup)
    window = wine.wait_window("#32770", f"Glimra {version} セットアップ", timeout=60)
    wait_page(wine, window, "セットアップへようこそ")
    wine.screenshot(shots / "setup_welcome.png")
    wine.command(window.hwnd, ID_NEXT)
    edit = wait_until(lambda: next((c for c in wine.children(window.hwnd) if c.id == DIRECTORY_EDIT and c.visible),
                                   None), timeout=30)
    assert edit.text.endswith("\\VANTO\\Glimra") and "Program Files" in edit.text
    wine.set_text(edit.hwnd, wine.winpath(target))
    wine.screenshot(shots / "setup_folder.png")
    wine.command(window.hwnd, ID_NEXT)
    box = wait_until(lambda: next((w for w in wine.find_windows("#32770", "-")
                                   if w.visible and any(c.text.startswith(IN_USE_START)
                                                        for c in wine.children(w.hwnd))), None), timeout=60)
    wine.screenshot(shots / "setup_in_use.png")
    assert running.close() == 0
    wine.command(box.hwnd, IDRETRY)
    wait_page(wine, window, "完了")
    wine.screenshot(shots / "setup_finished.png")
    assert (target / "Pellmark.exe").is_file()
    wine.command(window.hwnd, ID_NEXT)
    assert wine.wait_exit(proc, timeout=30) == 0

    assert run_batch(wine, tmp_path, f'"{wine.winpath(target / "uninstall.exe")}" /S') == 0
    wait_until(lambda: not any((target / p).exists() for p in PROGRAMS), timeout=60)
    wait_until(lambda: wine.reg_get(UNINSTALL_KEY, "DisplayName") is None, timeout=30)


def test_help_opens_the_contents_page_in_the_browser_under_wine(programs, clean_registry, tmp_path):
    wine = programs
    record = tmp_path / "browser.txt"
    browser = tmp_path / "browser.bat"
    browser.write_bytes(f'@echo %~1>> "{wine.winpath(record)}"\r\n'.encode())
    classes = r"HKLM\Software\Classes"
    previous = wine.reg_get(classes + r"\.html", "")
    wine.reg_set(classes + r"\.html", "", "GlimraTestBrowser")
    wine.reg_set(classes + r"\GlimraTestBrowser\shell\open\command", "", f'"{wine.winpath(browser)}" "%1"')
    try:
        wine.reg_set(r"HKCU\Software\VANTO\Glimra\AutoUpdate", "LastConnectDate", today())
        v = Glimra(wine)
        v.command(ID_HELP)
        lines = wait_until(lambda: record.exists() and record.read_text().splitlines(), timeout=30)
        assert lines[0].strip().lower() == wine.winpath(wine.bin / "help" / "index.html").lower()
        assert v.close() == 0
    finally:
        wine.reg_delete(classes + r"\GlimraTestBrowser")
        if previous is not None:
            wine.reg_set(classes + r"\.html", "", previous)
