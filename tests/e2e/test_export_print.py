"""Printing the font list of Glimra.exe to the cups-pdf queue under Wine:
every face of a first start is printed, with the title rule and one rule
under each row on the pages that the print preview counts for the same
printer, and an empty list prints nothing and reports nothing.
(Wine's PostScript driver embeds the glyphs without a Unicode map, so
pdftotext cannot read the words back; the text of a page is checked on
recorded pages by print_win32_tests, and here on the page image.)"""
import re
import subprocess

from export_support import Glimra
from harness.glimra import QUERY_ROW_COUNT
from harness.pixels import full_lines, read_pnm
from harness.printing import new_pdf, pdf_state
from harness.wine import wait_until

ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW = 57608, 57609


def queue_jobs():
    """Every job the print queue has seen, finished ones included."""
    return subprocess.run(["lpstat", "-W", "all", "-o", "PDF"], capture_output=True, text=True, timeout=30).stdout


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


QUERY_PRINT_DPI, QUERY_PRINT_FOOTER_HEIGHT, QUERY_PAGE_START = 7, 8, 9
RESOLUTION = 100  # dots per inch of the page images read back


def test_the_default_list_prints_as_the_preview_paginates(programs, clean_registry, printer, tmp_path, shots):
    # Every face of a first start, those with CFF outlines (C059, P052...)
    # among them: under Wine their samples go to the printer as images.
    g = Glimra(programs)
    pages = preview_page_count(g, shots)
    starts = [g.query(QUERY_PAGE_START, p) for p in range(1, pages + 1)] + [g.query(QUERY_ROW_COUNT)]
    dpi, fh = g.query(QUERY_PRINT_DPI), g.query(QUERY_PRINT_FOOTER_HEIGHT)
    before = pdf_state(printer)
    g.command(ID_FILE_PRINT_DIRECT)
    pdf = new_pdf(printer, before)
    assert g.dialogs() == []
    assert g.close() == 0

    subprocess.run(["pdftoppm", "-r", str(RESOLUTION), "-gray", "-aa", "no", "-aaVector", "no", str(pdf),
                    str(tmp_path / "page")], check=True, timeout=120)
    images = sorted(tmp_path.glob("page-*.pgm"))
    assert len(images) == pages
    # The queue's paper has no margin: the print area starts at its top edge.
    title_rule = (2 * fh + 15) * RESOLUTION / dpi
    for page, path in enumerate(images, start=1):
        rules = full_lines(read_pnm(path), below=128, share=0.95)
        assert abs(rules[0][0] - title_rule) <= 2, (page, rules[0], title_rule)
        assert len(rules) - 1 == starts[page] - starts[page - 1], page  # one rule under each row
    subprocess.run(["pdftoppm", "-r", "50", "-png", "-f", "1", "-l", "1", str(pdf), str(shots / "export_print_page")],
                   check=True, timeout=60)


def test_an_empty_list_prints_nothing_and_reports_nothing(programs, clean_registry, printer):
    g = Glimra(programs, SelLangEN=0, SelLangJA=1, SelLangALL=0, SelFontORG=0, SelFontTMP=1, DispFontSize=100)
    try:
        # No temporary font is loaded: the list is empty, nothing is printed.
        # Sent, not posted: it returns when the command has run, by when a
        # job would have reached the queue.
        before, jobs = pdf_state(printer), queue_jobs()
        g.wine.send(g.frame.hwnd, 0x0111, ID_FILE_PRINT_DIRECT)
        assert queue_jobs() == jobs
        assert pdf_state(printer) == before
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
