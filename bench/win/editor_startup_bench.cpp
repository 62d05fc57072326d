// Start-up and edit benchmark of tvledit under Wine: 10,000-item menus with and without item
// icons, a Delete in the middle of such a list and paging down through it, against an empty
// pop-up as the floor and the editor's first page as bare controls. Several editors named with
// --editor= are measured in the same runs, taking turns: a before and an after against one
// floor.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "editor_bench_windows.h"
#include "menufile/menu_file.h"
#include "winauto.h"

namespace {

using namespace winauto;
using bench::BenchError;
using bench::Close;
using bench::ControlById;
using bench::FilesBesides;
using bench::FloorColour;
using bench::ListText;
using bench::Narrow;
using bench::Now;
using bench::Painted;
using bench::PaintedAt;
using bench::PeakMb;
using bench::PollUntil;
using bench::SendW;
using bench::StartProgram;
using bench::Totals;
using bench::Widen;
using menufile::MenuItem;

// The editor's window class and control ids, as a user's tools see them; the title names the
// menu file, so the class alone finds the window.
constexpr const char* kEditorClass = "TarvelEditMain";
constexpr int kItemListId = 1001;
constexpr int kDeleteButtonId = 1005;
constexpr int kMoveUpButtonId = 1007;
// A control of each page the editor may make after its window shows ("Change Menu Type" of
// the pointer page, "Save Changes" of the Appearance tab, the Shortcuts tab's note).
constexpr int kLaterPageIds[] = {1032, 1050, 1076};

constexpr int kItems = 10000;
constexpr int kDeleteIndex = 5000;  // zero-based, so the entry after it moves into its place
constexpr int kPages = 20;          // Page Down presses through the list
constexpr double kReadyTimeoutMs = 180000;
constexpr double kIconTimeoutMs = 3000;

// Every page's controls are made and the editor answers again.
bool PagesMade(HWND main) {
    LRESULT ignored = 0;
    return std::all_of(std::begin(kLaterPageIds), std::end(kLaterPageIds),
                       [main](int id) { return ::GetDlgItem(main, id) != nullptr; }) &&
           SendW(main, WM_NULL, 0, 0, ignored);
}

std::string MenuBytes(const std::vector<MenuItem>& items) {
    // The picture is opaque bytes to the editor; any run without CR or LF will do.
    std::string picture = "BM";
    for (int i = 0; i < 400; ++i) {
        picture += static_cast<char>('A' + i % 26);
    }
    std::string menu =
        picture + "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    for (const MenuItem& item : items) {
        menu += menufile::FormatItemLine(item);
    }
    return menu;
}

enum class Kind { Floor, FormFloor, Start, Delete, MoveUp, PageDown };

struct Scenario {
    std::string name;
    Kind kind;
    int items = 0;
    std::string menu;       // file bytes; a fresh copy is written for every run
    std::string afterEdit;  // the file the edit must leave
    int editIndex = kDeleteIndex;
    std::size_t editor = 0;  // which of the editors named
};

struct Sample {
    double shownMs = 0;    // until shown and painted
    double contentMs = 0;  // until the shown list held what it should, painted or not
    double iconsMs = -1;   // until the first row's icon showed; -1: not measured or never
    double peakMb = 0;
};

struct Programs {
    std::vector<std::wstring> editors;
    std::wstring floor;
    std::wstring formFloor;
};

struct Editor {
    HWND main = nullptr;
    HWND list = nullptr;
};

