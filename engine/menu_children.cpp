// Children in menu order: a cell's number is its index plus the separators above it, so the
// mapping needs only the two sorted lists the layout already keeps.
#include "engine/menu_children.h"

#include <algorithm>

namespace engine {
namespace {

// How many separators lie above `top` in the list.
long SeparatorsAbove(const MenuModel& model, float top) {
    const auto& s = model.Separators();
    return static_cast<long>(
        std::lower_bound(s.begin(), s.end(), top,
                         [](const Separator& sep, float v) { return sep.Top < v; }) -
        s.begin());
}

// The 0-based place of cell i among all children.
long CellPlace(const MenuModel& model, long i) {
    return i + SeparatorsAbove(model, model.Cells()[static_cast<std::size_t>(i)].Top);
}

}  // namespace

long ChildCount(const MenuModel& model) {
    return static_cast<long>(model.Cells().size() + model.Separators().size());
}

std::optional<MenuChild> ChildAt(const MenuModel& model, long id) {
    if (id < 1 || id > ChildCount(model)) {
        return std::nullopt;
    }
    const long place = id - 1;
    // The first cell at or past `place`; the cells before it are all above the child.
    long lo = 0;
    long hi = static_cast<long>(model.Cells().size());
    while (lo < hi) {
        const long mid = lo + (hi - lo) / 2;
        if (CellPlace(model, mid) < place) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo < static_cast<long>(model.Cells().size()) && CellPlace(model, lo) == place) {
        return MenuChild{MenuChild::Kind::Cell, static_cast<int>(lo)};
    }
    return MenuChild{MenuChild::Kind::Separator, static_cast<int>(place - lo)};
}

long ChildIdOf(const MenuModel& model, const MenuChild& child) {
    if (child.index < 0) {
        return 0;
    }
    const auto i = static_cast<std::size_t>(child.index);
    if (child.kind == MenuChild::Kind::Cell) {
        if (i >= model.Cells().size()) {
            return 0;
        }
        return CellPlace(model, child.index) + 1;
    }
    if (i >= model.Separators().size()) {
        return 0;
    }
    const float top = model.Separators()[i].Top;
    const auto& c = model.Cells();
    const long cellsAbove =
        static_cast<long>(std::lower_bound(c.begin(), c.end(), top,
                                           [](const Cell& cell, float v) { return cell.Top < v; }) -
                          c.begin());
    return child.index + cellsAbove + 1;
}

std::optional<MenuChild> ChildOfElement(const Element& e) {
    switch (e.kind) {
        case Element::Kind::Cell:
        case Element::Kind::CellIcon:
            return MenuChild{MenuChild::Kind::Cell, e.index};
        case Element::Kind::Separator:
            return MenuChild{MenuChild::Kind::Separator, e.index};
        default:
            return std::nullopt;
    }
}

Rect ChildRect(const MenuModel& model, const MenuChild& child) {
    const auto i = static_cast<std::size_t>(child.index);
    if (child.kind == MenuChild::Kind::Cell) {
        const float top = model.ListTop() + model.Cells()[i].Top;
        return {0, top, model.CellWidth(), top + model.CellHeight()};
    }
    const float top = model.ListTop() + model.Separators()[i].Top;
    return {0, top, model.Width(), top + kSeparatorHeight};
}

bool ChildOffscreen(const MenuModel& model, const MenuChild& child, float clientHeight) {
    const Rect r = ChildRect(model, child);
    // The strips are painted over the list's ends.
    const float from = model.TopStripVisible() ? kStripHeight : 0;
    const float to = model.BottomStripVisible()
                         ? std::min(clientHeight, model.Height() - kStripHeight - kStripGap)
                         : clientHeight;
    return r.Bottom <= from || r.Top >= to;
}

}  // namespace engine
