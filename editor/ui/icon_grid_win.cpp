// A library's icons as a grid.
#include "editor/ui/icon_grid_win.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "editor/model/editor_messages.h"
#include "editor/model/icon_library.h"
#include "editor/ui/dialog_window_win.h"
#include "platform/shell_win.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace editor {
namespace {

constexpr int kNotTaken = -3;  // neither an image nor I_IMAGENONE (-2) nor I_IMAGECALLBACK (-1)

}  // namespace

void IconGrid::Activate(const std::string& library, int position, int size) {
    m_library = library;
    m_size = size;
    if (!library.empty() && platform::CountIcons(library) > 0) {
        (void)Open(library, position, size);
    }
}

int IconGrid::Open(const std::string& library, int position, int size) {
    m_library = library;
    m_size = size;
    m_count = platform::CountIcons(library);
    platform::SetWindowTextUtf8(m_label, IconCountText(m_count));
    m_position = StartPosition(position, m_count);
    Fill();
    return m_count;
}

void IconGrid::Resize(int size) {
    if (size == m_size) {
        return;
    }
    m_size = size;
    if (m_count > 0) {
        Fill();
    }
}

void IconGrid::Fill() {
    ::SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    // The list view owns the image list it shows; the one it showed before is ours to destroy.
    m_images = ::ImageList_Create(m_size, m_size, ILC_COLOR32 | ILC_MASK, m_count, 0);
    if (HIMAGELIST old = reinterpret_cast<HIMAGELIST>(::SendMessageW(
            m_list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images)))) {
        ::ImageList_Destroy(old);
    }
    // Room around each icon for the choice to show, and none for a label.
    const int spacing = m_size + std::max(8, m_size / 2);
    ::SendMessageW(m_list, LVM_SETICONSPACING, 0, MAKELPARAM(spacing, spacing));
    ::SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_count), 0);
    // Every icon has its place at once; its image is taken when the grid first shows it, so a
    // library of hundreds opens as fast as the rows in sight are drawn.
    m_imageOf.assign(static_cast<std::size_t>(m_count), kNotTaken);
    for (int i = 0; i < m_count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.iImage = I_IMAGECALLBACK;
        item.lParam = i;
        ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    if (m_count > 0) {
        Choose(m_position);
    }
    ::InvalidateRect(m_list, nullptr, TRUE);
}

int IconGrid::ImageOf(int index) {
    if (index < 0 || index >= static_cast<int>(m_imageOf.size())) {
        return I_IMAGENONE;
    }
    int& image = m_imageOf[static_cast<std::size_t>(index)];
    if (image == kNotTaken) {
        // The image list keeps a copy: the icon itself is destroyed at once.
        platform::UniqueHicon icon(platform::ExtractIconAtSize(m_library, index, m_size));
        const int added = icon ? ::ImageList_ReplaceIcon(m_images, -1, icon.get()) : -1;
        image = added >= 0 ? added : I_IMAGENONE;  // a missing one leaves its place blank
    }
    return image;
}

void IconGrid::Choose(int position) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(position),
                   reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(position), FALSE);
    m_position = position;
}

bool IconGrid::ChooseLibrary(HWND owner) {
    const std::optional<std::string> file = AskForFile(owner, kLibraryDialogTitle, kLibraryFilter,
                                                       OFN_EXPLORER | OFN_HIDEREADONLY, m_library);
    if (!file) {
        return false;  // cancelled or failed: nothing changes
    }
    if (platform::CountIcons(*file) == 0) {
        ShowMessageBox(owner, kNoIconsMessage, kErrorTitle, MB_OK);
    }
    (void)Open(*file, 0, m_size);
    return true;
}

LRESULT IconGrid::OnNotify(NMHDR& header, bool& activated) {
    activated = false;
    if (header.hwndFrom != m_list) {
        return 0;
    }
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if (item.mask & LVIF_IMAGE) {
                item.iImage = ImageOf(item.iItem);
            }
            return 0;
        }
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        case LVN_ITEMCHANGED: {
            // A click on the space between icons takes the choice away: the last one stays.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
                (change.uNewState & LVIS_SELECTED)) {
                m_position = change.iItem;
            }
            return 0;
        }
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) {
                m_position = activate.iItem;
                activated = true;
            }
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT IconGrid::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !(draw.nmcd.uItemState & CDIS_SELECTED)) {
        return CDRF_DODEFAULT;
    }
    // The chosen icon stands on the highlight colour, drawn as it is: the stock selection
    // blends the image with it, which leaves an icon with an alpha channel looking unchosen.
    RECT box{};
    box.left = LVIR_ICON;
    if (::SendMessageW(m_list, LVM_GETITEMRECT, draw.nmcd.dwItemSpec,
                       reinterpret_cast<LPARAM>(&box)) != 0) {
        const int centreX = (box.left + box.right) / 2;
        const int centreY = (box.top + box.bottom) / 2;
        const int half = m_size / 2 + std::max(2, m_size / 8);
        RECT mark{centreX - half, centreY - half, centreX + half, centreY + half};
        ::FillRect(draw.nmcd.hdc, &mark, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        if ((draw.nmcd.uItemState & CDIS_FOCUS) && ::GetFocus() == m_list) {
            ::DrawFocusRect(draw.nmcd.hdc, &mark);
        }
    }
    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    return CDRF_DODEFAULT;
}

}  // namespace editor
