#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12 (run as root).
# Quick when everything is already there: it checks before it installs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
third="$here/third_party"

packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
  googletest libgtest-dev libbenchmark-dev
  zlib1g-dev libminizip-dev libsodium-dev autoconf automake libtool
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth imagemagick x11-utils
  fonts-ipafont fonts-ipaexfont fonts-dejavu-core locales
  cups printer-driver-cups-pdf poppler-utils libcups2:i386
  python3 python3-cryptography python3-pytest python3-fonttools unicode-data
  openssl unzip zip dpkg-dev fp-utils curl nsis
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing=("${packages[@]}")
else
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

# Source packages (minizip, libsodium) need a deb-src entry.
need_source() {
  if [ ! -f /etc/apt/sources.list.d/debian-src.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/debian-src.sources
    apt-get update -qq
  fi
}

# minizip's sources for the Windows tree come from Debian's zlib source package.
if [ ! -f "$third/zlib/contrib/minizip/unzip.c" ]; then
  need_source
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq --download-only zlib=1:1.2.13.dfsg-1 >/dev/null &&
    dpkg-source -x --skip-patches zlib_1.2.13.dfsg-1.dsc zlib >/dev/null 2>&1 || dpkg-source -x zlib_1.2.13.dfsg-1.dsc zlib >/dev/null)
  mkdir -p "$third"
  rm -rf "$third/zlib"
  mv "$tmp/zlib" "$third/zlib"
  rm -rf "$tmp"
fi
# libsodium for the Windows trees (update signatures): Debian's source package,
# built static with the MinGW posix compilers, only the minimal set of functions
# (Ed25519 and BLAKE2b are in it) and only the library itself. The tarball has
# no configure script: autoreconf once, then one out-of-tree build per target.
# The 32-bit tree always needs it; the 64-bit test tree only where the kernel
# cannot execute 32-bit programs (the test scripts then use it instead), or
# when asked for with GLIMRA_WIN64=1.
sodium_targets=()
for host in i686-w64-mingw32 x86_64-w64-mingw32; do
  if [ "$host" = x86_64-w64-mingw32 ] && [ "${GLIMRA_WIN64:-0}" != 1 ] &&
    /usr/lib/wine/wine --version >/dev/null 2>&1; then
    continue
  fi
  [ -f "$third/libsodium-mingw/$host/lib/libsodium.a" ] || sodium_targets+=("$host")
done
if [ ${#sodium_targets[@]} -gt 0 ]; then
  need_source
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && apt-get source -qq --download-only libsodium=1.0.18-1+deb12u1 >/dev/null 2>&1 &&
    dpkg-source -x libsodium_1.0.18-1+deb12u1.dsc src >/dev/null 2>&1 &&
    cd src && autoreconf -fi >/dev/null 2>&1) ||
    { echo "setup: libsodium sources could not be prepared" >&2; exit 1; }
  for host in "${sodium_targets[@]}"; do
    echo "setup: building libsodium for $host"
    cc=$host-gcc-posix
    command -v ccache >/dev/null && cc="ccache $cc"
    mkdir "$tmp/$host"
    (cd "$tmp/$host" &&
      ../src/configure -q --host="$host" CC="$cc" --prefix="$third/libsodium-mingw/$host" \
        --enable-minimal --disable-shared --enable-static --disable-pie \
        --disable-dependency-tracking >/dev/null 2>&1 &&
      make -C src/libsodium -j"$(nproc)" -s install >/dev/null 2>&1)
    [ -f "$third/libsodium-mingw/$host/lib/libsodium.a" ] ||
      { echo "setup: libsodium build for $host failed" >&2; exit 1; }
  done
fi
echo "setup: ready"
