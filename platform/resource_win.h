// The bytes of a resource of a loaded module.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The bytes of resource `name` of `type` in `module` (a program, or a library loaded as data);
// empty when it has none.
[[nodiscard]] std::string ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type);

}  // namespace platform
