#!/usr/bin/env bash
# build.sh [native|asan|win32|win64]...: configures (once) and builds the trees.
# win64 is a test-only build for kernels that cannot run 32-bit code.
# With no argument: all three. GLIMRA_BUILD_ROOT (default build) holds them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
root=${GLIMRA_BUILD_ROOT:-build}

configure_and_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
}

trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native asan win32)
for t in "${trees[@]}"; do
  case "$t" in
  native) configure_and_build "$root/native" ;;
  asan) configure_and_build "$root/native-asan" -DGLIMRA_SANITIZE=ON ;;
  win32) configure_and_build "$root/win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw32.cmake" ;;
  win64) configure_and_build "$root/win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw64.cmake" ;;
  *) echo "build.sh: unknown tree $t" >&2; exit 2 ;;
  esac
done
