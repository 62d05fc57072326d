// The pop-up menu window: paints the menu model and turns messages into its events.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "engine/menu_model.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace engine {

class PopupWindow : public platform::WindowBase {
public:
    // Takes the laid-out model; `font` stays owned by the caller and must outlive the window.
    PopupWindow(MenuModel& model, HFONT font);
    ~PopupWindow() override;

    // Creates and shows the window top-most; false when it could not be created.
    [[nodiscard]] bool Show(HINSTANCE instance);

private:
    // An item's icon, looked up the first time its cell is painted and kept until the end.
    struct CellIcon {
        bool resolved = false;
        platform::UniqueHicon icon;      // extracted from a file
        HIMAGELIST imageList = nullptr;  // borrowed: the system image list
        int imageIndex = 0;
    };
    struct ViewState {
        int current;
        float listTop;
        bool topStrip, bottomStrip, highlighted, iconHighlighted;
        bool operator==(const ViewState&) const = default;
    };

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    void OnMouseMove(int x, int y);
    void OnButtonDown(int x, int y);
    void OnButtonUp(int button, int x, int y);
    void OnKeyDown(int key);
    void OnKeyUp(int key);
    void OnTimer(UINT_PTR id);
    void OnFinishShowing();

    void Act(Action action);
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
    HWND m_tooltip = nullptr;
    int m_tooltipCell = -2;
    std::vector<CellIcon> m_icons;
    Element m_captured{};
    bool m_capturing = false;
    bool m_showIcons = false;
    bool m_finishPosted = false;
};

}  // namespace engine
