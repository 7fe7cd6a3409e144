#!/usr/bin/env bash
# fuzz.sh <work folder> [seconds] [package|fonttables]: builds a fuzzer
# (default: the package reader) with clang (libFuzzer, address and
# undefined-behaviour sanitizers) in its own folder and runs it for a
# bounded time. Fails on any finding.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${1:?work folder}
seconds=${2:-60}
target=${3:-package}
mkdir -p "$work"
work=$(cd "$work" && pwd)

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ not found, fuzzing skipped"
  exit 77
fi

if [ "$target" = fonttables ]; then
  # The tables the build generates, made here for clang.
  /usr/bin/python3 "$top/viewer/fonttables/make_cp932_table.py" "$work/Cp932Table.cpp"
  /usr/bin/python3 "$top/viewer/coverage/make_sets.py" "$work/CharacterSets.cpp"
  sources=(
    "$top/tests/fuzz/FontTablesFuzzer.cpp"
    "$top"/viewer/fonttables/{Bytes,Sfnt,Cmap,Names,Gsub,Text}.cpp "$top/viewer/coverage/Coverage.cpp"
    "$work/Cp932Table.cpp" "$work/CharacterSets.cpp"
  )
  binary="$work/fonttables_fuzzer"
  newest=$(ls -t "${sources[@]::8}" "$top"/viewer/{fonttables,coverage}/*.{h,py} | head -1)
  if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
    echo "fuzz.sh: building $binary"
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
      -I"$top/viewer" "${sources[@]}" -o "$binary"
  fi
  rm -rf "$work/seeds"
  /usr/bin/python3 "$top/tests/fuzz/make_font_seeds.py" "$work/seeds"
else
  sources=(
    "$top/tests/fuzz/PackageFuzzer.cpp"
    "$top"/checker/package/src/{Cast128,Md5,EntryName,PackageUnpacker,PosixFileSystem}.cpp
    "$top"/common/src/{Cp932,Paths}.cpp
  )
  binary="$work/package_fuzzer"
  newest=$(ls -t "${sources[@]}" "$top"/checker/package/include/package/*.h "$top"/checker/package/src/*.inc | head -1)
  if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
    echo "fuzz.sh: building $binary"
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
      -I"$top/common/include" -I"$top/checker/package/include" $(pkg-config --cflags minizip) \
      "${sources[@]}" $(pkg-config --libs minizip) -lz -o "$binary"
  fi

  rm -rf "$work/fixtures" "$work/seeds"
  /usr/bin/python3 "$top/tests/package/make_fixtures.py" "$work/fixtures"
  /usr/bin/python3 "$top/tests/fuzz/make_seeds.py" "$work/fixtures" "$work/seeds"
fi
mkdir -p "$work/corpus"
cd "$work"
exec "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 "$work/corpus" "$work/seeds"
