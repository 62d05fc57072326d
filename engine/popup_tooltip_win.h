// The pop-up's tooltip: one tool over the whole window whose text follows the cell pointed at.
#pragma once

#include <windows.h>

#include <string>

namespace engine {

class PopupTooltip {
public:
    // Creates the tooltip over `owner`'s client area; destroyed with its owner.
    void Create(HWND owner);
    // The pointer is over `cell` (-1: none) whose tip is `text`; nothing when it was already.
    void PointAt(int cell, const std::string& text);
    [[nodiscard]] int Cell() const { return m_cell; }
    // Takes the tip off the screen (it comes again when the pointer moves to another cell).
    void Pop();
    // Hides the tooltip for good: the menu is leaving the screen.
    void Hide();

private:
    HWND m_tooltip = nullptr;  // owned by the pop-up
    HWND m_owner = nullptr;
    int m_cell = -2;  // no cell seen yet
};

}  // namespace engine
