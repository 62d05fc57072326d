// Windows services the engine uses while loading.
#include "engine/engine_platform_win.h"

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
    ::GetTextExtentPoint32A(m_dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return static_cast<float>(size.cx * m_twipsPerPixel);
}

}  // namespace engine
