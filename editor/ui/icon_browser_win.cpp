// Browsing the icons of a library.
#include "editor/ui/icon_browser_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "editor/model/editor_messages.h"
#include "editor/model/icon_library.h"
#include "editor/ui/dialog_window_win.h"
#include "platform/shell_win.h"
#include "platform/window_base_win.h"

namespace editor {

IconBrowser::IconBrowser(HWND countLabel, HWND scrollBar, HWND preview)
    : m_label(countLabel), m_scroll(scrollBar), m_preview(preview) {
    // The preview covers the thumb, where a scroll bar shows its focus.
    m_focusWatch = platform::Subclass(scrollBar, [preview](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            ::InvalidateRect(preview, nullptr, TRUE);
        }
        return false;
    });
}

int IconBrowser::Position() const {
    return ::GetScrollPos(m_scroll, SB_CTL);
}

void IconBrowser::Activate(const std::string& library, int position) {
    m_library = library;
    if (!library.empty() && platform::CountIcons(library) > 0) {
        (void)Open(library, position);
    }
}

int IconBrowser::Open(const std::string& library, int position) {
    m_library = library;
    const int count = platform::CountIcons(library);
    platform::SetWindowTextUtf8(m_label, IconCountText(count));
    ::SetScrollRange(m_scroll, SB_CTL, 0, ScrollMaximum(count), FALSE);
    ::EnableWindow(m_scroll, TRUE);
    const int start = StartPosition(position, count);
    ::SetScrollPos(m_scroll, SB_CTL, start, TRUE);
    ShowAt(start);
    return count;
}

bool IconBrowser::ChooseLibrary(HWND owner) {
    const std::optional<std::string> file = AskForFile(owner, kLibraryDialogTitle, kLibraryFilter,
                                                       OFN_EXPLORER | OFN_HIDEREADONLY, m_library);
    if (!file) {
        return false;  // cancelled or failed: nothing changes
    }
    m_icon.reset();
    m_library = *file;
    if (platform::CountIcons(m_library) == 0) {
        ShowMessageBox(owner, kNoIconsMessage, kErrorTitle, MB_OK);
    }
    (void)Open(m_library, 0);
    return true;
}

bool IconBrowser::OnScroll(int code) {
    int low = 0;
    int high = 0;
    ::GetScrollRange(m_scroll, SB_CTL, &low, &high);
    int pos = Position();
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            --pos;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            ++pos;
            break;
        case SB_LEFT:
            pos = low;
            break;
        case SB_RIGHT:
            pos = high;
            break;
        default:
            return false;
    }
    pos = std::clamp(pos, low, high);
    if (pos == Position()) {
        return false;
    }
    ::SetScrollPos(m_scroll, SB_CTL, pos, TRUE);
    ShowAt(pos);
    return true;
}

void IconBrowser::ShowAt(int position) {
    m_icon.reset(platform::ExtractOneIcon(m_library, position));
    ::InvalidateRect(m_preview, nullptr, TRUE);
}

void IconBrowser::SetBackground(int systemColour) {
    m_background = systemColour;
    ::InvalidateRect(m_preview, nullptr, TRUE);
}

void IconBrowser::ShowCurrent(platform::UniqueHicon icon, platform::UniqueHbitmap bitmap) {
    m_currentIcon = std::move(icon);
    m_currentBitmap = std::move(bitmap);
    ::InvalidateRect(m_preview, nullptr, TRUE);
}

void IconBrowser::Draw(const DRAWITEMSTRUCT& draw) const {
    ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(m_background));
    if (HICON icon = m_icon ? m_icon.get() : m_currentIcon.get()) {
        ::DrawIcon(draw.hDC, draw.rcItem.left, draw.rcItem.top, icon);
    } else if (m_currentBitmap) {
        platform::UniqueMemoryDc source(::CreateCompatibleDC(draw.hDC));
        platform::SelectGuard select(source.get(), m_currentBitmap.get());
        ::BitBlt(draw.hDC, draw.rcItem.left, draw.rcItem.top, draw.rcItem.right - draw.rcItem.left,
                 draw.rcItem.bottom - draw.rcItem.top, source.get(), 0, 0, SRCCOPY);
    }
    if (::GetFocus() == m_scroll) {
        ::DrawFocusRect(draw.hDC, &draw.rcItem);
    }
}

}  // namespace editor
