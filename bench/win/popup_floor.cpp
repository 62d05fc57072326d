// The floor of the engine's start-up benchmark: creates, shows and paints an empty pop-up
// with the engine's window styles, and nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            RECT r{};
            ::GetClientRect(hwnd, &r);
            ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_MENU));
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ::SetProcessDPIAware();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = "PopupFloor";
    ::RegisterClassExA(&wc);
    POINT p{};
    ::GetCursorPos(&p);
    HWND hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "PopupFloor", "",
                                  WS_POPUP | WS_DLGFRAME, p.x, p.y, 200, 300, nullptr, nullptr,
                                  instance, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&msg);
    }
    return 0;
}
