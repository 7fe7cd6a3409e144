#!/usr/bin/env bash
# format-check.sh: fails when a C++ source of ours differs from what
# clang-format makes of it under the root's .clang-format (nothing is
# changed; run clang-format -i on the files it names).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
find common framework viewer launcher checker tools tests \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 "${CLANG_FORMAT:-clang-format}" --dry-run -Werror
