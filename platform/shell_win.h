// Shell calls both programs use: icons of files, display names, opening items. Paths and
// names are UTF-8. The shell and
// common-controls libraries are loaded on first use, so a program that shows its window
// before it needs them does not wait for them at start-up.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/win32_handles_win.h"

namespace platform {

// One icon of a file in both sizes. False (and both handles null) when there is none; the
// caller owns the handles it gets.
[[nodiscard]] bool ExtractIconPair(const std::string& file, int index, HICON& large, HICON& small);

// One icon of a file (`index` as for ExtractIconPair: a negative one is a resource id) at
// `size` x `size` pixels, taken from the file's image of that size where it has one, rather
// than the system's two fixed sizes. Null when there is none; the caller owns it.
[[nodiscard]] HICON ExtractIconAtSize(const std::string& file, int index, int size);

// A system image list (borrowed, never destroyed) and the size of its images in pixels.
struct ShellImageList {
    HIMAGELIST list = nullptr;
    int size = 0;
};

// The system image list for icons drawn `size` pixels wide: the one of that size, else the
// smallest larger one (to be shrunk), else the largest there is. Empty when the shell hands out
// no lists by size (then the list GetShellInfo returns stands in). Its image indexes are those
// GetShellInfo gives. For the window thread only.
[[nodiscard]] ShellImageList SystemImageListFor(int size);

// The size of an image list's images in pixels; 0 when unknown.
[[nodiscard]] int ImageListIconSize(HIMAGELIST list);

// An image of an image list as an icon the caller owns; null on failure.
[[nodiscard]] HICON ImageListIcon(HIMAGELIST list, int index);

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
// The shell's icon of a path alone, without its names (asking for them costs a folder about
// 20 ms under Wine); false when the shell knows nothing of it.
[[nodiscard]] bool GetShellIcon(const std::string& path, bool smallIcon, ShellInfo& out);
// The icon the shell shows for files of a type (`extension` with its dot, empty for none),
// asked of the type alone: no file or machine the path names is touched.
[[nodiscard]] bool GetTypeShellInfo(const std::string& extension, bool smallIcon, ShellInfo& out);

// The system image list's small folder icon, open or closed.
[[nodiscard]] bool GetFolderIcon(bool open, ShellInfo& out);

// Icon number `index` of a file as the icon browsers show it; null when there is none. The
// caller owns it.
[[nodiscard]] HICON ExtractOneIcon(const std::string& file, int index);

// The paths of a drop of files, in the drag source's order; the drop is finished.
[[nodiscard]] std::vector<std::string> TakeDroppedPaths(HDROP drop);

// The shell's display name of a path; empty when it knows none (an internet address).
[[nodiscard]] std::string ShellDisplayName(const std::string& path);

// The display names of files as ShellDisplayName gives them, asked of the shell's object of
// their folder: that is bound once for all the files of one folder, where ShellDisplayName
// looks every path up afresh (about 10 ms a file in a folder of 10,000 under Wine; this takes
// well under 1 ms). Starts COM on its thread, and is for that thread only.
class FolderDisplayNames {
public:
    FolderDisplayNames() = default;
    FolderDisplayNames(const FolderDisplayNames&) = delete;
    FolderDisplayNames& operator=(const FolderDisplayNames&) = delete;

    // The display name of `path`; empty when the shell knows none.
    [[nodiscard]] std::string NameOf(const std::string& path);

private:
    std::string m_folder;                // the folder last asked about, with its backslash
    ComPtr<IShellFolder> m_shellFolder;  // its object; empty when it could not be bound
};

// The shell's first icon takes about 100 ms under Wine (its image lists are made then): one
// asked for on a thread of its own while the window has other work, so the first icons shown
// do not wait for it as long. Waits for that thread when it ends.
class ShellIconWarmUp {
public:
    ShellIconWarmUp();
    ~ShellIconWarmUp();
    ShellIconWarmUp(const ShellIconWarmUp&) = delete;
    ShellIconWarmUp& operator=(const ShellIconWarmUp&) = delete;

private:
    std::thread m_thread;
};

// Draws an image of the system image list, transparent.
void DrawShellImage(HIMAGELIST list, int index, HDC dc, int x, int y);

// Registers the tooltip window class.
void RegisterTooltipClass();

// Opens the item with `verb` ("Open", or "runas" for administrator rights); true when the shell
// accepted it, else `error` (when given) holds the system's error code.
bool ShellOpen(HWND owner, const std::string& target, const std::string& arguments,
               const std::string& startIn, DWORD* error = nullptr, const char* verb = "Open");

// Tells the desktop shell that the file changed (its icon may be new).
void NotifyShellChanged(const std::string& path);

}  // namespace platform
