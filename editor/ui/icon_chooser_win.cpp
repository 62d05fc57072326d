// The "Select Icon" window.
#include "editor/ui/icon_chooser_win.h"

#include "editor/model/editor_messages.h"
#include "editor/model/icon_library.h"
#include "editor/ui/dialog_layouts.h"

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
        case WM_HSCROLL:
            if (m_browser) {
                (void)m_browser->OnScroll(LOWORD(wParam));
            }
            return 0;
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (draw.CtlID == kChooserLibrary) {
                DrawWrappedButton(draw);
            } else if (m_browser) {
                m_browser->Draw(draw);
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case kChooserLibrary:
                        (void)m_browser->ChooseLibrary(Hwnd());
                        break;
                    case kChooserOk:
                        OnOk();
                        break;
                    case kChooserCancel:
                    case IDCANCEL:
                        Close();  // the preview icon goes with the browser
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

void IconChooserWindow::OnCreate() {
    CreateControls(ChooserControls());
    // The preview lies over the middle of the scroll bar: only its arrows show.
    ::SetWindowPos(Control(kChooserPreview), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_browser = std::make_unique<IconBrowser>(Control(kChooserCount), Control(kChooserScroll),
                                              Control(kChooserPreview));
    ::SendMessageW(Control(kChooserLibrary), BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    SetDefaultButton(kChooserOk);
    m_browser->Activate(m_params.Library, m_params.IconIndex);
}

void IconChooserWindow::OnOk() {
    const std::string iconFile = StoredIconFile(m_browser->Library(), m_params.Target);
    const int position = m_browser->Position();
    if (const menufile::MenuError e = m_params.Save(iconFile, position, m_browser->TakeIcon());
        e == menufile::MenuError::None) {
        m_saved = true;
    } else {
        ShowWriteError(e, m_params.MenuPath);
    }
    Close();
}

}  // namespace editor
