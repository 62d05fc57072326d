// Submenu benchmark of tvlengin: how long a folder's submenu takes to show once the pointer has
// rested on its entry for the system's menu show delay (the delay not counted), and after
// Down and Right pressed at once, for folders of 1,000 and 10,000 files, against the engine's
// own start on the same folder and the floor (an empty pop-up) in the same runs. Prints
// medians.
//
// Usage: submenu_bench [runs, default 15] [tvlengin.exe]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

constexpr char kPopupClass[] = "TarvelMenuPopup";

// A visible window of `pid` other than `except`, its first row painted in the menu colour (or
// the highlight's, where the keys put it).
HWND PaintedWindow(DWORD pid, HWND except) {
    for (HWND hwnd : TopWindows(pid)) {
        if (hwnd == except || !::IsWindowVisible(hwnd)) {
            continue;
        }
        const POINT p = ClientToScreenAt(hwnd, 2, 2);
        HDC screen = ::GetDC(nullptr);
        const COLORREF colour = ::GetPixel(screen, p.x, p.y);
        ::ReleaseDC(nullptr, screen);
        if (colour == ::GetSysColor(COLOR_MENU) || colour == ::GetSysColor(COLOR_HIGHLIGHT)) {
            return hwnd;
        }
    }
    return nullptr;
}

struct Sample {
    double startMs = 0;    // the program's window painted, from its start
    double submenuMs = 0;  // the submenu painted, from the delay's end or from Right
};

enum class Way { None, Rest, Right };

Sample RunOnce(const std::string& exe, const std::string& args, Way way) {
    MoveMouse({200, 150});
    const double start = Now();
    Process p = Start(exe, args);
    HWND first = nullptr;
    if (!p || !PollUntil([&] { return (first = PaintedWindow(p.pid(), nullptr)) != nullptr; },
                         300000)) {
        std::fprintf(stderr, "%s: no window\n", args.c_str());
        std::exit(1);
    }
    Sample sample;
    sample.startMs = Now() - start;
    if (way != Way::None) {
        double from = 0;
        if (way == Way::Rest) {
            UINT delay = 400;
            ::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
            from = Now() + delay;  // the engine may see the move before MoveMouse returns
            MoveMouse(ClientToScreenAt(first, 60, 20));  // the middle of the only entry
        } else {
            // The keys reach the first menu; its only entry is current after Down.
            MoveMouse({0, 0});
            ::PostMessageW(first, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(first, WM_KEYDOWN, VK_RIGHT, 0);
            from = Now();
        }
        if (!PollUntil([&] { return PaintedWindow(p.pid(), first) != nullptr; }, 30000)) {
            std::fprintf(stderr, "%s: no submenu\n", args.c_str());
            std::exit(1);
        }
        sample.submenuMs = Now() - from;
    }
    p.Kill();
    (void)p.WaitForExit();
    return sample;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string engine = argc > 2 ? argv[2] : WinPath(TVLENGIN_EXE);
    TempDir dir("submenu bench ");

    struct Folder {
        int files;
        std::string pointer;  // a directory pointer to it: the engine's own start
        std::string parent;   // a menu whose one item is the folder: its submenu
    };
    std::vector<Folder> folders;
    for (int files : {1000, 10000}) {
        const std::string folder = dir.File("folder " + std::to_string(files));
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < files; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "\\file %05d.txt", i);
            WriteFileBytes(folder + name, "");
        }
        const std::string settings = "pic\r\n<START TVL>\r\n";
        Folder f{files, folder + " pointer.tvl", folder + " parent.tvl"};
        WriteFileBytes(f.pointer, settings + "\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n\"" +
                                      folder + "\\\",\"*.*\", 1, 0, 0");
        WriteFileBytes(f.parent, settings + "\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n" +
                                     menufile::FormatItemLine({"Folder", folder, "", "", "", "0"}));
        folders.push_back(f);
    }

    const std::string floorExe = WinPath(POPUP_FLOOR_EXE);
    std::vector<double> floor;
    std::vector<std::vector<double>> starts(folders.size()), rests(folders.size()),
        rights(folders.size());
    for (int run = -1; run < runs; ++run) {  // run -1 warms the disk cache
        const double f = RunOnce(floorExe, "", Way::None).startMs;
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const double s = RunOnce(engine, Quote(folders[i].pointer), Way::None).startMs;
            const double rest = RunOnce(engine, Quote(folders[i].parent), Way::Rest).submenuMs;
            const double right = RunOnce(engine, Quote(folders[i].parent), Way::Right).submenuMs;
            if (run >= 0) {
                starts[i].push_back(s);
                rests[i].push_back(rest);
                rights[i].push_back(right);
            }
        }
        if (run >= 0) {
            floor.push_back(f);
        }
    }
    const double floorMs = Median(floor);
    std::printf("floor (empty pop-up): %.1f ms\n", floorMs);
    std::printf("%-14s %10s %18s %16s %16s\n", "folder", "start ms", "start - floor ms",
                "after rest ms", "Right at once ms");
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const double start = Median(starts[i]);
        std::printf("%-14s %10.1f %18.1f %16.1f %16.1f\n",
                    (std::to_string(folders[i].files) + " files").c_str(), start,
                    start - floorMs, Median(rests[i]), Median(rights[i]));
    }
    std::printf(
        "%d runs each, medians; after rest: from the end of the menu show delay until the "
        "submenu is painted (targets: at most 50 ms at 1,000 files, at most start - floor at "
        "10,000); Right at once: from Down and Right without a pause\n",
        runs);
    return 0;
}
