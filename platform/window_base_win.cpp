// Window procedure shared by the windows of both programs; wide windows, UTF-8 text.
#include "platform/window_base_win.h"

#include "platform/text_win.h"

namespace platform {

std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void SetWindowTextUtf8(HWND hwnd, std::string_view text) {
    ::SetWindowTextW(hwnd, Widen(text).c_str());
}

bool WindowBase::RegisterWindowClass(const char* className, HICON icon, HBRUSH background,
                                     UINT style) {
    const std::wstring name = Widen(className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, name.c_str(), &wc)) {
        return true;
    }
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowBase::Procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name.c_str();
    wc.style = style;
    if (::RegisterClassExW(&wc) != 0) {
        return true;
    }
    // A system that refuses one of the styles still gets the class, without them.
    wc.style = 0;
    return style != 0 && ::RegisterClassExW(&wc) != 0;
}

HWND WindowBase::CreateWindowFor(const char* className, const char* title, DWORD style,
                                 DWORD exStyle, int x, int y, int width, int height, HWND owner) {
    return ::CreateWindowExW(exStyle, Widen(className).c_str(), Widen(title).c_str(), style, x, y,
                             width, height, owner, nullptr, ::GetModuleHandleW(nullptr), this);
}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<WindowBase*>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

}  // namespace platform
