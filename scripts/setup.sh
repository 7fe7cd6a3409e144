#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12 (run as root).
# Quick when everything is already there: it checks before it installs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
third="$here/third_party"

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  googletest libgtest-dev libbenchmark-dev
  zlib1g-dev libminizip-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth imagemagick x11-utils
  fonts-ipafont fonts-ipaexfont fonts-dejavu-core locales
  cups printer-driver-cups-pdf poppler-utils libcups2:i386
  python3 python3-cryptography python3-pytest
  openssl unzip zip dpkg-dev fp-utils nsis
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

# minizip's sources for the Windows tree come from Debian's zlib source package.
if [ ! -f "$third/zlib/contrib/minizip/unzip.c" ]; then
  if [ ! -f /etc/apt/sources.list.d/debian-src.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/debian-src.sources
    apt-get update -qq
  fi
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq --download-only zlib=1:1.2.13.dfsg-1 >/dev/null &&
    dpkg-source -x --skip-patches zlib_1.2.13.dfsg-1.dsc zlib >/dev/null 2>&1 || dpkg-source -x zlib_1.2.13.dfsg-1.dsc zlib >/dev/null)
  mkdir -p "$third"
  rm -rf "$third/zlib"
  mv "$tmp/zlib" "$third/zlib"
  rm -rf "$tmp"
fi
echo "setup: ready"
