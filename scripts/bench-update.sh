#!/usr/bin/env bash
# bench-update.sh [--mib N] [--only abc] [--memory] [--phases] [--keep]
# Times one update package through Mervik.exe alone, through the whole road
# from Glimra, and through curl + openssl + md5sum + unzip; prints the ratios.
# Run by hand after scripts/build.sh win32; it starts (and stops) the build
# tree's Wine session when none runs. GLIMRA_BUILD names another build tree.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${GLIMRA_BUILD:-$here/../build/win32}" && pwd)
started=
if ! [ -f "$build/wine-session/xvfb.pid" ] || ! kill -0 "$(cat "$build/wine-session/xvfb.pid")" 2>/dev/null; then
  "$here/wine-session" start "$build" >/dev/null
  started=1
fi
. "$here/wine-env.sh" "$build"
status=0
/usr/bin/python3 "$here/bench_update.py" --build "$build" "$@" || status=$?
[ -n "$started" ] && "$here/wine-session" stop "$build" >/dev/null
exit $status
