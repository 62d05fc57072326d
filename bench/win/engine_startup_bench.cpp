// Start-up benchmark of tvlengin: time from process start to a visible, painted window and to
// its icons, for the floor program (an empty pop-up), a 12-item menu of every kind of item
// (until every icon is drawn), a 50-item menu with icons, 10,000 user-defined items, directory
// pointers to folders of 1,000 and 10,000 files of one kind and of 10,000 files of 50 kinds,
// with and without hidden extensions, and one item named with 1 KB against one named with
// 2 MB; with each program's peak memory. Prints medians and ratios to the floor.
//
// Usage: engine_startup_bench [runs per scenario, default 15] [tvlengin.exe ...]
// With programs named, each of them is measured instead of the tvlengin built with it.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "menufile/menu_file.h"
#include "bench_timing.h"
#include "winauto.h"

namespace {

using namespace winauto;
using bench::Now;
using bench::PollUntil;
using bench::Median;

struct Scenario {
    std::string name;
    std::string exe;
    std::string args;
    int iconRows;  // rows whose icons are waited for: 0 none, 1 the first, more every one
};

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

// Icon squares of the first `rows` cells (client 8,4 to 40,36, one cell every 40 pixels at 96
// dots per inch) each hold something besides the menu colour.
bool IconsDrawn(DWORD pid, int rows) {
    HWND hwnd = FindWindowOf(pid, nullptr, nullptr);
    if (!hwnd) {
        return false;
    }
    constexpr int kCell = 40;
    const int height = kCell * rows;
    const POINT p = ClientToScreenAt(hwnd, 8, 4);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, 32, height, screen, p.x, p.y, SRCCOPY);
    ::GdiFlush();
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const DWORD want = (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    bool all = true;
    for (int row = 0; row < rows && all; ++row) {
        const auto* square = static_cast<const DWORD*>(bits) + row * kCell * 32;
        bool drawn = false;
        for (int i = 0; i < 32 * 32 && !drawn; ++i) {
            drawn = (square[i] & 0xFFFFFF) != want;
        }
        all = drawn;
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(dib);
    return all;
}

// A shortcut to `target`, saved as the shell saves one.
bool WriteShortcut(const std::string& link, const std::string& target) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        const std::wstring wideTarget(target.begin(), target.end());
        const std::wstring wideLink(link.begin(), link.end());
        if (SUCCEEDED(shellLink->SetPath(wideTarget.c_str())) &&
            SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(wideLink.c_str(), TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return saved;
}

struct Sample {
    double shownMs = 0;
    double iconsMs = 0;
    double peakMb = 0;
};

// One start of the program: until its window is painted, then (if asked) its icons.
Sample RunOnce(const Scenario& s) {
    MoveMouse({200, 150});
    const double start = Now();
    Process p = Start(s.exe, s.args);
    // Generous: a folder menu of 10,000 files that asks the shell for each name takes minutes.
    if (!p || !PollUntil([&] { return Painted(p.pid()); }, 300000)) {
        std::fprintf(stderr, "%s: no window\n", s.name.c_str());
        std::exit(1);
    }
    Sample sample;
    sample.shownMs = Now() - start;
    if (s.iconRows > 0) {
        if (!PollUntil([&] { return IconsDrawn(p.pid(), s.iconRows); }, 30000)) {
            std::fprintf(stderr, "%s: icons not all drawn\n", s.name.c_str());
        }
        sample.iconsMs = Now() - start;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(p.handle(), &counters, sizeof counters)) {
        sample.peakMb =
            static_cast<double>(std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage)) /
            (1024.0 * 1024.0);
    }
    p.Kill();
    (void)p.WaitForExit();
    return sample;
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
        menufile::MenuItem item{
            "Item number " + std::to_string(i), targets[i % 4], "", "", "", "0"};
        if (i % 2 == 0) {
            item.IconFile = "C:\\windows\\system32\\shell32.dll";
            item.IconIndex = std::to_string(i);
        }
        menu += menufile::FormatItemLine(item);
    }
    const std::string menuPath = dir.File("fifty.tvl");
    WriteFileBytes(menuPath, menu);

    // 10,000 user-defined items: documents and programs, each with the shell's icon.
    std::string many = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    for (int i = 0; i < 10000; ++i) {
        many += menufile::FormatItemLine(
            {"Item number " + std::to_string(i), targets[i % 4], "", "", "", "0"});
    }
    const std::string manyPath = dir.File("ten thousand items.tvl");
    WriteFileBytes(manyPath, many);

    // Folders of text files, and a pointer to each with extensions shown and hidden.
    auto folderMenus = [&](const char* folderName, int files) {
        const std::string folder = dir.File(folderName);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < files; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "\\file %05d.txt", i);
            WriteFileBytes(folder + name, "");
        }
        std::pair<std::string, std::string> paths;
        for (const char* hide : {"0", "1"}) {
            const std::string path = folder + (hide[0] == '1' ? " hidden.tvl" : " shown.tvl");
            WriteFileBytes(path,
                           "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,"
                           "0\r\n\"" +
                               folder + "\\\",\"*.*\", 1, " + hide + ", 0");
            (hide[0] == '1' ? paths.second : paths.first) = path;
        }
        return paths;
    };
    const auto [thousandPath, thousandHiddenPath] = folderMenus("one thousand", 1000);
    const auto [dirPath, dirHiddenPath] = folderMenus("ten thousand", 10000);

    // The menu most users have: a dozen items of every kind, some with icons of their own. The
    // address is an Internet shortcut: Wine has no icon for an http:// target itself.
    const std::string documents = dir.File("documents");
    ::CreateDirectoryA(documents.c_str(), nullptr);
    for (const char* name : {"\\notes.txt", "\\picture.bmp", "\\page.html", "\\setup.ini"}) {
        WriteFileBytes(documents + name, "");
    }
    WriteShortcut(documents + "\\Notepad.lnk", "C:\\windows\\notepad.exe");
    WriteFileBytes(documents + "\\Example.url",
                   "[InternetShortcut]\r\nURL=http://example.com/\r\n");
    std::string dozen = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    const menufile::MenuItem dozenItems[] = {
        {"Notepad", "C:\\windows\\notepad.exe", "", "", "", "0"},
        {"Registry", "C:\\windows\\regedit.exe", "", "", "", "0"},
        {"Wine settings", "C:\\windows\\system32\\winecfg.exe", "", "", "", "0"},
        {"Control panel", "C:\\windows\\system32\\control.exe", "", "",
         "C:\\windows\\system32\\shell32.dll", "21"},
        {"Notes", documents + "\\notes.txt", "", "", "", "0"},
        {"Picture", documents + "\\picture.bmp", "", "", "", "0"},
        {"Page", documents + "\\page.html", "", "", "", "0"},
        {"Settings", documents + "\\setup.ini", "", "", "C:\\windows\\system32\\shell32.dll", "69"},
        {"Windows folder", "C:\\windows\\", "", "", "", "0"},
        {"Shortcut", documents + "\\Notepad.lnk", "", "", "", "0"},
        {"Bookmark", documents + "\\Example.url", "", "", "", "0"},
        {"Explorer", "C:\\windows\\explorer.exe", "", "", "", "0"},
    };
    for (const menufile::MenuItem& item : dozenItems) {
        dozen += menufile::FormatItemLine(item);
    }
    const std::string dozenPath = dir.File("twelve items.tvl");
    WriteFileBytes(dozenPath, dozen);
    constexpr int kDozen = static_cast<int>(std::size(dozenItems));

    // A folder of 10,000 files of 50 kinds, as a download folder has them: types the system
    // knows and types it does not, shortcuts and programs, taking turns.
    const char* kinds[] = {".txt", ".ini", ".bmp", ".html", ".htm", ".xml", ".bat", ".cmd",
                           ".reg", ".inf", ".hlp", ".chm",  ".msi", ".js",  ".vbs", ".wri",
                           ".rtf", ".jpg", ".png", ".gif",  ".dll", ".url", ".log", ".csv"};
    const std::string mixed = dir.File("fifty kinds");
    ::CreateDirectoryA(mixed.c_str(), nullptr);
    const auto shortcutBytes = ReadFileBytes(documents + "\\Notepad.lnk");
    const auto programBytes = ReadFileBytes(WinPath(POPUP_FLOOR_EXE));
    for (int i = 0; i < 10000; ++i) {
        const int kind = i % 50;
        char name[64];
        std::string bytes;
        if (kind < 24) {
            std::snprintf(name, sizeof name, "\\file %05d%s", i, kinds[kind]);
        } else if (kind < 48) {
            std::snprintf(name, sizeof name, "\\file %05d.k%02d", i, kind);  // unregistered
        } else if (kind == 48) {
            std::snprintf(name, sizeof name, "\\file %05d.lnk", i);
            bytes = shortcutBytes.value_or("");
        } else {
            std::snprintf(name, sizeof name, "\\file %05d.exe", i);
            bytes = programBytes.value_or("");
        }
        WriteFileBytes(mixed + name, bytes);
    }
    std::string mixedPaths[2];
    for (const char* hide : {"0", "1"}) {
        const std::string path = mixed + (hide[0] == '1' ? " hidden.tvl" : " shown.tvl");
        WriteFileBytes(path,
                       "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,"
                       "0\r\n\"" +
                           mixed + "\\\",\"*.*\", 1, " + hide + ", 0");
        mixedPaths[hide[0] - '0'] = path;
    }

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

    // Each engine named on the command line (else the one built with the benchmark) runs every
    // scenario; with several, all of them take turns in the same runs, so that a before and an
    // after are measured against the same floor on the same machine.
    std::vector<std::string> engines;
    for (int a = 2; a < argc; ++a) {
        engines.emplace_back(argv[a]);
    }
    if (engines.empty()) {
        engines.push_back(WinPath(TVLENGIN_EXE));
    }
    std::vector<Scenario> scenarios = {{"floor (empty pop-up)", WinPath(POPUP_FLOOR_EXE), "", 0}};
    constexpr std::size_t kPerEngine = 11;
    constexpr std::size_t kThousand = 3;  // offsets in an engine's scenarios
    constexpr std::size_t kTenThousand = 5;
    constexpr std::size_t kFiftyKinds = 7;
    constexpr std::size_t kKilobyteName = 9;
    constexpr std::size_t kMegabytesName = 10;
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const std::string& engine = engines[e];
        const std::string tag = engines.size() > 1 ? "[" + std::to_string(e + 1) + "] " : "";
        const Scenario mine[kPerEngine] = {
            {tag + "engine, 12 items, every icon", engine, Quote(dozenPath), kDozen},
            {tag + "engine, 50 items with icons", engine, Quote(menuPath), 1},
            {tag + "engine, 10,000 items", engine, Quote(manyPath), 1},
            {tag + "engine, folder of 1,000 files", engine, Quote(thousandPath), 1},
            {tag + "  the same, extensions hidden", engine, Quote(thousandHiddenPath), 1},
            {tag + "engine, folder of 10,000 files", engine, Quote(dirPath), 1},
            {tag + "  the same, extensions hidden", engine, Quote(dirHiddenPath), 1},
            {tag + "engine, 10,000 files of 50 kinds", engine, Quote(mixedPaths[0]), 1},
            {tag + "  the same, extensions hidden", engine, Quote(mixedPaths[1]), 1},
            {tag + "engine, one 1 KB name", engine, Quote(kilobytePath), 0},
            {tag + "engine, one 2 MB name", engine, Quote(megabytesPath), 0},
        };
        scenarios.insert(scenarios.end(), std::begin(mine), std::end(mine));
    }
    // One warm-up of each, so the first run's disk cache does not count; then the scenarios
    // take turns, so a slow spell of the machine hits all of them alike.
    const std::size_t count = scenarios.size();
    for (const Scenario& s : scenarios) {
        (void)RunOnce(s);
    }
    std::vector<std::vector<Sample>> samples(count);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < count; ++i) {
            samples[i].push_back(RunOnce(scenarios[i]));
        }
    }
    std::printf("%-36s %10s %10s %10s %8s %10s %8s %10s\n", "scenario", "median ms", "min ms",
                "max ms", "ratio", "icons ms", "ratio", "peak MB");
    double floor = 0;
    std::vector<double> medians(count);
    for (std::size_t i = 0; i < count; ++i) {
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
        const double iconMedian = Median(icons);
        std::printf("%-36s %10.1f %10.1f %10.1f %8.2f ", scenarios[i].name.c_str(), median,
                    *std::min_element(shown.begin(), shown.end()),
                    *std::max_element(shown.begin(), shown.end()), median / floor);
        if (scenarios[i].iconRows > 0) {
            std::printf("%10.1f %8.2f", iconMedian, iconMedian / floor);
        } else {
            std::printf("%10s %8s", "-", "-");
        }
        std::printf(" %10.1f\n", peak);
    }
    std::printf(
        "%d runs each; median ms: until the window is shown and painted; icons ms: until "
        "the first icon (every icon of the 12 items) is drawn too; ratios to the floor's median\n",
        runs);
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const double* m = medians.data() + 1 + e * kPerEngine;
        if (engines.size() > 1) {
            std::printf("[%d] %s\n", static_cast<int>(e + 1), engines[e].c_str());
        }
        std::printf("2 MB name against 1 KB name: %.2fx (target at most 1.5x)\n",
                    m[kMegabytesName] / m[kKilobyteName]);
        std::printf(
            "hidden extensions against shown: %.2fx at 1,000 files, %.2fx at 10,000 (target "
            "at most 1.3x)\n",
            m[kThousand + 1] / m[kThousand], m[kTenThousand + 1] / m[kTenThousand]);
        std::printf("hidden extensions against shown, 50 kinds: %.2fx (target at most 1.3x)\n",
                    m[kFiftyKinds + 1] / m[kFiftyKinds]);
    }
    return 0;
}
