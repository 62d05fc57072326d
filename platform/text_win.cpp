// Conversions between UTF-8, UTF-16 and the ANSI code page.
#include "platform/text_win.h"

#include <windows.h>

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    }
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide, bool* lossy = nullptr) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    // Only the ANSI code page takes the best-fit switch and reports a default character.
    const bool ansi = codePage != CP_UTF8;
    const DWORD flags = ansi ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL* defaulted = ansi && lossy != nullptr ? &usedDefault : nullptr;
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, defaulted);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr,
                              defaulted);
    }
    if (lossy != nullptr) {
        *lossy = length <= 0 || usedDefault != FALSE;
    }
    return text;
}

class Win32CodePage : public menufile::CodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override {
        return FromWide(CP_UTF8, ToWide(CP_ACP, 0, ansi));
    }
    std::optional<std::string> FromUtf8(std::string_view utf8) const override {
        const std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
        if (wide.empty() && !utf8.empty()) {
            return std::nullopt;
        }
        bool lossy = false;
        std::string ansi = FromWide(CP_ACP, wide, &lossy);
        // Exact both ways, or not at all: the file must give back this very text.
        if (lossy || ToWide(CP_ACP, 0, ansi) != wide) {
            return std::nullopt;
        }
        return ansi;
    }
};

}  // namespace

std::wstring Widen(std::string_view utf8) {
    return ToWide(CP_UTF8, 0, utf8);
}

std::string Narrow(std::wstring_view wide) {
    return FromWide(CP_UTF8, wide);
}

std::wstring WidePath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    for (wchar_t& c : wide) {
        c = c == L'/' ? L'\\' : c;
    }
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') {
        return L"\\\\?\\" + wide;
    }
    if (wide.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + wide.substr(2);
    }
    return wide;
}

std::string CommandLineArguments() {
    std::wstring_view line = ::GetCommandLineW();
    std::size_t i = 0;
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) {
        ++i;
    }
    // The program's name: quoted up to the closing quote, else up to the first blank.
    if (i < line.size() && line[i] == L'"') {
        const std::size_t close = line.find(L'"', i + 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') {
            ++i;
        }
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) {
        ++i;
    }
    return Narrow(line.substr(i));
}

const menufile::CodePage& SystemCodePage() {
    static const Win32CodePage codePage;
    return codePage;
}

}  // namespace platform
