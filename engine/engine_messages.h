// What the engine tells the user instead of showing a menu: the texts of its message boxes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "menufile/display_path.h"
#include "menufile/file_system.h"

namespace engine {

inline constexpr const char* kMessageTitle = "Error!!";
// The longest path Windows opens without long-path support: MAX_PATH less its closing null, in
// UTF-16 units (a letter of most scripts is one, an emoji two).
inline constexpr std::size_t kLongestPath = 259;

enum class MenuProblem {
    Empty,       // a readable menu without items, or a file that is not a menu
    Folder,      // the path names a folder
    Missing,     // nothing is at the path
    Unreadable,  // another program has the file locked, no permission, a failed read
    TooLong,     // a path longer than Windows takes
};

// Why a read of the menu file at `path` failed with `error` (not None), given what the file
// system finds at the path.
[[nodiscard]] MenuProblem ReadProblem(menufile::FileError error, menufile::PathKind kind,
                                      std::string_view path);

// The text of the message box. Every message but Empty's names the path, shortened by
// menufile::ShortenPath.
[[nodiscard]] std::string ProblemMessage(MenuProblem problem, std::string_view path);

// The text of the message box when the shell could not open an item: the target (shortened by
// menufile::ShortenPath) and the system's reason, in its words (trailing line ends removed);
// a generic reason when the system gave none.
[[nodiscard]] std::string LaunchFailedMessage(std::string_view target, std::string_view reason);

}  // namespace engine
