#!/usr/bin/env bash
# Builds and runs the submenu benchmark under a private Wine session.
# Usage: bash bench/run_submenu.sh [runs, default 15] [tvlengin.exe]
#   Measures the release build, as a user downloads it, unless a program is named.
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
# shellcheck source=scripts/preset.sh
source scripts/preset.sh
preset_configure windows-x64
cmake --build build/win64 --target submenu_bench keepalive
engine=${2:-}
if [ -z "$engine" ]; then
    preset_configure windows-release
    cmake --build build/release --target tvlengin
    release="$root/build/release/engine/tvlengin.exe"
    engine="Z:${release//\//\\}"
fi
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_begin "$root/build/wine-bench${WINE_SESSION_DPI:+-$WINE_SESSION_DPI}" \
    "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
wine "$root/build/win64/bench/win/submenu_bench.exe" "${1:-15}" "$engine"
