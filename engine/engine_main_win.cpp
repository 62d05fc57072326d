// tvlengin: shows the menu file named on the command line as a pop-up at the pointer, opens
// the chosen item and ends.
#include <windows.h>

#include "engine/engine_platform_win.h"
#include "engine/menu_entries.h"
#include "engine/menu_model.h"
#include "engine/popup_window_win.h"
#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"
#include "platform/command_line.h"
#include "platform/win32_file_system_win.h"

namespace {

void ShowEmptyMenu() {
    ::MessageBoxA(nullptr, "Menu is empty.\rPlease run the Menu Editor.", "Error!!", MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const std::string path = platform::PathFromCommandLine(commandLine ? commandLine : "");
    if (path.empty()) {
        return 0;
    }
    ::SetProcessDPIAware();

    const int twipsPerPixel = engine::MeasureTwipsPerPixel();
    POINT pointer{};
    ::GetCursorPos(&pointer);

    // Read whole with full sharing, never written; an unfinished save shows what was saved.
    platform::Win32FileSystem fs;
    std::string bytes;
    const bool read = menufile::ReadCommittedMenu(fs, path, bytes) == platform::FileError::None;
    const menufile::MenuFile menu = menufile::ReadMenu(bytes);
    if (!read || menu.Status != menufile::ReadStatus::Ok) {
        ShowEmptyMenu();
        return 0;
    }

    const std::vector<engine::Entry> entries =
        engine::BuildEntries(menu, engine::ListFolder, engine::DisplayName);
    const engine::ItemFont font(menu.Settings, twipsPerPixel);
    const engine::MeasureWidth measure = [&font](std::string_view s) { return font.Width(s); };
    engine::MenuModel model(entries, menufile::ToBool(menu.Settings.SmallIcons), twipsPerPixel,
                            font.Height(), measure);
    model.LayoutMenu(engine::MonitorAround(pointer, twipsPerPixel),
                     static_cast<float>(pointer.x * twipsPerPixel),
                     static_cast<float>(pointer.y * twipsPerPixel), measure);
    if (model.IsEmpty()) {
        ShowEmptyMenu();
        return 0;
    }

    engine::PopupWindow window(model, font.get());
    if (!window.Show(instance)) {
        return 1;
    }
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
