// What ties a menu file to its shortcuts and its taskbar button: the application identity
// derived from its path, the shortcut's file name, and what a shortcut of ours looks like.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace menufile {

// The path as Windows compares paths: letters case-folded (by fixed tables, the same on every
// Windows, so an identity never changes with the system's version), "/" read as "\".
[[nodiscard]] std::string FoldPathCase(std::string_view path);
[[nodiscard]] bool SamePath(std::string_view a, std::string_view b);

// "Tarvel.Menu." and 16 lower-case hex digits of the 64-bit FNV-1a hash of the folded full
// path: stable across runs, the same for two spellings of one path, distinct per menu, and
// within the 128 characters Windows allows an AppUserModelID.
[[nodiscard]] std::string MenuAppUserModelId(std::string_view fullPath);

// "<menu name>.lnk": the file name without ".tvl" (any case), each character file names
// refuse (control characters and \ / : * ? " < > |) replaced by "_", trailing dots and spaces
// dropped, a device name (CON, NUL, COM1...) given a trailing "_"; "Menu" when nothing of the
// name is left that a file name takes.
[[nodiscard]] std::string ShortcutFileName(std::string_view menuPath);

inline constexpr const char* kShortcutDescription = "Tarvel menu";

// A shell link as the editor writes and reads it (paths UTF-8, full).
struct ShortcutLink {
    std::string Target;
    std::string Arguments;
    std::string WorkingDirectory;
    std::string IconPath;
    int IconIndex = 0;
    std::uint16_t HotKey = 0;  // as HKM_GETHOTKEY gives it: virtual key low, modifiers high
    std::string Description;
};

// The shortcut that pops up `menuPath` with the engine at `enginePath`: the menu's full path
// quoted as the argument, its folder to start in, the menu file itself as the icon (index 0:
// the file starts with its icon file).
[[nodiscard]] ShortcutLink MenuShortcut(std::string_view enginePath, std::string_view menuPath,
                                        std::uint16_t hotKey);
// Whether `link` starts `enginePath` on `menuPath` (paths compared folded; the argument read as
// the engine reads its command line).
[[nodiscard]] bool IsShortcutOf(const ShortcutLink& link, std::string_view enginePath,
                                std::string_view menuPath);

}  // namespace menufile
