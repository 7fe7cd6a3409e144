"""The PDFs that the cups-pdf queue writes.

cups-pdf names a file after the job's title and number, and job numbers start
again when the scheduler's job cache is gone, so a new job may replace an
older file of the same name: a file is new when its name, inode or time is."""
import subprocess

from harness.wine import wait_until


def pdf_state(folder):
    """Name -> (inode, modification time) of every PDF in the folder."""
    state = {}
    for pdf in folder.glob("*.pdf"):
        try:
            st = pdf.stat()
        except FileNotFoundError:
            continue
        state[pdf] = (st.st_ino, st.st_mtime_ns)
    return state


def changed_pdfs(folder, before):
    return sorted(p for p, s in pdf_state(folder).items() if before.get(p) != s)


def new_pdf(folder, before, timeout=90):
    """Waits for a PDF written after `before` was taken and for it to be whole."""
    pdf = wait_until(lambda: changed_pdfs(folder, before), timeout=timeout)[0]
    wait_until(lambda: subprocess.run(["pdfinfo", str(pdf)], capture_output=True).returncode == 0, timeout=30)
    return pdf
