#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the portable core natively
# (ASan + UBSan), the fuzz targets (clang), the Windows programs and their tests under Wine, the
# release build with its installer, the scale tests again at 144 dots per inch, and the
# installer's tests in a Wine prefix of their own.
# Ends with one line "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
# shellcheck source=scripts/preset.sh
source scripts/preset.sh

logs="$root/build/test-logs"
mkdir -p "$logs"
rm -f "$logs"/*.log
status=0

# Runs one ctest preset, keeping its output for the summary; a failing test does not stop
# the other suites.
run_ctest() {
    local preset=$1
    shift
    echo "== tests: $preset"
    if ! ctest --preset "$preset" "$@" 2>&1 | tee "$logs/$preset.log"; then
        status=1
    fi
    grep -q "tests passed" "$logs/$preset.log" || status=1
}

echo "== build: native"
preset_configure native
cmake --build --preset native
run_ctest native -j2

echo "== build: fuzz"
preset_configure fuzz
cmake --build --preset fuzz
run_ctest fuzz -j2

echo "== build: bench (compile only; run the benchmarks by hand, see bench/README.md)"
preset_configure bench
cmake --build --preset bench

echo "== build: windows-i686 (compile only)"
preset_configure windows-i686
cmake --build --preset windows-i686

echo "== build: windows-release (what a user downloads: build/dist)"
preset_configure windows-release
cmake --build --preset windows-release
ls -l build/release/engine/tvlengin.exe build/release/editor/tvledit.exe \
    build/dist/tarvel-setup.exe build/dist/tarvel-portable.zip

echo "== build: windows-x64"
preset_configure windows-x64
cmake --build --preset windows-x64

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_begin "$root/build/wine-session" "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
run_ctest windows-x64
wine_session_end
trap - EXIT

# The scale tests again, on a display at 150 %: a prefix of its own, kept between runs like the
# first one, since the scale is a setting of the whole prefix.
WINE_SESSION_DPI=144 wine_session_begin "$root/build/wine-session-144" \
    "$root/build/win64/tests/e2e/keepalive.exe"
trap wine_session_end EXIT
run_ctest windows-x64-dpi144
wine_session_end
trap - EXIT

# The installer goes into a fresh prefix of its own: it writes the machine's folders and
# registry, which the other tests' prefix must not carry, and it must find nothing of an
# earlier run there.
wine_session_begin "$root/build/install-session" "$root/build/win64/tests/e2e/keepalive.exe" \
    fresh
trap wine_session_end EXIT
run_ctest windows-x64-install
wine_session_end
trap - EXIT

# The end-to-end tests leave screenshots as .bmp; PNG is easier to look at.
for bmp in build/win64/screenshots/*.bmp; do
    [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done

passed=0
failed=0
for log in "$logs"/*.log; do
    line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -1 || true)
    if [ -n "$line" ]; then
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
        bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
done
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed"
exit $status
