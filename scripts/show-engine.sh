#!/usr/bin/env bash
# Installs what is missing, builds the engine and shows it on a bundled example menu (or the
# menu file given as the argument). Without a display it runs under its own Xvfb and saves a
# screenshot to build/screenshots/engine-example.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
menu=$(realpath "${1:-examples/example.tvl}")

bash scripts/install-deps.sh
# shellcheck source=scripts/preset.sh
source scripts/preset.sh
preset_configure windows-x64
cmake --build build/win64 --target tvlengin keepalive

# Wine sees the Linux root as drive Z:.
winpath="Z:${menu//\//\\}"
engine="$root/build/win64/engine/tvlengin.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX="$root/build/wine-desktop" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    echo "Showing $menu on $DISPLAY: pick an item, or press Escape."
    exec wine "$engine" "$winpath"
fi

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_begin "$root/build/wine-show" "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
mkdir -p build/screenshots
wine "$engine" "$winpath" </dev/null >/dev/null 2>&1 &
sleep 4
import -display "$DISPLAY" -window root build/screenshots/engine-example.png
echo "Screenshot: $root/build/screenshots/engine-example.png"
