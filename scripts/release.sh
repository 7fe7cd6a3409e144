#!/usr/bin/env bash
# release.sh VERSION URL-BASE [LOWEST]
#
# Builds Glimra VERSION and everything needed to publish it, into
# build/release/VERSION/:
#   Glimra-VERSION-setup.exe   the setup program for new users
#   glimra-NNNNN.upd           the update package (the setup program inside as
#                              setupeasy.exe), NNNNN the five-digit version
#   AutoUpdate.dat             the information file, one line:
#                                R LOWEST <NNNNN - 1> URL-BASE/glimra-NNNNN.upd
# URL-BASE is where the package and AutoUpdate.dat will be published, e.g.
# http://update.vanto.example/update/glimra2. LOWEST (default 00000) is the
# oldest installed version that is offered the update.
#
# The programs are built in a Windows tree of their own configured with
# GLIMRA_VERSION=VERSION (GLIMRA_BUILD_ROOT/win32-release, kept for the next
# release; only the targets the setup program needs), the package with the
# native Mervpack. GLIMRA_BUILD_ROOT (default build) holds the trees and
# release/. GLIMRA_RELEASE_ARCH=win64 builds 64-bit programs and setup program
# instead (win64-release), for the tests on machines that cannot run 32-bit
# programs; releases are win32, the default.
#
# Signed updates (README, "Signed updates"): GLIMRA_SIGNING_KEY=<key file>
# signs the package for version NNNNN (Mervpack --sign); GLIMRA_UPDATE_PUBKEY
# builds the programs' checker with that public key (kept in the tree).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
version=$1
base=${2%/}
lowest=${3:-00000}
if ! code=$(cmake -DVERSION="$version" -P cmake/Version.cmake 2>&1); then
  echo "release.sh: $code" >&2
  exit 2
fi
if [ "$code" = 00000 ]; then
  echo "release.sh: version 0.0.0 has no older version to update" >&2
  exit 2
fi
highest=$(printf '%05d' $((10#$code - 1)))

root=${GLIMRA_BUILD_ROOT:-build}
arch=${GLIMRA_RELEASE_ARCH:-win32}
case "$arch" in
win32) toolchain=mingw32 ;;
win64) toolchain=mingw64 ;;
*) echo "release.sh: GLIMRA_RELEASE_ARCH is win32 or win64, not $arch" >&2; exit 2 ;;
esac
jobs=$(nproc)
tree=$root/$arch-release
native=$root/native
out=$root/release/$version

echo "release.sh: building Glimra $version (update version $code, $arch) in $tree"
pubkey=()
[ -n "${GLIMRA_UPDATE_PUBKEY:-}" ] && pubkey=(-DGLIMRA_UPDATE_PUBKEY="$GLIMRA_UPDATE_PUBKEY")
cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" -DGLIMRA_VERSION="$version" "${pubkey[@]}" >/dev/null
cmake --build "$tree" -j "$jobs" --target glimra_setup
if [ ! -f "$native/build.ninja" ]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" -j "$jobs" --target Mervpack

setup=Glimra-$version-setup.exe
package=glimra-$code.upd
rm -rf "$out"
mkdir -p "$out"
cp "$tree/setup/$setup" "$out/$setup"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$tree/setup/$setup" "$stage/setupeasy.exe"
sign=()
[ -n "${GLIMRA_SIGNING_KEY:-}" ] && sign=(--sign "$GLIMRA_SIGNING_KEY" --new-version "$code")
"$native/bin/Mervpack" --info "$out/AutoUpdate.dat" --from "$lowest" --to "$highest" \
  --url "$base/$package" "${sign[@]}" "$stage" "$out/$package"

echo
echo "release.sh: Glimra $version is in $out:"
ls -l "$out"
echo "Publish $package and AutoUpdate.dat at $base/, then check what clients get:"
echo "  $native/bin/Mervpack --check $base/AutoUpdate.dat $highest"
