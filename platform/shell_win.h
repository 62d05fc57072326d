// Shell calls both programs use: icons of files, display names, opening items.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace platform {

// One icon of a file in both sizes. False (and both handles null) when there is none; the
// caller owns the handles it gets.
[[nodiscard]] bool ExtractIconPair(const std::string& file, int index, HICON& large, HICON& small);

// How many icons the file holds: 0 for none, a missing file or a file that is not a library.
[[nodiscard]] int CountIcons(const std::string& file);

struct ShellInfo {
    HIMAGELIST imageList = nullptr;  // borrowed: the system image list, never destroyed
    int iconIndex = 0;
    std::string displayName;
};

// The shell's icon and display name of a path; false when the shell knows nothing of it.
// SHGFI_EXETYPE is left out: with it Wine answers nothing, and the exe type is not used.
[[nodiscard]] bool GetShellInfo(const std::string& path, bool smallIcon, ShellInfo& out);

// Opens the item with the verb "Open"; true when the shell accepted it.
bool ShellOpen(HWND owner, const std::string& target, const std::string& arguments,
               const std::string& startIn);

}  // namespace platform
