# Sourced with the build tree as $1: the environment every Wine run of ours uses.
glimra_build=$(cd "$1" && pwd)
# A 64-bit tree (see cmake/mingw64.cmake) runs under wine64 through our shims.
if [ "$(cat "$glimra_build/wine-arch" 2>/dev/null)" = win64 ]; then
  case ":$PATH:" in
  *":$(dirname "${BASH_SOURCE[0]}")/wine64:"*) ;;
  *) PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64:$PATH" ;;
  esac
  export PATH WINEARCH=win64
fi
export WINEPREFIX="$glimra_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
if [ -z "${DISPLAY:-}" ] && [ -f "$glimra_build/wine-session/display" ]; then
  export DISPLAY=$(cat "$glimra_build/wine-session/display")
fi
