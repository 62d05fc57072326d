// Windows services the engine uses while loading.
#include "engine/engine_platform_win.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

#include "platform/menu_font_win.h"
#include "platform/shell_win.h"
#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace engine {
namespace {

int Clamped(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

Colour SystemColour(int index) {
    const COLORREF c = ::GetSysColor(index);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace

std::vector<ListedFile> ListFolder(const std::string& folder, const std::string& pattern) {
    std::vector<ListedFile> entries;
    WIN32_FIND_DATAW data{};
    // Basic information and large fetches: no short names, fewer trips to the file system.
    platform::UniqueHfind find(::FindFirstFileExW(platform::Widen(folder + pattern).c_str(),
                                                  FindExInfoBasic, &data, FindExSearchNameMatch,
                                                  nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return entries;
    }
    do {
        entries.push_back({platform::Narrow(data.cFileName),
                           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    } while (::FindNextFileW(find.get(), &data));
    return entries;
}

std::string DisplayName(const std::string& path) {
    // The names of a folder's files are asked for one after another: its object is kept.
    thread_local platform::FolderDisplayNames names;
    return names.NameOf(path);
}

bool TypeIcon(const std::string& extension, bool smallIcon, platform::ShellInfo& out) {
    return platform::GetTypeShellInfo(extension, smallIcon, out);
}

namespace {

// The default value of a key of the file classes; empty when there is none.
std::wstring ClassValue(const std::wstring& key) {
    // Bound when a folder menu first asks: the menu starts without the registry library.
    const auto get = platform::api::RegGetValueW();
    if (!get) {
        return {};
    }
    const DWORD kinds = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (get(HKEY_CLASSES_ROOT, key.c_str(), nullptr, kinds, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes == 0) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (get(HKEY_CLASSES_ROOT, key.c_str(), nullptr, kinds, nullptr, text.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

}  // namespace

std::string DefaultIconOf(const std::string& extension) {
    if (extension.empty()) {
        return {};
    }
    const std::wstring type = platform::Widen(extension);
    // The extension's own DefaultIcon, else its class's.
    std::wstring icon = ClassValue(type + L"\\DefaultIcon");
    if (icon.empty()) {
        const std::wstring progId = ClassValue(type);
        if (!progId.empty()) {
            icon = ClassValue(progId + L"\\DefaultIcon");
        }
    }
    return platform::Narrow(icon);
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(platform::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(platform::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

NameOrder ExplorerOrder() {
    // Text by the user's locale, as Explorer orders it: one sort key per stretch of a name
    // instead of a comparison of two names each time (ten times faster under Wine than
    // StrCmpLogicalW on a folder of 10,000 names).
    const auto sortKey = platform::api::LCMapStringEx();
    return NaturalOrder([sortKey](std::string_view text) {
        const std::wstring wide = platform::Widen(text);
        const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        const int size = static_cast<int>(wide.size());
        const int bytes = sortKey ? sortKey(LOCALE_NAME_USER_DEFAULT, flags, wide.c_str(), size,
                                            nullptr, 0, nullptr, nullptr, 0)
                                  : 0;
        if (bytes <= 0) {
            std::string lower(text);
            for (char& c : lower) {
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            }
            return lower;
        }
        std::string key(static_cast<std::size_t>(bytes), '\0');
        sortKey(LOCALE_NAME_USER_DEFAULT, flags, wide.c_str(), size,
                reinterpret_cast<LPWSTR>(key.data()), bytes, nullptr, nullptr, 0);
        return key;
    });
}

Rect WorkAreaAround(POINT pixel, int twipsPerPixel) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT r{};
    if (::GetMonitorInfoW(::MonitorFromPoint(pixel, MONITOR_DEFAULTTONEAREST), &info)) {
        r = info.rcWork;  // the taskbar and docked bars stay uncovered
    } else if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
        r = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    const auto t = static_cast<float>(twipsPerPixel);
    return {r.left * t, r.top * t, r.right * t, r.bottom * t};
}

ItemFont::ItemFont(const menufile::MenuSettings& settings, int twipsPerPixel, int dpi)
    // The monitor's scale, not the memory DC's (the system's, fixed at log-on).
    : m_font(platform::CreateMenuFont(settings, dpi)),
      m_dc(::CreateCompatibleDC(nullptr)),
      m_selected(m_dc.get(), m_font.get()),
      m_twipsPerPixel(twipsPerPixel) {
    TEXTMETRICW tm{};
    ::GetTextMetricsW(m_dc.get(), &tm);
    m_height = static_cast<float>(tm.tmHeight * twipsPerPixel);
}

float ItemFont::Width(std::string_view text) const {
    const std::wstring wide = platform::Widen(text);
    SIZE size{};
    ::GetTextExtentPoint32W(m_dc.get(), wide.data(), Clamped(wide.size()), &size);
    // In floating point: a name of some megabytes is more twips than an int holds.
    return static_cast<float>(size.cx) * static_cast<float>(m_twipsPerPixel);
}

const MenuPalette& CurrentMenuPalette() {
    static const MenuPalette palette =
        ChoosePalette(platform::AppsUseLightTheme(), platform::HighContrastOn(),
                      {SystemColour(COLOR_MENU), SystemColour(COLOR_MENUTEXT),
                       SystemColour(COLOR_HIGHLIGHT), SystemColour(COLOR_HIGHLIGHTTEXT),
                       SystemColour(COLOR_BTNSHADOW), SystemColour(COLOR_3DHIGHLIGHT),
                       SystemColour(COLOR_GRAYTEXT)});
    return palette;
}

std::size_t ItemFont::Fit(std::string_view text, float width) const {
    if (text.empty() || !(width >= 0)) {
        return 0;
    }
    // Whole pixels: an extent of n pixels is n * twipsPerPixel twips.
    const double pixels = std::floor(static_cast<double>(width) / m_twipsPerPixel);
    const int maxExtent = static_cast<int>(std::min(pixels, static_cast<double>(INT_MAX)));
    const std::wstring wide = platform::Widen(text);
    int fit = 0;
    SIZE size{};
    if (!::GetTextExtentExPointW(m_dc.get(), wide.data(), Clamped(wide.size()), maxExtent, &fit,
                                 nullptr, &size)) {
        return 0;
    }
    std::size_t units = std::min(static_cast<std::size_t>(std::max(fit, 0)), wide.size());
    if (units == wide.size()) {
        return text.size();
    }
    // The system counts UTF-16 units: half of a pair is no character of its own.
    if (units > 0 && IS_LOW_SURROGATE(wide[units])) {
        --units;
    }
    // Back to bytes: the UTF-8 of the units that fit is that many leading bytes of the text.
    const std::size_t bytes = platform::Narrow(std::wstring_view(wide).substr(0, units)).size();
    return CharacterStart(text, std::min(bytes, text.size()));
}

}  // namespace engine
