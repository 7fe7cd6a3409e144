"""Copy (57634) and copy font name (32774) of Glimra.exe under Wine: the
three clipboard formats and their contents, the picture's frame margin, a
western row's question marks, and a clipboard held by another program."""
import math
import re
import time

import pytest

from export_support import Glimra, JAPANESE_SAMPLE, clipboard_text, cliptool, rtf_unescape
from harness.wine import wait_until

ID_EDIT_COPY, ID_COPY_FONTNAME = 57634, 32774
CF_TEXT, CF_ENHMETAFILE = 1, 14
RTF_HEAD = (r"{\rtf1\ansi\ansicpg932\deff0\deflang1033\deflangfe1041{\fonttbl{\f0\fscript\fprq1\fcharset")


@pytest.fixture
def japanese(programs, clean_registry):
    g = Glimra(programs, SelLangEN=0, SelLangJA=1, SelLangALL=0, DispFontSize=105)
    yield g
    g.close()


def copy_and_wait(glimra, cmd_id, marker="before"):
    cliptool(glimra.wine, "set-text", marker)
    glimra.command(cmd_id)
    return wait_until(lambda: (t := clipboard_text(glimra.wine)) != marker and t, timeout=20)


def test_copy_puts_text_rtf_and_picture_of_a_japanese_row(japanese):
    wine = japanese.wine
    assert copy_and_wait(japanese, ID_EDIT_COPY) == JAPANESE_SAMPLE
    formats = cliptool(wine, "formats").decode("cp932")
    ids = {int(line.split(" ", 1)[0]): line.split(" ", 1)[1] for line in formats.splitlines()}
    assert CF_TEXT in ids and CF_ENHMETAFILE in ids
    assert "Rich Text Format" in ids.values()

    rtf = cliptool(wine, "rtf").decode("latin-1")
    m = re.fullmatch(re.escape(RTF_HEAD) + r"128 (.*);\}\}\r\n\\uc1\\pard\\f0\\fs21 (.*)\}", rtf, re.S)
    assert m, rtf
    # Every double-byte character as two escapes, ASCII as it is.
    assert m[2] == "Aa" + "".join("\\'%02x" % b for b in JAPANESE_SAMPLE[2:].encode("cp932"))
    face = rtf_unescape(m[1])

    # The picture: the sample drawn run by run, and a frame with a margin of a
    # twentieth of its height at the right and the bottom.
    texts = cliptool(wine, "emf-texts").decode("cp932").splitlines()
    assert [t.split(" ", 1)[1] for t in texts] == ["Aa", "あぁアァ亜宇"]
    assert int(texts[0].split()[0]) == 0 and int(texts[1].split()[0]) > 0
    frame = [int(v) for v in cliptool(wine, "emf-frame").decode().split()[1:5]]
    bottom = frame[3]
    assert any(b + math.ceil(b / 20) == bottom for b in range(bottom * 20 // 21 - 2, bottom + 1))
    # 10.5 points is 3.7 mm; the line with its leading stays well under 1 cm.
    assert 300 < bottom < 1000 and frame[2] > bottom

    # Copy font name puts the face that the RTF named.
    assert copy_and_wait(japanese, ID_COPY_FONTNAME) == face


def test_a_western_row_copies_question_marks(programs, clean_registry):
    g = Glimra(programs, SelLangEN=1, SelLangJA=0, SelLangALL=0, DispText="Aaあ亜{\\}ｱ")
    try:
        assert copy_and_wait(g, ID_EDIT_COPY) == "Aa??{\\}ｱ"
        rtf = cliptool(g.wine, "rtf").decode("latin-1")
        assert rtf.startswith(RTF_HEAD + "0 ")
        # Braces, backslash and the half-width katakana byte are escaped.
        assert rtf.endswith("\\f0\\fs48 Aa??\\'7b\\'5c\\'7d\\'b1}")
    finally:
        g.close()


def test_a_busy_clipboard_makes_both_commands_do_nothing(japanese):
    wine = japanese.wine
    cliptool(wine, "set-text", "kept")
    holder = wine.start(wine.bin / "cliptool.exe", "hold", "4000")
    assert holder.stdout.readline().strip() == b"held"
    japanese.command(ID_EDIT_COPY)
    japanese.command(ID_COPY_FONTNAME)
    time.sleep(1.0)
    assert japanese.dialogs() == []  # nothing is reported
    holder.wait(timeout=20)
    time.sleep(0.5)
    assert clipboard_text(wine) == "kept"
    assert "Rich Text Format" not in cliptool(wine, "formats").decode("cp932")
    # Once the clipboard is free the commands work again.
    assert copy_and_wait(japanese, ID_EDIT_COPY) == JAPANESE_SAMPLE
