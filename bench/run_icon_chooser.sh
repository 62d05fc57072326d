#!/usr/bin/env bash
# Builds and runs the icon chooser benchmark under a private Wine session.
# Usage: bash bench/run_icon_chooser.sh [runs of each library, default 10]
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=bench/bench_session.sh
source bench/bench_session.sh
bench_build icon_chooser_bench
bench_wine_begin
wine "$root/build/win64/bench/win/icon_chooser_bench.exe" "${1:-10}"
