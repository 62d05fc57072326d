// The "Select Icon" window: picks an item's icon out of a library.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "editor/ui/dialog_window_win.h"
#include "editor/ui/icon_grid_win.h"
#include "menufile/menu_commit.h"
#include "platform/win32_handles_win.h"

namespace editor {

struct ChooserParams {
    std::string Library;  // the item's IconFile, or its Target when it has none
    int IconIndex = 0;    // the item's stored IconIndex
    std::string Target;
    std::string MenuPath;  // the menu file, for the messages
    // Stores the choice and takes the icon the chooser showed for it (empty when none).
    std::function<menufile::MenuError(const std::string& iconFile, int index,
                                      platform::UniqueHicon preview)>
        Save;
};

// Runs the chooser modally over `owner`; true when OK stored a choice.
bool RunIconChooser(HWND owner, const ChooserParams& params);

class IconChooserWindow : public DialogWindow {
public:
    explicit IconChooserWindow(const ChooserParams& params) : m_params(params) {}
    [[nodiscard]] bool Saved() const { return m_saved; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreate();
    void OnOk();
    // The icons again at the new scale.
    void OnDpiChanged() override;
    [[nodiscard]] int IconSize() const;

    const ChooserParams& m_params;
    std::unique_ptr<IconGrid> m_grid;
    bool m_saved = false;
};

}  // namespace editor
