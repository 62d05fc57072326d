// The pop-up menu window: paints the menu model and turns messages into its events.
// Defined in popup_window_win.cpp (messages, events) and popup_paint_win.cpp (painting).
#pragma once

#include <windows.h>

#include <bitset>
#include <string>

#include "engine/icon_drawing_win.h"
#include "engine/menu_model.h"
#include "engine/menu_palette.h"
#include "engine/popup_accessible_win.h"
#include "engine/popup_tooltip_win.h"
#include "engine/row_icon_cache.h"
#include "platform/shell_menu_win.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace engine {

class PopupWindow : public platform::WindowBase {
public:
    // Takes the laid-out model; `font` stays owned by the caller and must outlive the window.
    // `title` (UTF-8) is the window's text: the window shows no caption, screen readers read it.
    // A menu `fromInternet` takes no icon from another machine.
    PopupWindow(MenuModel& model, HFONT font, std::string title = {}, bool fromInternet = false);
    ~PopupWindow() override;

    // Creates and shows the window top-most; false when it could not be created.
    [[nodiscard]] bool Show(HINSTANCE instance);

private:
    // Set off by the first paint: the icons and the tooltip come once that paint is on the
    // screen, so the menu appears without waiting for the shell.
    static constexpr UINT_PTR kFinishTimer = 3;

    struct ViewState {
        int current;
        float listTop;
        bool topStrip, bottomStrip, highlighted, iconHighlighted;
        bool operator==(const ViewState&) const = default;
    };

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    void OnNcPaint();  // the frame in the palette's colours, where the palette has a border
    void OnMouseMove(int x, int y);
    void OnButtonDown(int x, int y);
    void OnButtonUp(int button, int x, int y, Modifiers modifiers);
    void OnKeyDown(int key);
    void OnKeyUp(int key);
    void OnCharacter(wchar_t unit);
    void OnWheel(int delta);
    void OnTimer(UINT_PTR id);
    void OnFinishShowing();
    void OnAccessibleLaunch(int cell);

    void Act(Action action);
    void Launch(bool elevated);
    // False when the menu goes on: the context menu was dismissed, or the item has none.
    bool ShowContextMenu();
    void StopTimers();  // the menu neither scrolls nor ends by itself from then on
    void Refresh(const ViewState& before);
    [[nodiscard]] ViewState Snapshot() const;
    [[nodiscard]] Element HitAtClient(int x, int y) const;
    void ToPointer(const Element& target, int x, int y, float& localX, float& localY) const;
    void UpdateTooltip(const Element& hovered);
    void DrawCell(HDC dc, std::size_t i, int top);
    void DrawStrip(HDC dc, int top, bool pointingUp);
    [[nodiscard]] int Px(float twips) const;

    MenuModel& m_model;
    HFONT m_font;
    const MenuPalette& m_palette;
    PopupTooltip m_tooltip;
    RowIconCache<CellIcon> m_icons;
    CellIconSource m_iconSource;
    Element m_captured{};
    bool m_capturing = false;
    bool m_showIcons = false;
    bool m_finishPosted = false;
    wchar_t m_highSurrogate = 0;  // the first half of a typed character, until its second
    int m_wheelDelta = 0;         // wheel turns short of a notch
    platform::ShellContextMenu m_contextMenu;
    std::bitset<256> m_keysDown;  // virtual keys pressed while the menu had the keyboard
    std::string m_title;
    PopupAccessibility m_accessibility;
};

}  // namespace engine
