# Sourced with the build tree as $1: the environment every Wine run of ours uses.
glimra_build=$(cd "$1" && pwd)
export WINEPREFIX="$glimra_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
if [ -z "${DISPLAY:-}" ] && [ -f "$glimra_build/wine-session/display" ]; then
  export DISPLAY=$(cat "$glimra_build/wine-session/display")
fi
