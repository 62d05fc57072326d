#!/usr/bin/env bash
# Builds and runs the editor start-up and edit benchmark under a private Wine session.
# Usage: bash bench/run_editor_startup.sh [runs per scenario, default 10] [--large]
#            [--editor=tvledit.exe ...]
#   --large adds menus of 100,000 items (start, Move Up) and 1,000,000 items (start).
#   --editor= (a Windows path, such as Z:\tmp\before\tvledit.exe) measures that editor instead
#   of the release build, as a user downloads it; given more than once, each of them in the same runs, taking turns.
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
# shellcheck source=scripts/preset.sh
source scripts/preset.sh
preset_configure windows-x64
cmake --build build/win64 --target editor_startup_bench keepalive
args=("${@:2}")
if [[ " ${args[*]} " != *" --editor="* ]]; then
    preset_configure windows-release
    cmake --build build/release --target tvledit
    release="$root/build/release/editor/tvledit.exe"
    args+=("--editor=Z:${release//\//\\}")
fi
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_begin "$root/build/wine-bench${WINE_SESSION_DPI:+-$WINE_SESSION_DPI}" \
    "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
wine "$root/build/win64/bench/win/editor_startup_bench.exe" "${1:-10}" "${args[@]}"
