// The system's own words for an error code.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The system's own text for an error code (UTF-8), without its trailing line end; empty when it
// has none.
[[nodiscard]] std::string SystemErrorText(DWORD error);

}  // namespace platform
