// The icon chooser's grid: from the click on "Change Icon" to the chosen icon painted, for a
// library of 300 icons against one of a single icon, in one running tvledit under Wine.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/menu_file.h"
#include "winauto.h"

namespace {

using namespace winauto;
using bench::Now;

// Something other than the window and the highlight colours inside the icon's place.
bool Painted(const RECT& icon) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    bool found = false;
    for (int y = icon.top + 2; y < icon.bottom - 2 && !found; y += 3) {
        for (int x = icon.left + 2; x < icon.right - 2 && !found; x += 3) {
            const COLORREF c = ::GetPixel(screen, x, y);
            found = c != CLR_INVALID && c != window && c != highlight;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return found;
}

// Opens the chooser on row `row`, waits for `count` icons with `chosen` painted, and closes
// it; milliseconds from the click, or a negative number when it never got there.
double OpenChooser(const Process& editor, HWND main, int row, int count, int chosen) {
    HWND list = Control(main, editor::kItemList);
    if (!SelectListItem(list, row)) {
        return -1;
    }
    const double start = Now();
    PostClick(Control(main, editor::kChangeIconButton));
    HWND chooser = WaitForWindow(editor.pid(), editor::kChooserClass, nullptr);
    if (chooser == nullptr) {
        return -1;
    }
    HWND grid = Control(chooser, editor::kChooserGrid);
    const bool shown = WaitUntil([&] {
        if (ListViewCount(grid) != count || ListViewSelection(grid) != chosen) {
            return false;
        }
        const std::optional<RECT> icon = ListViewIconRect(grid, chosen);
        return icon && Painted(*icon);
    });
    const double took = Now() - start;
    PostClick(Control(chooser, editor::kChooserCancel));
    (void)WaitForWindowGone(chooser);
    return shown ? took : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 10;
    TempDir dir("chooser bench ");
    const std::string menu = dir.File("chooser bench.tvl");
    const std::string many = WinPath(MANY_ICONS);
    std::string bytes =
        "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    bytes += menufile::FormatItemLine({"One", "C:\\windows\\notepad.exe", "", "", "", "0"});
    bytes += menufile::FormatItemLine({"Many", "C:\\windows\\notepad.exe", "", "", many, "150"});
    if (!WriteFileBytes(menu, bytes)) {
        std::fprintf(stderr, "icon_chooser_bench: cannot write %s\n", menu.c_str());
        return 1;
    }
    ParkMouse();
    Process editor = Start(WinPath(TVLEDIT_EXE), Quote(menu), dir.path());
    HWND main = editor ? WaitForWindow(editor.pid(), editor::kMainWindowClass, nullptr) : nullptr;
    if (main == nullptr) {
        std::fprintf(stderr, "icon_chooser_bench: the editor did not start\n");
        return 1;
    }
    // One warm-up of each, then the two take turns.
    (void)OpenChooser(editor, main, 0, 1, 0);
    (void)OpenChooser(editor, main, 1, 300, 150);
    std::vector<double> one, hundreds;
    int failed = 0;
    for (int i = 0; i < runs; ++i) {
        const double a = OpenChooser(editor, main, 0, 1, 0);
        const double b = OpenChooser(editor, main, 1, 300, 150);
        failed += (a < 0) + (b < 0);
        if (a >= 0) {
            one.push_back(a);
        }
        if (b >= 0) {
            hundreds.push_back(b);
        }
    }
    const double floor = bench::Median(one);
    const double median = bench::Median(hundreds);
    std::printf("%-28s %9s %6s\n", "library", "median ms", "ratio");
    std::printf("%-28s %9.1f %6.2f\n", "1 icon (notepad.exe)", floor, 1.0);
    std::printf("%-28s %9.1f %6.2f\n", "300 icons, the 151st chosen", median,
                floor > 0 ? median / floor : 0.0);
    std::printf("runs: %d each, failed: %d\n", runs, failed);
    editor.Kill();
    return failed == 0 ? 0 : 1;
}
