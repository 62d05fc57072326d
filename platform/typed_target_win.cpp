// The system's answers about typed targets.
#include "platform/typed_target_win.h"

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shlwapi.h>

#include <iterator>
#include <vector>

#include "platform/system_api_win.h"
#include "platform/text_win.h"

namespace platform {
namespace {

constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// A text value of a key; empty when there is none. Variables are left for the caller.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* value) {
    const auto get = api::RegGetValueW();
    if (!get) {
        return {};
    }
    const DWORD kinds = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (get(root, key.c_str(), value, kinds, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
        bytes == 0) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (get(root, key.c_str(), value, kinds, nullptr, text.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

bool HasValue(HKEY root, const std::wstring& key, const wchar_t* value) {
    const auto get = api::RegGetValueW();
    return get &&
           get(root, key.c_str(), value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool Win32TargetLookup::Exists(const std::string& path) {
    return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Win32TargetLookup::ExpandVariables(const std::string& text) {
    return platform::ExpandVariables(text);
}

std::string Win32TargetLookup::FindOnSearchPath(const std::string& name) {
    const std::wstring wide = Widen(name);
    std::vector<wchar_t> found(32768);
    const DWORD length = ::SearchPathW(nullptr, wide.c_str(), L".exe",
                                       static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0 || length >= found.size()) {
        return {};
    }
    return Narrow(std::wstring_view(found.data(), length));
}

std::string Win32TargetLookup::AppPath(const std::string& file) {
    // The user's registration first, as the shell looks them up.
    const std::wstring key = kAppPaths + Widen(file);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (std::wstring path = RegistryText(root, key, nullptr); !path.empty()) {
            return Narrow(path);
        }
    }
    return {};
}

bool Win32TargetLookup::HasSchemeHandler(const std::string& scheme) {
    const std::wstring wide = Widen(scheme);
    if (HasValue(HKEY_CLASSES_ROOT, wide, L"URL Protocol")) {
        return true;
    }
    // Schemes registered elsewhere (by packaged applications, say) the association API knows.
    const auto query = api::AssocQueryStringW();
    if (!query) {
        return false;
    }
    wchar_t command[MAX_PATH * 2] = {};
    DWORD length = static_cast<DWORD>(std::size(command));
    return SUCCEEDED(query(ASSOCF_IS_PROTOCOL | ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, wide.c_str(),
                           L"open", command, &length)) &&
           command[0] != L'\0';
}

std::string ExpandVariables(const std::string& text) {
    if (text.find('%') == std::string::npos) {
        return text;
    }
    const std::wstring wide = Widen(text);
    const DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) {
        return text;
    }
    std::wstring expanded(needed, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) {
        return text;
    }
    expanded.resize(written - 1);  // the count holds the terminating zero
    return Narrow(expanded);
}

std::string ResolvedPath(const std::string& typed) {
    Win32TargetLookup lookup;
    const menufile::ResolvedTarget found = menufile::ResolveTarget(typed, lookup);
    return found.What == menufile::ResolvedTarget::Kind::Path ? found.Path : std::string();
}

}  // namespace platform
