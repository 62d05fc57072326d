// The pop-up menu window: paints the menu model and turns messages into its events.
// Defined in popup_window_win.cpp (messages, events) and popup_paint_win.cpp (painting).
#pragma once

#include <windows.h>

#include <bitset>
#include <string>

#include "engine/icon_drawing_win.h"
#include "engine/icon_loader_win.h"
#include "engine/menu_model.h"
#include "engine/menu_palette.h"
#include "engine/popup_accessible_win.h"
#include "engine/popup_tooltip_win.h"
#include "engine/row_icon_cache.h"
#include "platform/shell_menu_win.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace engine {

class PopupWindow;

// What a window of a cascade of menus asks of the cascade: the first menu's window gets the
// keys and the timer for all of them; every window tells where the pointer rests.
class CascadeHost {
public:
    virtual ~CascadeHost() = default;
    virtual void KeyDown(int key) = 0;
    virtual void KeyUp(int key) = 0;
    virtual void Character(wchar_t unit) = 0;
    virtual void Wheel(int delta) = 0;
    virtual void PointerOver(int level, int cell, POINT screen) = 0;
    virtual void Tick() = 0;
    // What the watch of `level` counts as under the pointer.
    [[nodiscard]] virtual Element WatchedUnder(int level, const Element& under) const = 0;
    // True for a window of the cascade, or one it opened (a context menu, a message).
    [[nodiscard]] virtual bool Owns(HWND window) const = 0;
    // A context menu or a message of some level is up: no window ends or scrolls meanwhile.
    [[nodiscard]] virtual bool Busy() const = 0;
    virtual void SetBusy(bool busy) = 0;
    // Every window hidden and still: the menu is done but a message or a window of the shell
    // is yet to close.
    virtual void Quiet() = 0;
    // The whole cascade ends.
    virtual void End() = 0;
};

class PopupWindow : public platform::WindowBase {
public:
    // Takes the laid-out model; `font` stays owned by the caller and must outlive the window.
    // `title` (UTF-8) is the window's text: the window shows no caption, screen readers read it.
    // A menu `fromInternet` takes no icon from another machine.
    PopupWindow(MenuModel& model, HFONT font, std::string title = {}, bool fromInternet = false);
    ~PopupWindow() override;

    // Makes the window level `level` of a cascade: level 0 gets the keys for every level.
    void JoinCascade(CascadeHost* host, int level) {
        m_host = host;
        m_level = level;
    }

    // Creates and shows the window top-most; false when it could not be created. A submenu
    // (level above 0) is owned by `owner` and never takes the activation from it.
    [[nodiscard]] bool Show(HINSTANCE instance, HWND owner = nullptr);

private:
    friend class PopupCascade;

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
    // The first screen's icons looked up on another thread from before the window exists.
    void StartIconLoader();
    void OnAccessibleLaunch(int cell);

    void Act(Action action);
    // The keys of this level, as the cascade hands them on.
    void ModelKeyDown(int key);
    void ModelKeyUp(int key);
    void ModelCharacter(wchar_t unit);
    void ModelWheel(int delta);
    // The highlight on cell `i`, scrolled into view; by the keys when `byKeys`.
    void SelectCell(int i, bool byKeys);
    void End();
    void Hide();
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
    void DrawArrow(HDC dc, int top, COLORREF colour);
    [[nodiscard]] int Px(float twips) const;

    MenuModel& m_model;
    HFONT m_font;
    const MenuPalette& m_palette;
    PopupTooltip m_tooltip;
    RowIconCache<CellIcon> m_icons;
    CellIconSource m_iconSource;
    IconLoader m_iconLoader;  // the first screen's icons, while the window is made
    bool m_iconLoaderDone = false;  // as the paint under way began
    bool m_fromInternet = false;
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
    CascadeHost* m_host = nullptr;
    int m_level = 0;
};

}  // namespace engine
