// A control's messages seen first by its owner, through SetWindowSubclass; the subclass goes
// with the owning object (or with the control, whichever ends first).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace platform {

class Subclass {
public:
    // Returns true when it handled the message, with its result in `result`; otherwise the
    // control's own procedure gets it.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result)>;

    Subclass() = default;
    Subclass(HWND control, Handler handler);
    ~Subclass();
    Subclass(Subclass&& other) noexcept;
    Subclass& operator=(Subclass&& other) noexcept;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    explicit operator bool() const { return m_state != nullptr; }

private:
    struct State {
        HWND Control = nullptr;
        Handler Handle;
    };
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    void Remove();

    std::unique_ptr<State> m_state;  // a stable address: the subclass's reference data
};

}  // namespace platform
