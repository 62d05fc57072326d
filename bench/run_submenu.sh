#!/usr/bin/env bash
# Builds and runs the submenu benchmark under a private Wine session.
# Usage: bash bench/run_submenu.sh [runs, default 15] [tvlengin.exe]
#   Measures the release build, as a user downloads it, unless a program is named.
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=bench/bench_session.sh
source bench/bench_session.sh
bench_build submenu_bench
engine=${2:-}
if [ -z "$engine" ]; then
    engine=$(bench_release_program tvlengin engine/tvlengin.exe)
fi
bench_wine_begin
wine "$root/build/win64/bench/win/submenu_bench.exe" "${1:-15}" "$engine"
