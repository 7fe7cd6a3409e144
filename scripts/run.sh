#!/usr/bin/env bash
# The run command: installs what is missing, builds the Windows programs and
# starts the viewer under Wine. Without a display it runs on a private Xvfb
# screen, saves a screenshot and says where.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
if [ "$(id -u)" = 0 ]; then bash scripts/setup.sh; else sudo -n bash scripts/setup.sh; fi
bash scripts/build.sh win32

bin=build/win32/bin
program=""
for candidate in Glimra.exe FrameworkDemo.exe SmokeApp.exe; do
  for dir in "$bin" build/win32/tests; do
    if [ -f "$dir/$candidate" ]; then program="$dir/$candidate"; break 2; fi
  done
done
[ -n "$program" ] || { echo "run.sh: nothing to start yet" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  . scripts/wine-env.sh build/win32
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  echo "run.sh: starting $program"
  exec wine "$program"
fi

# Headless: our own Xvfb session, a screenshot after start-up, then stop.
scripts/wine-session start build/win32
. scripts/wine-env.sh build/win32
wine "$program" >/dev/null 2>&1 &
sleep "${GLIMRA_RUN_SECONDS:-8}"
mkdir -p build/win32/shots
import -window root build/win32/shots/run.png
echo "run.sh: no display; $program ran on Xvfb $DISPLAY. Screenshot: $top/build/win32/shots/run.png"
scripts/wine-session stop build/win32