// Waits for the main window with the list holding count entries; contentMs is when it held
// them, the return is when that was painted too.
double WaitForEditor(const Process& p, int count, Editor& e, double start, double& contentMs) {
    contentMs = 0;
    double paintedAt = 0;
    const bool ready = PollUntil(
        [&] {
            if (!e.main) {
                e.main = FindWindowOf(p.pid(), kEditorClass, nullptr);
                if (!e.main) {
                    return false;
                }
            }
            // A very large menu gets a list made anew once it is loaded: look it up again.
            if (!e.list || !::IsWindow(e.list)) {
                e.list = ControlById(e.main, kItemListId, "ListBox");
                if (!e.list) {
                    return false;
                }
            }
            if (contentMs == 0) {
                if (!::IsWindowVisible(e.list) || SendW(e.list, LB_GETCOUNT) != count) {
                    return false;
                }
                contentMs = Now() - start;
            }
            return (paintedAt = PaintedAt(e.main)) > 0;
        },
        kReadyTimeoutMs);
    if (!ready) {
        throw BenchError(e.main ? "the editor's list never showed its " + std::to_string(count) +
                                      " entries"
                                : "no editor window");
    }
    return paintedAt - start;
}

// A floor, timed until its window is painted: the empty pop-up (`popup`, which opens at the
// pointer and must show the menu colour) or the form floor (class "FormFloor", the editor's
// first page as bare controls, its list filled before it shows).
Sample RunFloor(const std::wstring& exe, bool popup, Totals& totals) {
    if (popup) {
        MoveMouse({200, 150});
    }
    Sample sample;
    HWND hwnd = nullptr;
    double paintedAt = 0;
    const double start = Now();
    Process p = StartProgram(exe, L"", {});
    const bool shown = PollUntil(
        [&] {
            if (!hwnd && !(hwnd = FindWindowOf(p.pid(), popup ? nullptr : "FormFloor", nullptr))) {
                return false;
            }
            return (paintedAt = PaintedAt(hwnd)) > 0 && (!popup || FloorColour(hwnd));
        },
        kReadyTimeoutMs);
    if (!shown) {
        throw BenchError("the floor's window was never painted");
    }
    sample.shownMs = sample.contentMs = paintedAt - start;
    sample.peakMb = PeakMb(p.handle());
    Close(p, hwnd, totals);
    return sample;
}

