// The small base of every editor window: keeps `this` from WM_NCCREATE and routes messages to it.
#pragma once

#include <windows.h>

#include <string>

namespace editor {

// The text of a window or control.
[[nodiscard]] std::string WindowText(HWND hwnd);

class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    [[nodiscard]] HWND Hwnd() const { return m_hwnd; }

protected:
    // Registers the class once per process, with this class's procedure.
    static bool RegisterWindowClass(const char* className, HICON icon, HBRUSH background);
    // Creates the window with `this` as its creation parameter.
    HWND CreateWindowFor(const char* className, const char* title, DWORD style, DWORD exStyle,
                         int width, int height, HWND owner);
    // One flat switch in the derived class; unhandled messages go to DefWindowProcA.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};

}  // namespace editor
