// The system's own words for an error code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

// The system's own text for an error code (UTF-8), without its trailing line end; empty when it
// has none. Its inserts ("Bad EXE format for %1.") take `inserts`, the path or name it is about.
[[nodiscard]] std::string SystemErrorText(DWORD error,
                                          const std::vector<std::string>& inserts = {});

}  // namespace platform
