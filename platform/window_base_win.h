// The small base of every window of both programs: keeps `this` from WM_NCCREATE and routes
// messages to one flat switch in the derived class.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// The text of a window or control, and setting it; UTF-8.
[[nodiscard]] std::string WindowText(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, std::string_view text);

class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    [[nodiscard]] HWND Hwnd() const { return m_hwnd; }

protected:
    // Registers the class once per process, with the shared procedure. A null background
    // leaves every pixel to WM_PAINT. `style` adds class styles (CS_DROPSHADOW); a system
    // without one of them gets the class without it.
    static bool RegisterWindowClass(const char* className, HICON icon, HBRUSH background,
                                    UINT style = 0);
    // Creates the window with `this` as its creation parameter; CW_USEDEFAULT places it.
    HWND CreateWindowFor(const char* className, const char* title, DWORD style, DWORD exStyle,
                         int x, int y, int width, int height, HWND owner);
    // One flat switch in the derived class; what it does not handle goes to DefaultHandling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};

}  // namespace platform
