#!/usr/bin/env bash
# bench_search.sh [count]: keystroke-to-repaint times of the find bar in
# Glimra.exe with COUNT (default 5,000) generated fonts installed.
#   1. makes the fonts ("グリムラ試験 NNNN" / "Glimra Test NNNN") once;
#   2. installs them into a Wine prefix of its own (build/bench-search);
#   3. starts Glimra.exe, opens the find bar, waits until the background scan
#      has read every generated face's English name (the list narrowed by
#      "glimra test" holds all of them), then types each query character by
#      character with `wtool type`: every WM_CHAR is sent synchronously, and
#      the edit box's change narrows the list and repaints it before the send
#      returns, so its time is keystroke to repaint (plus one cross-process
#      send, about a millisecond under Wine);
#   4. prints per query and overall the median and maximum in milliseconds,
#      and what of it the view spent matching names and narrowing + painting.
# The Windows programs come from build/win32, or from build/win64 where the
# kernel cannot execute 32-bit programs. Prints figures; fails only when
# something does not run.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
count=${1:-5000}
windows_tree=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || windows_tree=win64
win="$top/build/$windows_tree"
work="$top/build/bench-search"
fonts="$work/fonts"
mkdir -p "$work"
cp "$win/wine-arch" "$work/wine-arch" 2>/dev/null || true
ln -sfn "$win/bin" "$work/bin"  # the harness runs the programs from <tree>/bin

if [ ! -f "$fonts/manifest.json" ] || [ "$(ls "$fonts" | grep -c '\.ttf$')" != "$count" ]; then
  rm -rf "$fonts"
  /usr/bin/python3 "$top/tools/fontgen/make_fonts.py" "$fonts" --count "$count" --omit 2
fi

trap '"$top/scripts/wine-session" stop "$work"' EXIT
"$top/scripts/wine-session" start "$work" >/dev/null
. "$top/scripts/wine-env.sh" "$work"
installed="$WINEPREFIX/drive_c/windows/Fonts"
rm -f "$installed"/glimra-test-*.ttf
cp "$fonts"/*.ttf "$installed/"
echo "installed $(ls "$installed" | grep -c '^glimra-test-') generated fonts into $WINEPREFIX"

cd "$top/tests/e2e"
/usr/bin/python3 - "$work" "$count" <<'PY'
import statistics
import sys
import time
from pathlib import Path

from harness.glimra import QUERY_ROW_COUNT, Glimra
from harness.wine import Wine, wait_until

ID_EDIT_FIND, FIND_TEXT, SAMPLE_TEXT = 32815, 1002, 1000
QUERY_SEARCH_MATCH_US, QUERY_SEARCH_PAINT_US = 30, 31
QUERIES = ["ぐりむら", "グリムラ試験 01", "ｸﾞﾘﾑﾗ", "glimra test 00", "ipa", "gothic", "ゴシック"]

work, count = Path(sys.argv[1]), int(sys.argv[2])
w = Wine(work)
w.reg_delete(r"HKCU\Software\VANTO")
w.reg_set(r"HKCU\Software\VANTO\Glimra\Settings", "AutoUpdate", 0)
started = time.monotonic()
g = Glimra(w)
everything = g.query(QUERY_ROW_COUNT)
print(f"start_s {time.monotonic() - started:.1f} rows {everything}")
try:
    g.command(ID_EDIT_FIND)
    edit = wait_until(lambda: [c for c in w.children(g.frame.hwnd) if c.id == FIND_TEXT and c.visible], timeout=60)[0]
    started = time.monotonic()
    w.set_text(edit.hwnd, "glimra test")
    wait_until(lambda: g.query(QUERY_ROW_COUNT) >= count, timeout=3600, interval=1)
    print(f"names_scanned_s {time.monotonic() - started:.1f}")
    def figures(values):
        return f"median {statistics.median(values):.1f} ms, max {max(values):.1f} ms"

    every, matching, painting = [], [], []
    for query in QUERIES:
        w.set_text(edit.hwnd, "")
        times = []
        for character in query:
            times.append(float(w.wtool("type", hex(edit.hwnd), character)))
            matching.append(g.query(QUERY_SEARCH_MATCH_US) / 1000)
            painting.append(g.query(QUERY_SEARCH_PAINT_US) / 1000)
        every += times
        print(f"query {query!r}: {len(times)} keys, rows {g.query(QUERY_ROW_COUNT)}, {figures(times)}")
    print(f"keystroke_to_repaint {len(every)} keys over {everything} rows: {figures(every)}")
    print(f"  of which matching the names: {figures(matching)}; narrowing the list and painting: {figures(painting)}")
    # A key that leaves the same faces in the list repaints nothing.
    repainted = [t for t, p in zip(every, painting) if p > 0.5]
    if repainted:
        print(f"keys_that_changed_the_list {len(repainted)}: {figures(repainted)}")
    # For comparison, the list's own repaint on a key typed in the sample
    # text box (no search involved), over the whole list and a narrowed one.
    sample = next(c for c in w.children(g.frame.hwnd) if c.id == SAMPLE_TEXT and c.cls == "Edit")
    for text in ("", "ゴシック"):
        w.set_text(edit.hwnd, text)
        times = [float(t) for t in w.wtool("type", hex(sample.hwnd), "Glimra").split()]
        print(f"sample_text_keys over {g.query(QUERY_ROW_COUNT)} rows: {figures(times)}")
finally:
    w.close(g.frame.hwnd)
    try:
        g.proc.wait(timeout=60)
    except Exception:
        g.proc.kill()
PY
