// Windows services the engine uses while loading.
#include "engine/engine_platform_win.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/menu_font_win.h"
#include "platform/shell_win.h"

namespace engine {

std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA data{};
    // Basic information and large fetches: no short names, fewer trips to the file system.
    platform::UniqueHfind find(::FindFirstFileExA((folder + pattern).c_str(), FindExInfoBasic,
                                                  &data, FindExSearchNameMatch, nullptr,
                                                  FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return entries;
    }
    do {
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    } while (::FindNextFileA(find.get(), &data));
    return entries;
}

std::string DisplayName(const std::string& path) { return platform::ShellDisplayName(path); }

int MeasureTwipsPerPixel() {
    platform::WindowDc screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<int>(std::lround(1440.0 / dpi)) : 15;
}

Rect MonitorAround(POINT pixel, int twipsPerPixel) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT r{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoA(::MonitorFromPoint(pixel, MONITOR_DEFAULTTONEAREST), &info)) {
        r = info.rcMonitor;
    }
    const auto t = static_cast<float>(twipsPerPixel);
    return {r.left * t, r.top * t, r.right * t, r.bottom * t};
}

ItemFont::ItemFont(const menufile::MenuSettings& settings, int twipsPerPixel)
    : m_dc(::CreateCompatibleDC(nullptr)), m_twipsPerPixel(twipsPerPixel) {
    m_font = platform::CreateMenuFont(settings, ::GetDeviceCaps(m_dc.get(), LOGPIXELSY));
    ::SelectObject(m_dc.get(), m_font.get());
    TEXTMETRICA tm{};
    ::GetTextMetricsA(m_dc.get(), &tm);
    m_height = static_cast<float>(tm.tmHeight * twipsPerPixel);
}

float ItemFont::Width(std::string_view text) const {
    SIZE size{};
    const int count = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    ::GetTextExtentPoint32A(m_dc.get(), text.data(), count, &size);
    // In floating point: a name of some megabytes is more twips than an int holds.
    return static_cast<float>(size.cx) * static_cast<float>(m_twipsPerPixel);
}

std::size_t ItemFont::Fit(std::string_view text, float width) const {
    if (text.empty() || !(width >= 0)) {
        return 0;
    }
    // Whole pixels: an extent of n pixels is n * twipsPerPixel twips.
    const double pixels = std::floor(static_cast<double>(width) / m_twipsPerPixel);
    const int maxExtent = static_cast<int>(std::min(pixels, static_cast<double>(INT_MAX)));
    const int count = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    int fit = 0;
    SIZE size{};
    if (!::GetTextExtentExPointA(m_dc.get(), text.data(), count, maxExtent, &fit, nullptr,
                                 &size)) {
        return 0;
    }
    return std::min(static_cast<std::size_t>(std::max(fit, 0)), text.size());
}

}  // namespace engine
