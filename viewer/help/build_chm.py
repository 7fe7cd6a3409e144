"""Builds the help file: copies the project to a staging folder with every
text file converted from UTF-8 to Shift_JIS (the help viewer reads the
project, contents and index in the code page of its language), then runs
chmcmd. With a pages folder, the converted pages go there too: the viewer
opens them in a browser where HTML Help shows nothing (Wine).
Usage: build_chm.py <source folder> <staging folder> <output .chm> [<pages folder>]"""
import shutil
import subprocess
import sys
from pathlib import Path

TEXT = {".hhp", ".hhc", ".hhk", ".html", ".css"}


def main():
    source, staging, output = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    if staging.exists():
        shutil.rmtree(staging)
    for path in source.rglob("*"):
        if path.is_dir() or path.suffix not in TEXT:
            continue
        target = staging / path.relative_to(source)
        target.parent.mkdir(parents=True, exist_ok=True)
        text = path.read_text(encoding="utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
        # chmcmd finds files with this system's separator; the help viewer
        # takes forward slashes as well.
        text = text.replace("html\\", "html/")
        target.write_bytes(text.encode("cp932"))
    result = subprocess.run(["chmcmd", "Glimra.hhp"], cwd=staging, capture_output=True, text=True,
                            encoding="cp932", errors="replace")
    built = staging / "Glimra.chm"
    if result.returncode != 0 or not built.exists():
        sys.stderr.write(result.stdout + result.stderr)
        sys.exit(1)
    output.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(built, output)
    if len(sys.argv) > 4:
        pages = Path(sys.argv[4])
        if pages.exists():
            shutil.rmtree(pages)
        shutil.copytree(staging / "html", pages)


if __name__ == "__main__":
    main()
