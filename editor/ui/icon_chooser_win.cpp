// The "Select Icon" window.
#include "editor/ui/icon_chooser_win.h"

#include "editor/model/editor_messages.h"
#include "editor/model/icon_library.h"
#include "editor/ui/dialog_layouts.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"

namespace editor {

bool RunIconChooser(HWND owner, const ChooserParams& params) {
    IconChooserWindow window(params);
    window.RunModal(owner, kChooserClass, kChooserTitle, kChooserWidth, kChooserHeight);
    return window.Saved();
}

LRESULT IconChooserWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_NOTIFY: {
            if (!m_grid) {
                return 0;
            }
            bool activated = false;
            const LRESULT result = m_grid->OnNotify(*reinterpret_cast<NMHDR*>(lParam), activated);
            if (activated) {
                OnOk();  // a double click on an icon is OK
            }
            return result;
        }
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (draw.CtlID == kChooserLibrary) {
                DrawWrappedButton(draw);
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case kChooserLibrary:
                        (void)m_grid->ChooseLibrary(Hwnd());
                        break;
                    case kChooserOk:
                        OnOk();
                        break;
                    case kChooserCancel:
                    case IDCANCEL:
                        Close();
                        break;
                    default:
                        break;
                }
            }
            return 0;
        default:
            return DialogHandling(message, wParam, lParam);
    }
}

int IconChooserWindow::IconSize() const {
    return platform::SystemMetricForDpi(SM_CXICON, platform::DpiOfWindow(Hwnd()));
}

void IconChooserWindow::OnCreate() {
    CreateControls(ChooserControls());
    m_grid = std::make_unique<IconGrid>(Control(kChooserCount), Control(kChooserGrid));
    ::SendMessageW(Control(kChooserLibrary), BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    SetDefaultButton(kChooserOk);
    m_grid->Activate(m_params.Library, m_params.IconIndex, IconSize());
}

void IconChooserWindow::OnDpiChanged() {
    if (m_grid) {
        m_grid->Resize(IconSize());
    }
}

void IconChooserWindow::OnOk() {
    const std::string iconFile = StoredIconFile(m_grid->Library(), m_params.Target);
    const int position = m_grid->Position();
    // The row shows the icon as the icon browsers take it.
    platform::UniqueHicon preview(
        m_grid->Count() > 0 ? platform::ExtractOneIcon(m_grid->Library(), position) : nullptr);
    if (const menufile::MenuError e = m_params.Save(iconFile, position, std::move(preview));
        e == menufile::MenuError::None) {
        m_saved = true;
    } else {
        ShowWriteError(e, m_params.MenuPath);
    }
    Close();
}

}  // namespace editor
