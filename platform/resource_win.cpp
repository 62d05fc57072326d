// Reading a resource's bytes: found, loaded and locked (a loaded resource is never freed).
#include "platform/resource_win.h"

namespace platform {

std::string ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module, found))
                : std::string();
}

}  // namespace platform
