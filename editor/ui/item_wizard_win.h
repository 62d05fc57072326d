// The "New Shortcut" wizard window: adds an item, or edits one, through two pages.
#pragma once

#include <windows.h>

#include <functional>

#include "editor/model/item_wizard.h"
#include "editor/ui/dialog_window_win.h"
#include "menufile/menu_commit.h"

namespace editor {

struct WizardParams {
    bool Edit = false;
    menufile::MenuItem Item;  // the record being edited; ignored for a new item
    std::string MenuPath;     // the menu file, for the messages
    // Writes the finished record (appended, or in place of the edited one).
    std::function<menufile::MenuError(const menufile::MenuItem& record)> Save;
    // Writes the menu file again, as the editor's list shows it, after it went away.
    std::function<menufile::MenuError()> WriteMissingMenu;
};

// Runs the wizard modally over `owner`; true when Finish wrote the record.
bool RunItemWizard(HWND owner, const WizardParams& params);

class ItemWizardWindow : public DialogWindow {
public:
    explicit ItemWizardWindow(const WizardParams& params);
    [[nodiscard]] bool Saved() const { return m_saved; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreate();
    void OnCommand(int id, int code);
    void OnNext();
    void OnBack();
    void OnBrowse();
    void OnFinish();
    void OnDrawPicture(const DRAWITEMSTRUCT& draw);
    void ShowPage();
    void ReadBoxes();
    // The instruction's place depends on the page shown.
    void OnDpiChanged() override { ShowPage(); }

    const WizardParams& m_params;
    ItemWizard m_wizard;
    bool m_saved = false;
    bool m_filling = false;
};

}  // namespace editor
