// Session keepalive: owns the Wine desktop and keeps the system processes warm between test runs.
// Usage: keepalive.exe <ready-file>; the file is written once the desktop and the window exist.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

LRESULT CALLBACK KeepaliveProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 2) {
        return 2;
    }
    // Starts explorer.exe /desktop now, with this process's stdio (/dev/null), not a test's.
    GetDesktopWindow();

    WNDCLASSA wc{};
    wc.lpfnWndProc = KeepaliveProc;
    wc.hInstance = instance;
    wc.lpszClassName = "SessionKeepaliveWindow";
    if (!RegisterClassA(&wc)) {
        return 1;
    }
    // A real (hidden) top-level window keeps the process a GUI client of the desktop.
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Session keepalive", WS_OVERLAPPED, 0, 0, 10,
                                10, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        return 1;
    }
    FILE* ready = std::fopen(__argv[1], "wb");
    if (!ready) {
        return 1;
    }
    std::fputs("ready\n", ready);
    std::fclose(ready);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    return 0;
}
