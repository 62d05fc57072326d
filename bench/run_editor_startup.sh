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
# shellcheck source=bench/bench_session.sh
source bench/bench_session.sh
bench_build editor_startup_bench
args=("${@:2}")
if [[ " ${args[*]} " != *" --editor="* ]]; then
    args+=("--editor=$(bench_release_program tvledit editor/tvledit.exe)")
fi
bench_wine_begin
wine "$root/build/win64/bench/win/editor_startup_bench.exe" "${1:-10}" "${args[@]}"
