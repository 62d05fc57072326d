# What the benchmark scripts share; sourced from the project's root with `set -euo pipefail`.
# shellcheck shell=bash

# Installs what is missing and builds the benchmark `$1` with the Wine session's keep-alive.
bench_build() {
    bash scripts/install-deps.sh
    # shellcheck source=scripts/preset.sh
    source scripts/preset.sh
    preset_configure windows-x64
    cmake --build build/win64 --target "$1" keepalive
}

# Builds the release program `$1` (at `$2` under build/release), as a user downloads it, and
# prints its Windows path; the build's own output goes to stderr.
bench_release_program() {
    preset_configure windows-release >&2
    cmake --build build/release --target "$1" >&2
    local release="$PWD/build/release/$2"
    echo "Z:${release//\//\\}"
}

# A private Wine session (at WINE_SESSION_DPI when set, in a prefix of its own), ended on exit.
bench_wine_begin() {
    # shellcheck source=scripts/wine-session.sh
    source scripts/wine-session.sh
    wine_session_begin "$PWD/build/wine-bench${WINE_SESSION_DPI:+-$WINE_SESSION_DPI}" \
        "$PWD/build/win64/tests/e2e/keepalive.exe"
    trap wine_session_end EXIT
}
