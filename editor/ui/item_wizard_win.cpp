// The "New Shortcut" wizard window.
#include "editor/ui/item_wizard_win.h"

#include <commdlg.h>

#include "editor/model/editor_messages.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/keyboard_access.h"
#include "editor/ui/z_order_win.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/typed_target_win.h"

namespace editor {

bool RunItemWizard(HWND owner, const WizardParams& params) {
    ItemWizardWindow window(params);
    window.RunModal(owner, kWizardClass, kWizardTitle, kWizardWidth, kWizardHeight);
    return window.Saved();
}

ItemWizardWindow::ItemWizardWindow(const WizardParams& params)
    : m_params(params), m_wizard(params.Edit ? ItemWizard(params.Item) : ItemWizard()) {}

LRESULT ItemWizardWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            OnDrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            return DialogHandling(message, wParam, lParam);
    }
}

void ItemWizardWindow::OnCreate() {
    CreateControls(WizardControls());
    m_filling = true;
    SetText(kWizardPath, m_wizard.Target);
    SetText(kWizardArgs, m_wizard.Arguments);
    SetText(kWizardStartIn, m_wizard.StartIn);
    SetText(kWizardName, m_wizard.Name);
    m_filling = false;
    ShowPage();
    SetDefaultButton(kWizardNext);
    ::SetFocus(Control(kWizardPath));
}

void ItemWizardWindow::ReadBoxes() {
    m_wizard.Target = Text(kWizardPath);
    m_wizard.Arguments = Text(kWizardArgs);
    m_wizard.StartIn = Text(kWizardStartIn);
    m_wizard.Name = Text(kWizardName);
}

void ItemWizardWindow::ShowPage() {
    const bool first = m_wizard.CurrentPage() == ItemWizard::Page::Path;
    for (int id : {kWizardPath, kWizardBrowse, kWizardArgsLabel, kWizardArgs, kWizardStartInLabel,
                   kWizardStartIn}) {
        Show(id, first);
    }
    Show(kWizardName, !first);
    SetText(kWizardInstruction, InstructionCaption(m_wizard.Instruction()));
    // The instruction names the box below it: two lines over the path, one over the name.
    const ControlLayout* label = nullptr;
    for (const ControlLayout& c : WizardControls()) {
        label = c.Id == kWizardInstruction ? &c : label;
    }
    ControlLayout place = *label;
    if (!first) {
        place.Height = kWizardNameInstructionHeight;
    }
    const PixelRect r = ClientRect(place, TwipsPerPixelValue());
    ::SetWindowPos(Control(kWizardInstruction), nullptr, r.Left, r.Top, r.Width, r.Height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceLabelBefore(Control(kWizardInstruction), Control(first ? kWizardPath : kWizardName));
    Show(kWizardNext, m_wizard.NextVisible());
    Show(kWizardFinish, m_wizard.FinishVisible());
    Enable(kWizardNext, m_wizard.NextEnabled());
    Enable(kWizardFinish, m_wizard.FinishEnabled());
    Enable(kWizardBack, m_wizard.BackEnabled());
}

void ItemWizardWindow::OnCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if (!m_filling) {
            ReadBoxes();
            Enable(kWizardNext, m_wizard.NextEnabled());
            Enable(kWizardFinish, m_wizard.FinishEnabled());
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case kWizardNext:
            OnNext();
            break;
        case kWizardBack:
            OnBack();
            break;
        case kWizardBrowse:
            OnBrowse();
            break;
        case kWizardFinish:
            OnFinish();
            break;
        case kWizardCancel:
        case IDCANCEL:
            Close();
            break;
        default:
            break;
    }
}

void ItemWizardWindow::OnNext() {
    ReadBoxes();
    if (!m_wizard.NextEnabled()) {
        return;
    }
    platform::Win32TargetLookup lookup;
    if (auto refused = m_wizard.Next(lookup, platform::ShellDisplayName)) {
        ShowError(*refused);
        return;
    }
    m_filling = true;
    SetText(kWizardName, m_wizard.Name);
    m_filling = false;
    ShowPage();
    SetDefaultButton(kWizardFinish);
    ::SetFocus(Control(kWizardName));
}

void ItemWizardWindow::OnBack() {
    ReadBoxes();
    m_wizard.Back();
    ShowPage();
    SetDefaultButton(kWizardNext);
    ::SetFocus(Control(kWizardPath));
}

void ItemWizardWindow::OnBrowse() {
    if (const auto file =
            AskForFile(Hwnd(), kBrowseTitle, kBrowseFilter, OFN_EXPLORER | OFN_HIDEREADONLY)) {
        SetText(kWizardPath, *file);
    } else if (platform::OpenDialogError() == 0) {
        SetText(kWizardPath, "");  // cancelled: the path box empties
    } else {
        ShowError(RefusedPathMessage(Text(kWizardPath)));
    }
}

void ItemWizardWindow::OnFinish() {
    ReadBoxes();
    if (!m_wizard.FinishEnabled()) {
        return;
    }
    const menufile::MenuItem record = m_wizard.Record(m_params.Item);
    if (auto unwritable = UnwritableTextMessage(record)) {
        ShowError(*unwritable);
        return;
    }
    menufile::MenuError e = m_params.Save(record);
    if (e == menufile::MenuError::NotFound && m_params.WriteMissingMenu) {
        // The file went away under the wizard: what was typed is kept whatever the answer.
        if (ShowMessageBox(Hwnd(), WriteMissingMenuQuestion(m_params.MenuPath), kQueryTitle,
                           MB_YESNO) != IDYES) {
            return;
        }
        if (const menufile::MenuError written = m_params.WriteMissingMenu();
            written != menufile::MenuError::None) {
            ShowWriteError(written, m_params.MenuPath);
            return;
        }
        e = m_params.Save(record);
    }
    if (e == menufile::MenuError::None) {
        m_saved = true;
    } else {
        ShowWriteError(e, m_params.MenuPath);
    }
    Close();
}

void ItemWizardWindow::OnDrawPicture(const DRAWITEMSTRUCT& draw) {
    // The decoration on the left: a soft band in the caption colour with the program's icon.
    RECT r = draw.rcItem;
    const COLORREF top = ::GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF bottom = ::GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    const int height = r.bottom - r.top;
    for (int y = 0; y < height; ++y) {
        const int t = height > 1 ? y * 255 / (height - 1) : 0;
        auto mix = [t](int a, int b) { return a + (b - a) * t / 255; };
        const platform::UniqueHbrush brush(::CreateSolidBrush(
            RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                mix(GetBValue(top), GetBValue(bottom)))));
        RECT line{r.left, r.top + y, r.right, r.top + y + 1};
        ::FillRect(draw.hDC, &line, brush.get());
    }
    // The icon at the window's scale, from the image of that size when the program has one.
    const int dpi = platform::DpiOfWindow(Hwnd());
    const int size = platform::SystemMetricForDpi(SM_CXICON, dpi);
    platform::UniqueHicon icon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
    if (icon) {
        ::DrawIconEx(draw.hDC, (r.left + r.right - size) / 2,
                     r.top + platform::ScaleForDpi(16, dpi), icon.get(), size, size, 0, nullptr,
                     DI_NORMAL);
    }
}

}  // namespace editor
