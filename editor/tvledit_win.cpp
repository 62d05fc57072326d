// tvledit: the menu editor's entry point.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <string>

#include "editor/resource_ids.h"
#include "editor/ui/main_window_win.h"
#include "platform/resource_win.h"
#include "platform/text_win.h"
#include "platform/win32_file_system_win.h"

namespace {

// The icon file image that new and upgraded menus carry as their picture.
std::string StockPicture() {
    return platform::ResourceBytes(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_STOCK_PICTURE),
                                   RT_RCDATA);
}

}  // namespace

// The command line given here is in the ANSI code page; the wide one keeps every name.
int WINAPI WinMain(HINSTANCE, HINSTANCE, char*, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TAB_CLASSES | ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&controls);

    platform::Win32FileSystem fs;
    editor::MainWindow window(fs, StockPicture());
    if (!window.Create()) {
        return 1;
    }
    if (!window.Start(platform::CommandLineArguments())) {
        return 0;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!window.PreTranslate(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
