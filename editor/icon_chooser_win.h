// The "Select Icon" window: picks an item's icon out of a library.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "editor/dialog_window_win.h"
#include "editor/icon_browser_win.h"
#include "menufile/menu_commit.h"

namespace editor {

struct ChooserParams {
    std::string Library;   // the item's IconFile, or its Target when it has none
    int IconIndex = 0;     // the item's stored IconIndex
    std::string Target;
    // Stores the choice; on success it takes the preview icon (null when there is none).
    std::function<menufile::MenuError(const std::string& iconFile, int index, HICON preview)> Save;
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

    const ChooserParams& m_params;
    std::unique_ptr<IconBrowser> m_browser;
    bool m_saved = false;
};

}  // namespace editor
