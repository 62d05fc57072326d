// What the editor's main window and its dialogs share as forms: controls from a twips table at
// the window's scale, the one font, the focus kept across activations, a new layout when the
// scale changes.
#pragma once

#include <windows.h>

#include <span>

#include "editor/ui/keyboard_focus_win.h"
#include "editor/ui/main_window_layout.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace editor {

class FormWindow : public platform::WindowBase {
protected:
    // The scale a window is sized for before it exists.
    void UseScale(int dotsPerInch);
    // Creates every control of the table at the scale of the window's monitor, with the font at
    // that scale; hidden until shown unless `visible` (call from WM_CREATE).
    void CreateControls(std::span<const ControlLayout> controls, bool visible);
    // The table and the font at the scale of the window's monitor, no control made yet: a
    // window that makes its controls a few at a time with AddControl (call from WM_CREATE).
    void UseControls(std::span<const ControlLayout> controls);
    // One control of the table, hidden, at the scale and with the font now in force.
    HWND AddControl(const ControlLayout& control);
    // The table's controls and the font at the scale `dotsPerInch`, then OnDpiChanged.
    void ApplyDpi(int dotsPerInch);
    // The window size whose client area is `widthTwips` by `heightTwips` at the scale in force.
    [[nodiscard]] SIZE FormSize(float widthTwips, float heightTwips, DWORD style,
                                DWORD exStyle) const;
    // Messages every form answers alike: WM_ACTIVATE (the focus back where it was),
    // WM_NEXTDLGCTL and WM_DPICHANGED. True when handled, with the window's answer in `result`.
    bool HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(Hwnd(), id); }
    [[nodiscard]] int Dpi() const { return m_dpi; }
    [[nodiscard]] float TwipsPerPixelValue() const { return m_twipsPerPixel; }
    [[nodiscard]] HFONT Font() const { return m_font.get(); }
    // The control to give the focus to at the next activation.
    void RememberFocus(HWND control) { m_focus.Remember(control); }

    // Where the keyboard goes on activation when the control it was on cannot take it.
    [[nodiscard]] virtual HWND FirstControl() const = 0;
    // After the controls of the table were laid out at a new scale: what the table alone
    // does not give.
    virtual void OnDpiChanged() {}
    // After the window took the rectangle a change of scale suggests.
    virtual void OnScaledRectTaken() {}

private:
    platform::UniqueHfont m_font;
    std::span<const ControlLayout> m_controls;
    int m_dpi = 96;
    float m_twipsPerPixel = 15;
    FocusKeeper m_focus;
};

}  // namespace editor