// Whether the first row shows something in its icon's place (the square of the row's height at
// its left, inside the focus rectangle) other than the list's background. An editor without
// icons shows its name's first letters there.
bool FirstIconShown(const Editor& e) {
    RECT row{};
    if (SendW(e.list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) == LB_ERR) {
        return false;
    }
    ::MapWindowPoints(e.list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    const RECT square{row.left + 1, row.top + 1, row.left + (row.bottom - row.top) - 1,
                      row.bottom - 1};
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const std::uint32_t background =
        (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
    const std::vector<std::uint32_t> pixels = PixelsOf(nullptr, square);
    return std::any_of(pixels.begin(), pixels.end(),
                       [&](std::uint32_t p) { return p != background; });
}

// The list paged down kPages times, as a user reads through it: each press posted once the
// last one's rows are painted. contentMs: until the list had scrolled, summed over the presses.
void PageDown(const Editor& e, Sample& sample) {
    sample.shownMs = sample.contentMs = 0;
    for (int page = 0; page < kPages; ++page) {
        const LRESULT top = SendW(e.list, LB_GETTOPINDEX);
        const double start = Now();
        double scrolled = 0;
        double paintedAt = 0;
        ::PostMessageW(e.list, WM_VSCROLL, SB_PAGEDOWN, 0);
        const bool shown = PollUntil(
            [&] {
                if (scrolled == 0) {
                    if (SendW(e.list, LB_GETTOPINDEX) <= top) {
                        return false;
                    }
                    scrolled = Now() - start;
                }
                return (paintedAt = PaintedAt(e.main)) > 0;
            },
            kReadyTimeoutMs);
        if (!shown) {
            throw BenchError("the list never showed the page after row " + std::to_string(top));
        }
        sample.shownMs += paintedAt - start;
        sample.contentMs += scrolled;
    }
}

Sample RunEditor(const Scenario& s, const Programs& programs, Totals& totals) {
    ParkMouse();  // away from the list, so no hover or tooltip joins the measurement
    TempDir dir("editor bench run ");  // declared first: removed once the editor has ended
    const std::string name = "bench menu.tvl";
    const std::string path = dir.File(name);
    if (!WriteFileBytes(path, s.menu)) {
        throw BenchError("cannot write " + path);
    }
    Sample sample;
    Editor e;
    Process p;
    try {
        double start = Now();
        p = StartProgram(programs.editors[s.editor], L"\"" + Widen(path) + L"\"", dir.path());
        sample.shownMs = WaitForEditor(p, s.items, e, start, sample.contentMs);
        if (s.kind == Kind::Start && PollUntil([&] { return FirstIconShown(e); }, kIconTimeoutMs)) {
            sample.iconsMs = Now() - start;
        }
        // An edit is timed on its own, not with the making of what the window shows later.
        if (s.kind != Kind::Start &&
            !PollUntil([&] { return PagesMade(e.main); }, kReadyTimeoutMs)) {
            throw BenchError("the editor never made its other pages");
        }
        if (s.kind == Kind::PageDown) {
            PageDown(e, sample);
        }
        if (s.kind == Kind::Delete || s.kind == Kind::MoveUp) {
            const bool del = s.kind == Kind::Delete;
            const int at = s.editIndex;
            // Delete: the entry after it moves into its place. Move Up: it moves one up.
            const std::wstring moving = ListText(e.list, del ? at + 1 : at);
            HWND button = ControlById(e.main, del ? kDeleteButtonId : kMoveUpButtonId, "Button");
            if (moving.empty() || !button || !SelectListItem(e.list, at)) {
                throw BenchError("cannot select entry " + std::to_string(at));
            }
            // The selection's own work (preview, button states) is not part of the Delete.
            if (!PollUntil([&] { return ::IsWindowEnabled(button) && Painted(e.main); },
                           kReadyTimeoutMs)) {
                throw BenchError("the Delete button never became usable");
            }
            sample.contentMs = 0;
            double paintedAt = 0;
            start = Now();
            ::PostMessageW(button, BM_CLICK, 0, 0);
            const bool shown = PollUntil(
                [&] {
                    if (sample.contentMs == 0) {
                        if (SendW(e.list, LB_GETCOUNT) != s.items - (del ? 1 : 0) ||
                            ListText(e.list, del ? at : at - 1) != moving) {
                            return false;
                        }
                        sample.contentMs = Now() - start;
                    }
                    return (paintedAt = PaintedAt(e.main)) > 0;
                },
                kReadyTimeoutMs);
            if (!shown) {
                throw BenchError("the list never showed the change");
            }
            sample.shownMs = paintedAt - start;
            if (!WaitUntil([&] { return ReadFileBytes(path) == s.afterEdit; }, Millis(20000))) {
                throw BenchError("after the change of entry " + std::to_string(at) +
                                 " the menu file is not what it should be");
            }
        }
    } catch (...) {
        if (p) {
            p.Kill();
        }
        throw;
    }
    sample.peakMb = PeakMb(p.handle());
    Close(p, e.main, totals);
    totals.leftovers += FilesBesides(dir.path(), name);
    return sample;
}

Sample RunOnce(const Scenario& s, const Programs& programs, Totals& totals) {
    switch (s.kind) {
        case Kind::Floor:
            return RunFloor(programs.floor, true, totals);
        case Kind::FormFloor:
            return RunFloor(programs.formFloor, false, totals);
        default:
            return RunEditor(s, programs, totals);
    }
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

std::wstring ExePathW() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

std::wstring ExeDirW() {
    const std::wstring path = ExePathW();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// A program given by its place relative to this benchmark's folder (as the build lays them
// out), or by a path on the command line.
std::wstring ProgramPath(const std::wstring& given, const char* relative) {
    std::wstring path = given;
    if (path.empty()) {
        path = ExeDirW() + Widen(relative);
        std::replace(path.begin(), path.end(), L'/', L'\\');
    }
    wchar_t full[MAX_PATH] = {};
    if (::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr) != 0) {
        path = full;
    }
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        throw BenchError("not found: " + Narrow(path));
    }
    return path;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: editor_startup_bench [runs, default 10] [--large] "
                 "[--editor=tvledit.exe ...] [--floor=popup_floor.exe]\n"
                 "  --large: also 100,000 items (start, Move Up) and 1,000,000 items (start)\n"
                 "  --editor= given more than once: each is measured, in the same runs\n");
    return 2;
}

}  // namespace

