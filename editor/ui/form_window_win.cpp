// The form set-up of the editor's windows: scale, font, controls, focus.
#include "editor/ui/form_window_win.h"

#include <utility>

#include "editor/ui/control_factory_win.h"
#include "editor/ui/form_fonts_win.h"
#include "platform/dpi_win.h"

namespace editor {

void FormWindow::UseScale(int dotsPerInch) {
    m_dpi = dotsPerInch;
    m_twipsPerPixel = TwipsPerPixel(dotsPerInch);  // exact, unlike the engine's: see there
}

void FormWindow::CreateControls(std::span<const ControlLayout> controls, bool visible) {
    UseControls(controls);
    for (const ControlLayout& c : controls) {
        (void)CreateControl(Hwnd(), c, m_twipsPerPixel, m_font.get(), visible);
    }
}

void FormWindow::UseControls(std::span<const ControlLayout> controls) {
    // The scale of the monitor the window was made on, which may not be the primary one's.
    UseScale(platform::DpiOfWindow(Hwnd()));
    m_controls = controls;
    m_font = CreateDialogFont(m_dpi);
}

HWND FormWindow::AddControl(const ControlLayout& control) {
    return CreateControl(Hwnd(), control, m_twipsPerPixel, m_font.get(), false);
}

void FormWindow::ApplyDpi(int dotsPerInch) {
    UseScale(dotsPerInch);
    platform::UniqueHfont font = CreateDialogFont(dotsPerInch);
    LayOutControls(Hwnd(), m_controls, m_twipsPerPixel, font.get());
    m_font = std::move(font);  // the old one only once no control holds it
    OnDpiChanged();
}

SIZE FormWindow::FormSize(float widthTwips, float heightTwips, DWORD style, DWORD exStyle) const {
    return WindowSizeFor(widthTwips, heightTwips, style, exStyle, m_dpi);
}

bool FormWindow::HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ACTIVATE:
            // The focus comes back from a message box or the Open dialog to where it was.
            if (m_focus.OnActivate(Hwnd(), wParam, FirstControl())) {
                result = 0;
                return true;
            }
            return false;
        case WM_NEXTDLGCTL:
            OnNextDialogControl(Hwnd(), wParam, lParam);
            result = 0;
            return true;
        case WM_DPICHANGED:
            ApplyDpi(HIWORD(wParam));
            platform::TakeSuggestedRect(Hwnd(), lParam);
            OnScaledRectTaken();
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace editor
