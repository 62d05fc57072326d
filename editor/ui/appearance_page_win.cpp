// The "Appearance" tab: the font dialog, the menu icon frame and the save of both.
#include "editor/ui/appearance_page_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "editor/imaging/icon_file.h"
#include "editor/imaging/icon_resources.h"
#include "editor/imaging/menu_picture.h"
#include "editor/model/editor_messages.h"
#include "editor/ui/dialog_window_win.h"
#include "editor/ui/main_window_layout.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/menu_font_win.h"
#include "platform/png_encoder_win.h"
#include "platform/resource_win.h"
#include "platform/shell_link_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/win32_file_system_win.h"
#include "platform/win32_handles_win.h"
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
    m_dpi = platform::DpiOfWindow(m_host.Window());
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
            (void)Save(FailedEdit::Close);
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
    m_settled = Shown();
}

AppearanceShown AppearancePage::Shown() const {
    AppearanceShown shown{m_appearance, {}};
    shown.Settings.SmallIcons =
        ::SendMessageW(m_host.Control(kSmallIconsCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (m_menuIcon->ShowsLibraryIcon()) {
        shown.ChosenIcon = m_menuIcon->Library() + "," + std::to_string(m_menuIcon->Position());
    }
    return shown;
}

bool AppearancePage::HasUnsavedChanges() const {
    return AppearanceUnsaved(Shown(), m_settled);
}

void AppearancePage::OnDpiChanged(int dotsPerInch) {
    m_dpi = dotsPerInch;
    ShowSampleFont(SettingsOf(m_appearance));
}

void AppearancePage::ShowSampleFont(const menufile::MenuSettings& settings) {
    m_sampleFont = platform::CreateMenuFont(settings, m_dpi);
    HWND sample = m_host.Control(kFontSample);
    HFONT font = m_sampleFont
                     ? m_sampleFont.get()
                     : reinterpret_cast<HFONT>(::SendMessageW(m_host.Window(), WM_GETFONT, 0, 0));
    ::SendMessageW(sample, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void AppearancePage::OnChangeFont() {
    LOGFONTW font{};
    const float size = DialogFontSize(m_appearance.FontSize);
    font.lfHeight = menufile::FontHeightPixels(size, m_dpi);
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

namespace {

// The images of icon number `index` of a program or a DLL, as its resources hold them.
// Collects the names of a library's resources of one type, in their order (32-bit Windows calls
// it as stdcall, which a lambda is not).
BOOL CALLBACK AddResourceName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    auto& list = *reinterpret_cast<std::vector<std::wstring>*>(found);
    list.push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                        : std::wstring(name));
    return TRUE;
}

std::vector<LibraryImage> ResourceImages(const std::string& library, int index,
                                         std::uint64_t librarySize) {
    std::vector<LibraryImage> images;
    const platform::UniqueHmodule loaded(
        ::LoadLibraryExW(platform::WidePath(library).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HMODULE module = loaded.get();
    if (module == nullptr) {
        return images;
    }
    // The icons of a library are counted in the order its icon groups are listed.
    std::vector<std::wstring> names;
    ::EnumResourceNamesW(module, RT_GROUP_ICON, AddResourceName,
                         reinterpret_cast<LONG_PTR>(&names));
    // The readers take views: the copies are kept here until the images are made.
    std::deque<std::string> kept;
    auto bytes = [module, &kept](LPCWSTR name, LPCWSTR type) -> std::string_view {
        return kept.emplace_back(platform::ResourceBytes(module, name, type));
    };
    if (index >= 0 && index < static_cast<int>(names.size())) {
        images = GroupIconImages(
            bytes(names[static_cast<std::size_t>(index)].c_str(), RT_GROUP_ICON),
            [&](std::uint16_t id) { return bytes(MAKEINTRESOURCEW(id), RT_ICON); },
            static_cast<std::size_t>(std::min<std::uint64_t>(librarySize, SIZE_MAX)));
    }
    return images;
}

// The first bytes of a file, enough to tell an icon file from a program, and the file's size.
struct FileHead {
    std::string Bytes;
    std::uint64_t Size = 0;
};

FileHead HeadOf(const std::string& path) {
    FileHead head;
    platform::UniqueHfile file(::CreateFileW(platform::WidePath(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        return head;
    }
    char bytes[4] = {};
    DWORD read = 0;
    if (::ReadFile(file.get(), bytes, sizeof bytes, &read, nullptr)) {
        head.Bytes.assign(bytes, read);
        head.Size = static_cast<std::uint64_t>(size.QuadPart);
    }
    return head;
}

// An icon file larger than this is none a user picks for a menu: it is not read whole.
constexpr std::uint64_t kLargestIconFile = 64u << 20;

// An icon handle's image at its own size, with its alpha; for libraries whose icons cannot be
// read as they are kept.
IconImage ImageOfIcon(HICON icon, int size) {
    IconImage image{size, std::vector<std::uint32_t>(static_cast<std::size_t>(size * size))};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    platform::UniqueHbitmap target(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!target || bits == nullptr || !dc) {
        return image;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    // Drawn on black and on white: where the two agree the icon is opaque, and the difference
    // elsewhere is how much of the background shows through.
    std::vector<std::uint32_t> onBlack;
    for (COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
        platform::SelectGuard select(dc.get(), target.get());
        const platform::UniqueHbrush brush(::CreateSolidBrush(background));
        RECT all{0, 0, size, size};
        ::FillRect(dc.get(), &all, brush.get());
        ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        if (onBlack.empty()) {
            onBlack.assign(pixels, pixels + image.Pixels.size());
            continue;
        }
        for (std::size_t k = 0; k < image.Pixels.size(); ++k) {
            const std::uint32_t black = onBlack[k];
            const std::uint32_t white = pixels[k];
            const int alpha = 255 - std::clamp(static_cast<int>((white >> 8) & 0xFF) -
                                                   static_cast<int>((black >> 8) & 0xFF),
                                               0, 255);
            auto channel = [&](int shift) {
                const int value = static_cast<int>((black >> shift) & 0xFF);
                return static_cast<std::uint32_t>(alpha > 0 ? std::min(255, value * 255 / alpha)
                                                            : 0);
            };
            image.Pixels[k] = static_cast<std::uint32_t>(alpha) << 24 | channel(16) << 16 |
                              channel(8) << 8 | channel(0);
        }
    }
    return image;
}

}  // namespace

std::string AppearancePage::ChosenPicture() const {
    const std::string& library = m_menuIcon->Library();
    const int index = m_menuIcon->Position();
    const platform::WicPngEncoder png;
    // An icon file is its own library; a program or a DLL keeps its icons as resources. Only
    // the head tells which: a library may be a file of gigabytes.
    const FileHead head = HeadOf(library);
    std::string ico;
    if (head.Bytes == std::string_view("\0\0\1\0", 4) && head.Size <= kLargestIconFile &&
        platform::Win32FileSystem().ReadFile(library, ico) == menufile::FileError::None) {
        std::string picture = IconFileOfLibraryImages(IconFileImages(ico), png);
        if (!IconFileImages(picture).empty()) {
            return picture;
        }
    }
    if (std::string picture =
            IconFileOfLibraryImages(ResourceImages(library, index, head.Size), png);
        !IconFileImages(picture).empty()) {
        return picture;
    }
    std::vector<IconImage> images;
    for (int size : {16, 32}) {
        HICON large = nullptr;
        HICON small = nullptr;
        if (platform::ExtractIconPair(library, index, large, small)) {
            platform::UniqueHicon keepLarge(large);
            platform::UniqueHicon keepSmall(small);
            images.push_back(ImageOfIcon(size == 16 ? small : large, size));
        }
    }
    return IconFileOf(images, png);
}

bool AppearancePage::Save(FailedEdit failed) {
    m_appearance.SmallIcons =
        ::SendMessageW(m_host.Control(kSmallIconsCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The menu keeps its picture byte for byte unless an icon was chosen for it here.
    // As an icon file of every size the library has, which the shell shows as the menu
    // file's own icon.
    std::string picture;
    if (m_menuIcon->ShowsLibraryIcon()) {
        picture = ChosenPicture();
    }
    const EditResult result = m_editor.SaveAppearance(
        m_menuIcon->ShowsLibraryIcon() ? &picture : nullptr, SettingsOf(m_appearance));
    if (!m_host.ShowEditResult(result, failed)) {
        return false;
    }
    m_settled = Shown();
    // The menu's shortcuts and their pins show the menu file's own icon, which the shell
    // keeps until it is told.
    platform::NotifyMenuIconChanged(m_editor.Path());
    ShowMessageBox(m_host.Window(), kRefreshDesktopMessage, kMainTitle, MB_OK);
    return true;
}

}  // namespace editor
