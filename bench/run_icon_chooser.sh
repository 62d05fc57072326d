#!/usr/bin/env bash
# Builds and runs the icon chooser benchmark under a private Wine session.
# Usage: bash bench/run_icon_chooser.sh [runs of each library, default 10]
#   WINE_SESSION_DPI=144 runs it on a display at that scale (a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
# shellcheck source=scripts/preset.sh
source scripts/preset.sh
preset_configure windows-x64
cmake --build build/win64 --target icon_chooser_bench keepalive
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_begin "$root/build/wine-bench${WINE_SESSION_DPI:+-$WINE_SESSION_DPI}" \
    "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
wine "$root/build/win64/bench/win/icon_chooser_bench.exe" "${1:-10}"
