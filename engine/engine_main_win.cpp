// tvlengin: shows the menu file named on the command line as a pop-up at the pointer, opens
// the chosen item and ends.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/engine_platform_win.h"
#include "engine/menu_loading.h"
#include "engine/menu_model.h"
#include "engine/popup_cascade_win.h"
#include "engine/popup_window_win.h"
#include "menufile/command_line.h"
#include "menufile/display_path.h"
#include "menufile/internet_zone.h"
#include "menufile/menu_file.h"
#include "platform/dpi_win.h"
#include "platform/shell_link_win.h"
#include "platform/system_error_win.h"
#include "platform/text_win.h"
#include "platform/win32_file_system_win.h"

namespace {

void ShowText(const std::string& text) {
    ::MessageBoxW(nullptr, platform::Widen(text).c_str(),
                  platform::Widen(engine::kMessageTitle).c_str(), MB_OK);
}

void ShowProblem(engine::MenuProblem problem, const std::string& path) {
    ShowText(engine::ProblemMessage(problem, path));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, char*, int) {
    // The wide command line: the ANSI one has "?" for every letter outside the code page.
    const std::string path = menufile::PathFromCommandLine(platform::CommandLineArguments());
    if (path.empty()) {
        return 0;
    }
    // Before any window, so the taskbar ties this run to the menu's own pinned shortcut.
    platform::UseMenuAppUserModelId(path);
    // Read whole with full sharing, never written.
    platform::Win32FileSystem fs;
    const engine::LoadServices services{engine::ListFolder, engine::DisplayName,
                                        engine::ExplorerOrder(), engine::IsFolder};
    engine::MenuLoad load =
        engine::LoadMenuForShowing(fs, path, platform::SystemCodePage(), services);
    if (load.Problem()) {
        ShowProblem(*load.Problem(), path);
        return 0;
    }
    const menufile::MenuFile& menu = load.Menu();
    // The display's first use costs the most of what is left: it overlaps the listing.
    // Per-monitor aware (the manifest): pixels are the monitor's own, and the menu takes the
    // scale of the monitor under the pointer.
    POINT pointer{};
    ::GetCursorPos(&pointer);
    const int dpi = platform::DpiOfMonitorAt(pointer);
    const int twipsPerPixel = engine::TwipsPerPixelForDpi(dpi);

    const engine::ShownItems shown = load.Items();
    if (shown.Failure != engine::ListingFailure::None) {
        // In the system's words, as it words a failure of its own.
        ShowText(platform::SystemErrorText(shown.Failure == engine::ListingFailure::OutOfMemory
                                               ? ERROR_NOT_ENOUGH_MEMORY
                                               : ERROR_INTERNAL_ERROR));
        return 0;
    }
    const std::vector<menufile::MenuItem>& entries = shown.Items;
    const engine::ItemFont font(menu.Settings, twipsPerPixel, dpi);
    const engine::MeasureWidth measure = [&font](std::string_view s) { return font.Width(s); };
    const engine::MeasureFit fit = [&font](std::string_view s, float width) {
        return font.Fit(s, width);
    };
    engine::MenuModel model(entries, menufile::ToBool(menu.Settings.SmallIcons), twipsPerPixel,
                            font.Height(), measure, shown.Submenus);
    model.LayoutMenu(engine::WorkAreaAround(pointer, twipsPerPixel),
                     static_cast<float>(pointer.x * twipsPerPixel),
                     static_cast<float>(pointer.y * twipsPerPixel), measure, fit);
    if (model.IsEmpty()) {
        ShowProblem(engine::MenuProblem::Empty, path);
        return 0;
    }

    // Its title, for screen readers and task lists, is the menu file's name.
    const bool fromInternet = menufile::CameFromInternet(fs, path);
    engine::PopupWindow window(model, font.get(), std::string(menufile::LastPathPart(path)),
                               fromInternet);
    // Folders and menus open beside their entries, each level read when it opens.
    engine::PopupCascade cascade(window, menu, instance, fs, platform::SystemCodePage(), services,
                                 dpi, fromInternet);
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
