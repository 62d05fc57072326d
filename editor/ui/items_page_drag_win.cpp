// The item list page's rows dragged and let go between two others, an inverted line marking
// the gap.
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "editor/ui/items_page_win.h"

namespace editor {

int ItemsPage::GapAt(POINT pt) const {
    const LRESULT count = ::SendMessageW(List(), LB_GETCOUNT, 0, 0);
    if (count <= 0) {
        return 0;
    }
    const LRESULT hit = ::SendMessageW(List(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    const int row = LOWORD(hit);  // the nearest row, also when the point is outside
    RECT r{};
    ::SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return pt.y >= (r.top + r.bottom) / 2 ? row + 1 : row;
}

void ItemsPage::InvertMark(int y) const {
    if (y < 0) {
        return;
    }
    RECT client{};
    ::GetClientRect(List(), &client);
    HDC dc = ::GetDC(List());
    // Inverted, so that drawing it again takes it away whatever the rows' colours.
    ::PatBlt(dc, 0, std::max(0, y - 1), client.right, 2, DSTINVERT);
    ::ReleaseDC(List(), dc);
}

void ItemsPage::EndDrag() {
    if (m_dragging) {
        InvertMark(m_markY);
    }
    m_dragFrom = -1;
    m_dragging = false;
    m_gap = -1;
    m_markY = -1;
}

bool ItemsPage::OnListMouse(const MSG& msg) {
    const POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    switch (msg.message) {
        case WM_LBUTTONDOWN: {
            EndDrag();
            const LRESULT hit = ::SendMessageW(List(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
            if (HIWORD(hit) == 0) {
                m_dragFrom = LOWORD(hit);
                m_dragStart = pt;
            }
            return false;  // the list selects the row
        }
        case WM_MOUSEMOVE: {
            if (m_dragFrom < 0 || (msg.wParam & MK_LBUTTON) == 0) {
                EndDrag();
                return false;
            }
            if (!m_dragging && std::abs(pt.x - m_dragStart.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
                std::abs(pt.y - m_dragStart.y) <= ::GetSystemMetrics(SM_CYDRAG)) {
                return false;
            }
            m_dragging = true;
            const int gap = GapAt(pt);
            if (gap != m_gap) {
                InvertMark(m_markY);
                RECT r{};
                const LRESULT count = ::SendMessageW(List(), LB_GETCOUNT, 0, 0);
                const bool after = gap >= count;
                ::SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(after ? gap - 1 : gap),
                               reinterpret_cast<LPARAM>(&r));
                m_gap = gap;
                m_markY = after ? r.bottom : r.top;
                InvertMark(m_markY);
            }
            return true;
        }
        case WM_LBUTTONUP: {
            if (m_dragging) {
                ::PostMessageW(m_host.Window(), kRowDroppedMessage, static_cast<WPARAM>(m_dragFrom),
                               static_cast<LPARAM>(m_gap));
            }
            EndDrag();
            return false;  // the list lets the mouse go
        }
        default:
            return false;
    }
}

void ItemsPage::OnRowDropped(int from, int gap) {
    ClearPreview();
    const EditResult result = m_editor.MoveItem(from, gap);
    if (result.Status == EditStatus::Unchanged) {
        Select(from);  // let go where it was
        return;
    }
    ShowListResult(result, FailedEdit::Reload);
}

}  // namespace editor
