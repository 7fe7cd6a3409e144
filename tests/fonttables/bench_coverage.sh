#!/usr/bin/env bash
# bench_coverage.sh [count]: figures for the coverage scan at scale.
#   1. makes COUNT (default 5,000) generated fonts with known coverage;
#   2. times build/native/bin/fontcover on all of them and checks the joyo
#      counts against the generator's manifest;
#   3. installs them into a Wine prefix of its own (build/bench-coverage)
#      and prints the bare EnumFontFamiliesExA time, the GetFontData scan of
#      every face and the peak memory (coverage_scan_bench.exe), then
#      fontcover.exe on a sample of files beside the native answers;
#   4. starts Glimra.exe in that prefix (coverage_ui_bench.exe) and prints its
#      first paint, the full coverage scan after the coverage line is turned
#      on, the longest message round trip to the view during the scan (the
#      longest the window does not answer) and its peak working set.
# Run: bash tests/fonttables/bench_coverage.sh 200   (the Windows tree built).
# The Windows programs come from build/win32, or from build/win64 where the
# kernel cannot execute 32-bit programs (as scripts/test.sh decides).
# Prints figures; fails only when something does not run or answers differ.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
count=${1:-5000}
native="$top/build/native/bin/fontcover"
windows_tree=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || windows_tree=win64
win="$top/build/$windows_tree"
work="$top/build/bench-coverage"
fonts="$work/fonts"
mkdir -p "$work"
# The prefix of this script is made for the same Wine as the programs.
cp "$win/wine-arch" "$work/wine-arch" 2>/dev/null || true

seconds_since() { echo "$(($(date +%s%N) - $1))" | awk '{printf "%.2f", $1 / 1e9}'; }

if [ ! -f "$fonts/manifest.json" ] || [ "$(ls "$fonts" | grep -c '\.ttf$')" != "$count" ]; then
  rm -rf "$fonts"
  start=$(date +%s%N)
  /usr/bin/python3 "$top/tools/fontgen/make_fonts.py" "$fonts" --count "$count"
  echo "generate_fonts $count in $(seconds_since "$start") s ($(du -sh "$fonts" | cut -f1))"
fi

start=$(date +%s%N)
(cd "$fonts" && ls *.ttf | xargs "$native") >"$work/native.csv"
elapsed=$(seconds_since "$start")
echo "native_fontcover $count files in $elapsed s ($(awk -v n="$count" -v s="$elapsed" 'BEGIN{printf "%.0f", n / s}') faces/s)"
/usr/bin/python3 - "$fonts/manifest.json" "$work/native.csv" <<'PY'
import csv, json, sys
manifest = {e["file"]: e for e in json.load(open(sys.argv[1], encoding="utf-8"))}
rows = list(csv.DictReader(open(sys.argv[2], encoding="utf-8")))
wrong = [r["file"] for r in rows if int(r["joyo"]) != 2136 - len(manifest[r["file"]]["missing_joyo"])]
assert len(rows) == len(manifest) and not wrong, wrong[:5]
print("native_joyo_counts agree with the manifest for", len(rows), "fonts")
PY

if [ ! -f "$win/bench/coverage_scan_bench.exe" ]; then
  echo "bench_coverage: build the $windows_tree tree for the Wine figures" >&2
  exit 1
fi
trap '"$top/scripts/wine-session" stop "$work"' EXIT
if ! "$top/scripts/wine-session" start "$work" >/dev/null; then
  echo "bench_coverage: Wine did not start here: no Wine figures" >&2
  exit 1
fi
. "$top/scripts/wine-env.sh" "$work"
installed="$WINEPREFIX/drive_c/windows/Fonts"
cp -u "$fonts"/*.ttf "$installed/"
echo "installed $(ls "$installed" | grep -c '^glimra-test-') generated fonts into $WINEPREFIX"
# The first run builds Wine's font cache; the second is what a user sees.
for run in first second; do
  echo "-- coverage_scan_bench ($run run)"
  start=$(date +%s%N)
  "$top/scripts/wine-run" "$work" "$win/bench/coverage_scan_bench.exe"
  echo "process_s $(seconds_since "$start")"
done
sample=$(cd "$fonts" && ls *.ttf | sed -n 1,200p)  # head would end ls with SIGPIPE
(cd "$fonts" && "$top/scripts/wine-run" "$work" "$win/bin/fontcover.exe" $sample) | tr -d '\r' >"$work/wine.csv"
head -201 "$work/native.csv" | cmp - "$work/wine.csv" && echo "wine_fontcover agrees with native on 200 files"
# Glimra with every generated face; the second start is what a user sees.
for run in first second; do
  echo "-- coverage_ui_bench ($run run)"
  "$top/scripts/wine-run" "$work" "$win/bench/coverage_ui_bench.exe" "$win/bin/Glimra.exe" | tr -d '\r'
done
