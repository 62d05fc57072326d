// Control subclassing through the common controls' SetWindowSubclass.
#include "platform/subclass_win.h"

#include <commctrl.h>

#include <utility>

namespace platform {
Subclass::Subclass(HWND control, Handler handler)
    : m_state(std::make_unique<State>(State{control, std::move(handler)})) {
    // The state's address names the subclass, so one control can have several owners.
    if (!::SetWindowSubclass(control, &Subclass::Procedure,
                             reinterpret_cast<UINT_PTR>(m_state.get()),
                             reinterpret_cast<DWORD_PTR>(m_state.get()))) {
        m_state.reset();
    }
}

Subclass::~Subclass() { Remove(); }

Subclass::Subclass(Subclass&& other) noexcept : m_state(std::move(other.m_state)) {}

Subclass& Subclass::operator=(Subclass&& other) noexcept {
    if (this != &other) {
        Remove();
        m_state = std::move(other.m_state);
    }
    return *this;
}

void Subclass::Remove() {
    if (m_state && m_state->Control != nullptr) {
        ::RemoveWindowSubclass(m_state->Control, &Subclass::Procedure,
                               reinterpret_cast<UINT_PTR>(m_state.get()));
    }
    m_state.reset();
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data) {
    auto* state = reinterpret_cast<State*>(data);
    if (message == WM_NCDESTROY) {
        // The control goes first: nothing is left to remove later.
        ::RemoveWindowSubclass(hwnd, &Subclass::Procedure, id);
        state->Control = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (state->Handle && state->Handle(message, wParam, lParam, result)) {
        return result;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace platform
