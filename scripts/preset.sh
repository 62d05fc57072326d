# Configures this checkout's CMake presets for the scripts (source it).
#
#   source scripts/preset.sh
#   preset_configure windows-x64
#
# A copied or moved checkout brings build folders that CMake configured for the old source
# folder: CMake refuses their caches, and the paths built into their programs and tests point
# into the old tree. Such a folder is removed before the preset is configured again.

_PRESET_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"

# Configures preset $1 quietly (CMake's errors still show); any further arguments go to cmake.
# Returns non-zero on failure instead of exiting the caller.
preset_configure() {
    local preset=$1 dir home
    shift
    dir="$(cmake -DSOURCE_DIR="$_PRESET_ROOT" -DPRESET="$preset" \
        -P "$_PRESET_ROOT/scripts/preset-dir.cmake")" || return 1
    if [ -f "$dir/CMakeCache.txt" ]; then
        home="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$dir/CMakeCache.txt")"
        # Physical paths on both sides, so a symlinked checkout is not taken for another one.
        if [ -n "$home" ] && [ "$(cd "$home" 2>/dev/null && pwd -P)" != "$_PRESET_ROOT" ] &&
            [ "$dir" != "$_PRESET_ROOT" ]; then
            echo "preset: removing $dir, configured for another source folder ($home)" >&2
            rm -rf -- "$dir" || return 1
        fi
    fi
    (cd "$_PRESET_ROOT" && cmake --preset "$preset" "$@" >/dev/null)
}
