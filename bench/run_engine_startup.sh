#!/usr/bin/env bash
# Builds and runs the engine start-up benchmark under a private Wine session.
# Usage: bash bench/run_engine_startup.sh [runs per scenario, default 15] [tvlengin.exe ...]
#   Measures the release build, as a user downloads it. Programs named (Windows paths) are
#   measured instead, all in the same runs: a before and an after against one floor.
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=bench/bench_session.sh
source bench/bench_session.sh
bench_build engine_startup_bench
programs=("${@:2}")
if [ ${#programs[@]} -eq 0 ]; then
    programs=("$(bench_release_program tvlengin engine/tvlengin.exe)")
fi
bench_wine_begin
wine "$root/build/win64/bench/win/engine_startup_bench.exe" "${1:-15}" "${programs[@]}"