int main() {
    int wargc = 0;
    wchar_t** wargv = ::CommandLineToArgvW(::GetCommandLineW(), &wargc);
    int runs = 10;
    std::vector<std::wstring> editorArgs;
    std::wstring floorArg;
    bool large = false;
    for (int i = 1; i < wargc; ++i) {
        const std::wstring arg = wargv[i];
        if (arg == L"--large") {
            large = true;
        } else if (arg.rfind(L"--editor=", 0) == 0) {
            editorArgs.push_back(arg.substr(9));
        } else if (arg.rfind(L"--floor=", 0) == 0) {
            floorArg = arg.substr(8);
        } else if (const int n = static_cast<int>(std::wcstol(arg.c_str(), nullptr, 10)); n > 0) {
            runs = n;
        } else {
            return Usage();
        }
    }
    ::LocalFree(wargv);

    try {
        if (editorArgs.empty()) {
            editorArgs.emplace_back();  // the one built beside this benchmark
        }
        Programs programs{{},
                          ProgramPath(floorArg, POPUP_FLOOR_FROM_BENCH),
                          ProgramPath({}, FORM_FLOOR_FROM_BENCH)};
        for (const std::wstring& given : editorArgs) {
            programs.editors.push_back(ProgramPath(given, TVLEDIT_FROM_BENCH));
        }
        TempDir dir("editor bench ");

        // Targets of the kinds a real menu has: programs, a folder and documents.
        const std::string docs = dir.File("documents");
        ::CreateDirectoryA(docs.c_str(), nullptr);
        for (int i = 0; i < 100; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "\\letter %03d.txt", i);
            WriteFileBytes(docs + name, "text");
        }
        std::vector<MenuItem> plain, withIcons;
        for (int k = 0; k < kItems; ++k) {
            char name[32];
            std::snprintf(name, sizeof name, "Item %05d", k);
            char doc[32];
            std::snprintf(doc, sizeof doc, "\\letter %03d.txt", k % 100);
            const std::string targets[] = {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe",
                                           "C:\\windows\\", docs + doc};
            MenuItem item{name, targets[k % 4], "", "", "", "0"};
            plain.push_back(item);
            item.IconFile = "C:\\windows\\system32\\shell32.dll";
            item.IconIndex = std::to_string(k % 100);
            withIcons.push_back(item);
        }
        std::vector<MenuItem> deleted = plain;
        deleted.erase(deleted.begin() + kDeleteIndex);
        const std::string plainMenu = MenuBytes(plain);
        const std::string oneItemMenu = MenuBytes({plain.front()});
        const std::string iconMenu = MenuBytes(withIcons);

        std::vector<Scenario> each = {
            // What the editor costs by itself, whatever the menu.
            {"1 item", Kind::Start, 1, oneItemMenu, {}},
            {"10,000 items, none with its own icon", Kind::Start, kItems, plainMenu, {}},
            {"10,000 items, all with their own icon", Kind::Start, kItems, iconMenu, {}},
            {"Delete on entry 5,000 of 10,000", Kind::Delete, kItems, plainMenu,
             MenuBytes(deleted)},
            {"20 x Page Down, 10,000 with icons", Kind::PageDown, kItems, iconMenu, {}},
        };
        if (large) {
            // The same rows, ten and a hundred times over.
            std::vector<MenuItem> many;
            many.reserve(static_cast<std::size_t>(kItems) * 100);
            for (int copy = 0; copy < 100; ++copy) {
                for (MenuItem item : plain) {
                    item.Name += " " + std::to_string(copy);
                    many.push_back(std::move(item));
                }
            }
            std::vector<MenuItem> hundred(many.begin(), many.begin() + kItems * 10);
            std::vector<MenuItem> moved = hundred;
            std::swap(moved[49999], moved[50000]);
            const std::string hundredMenu = MenuBytes(hundred);
            each.push_back({"100,000 items", Kind::Start, kItems * 10, hundredMenu, {}});
            each.push_back({"Move Up on entry 50,000 of 100,000", Kind::MoveUp, kItems * 10,
                            hundredMenu, MenuBytes(moved), 50000});
            each.push_back({"1,000,000 items", Kind::Start, kItems * 100, MenuBytes(many), {}});
        }
        // Every scenario once per editor, side by side, behind one floor.
        std::vector<Scenario> scenarios = {
            {"floor (empty pop-up)", Kind::Floor, 0, {}, {}},
            {"form floor (first page, bare)", Kind::FormFloor, 1, {}, {}},
        };
        for (const Scenario& s : each) {
            for (std::size_t e = 0; e < programs.editors.size(); ++e) {
                Scenario copy = s;
                copy.editor = e;
                if (programs.editors.size() > 1) {
                    copy.name = "[" + std::to_string(e + 1) + "] " + s.name;
                }
                scenarios.push_back(std::move(copy));
            }
        }
        const std::size_t kScenarios = scenarios.size();
        Totals totals;
        // One warm-up of each, so the first run's disk cache does not count; then the scenarios
        // take turns, so a slow spell of the machine hits all of them alike.
        for (const Scenario& s : scenarios) {
            (void)RunOnce(s, programs, totals);
        }
        std::vector<std::vector<Sample>> samples(kScenarios);
        for (int run = 0; run < runs; ++run) {
            for (std::size_t i = 0; i < kScenarios; ++i) {
                samples[i].push_back(RunOnce(scenarios[i], programs, totals));
            }
        }

        std::printf("%-42s %9s %10s %8s %8s %6s %8s %8s\n", "scenario", "median ms", "content ms",
                    "min ms", "max ms", "ratio", "icons ms", "peak MB");
        double floor = 0;
        for (std::size_t i = 0; i < kScenarios; ++i) {
            std::vector<double> shown, content, icons;
            double peak = 0;
            for (const Sample& sample : samples[i]) {
                shown.push_back(sample.shownMs);
                content.push_back(sample.contentMs);
                if (sample.iconsMs >= 0) {
                    icons.push_back(sample.iconsMs);
                }
                peak = std::max(peak, sample.peakMb);
            }
            const double median = Median(shown);
            if (floor == 0) {
                floor = median;
            }
            char iconsText[16] = "-";
            if (!icons.empty()) {
                std::snprintf(iconsText, sizeof iconsText, "%.1f", Median(icons));
            }
            std::printf(
                "%-42s %9.1f %10.1f %8.1f %8.1f %6.2f %8s %8.1f\n", scenarios[i].name.c_str(),
                median, Median(content), *std::min_element(shown.begin(), shown.end()),
                *std::max_element(shown.begin(), shown.end()), median / floor, iconsText, peak);
        }
        std::printf(
            "%d runs each, taking turns. median ms: from process start (Delete: from posting "
            "the click;\nPage Down: the presses, summed) until the window shows the list and "
            "nothing is left to\npaint; content ms: until the shown list held its entries (had "
            "scrolled); ratio: median\nover the floor's median; the form floor: the editor's "
            "first page as bare system\ncontrols; icons ms: from process start until the first "
            "row's icon showed (an editor\nwithout icons: its first letters).\n",
            runs);
        std::printf("closed with WM_CLOSE: %d, killed: %d, files left beside a menu: %d\n",
                    totals.closed, totals.killed, totals.leftovers);
        for (std::size_t e = 0; e < programs.editors.size(); ++e) {
            std::printf("editor [%d]: %s\n", static_cast<int>(e + 1),
                        Narrow(programs.editors[e]).c_str());
        }
        std::printf("reproduce: bash bench/run_editor_startup.sh %d\n", runs);
        std::printf("  or, in a Wine session: wine \"%s\" %d\n", Narrow(ExePathW()).c_str(), runs);
    } catch (const BenchError& e) {
        std::fprintf(stderr, "editor_startup_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
