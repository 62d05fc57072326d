// The menu's children as a screen reader counts them: cells and separators in menu order,
// numbered from 1, found by binary search so a menu of any length costs nothing up front.
#pragma once

#include <optional>

#include "engine/menu_model.h"

namespace engine {

struct MenuChild {
    enum class Kind { Cell, Separator };
    Kind kind = Kind::Cell;
    int index = 0;  // into Cells() or Separators()
    bool operator==(const MenuChild&) const = default;
};

// Cells and separators together.
[[nodiscard]] long ChildCount(const MenuModel& model);
// The child numbered `id` (1 to ChildCount); nullopt outside that range.
[[nodiscard]] std::optional<MenuChild> ChildAt(const MenuModel& model, long id);
// The number of a cell or separator; 0 for an index out of range.
[[nodiscard]] long ChildIdOf(const MenuModel& model, const MenuChild& child);
// The child under an element of HitTest, nullopt for anything that is not a cell, its icon or
// a separator.
[[nodiscard]] std::optional<MenuChild> ChildOfElement(const Element& e);

// The child's rectangle in client twips, as painted: a cell as wide as the cells, a separator
// as wide as the window.
[[nodiscard]] Rect ChildRect(const MenuModel& model, const MenuChild& child);
// Whether none of the child shows in the client rows [0, clientHeight) outside the strips.
[[nodiscard]] bool ChildOffscreen(const MenuModel& model, const MenuChild& child,
                                  float clientHeight);

}  // namespace engine
