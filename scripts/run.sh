#!/usr/bin/env bash
# The run command: installs what is missing, builds the Windows programs and
# starts the viewer under Wine. Without a display it runs on a private Xvfb
# screen, saves a screenshot and says where.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tree=${GLIMRA_BUILD_ROOT:-build}/win32
if [ "$(id -u)" = 0 ]; then bash scripts/setup.sh; else sudo -n bash scripts/setup.sh; fi
bash scripts/build.sh win32

bin=$tree/bin
program=""
for candidate in Glimra.exe FrameworkDemo.exe SmokeApp.exe; do
  for dir in "$bin" "$tree/tests"; do
    if [ -f "$dir/$candidate" ]; then program="$dir/$candidate"; break 2; fi
  done
done
[ -n "$program" ] || { echo "run.sh: nothing to start yet" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  . scripts/wine-env.sh "$tree"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  echo "run.sh: starting $program"
  exec wine "$program"
fi

# Headless: our own Xvfb session, a screenshot after start-up, then stop.
scripts/wine-session start "$tree"
. scripts/wine-env.sh "$tree"
wine "$program" >/dev/null 2>&1 &
sleep "${GLIMRA_RUN_SECONDS:-8}"
mkdir -p "$tree/shots"
import -window root "$tree/shots/run.png"
echo "run.sh: no display; $program ran on Xvfb $DISPLAY. Screenshot: $(cd "$tree/shots" && pwd)/run.png"
scripts/wine-session stop "$tree"
