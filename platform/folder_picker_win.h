// The system's folder picker (the common item dialog picking folders).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform {

// Asks for a folder, starting in `start` when it exists; the folder's path, or nothing when the
// user cancelled or the dialog could not be shown.
[[nodiscard]] std::optional<std::string> PickFolder(HWND owner, const std::string& start);

}  // namespace platform
