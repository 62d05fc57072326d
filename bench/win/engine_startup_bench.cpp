// Start-up benchmark of tvlengin: time from process start to a visible, painted window, for the
// floor program (an empty pop-up), a 50-item menu with icons, a directory pointer to a folder
// of 10,000 files, and one item named with 1 KB against one named with 2 MB; with each
// program's peak memory. Prints medians and ratios.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "menufile/menu_file.h"
#include "winauto.h"

namespace {

using namespace winauto;

struct Scenario {
    const char* name;
    std::string exe;
    std::string args;
    bool icons;
};

double Now() {
    LARGE_INTEGER f{}, c{};
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// The program's window, once it is visible and its first row is painted in the menu colour.
bool Painted(DWORD pid) {
    HWND hwnd = FindWindowOf(pid, nullptr, nullptr);
    if (!hwnd) {
        return false;
    }
    const POINT p = ClientToScreenAt(hwnd, 2, 2);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return colour == ::GetSysColor(COLOR_MENU);
}

// The first cell's icon square (client 8,4 to 40,36) holds something besides the menu colour.
bool IconDrawn(DWORD pid) {
    HWND hwnd = FindWindowOf(pid, nullptr, nullptr);
    if (!hwnd) {
        return false;
    }
    const POINT p = ClientToScreenAt(hwnd, 8, 4);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, 32, 32, screen, p.x, p.y, SRCCOPY);
    ::GdiFlush();
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const DWORD want = (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    bool drawn = false;
    for (int i = 0; i < 32 * 32 && !drawn; ++i) {
        drawn = (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) != want;
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(dib);
    return drawn;
}

struct Sample {
    double shownMs = 0;
    double iconsMs = 0;
    double peakMb = 0;
};

// One start of the program: until its window is painted, then (if asked) its first icon.
Sample RunOnce(const Scenario& s) {
    MoveMouse({200, 150});
    const double start = Now();
    Process p = Start(s.exe, s.args);
    if (!p || !WaitUntil([&] { return Painted(p.pid()); }, Millis(30000))) {
        std::fprintf(stderr, "%s: no window\n", s.name);
        std::exit(1);
    }
    Sample sample;
    sample.shownMs = Now() - start;
    if (s.icons) {
        (void)WaitUntil([&] { return IconDrawn(p.pid()); }, Millis(30000));
        sample.iconsMs = Now() - start;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(p.handle(), &counters, sizeof counters)) {
        sample.peakMb = static_cast<double>(std::max(counters.PeakWorkingSetSize,
                                                     counters.PeakPagefileUsage)) /
                        (1024.0 * 1024.0);
    }
    p.Kill();
    (void)p.WaitForExit();
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    TempDir dir("engine bench ");

    // 50 items whose icons come from files, as menus made with the editor have them.
    std::string menu = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    const char* targets[] = {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe",
                             "C:\\windows\\system32\\winecfg.exe", "C:\\windows\\"};
    for (int i = 0; i < 50; ++i) {
        menufile::MenuItem item{"Item number " + std::to_string(i), targets[i % 4], "", "", "",
                                "0"};
        if (i % 2 == 0) {
            item.IconFile = "C:\\windows\\system32\\shell32.dll";
            item.IconIndex = std::to_string(i);
        }
        menu += menufile::FormatItemLine(item);
    }
    const std::string menuPath = dir.File("fifty.tvl");
    WriteFileBytes(menuPath, menu);

    const std::string folder = dir.File("ten thousand");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < 10000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "\\file %05d.txt", i);
        WriteFileBytes(folder + name, "");
    }
    const std::string dirPath = dir.File("folder.tvl");
    WriteFileBytes(dirPath, "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
                            "\"" + folder + "\\\",\"*.*\", 1, 0, 0");

    // One item whose name is far wider than the screen: its caption is cut to half of it.
    auto oneItem = [&](const char* file, std::size_t nameLength) {
        std::string bytes = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
        bytes += menufile::FormatItemLine(
            {std::string(nameLength, 'W'), "C:\\windows\\notepad.exe", "", "", "", "0"});
        const std::string path = dir.File(file);
        WriteFileBytes(path, bytes);
        return path;
    };
    const std::string kilobytePath = oneItem("1 KB name.tvl", 1024);
    const std::string megabytesPath = oneItem("2 MB name.tvl", 2 * 1024 * 1024);

    const std::string engine = WinPath(TVLENGIN_EXE);
    const Scenario scenarios[] = {
        {"floor (empty pop-up)", WinPath(POPUP_FLOOR_EXE), "", false},
        {"engine, 50 items with icons", engine, Quote(menuPath), true},
        {"engine, folder of 10,000 files", engine, Quote(dirPath), true},
        {"engine, one 1 KB name", engine, Quote(kilobytePath), false},
        {"engine, one 2 MB name", engine, Quote(megabytesPath), false},
    };
    constexpr std::size_t kKilobyteName = 3;
    constexpr std::size_t kMegabytesName = 4;
    // One warm-up of each, so the first run's disk cache does not count; then the scenarios
    // take turns, so a slow spell of the machine hits all of them alike.
    constexpr std::size_t kScenarios = std::size(scenarios);
    for (const Scenario& s : scenarios) {
        (void)RunOnce(s);
    }
    std::vector<Sample> samples[kScenarios];
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < kScenarios; ++i) {
            samples[i].push_back(RunOnce(scenarios[i]));
        }
    }
    std::printf("%-32s %10s %10s %10s %8s %10s %10s\n", "scenario", "median ms", "min ms",
                "max ms", "ratio", "icons ms", "peak MB");
    double floor = 0;
    double medians[kScenarios] = {};
    for (std::size_t i = 0; i < kScenarios; ++i) {
        std::vector<double> shown, icons;
        double peak = 0;
        for (const Sample& sample : samples[i]) {
            shown.push_back(sample.shownMs);
            icons.push_back(sample.iconsMs);
            peak = std::max(peak, sample.peakMb);
        }
        const double median = Median(shown);
        medians[i] = median;
        if (floor == 0) {
            floor = median;
        }
        std::printf("%-32s %10.1f %10.1f %10.1f %8.2f %10.1f %10.1f\n", scenarios[i].name, median,
                    *std::min_element(shown.begin(), shown.end()),
                    *std::max_element(shown.begin(), shown.end()), median / floor, Median(icons),
                    peak);
    }
    std::printf("%d runs each; median ms: until the window is shown and painted; icons ms: until "
                "the first icon is drawn too\n",
                runs);
    std::printf("2 MB name against 1 KB name: %.2fx (target at most 1.5x)\n",
                medians[kMegabytesName] / medians[kKilobyteName]);
    return 0;
}
