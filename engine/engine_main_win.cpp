// tvlengin: shows the menu file named on the command line as a pop-up at the pointer, opens
// the chosen item and ends.
#include <windows.h>

#include <future>
#include <system_error>

#include "engine/engine_messages.h"
#include "engine/engine_platform_win.h"
#include "engine/menu_entries.h"
#include "engine/menu_model.h"
#include "engine/popup_window_win.h"
#include "menufile/command_line.h"
#include "menufile/internet_zone.h"
#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "platform/win32_file_system_win.h"

namespace {

void ShowProblem(engine::MenuProblem problem, const std::string& path) {
    ::MessageBoxW(nullptr, platform::Widen(engine::ProblemMessage(problem, path)).c_str(),
                  platform::Widen(engine::kMessageTitle).c_str(), MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, char*, int) {
    // The wide command line: the ANSI one has "?" for every letter outside the code page.
    const std::string path = menufile::PathFromCommandLine(platform::CommandLineArguments());
    if (path.empty()) {
        return 0;
    }
    // Read whole with full sharing, never written; an unfinished save shows what was saved.
    platform::Win32FileSystem fs;
    std::string bytes;
    if (const menufile::FileError e = menufile::ReadCommittedMenu(fs, path, bytes);
        e != menufile::FileError::None) {
        menufile::PathKind kind = menufile::PathKind::Missing;
        if (fs.Probe(path, kind) != menufile::FileError::None) {
            kind = menufile::PathKind::Missing;
        }
        ShowProblem(engine::ReadProblem(e, kind, path), path);
        return 0;
    }
    // Every complete record, also past a damaged one: one bad line hides nothing else. From here
    // on its text is UTF-8, whichever encoding the file holds.
    menufile::MenuFile menu = menufile::ReadEveryRecord(bytes);
    menufile::DecodeMenu(bytes, menu, platform::SystemCodePage());
    if (!engine::CanShowMenu(menu)) {
        ShowProblem(engine::MenuProblem::Empty, path);
        return 0;
    }

    // A big folder is the slowest part of the start: it is listed and sorted on another thread
    // while this one sets up the display, which takes about as long. That thread calls the file
    // system and the locale only; names the shell must shorten (hidden extensions) are asked
    // for here, after the listing.
    std::future<std::vector<engine::Entry>> built;
    engine::FolderListing first;
    std::future<std::vector<engine::FolderEntry>> listed;
    try {
        if (menu.IsDirectoryPointer() && menu.DirectoryPointer) {
            if (menufile::ToNumber(menu.DirectoryPointer->HideExtensions) >= 1) {
                first = engine::FirstListing(*menu.DirectoryPointer);
                listed =
                    std::async(std::launch::async, engine::ListFolder, first.Folder, first.Pattern);
            } else {
                built = std::async(std::launch::async, [&menu] {
                    const engine::DisplayNamer unused = [](const std::string&) {
                        return std::string();  // shown extensions: no name is asked for
                    };
                    return engine::BuildEntries(menu, engine::ListFolder, unused,
                                                engine::ExplorerOrder());
                });
            }
        }
    } catch (const std::system_error&) {
        // No thread to be had: the folder is listed below, in turn.
    }
    const engine::FolderLister list = [&](const std::string& folder, const std::string& pattern) {
        if (listed.valid() && engine::FolderListing{folder, pattern} == first) {
            return listed.get();
        }
        return engine::ListFolder(folder, pattern);
    };
    // The display's first use costs the most of what is left: it overlaps the listing.
    // Per-monitor aware (the manifest): pixels are the monitor's own, and the menu takes the
    // scale of the monitor under the pointer.
    POINT pointer{};
    ::GetCursorPos(&pointer);
    const int dpi = platform::DpiOfMonitorAt(pointer);
    const int twipsPerPixel = engine::TwipsPerPixelForDpi(dpi);

    const std::vector<engine::Entry> entries =
        built.valid()
            ? built.get()
            : engine::BuildEntries(menu, list, engine::DisplayName, engine::ExplorerOrder());
    const engine::ItemFont font(menu.Settings, twipsPerPixel, dpi);
    const engine::MeasureWidth measure = [&font](std::string_view s) { return font.Width(s); };
    const engine::MeasureFit fit = [&font](std::string_view s, float width) {
        return font.Fit(s, width);
    };
    engine::MenuModel model(entries, menufile::ToBool(menu.Settings.SmallIcons), twipsPerPixel,
                            font.Height(), measure);
    model.LayoutMenu(engine::WorkAreaAround(pointer, twipsPerPixel),
                     static_cast<float>(pointer.x * twipsPerPixel),
                     static_cast<float>(pointer.y * twipsPerPixel), measure, fit);
    if (model.IsEmpty()) {
        ShowProblem(engine::MenuProblem::Empty, path);
        return 0;
    }

    // Its title, for screen readers and task lists, is the menu file's name.
    engine::PopupWindow window(model, font.get(), path.substr(path.find_last_of("\\/") + 1),
                               menufile::CameFromInternet(fs, path));
    if (!window.Show(instance)) {
        return 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
