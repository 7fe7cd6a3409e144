"""Printing the font list of Glimra.exe to the cups-pdf queue under Wine:
the printed page count equals the pagination that the print preview shows
for the same printer, and an empty list prints nothing and reports nothing.
(Wine's PostScript driver embeds the glyphs without a Unicode map, so
pdftotext cannot read the words back; the text of a page is checked on
recorded pages by print_win32_tests, and here on the page image.)"""
import re
import subprocess
import time

from export_support import Glimra
from harness.wine import wait_until

ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW = 57608, 57609


def new_pdf(folder, before, timeout=90):
    pdf = wait_until(lambda: sorted(set(folder.glob("*.pdf")) - before), timeout=timeout)[0]
    wait_until(lambda: subprocess.run(["pdfinfo", str(pdf)], capture_output=True).returncode == 0, timeout=30)
    return pdf


def preview_page_count(g, shots):
    g.command(ID_FILE_PRINT_PREVIEW)
    preview = g.wine.wait_window("FwPrintPreview", timeout=30)

    def label():
        return next(c.text for c in g.wine.children(preview.hwnd) if c.id == 6)

    m = wait_until(lambda: re.fullmatch(r"ページ 1 / (\d+)", label()), timeout=20)
    g.wine.screenshot(shots / "export_print_preview.png")
    close = next(c for c in g.wine.children(preview.hwnd) if c.id == 5)
    g.wine.post(close.hwnd, 0x00F5)  # BM_CLICK
    wait_until(lambda: not g.wine.find_windows("FwPrintPreview"))
    return int(m[1])


# TrueType faces only: Wine 8's PostScript driver crashes when it downloads a
# CFF-outline face (the URW fonts here) to the printer.
FAVOURITES = ["DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "DejaVu Sans Condensed", "DejaVu Serif Condensed",
              "DejaVu Sans Light", "IPAゴシック", "IPA明朝", "IPA Pゴシック", "IPA P明朝", "IPAexゴシック", "IPAex明朝"]
ID_MODE_FAVOURITES = 32802


def test_printed_pages_match_the_pagination(programs, clean_registry, printer, shots):
    # Twelve favourites at 76 points: a few rows per page, several pages.
    favourites = {f"Favorite{n:02d}": name for n, name in enumerate(FAVOURITES, start=1)}
    g = Glimra(programs, SelLangEN=1, SelLangJA=1, SelLangALL=1, DispFontSize=760, **favourites)
    try:
        g.command(ID_MODE_FAVOURITES)
        time.sleep(1)
        expected = preview_page_count(g, shots)
        before = set(printer.glob("*.pdf"))
        g.command(ID_FILE_PRINT_DIRECT)
        pdf = new_pdf(printer, before)
    finally:
        g.close()
    info = subprocess.run(["pdfinfo", str(pdf)], capture_output=True, text=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)$", info, re.M)[1])
    assert expected >= 2
    assert pages == expected
    subprocess.run(["pdftoppm", "-r", "50", "-png", "-f", "1", "-l", "1", str(pdf), str(shots / "export_print_page")],
                   check=True, timeout=60)


def test_an_empty_list_prints_nothing_and_reports_nothing(programs, clean_registry, printer):
    g = Glimra(programs, SelLangEN=0, SelLangJA=1, SelLangALL=0, SelFontORG=0, SelFontTMP=1, DispFontSize=100)
    try:
        # No temporary font is loaded: the list is empty, nothing is printed.
        before = set(printer.glob("*.pdf"))
        g.command(ID_FILE_PRINT_DIRECT)
        time.sleep(5)
        assert set(printer.glob("*.pdf")) == before
        assert g.dialogs() == []
        # The preview of the empty list opens and closes without a report.
        g.command(ID_FILE_PRINT_PREVIEW)
        preview = g.wine.wait_window("FwPrintPreview", timeout=20)
        assert g.dialogs() == []
        close = next(c for c in g.wine.children(preview.hwnd) if c.id == 5)
        g.wine.post(close.hwnd, 0x00F5)  # BM_CLICK
        wait_until(lambda: not g.wine.find_windows("FwPrintPreview"))
    finally:
        g.close()
