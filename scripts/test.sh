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
# Wine runs our 32-bit programs only where the kernel can execute 32-bit
# code. Where it cannot (some virtual machines), the same sources are built
# for 64-bit Windows as well and the Windows tests run on that build under
# wine64; the 32-bit programs are still built and must compile cleanly.
windows_tree=win32
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  windows_tree=win64
  echo "test.sh: this kernel cannot execute 32-bit programs (wine32 does not start);"
  echo "test.sh: the Windows tests run on build/win64 under wine64"
fi
trees=(native asan win32)
[ "$windows_tree" = win32 ] || trees+=("$windows_tree")
bash scripts/build.sh "${trees[@]}" || exit 1

status=0
passed=0
failed=0
run_ctest() {
  echo "== $1"
  local log
  log=$(mktemp)
  (cd "$1" && ctest --output-on-failure --timeout 900 -j "$(nproc)") 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # "100% tests passed, 0 tests failed out of 15"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  else
    status=1
  fi
  rm -f "$log"
}
root=${GLIMRA_BUILD_ROOT:-build}
run_ctest "$root/native"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$root/native-asan"
run_ctest "$root/$windows_tree"
# A ctest killed half-way must not leave our Wine session behind.
scripts/wine-session stop "$root/$windows_tree" >/dev/null 2>&1 || true

[ $status -eq 0 ] || echo "test.sh: FAILURES above"
echo "$passed passed, $failed failed"
exit $status
