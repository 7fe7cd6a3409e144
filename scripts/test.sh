#!/usr/bin/env bash
# The test command: installs what is missing, builds every tree and runs
# every test (native, native with sanitizers, and the Windows programs under
# Wine, end-to-end tests included).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if [ "$(id -u)" = 0 ]; then
  bash scripts/setup.sh || exit 1
else
  sudo -n bash scripts/setup.sh || exit 1
fi
bash scripts/build.sh native asan win32 || exit 1

status=0
run_ctest() {
  echo "== $1"
  (cd "$1" && ctest --output-on-failure --timeout 900 -j "$(nproc)") || status=1
}
root=${GLIMRA_BUILD_ROOT:-build}
run_ctest "$root/native"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$root/native-asan"
run_ctest "$root/win32"
# A ctest killed half-way must not leave our Wine session behind.
scripts/wine-session stop "$root/win32" >/dev/null 2>&1 || true

if [ $status -eq 0 ]; then echo "test.sh: all test trees passed"; else echo "test.sh: FAILURES above"; fi
exit $status
