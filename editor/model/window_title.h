// The editor's name and the main window's title.
#pragma once

#include <string>
#include <string_view>

namespace editor {

inline constexpr const char* kMainTitle = "Tarvel Edit";

// The main window's title for a menu file: the name the shell shows for it (`displayName`,
// the file's last path part when the shell has none), then " - Tarvel Edit"; "Tarvel Edit"
// alone while no file is open.
[[nodiscard]] std::string MainWindowTitle(std::string_view path, std::string_view displayName);

}  // namespace editor
