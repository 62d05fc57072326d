// The "Appearance" tab: the font dialog, the menu icon frame and the save of both.
#include "editor/appearance_page_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "editor/control_factory_win.h"
#include "editor/dialog_window_win.h"
#include "editor/editor_messages.h"
#include "editor/main_window_layout.h"
#include "editor/menu_picture.h"
#include "platform/common_dialogs_win.h"
#include "platform/menu_font_win.h"
#include "platform/text_win.h"
#include "platform/window_base_win.h"

namespace editor {
namespace {

UINT_PTR CALLBACK FontDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        platform::SetWindowTextUtf8(dialog, kFontDialogTitle);
    }
    return 0;
}

// An icon of an icon file's bytes at `size` pixels; empty when it holds none the system reads.
platform::UniqueHicon IconOfFile(std::string_view picture, int size) {
    const auto image = IconFileImage(picture, size);
    if (!image) {
        return {};
    }
    auto* bits = reinterpret_cast<BYTE*>(const_cast<char*>(image->data()));
    return platform::UniqueHicon(::CreateIconFromResourceEx(
        bits, static_cast<DWORD>(image->size()), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR));
}

// A bitmap of a bitmap file's bytes; empty when it is none the system reads.
platform::UniqueHbitmap BitmapOfFile(std::string_view picture) {
    const auto parts = BitmapFileParts(picture);
    if (!parts) {
        return {};
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(parts->Info.data());
    platform::WindowDc screen(nullptr);
    return platform::UniqueHbitmap(::CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT,
                                                    parts->Bits.data(), info, DIB_RGB_COLORS));
}

}  // namespace

void AppearancePage::OnCreate() {
    m_dotsPerInch = ScreenDotsPerInch();
    m_menuIcon = std::make_unique<IconBrowser>(m_host.Control(kIconCountLabel),
                                               m_host.Control(kMenuIconScroll),
                                               m_host.Control(kMenuIconPicture));
}

bool AppearancePage::OnCommand(int id, int code) {
    switch (id) {
        case kSelectIconFileButton:
            (void)m_menuIcon->ChooseLibrary(m_host.Window());
            return true;
        case kMenuIconPicture:
            if (code == STN_CLICKED) {
                // The saved picture then shows the icon on the desktop's colour.
                m_menuIcon->SetBackground(COLOR_DESKTOP);
            }
            return true;
        case kChangeFontButton:
            OnChangeFont();
            return true;
        case kSaveAppearanceButton:
            OnSave();
            return true;
        default:
            return false;
    }
}

bool AppearancePage::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlID != kMenuIconPicture) {
        return false;
    }
    m_menuIcon->Draw(draw);
    return true;
}

void AppearancePage::OnScroll(HWND scrollBar, int code) {
    if (scrollBar == m_host.Control(kMenuIconScroll)) {
        (void)m_menuIcon->OnScroll(code);
    }
}

void AppearancePage::Show() {
    const menufile::MenuSettings& s = m_editor.Settings();
    ::SendMessageW(m_host.Control(kSmallIconsCheck), BM_SETCHECK,
                   menufile::ToInt(s.SmallIcons) > 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    m_appearance = AppearanceOf(s);
    ShowSampleFont(s);
    // The menu's own picture where it is an icon or a bitmap the system reads, else the stock
    // icon that new menus carry.
    RECT box{};
    ::GetClientRect(m_host.Control(kMenuIconPicture), &box);
    const int size = std::max<int>(16, std::min(box.right, box.bottom));
    const std::string& picture = m_editor.Picture();
    platform::UniqueHicon icon = IconOfFile(picture, size);
    platform::UniqueHbitmap bitmap = icon ? platform::UniqueHbitmap() : BitmapOfFile(picture);
    if (!icon && !bitmap) {
        icon = IconOfFile(m_stockPicture, size);
    }
    m_menuIcon->ShowCurrent(std::move(icon), std::move(bitmap));
}

void AppearancePage::ShowSampleFont(const menufile::MenuSettings& settings) {
    m_sampleFont = platform::CreateMenuFont(settings, m_dotsPerInch);
    HWND sample = m_host.Control(kFontSample);
    HFONT font = m_sampleFont
                     ? m_sampleFont.get()
                     : reinterpret_cast<HFONT>(::SendMessageW(m_host.Window(), WM_GETFONT, 0, 0));
    ::SendMessageW(sample, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void AppearancePage::OnChangeFont() {
    LOGFONTW font{};
    const float size = DialogFontSize(m_appearance.FontSize);
    font.lfHeight = menufile::FontHeightPixels(size, m_dotsPerInch);
    font.lfWeight = m_appearance.FontBold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = m_appearance.FontItalic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = platform::Widen(m_appearance.FontName);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_host.Window();
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    choose.lpfnHook = FontDialogHook;
    if (!platform::ShowFontDialog(choose)) {
        return;  // cancelled: the sample keeps its font
    }
    m_appearance.FontName = platform::Narrow(font.lfFaceName);
    m_appearance.FontSize = static_cast<float>(choose.iPointSize) / 10.0f;
    m_appearance.FontBold = font.lfWeight >= FW_BOLD;
    m_appearance.FontItalic = font.lfItalic != 0;
    ShowSampleFont(SettingsOf(m_appearance));
}

std::string AppearancePage::RenderedPicture() const {
    RECT box{};
    ::GetClientRect(m_host.Control(kMenuIconPicture), &box);
    const int width = std::max<int>(1, box.right);
    const int height = std::max<int>(1, box.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    platform::UniqueHbitmap image(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!image || bits == nullptr || !dc) {
        return {};
    }
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
    {
        platform::SelectGuard select(dc.get(), image.get());
        DRAWITEMSTRUCT draw{};
        draw.hDC = dc.get();
        draw.rcItem = {0, 0, width, height};
        m_menuIcon->Draw(draw);
        ::GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            rgb[i] = pixels[i] & 0xFFFFFF;  // the DIB holds blue, green, red: 0x00RRGGBB
        }
    }
    return BitmapFile(width, height, rgb);
}

void AppearancePage::OnSave() {
    m_appearance.SmallIcons =
        ::SendMessageW(m_host.Control(kSmallIconsCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The menu keeps its picture byte for byte unless an icon was chosen for it here.
    std::string picture;
    if (m_menuIcon->ShowsLibraryIcon()) {
        picture = RenderedPicture();
    }
    const EditResult result = m_editor.SaveAppearance(
        m_menuIcon->ShowsLibraryIcon() ? &picture : nullptr, SettingsOf(m_appearance));
    switch (result.Status) {
        case EditStatus::Written:
        case EditStatus::Unchanged:
            ShowMessageBox(m_host.Window(), kRefreshDesktopMessage, kMainTitle, MB_OK);
            return;
        case EditStatus::Reloaded:
            m_host.ShowReloaded();
            m_host.Tell(kChangedElsewhere);
            return;
        case EditStatus::Failed:
            m_host.Tell(WriteErrorText(result.Error, m_editor.Path()));
            m_host.Close();
            return;
    }
}

}  // namespace editor
