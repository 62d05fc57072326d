// A menu file loaded on a second thread while the window keeps answering.
#include "editor/ui/load_progress_win.h"

#include <commctrl.h>

#include <atomic>
#include <cstddef>
#include <thread>

namespace editor {

GuardedLoad LoadShowingProgress(HWND window, const PixelRect& place, const LoadStep& load) {
    constexpr ULONGLONG kQuietLoad = 300;  // ms a load may take before the window shows it
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
    std::atomic<bool> finished{false};
    GuardedLoad loaded;
    const menufile::ReadProgress progress = [&](std::size_t d, std::size_t t) {
        done = d;
        total = t;
    };
    // Nothing else touches what the load works on until it is over: the window takes no
    // input meanwhile, and it only paints what it held before.
    std::thread loader([&] {
        // An exception here would end the editor: the step reports it instead.
        loaded = load(progress);
        finished = true;
        ::PostMessageW(window, WM_NULL, 0, 0);  // wakes the wait below at once
    });
    const ULONGLONG start = ::GetTickCount64();
    HWND bar = nullptr;
    bool quit = false;
    int quitCode = 0;
    while (!finished) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (bar == nullptr && !finished && ::GetTickCount64() - start >= kQuietLoad) {
            bar = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, place.Left,
                                    place.Top + place.Height / 2 - 10, place.Width, 20, window,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
            ::SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
            ::EnableWindow(window, FALSE);
            ::ShowWindow(window, SW_SHOWNORMAL);
        }
        if (bar != nullptr && total > 0) {
            ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done * 1000 / total), 0);
        }
    }
    loader.join();
    if (bar != nullptr) {
        ::DestroyWindow(bar);
        ::EnableWindow(window, TRUE);
    }
    if (quit) {
        ::PostQuitMessage(quitCode);
    }
    return loaded;
}

}  // namespace editor
