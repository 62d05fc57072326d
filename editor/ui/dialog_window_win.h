// What the editor's windows share: message boxes and the Open dialog; and for the wizard and
// the icon chooser, controls made from a layout table, the dialog font, acting modally over
// the main window.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "editor/ui/form_window_win.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/menu_commit.h"

namespace editor {

// Characters of the longest path the wide file functions take.
inline constexpr DWORD kLongestPath = 32768;

// A message box over `owner`; its answer (IDYES, IDOK...).
int ShowMessageBox(HWND owner, const std::string& text, const char* title, UINT type);

// The Open dialog with `filter` as "Name|pattern|Name|pattern", starting at `initial`, with
// room for the longest path; a name typed without an extension gets `defaultExtension`. It shows
// `initialFolder` when `initial` names none (empty: the system's choice). The path chosen;
// nothing when cancelled or failed (then platform::OpenDialogError tells which).
[[nodiscard]] std::optional<std::string> AskForFile(HWND owner, const char* title,
                                                    const char* filter, DWORD flags,
                                                    const std::string& initial = {},
                                                    const char* defaultExtension = nullptr,
                                                    const std::string& initialFolder = {});

class DialogWindow : public FormWindow {
public:
    // Shows the window centred on the owner's monitor with the owner disabled, and returns once
    // it has closed, with the owner enabled and brought to the front again.
    void RunModal(HWND owner, const char* className, const char* title, float widthTwips,
                  float heightTwips);

protected:
    // Creates every control of the table, shown, in the z-order Tab follows (call from
    // WM_CREATE).
    void CreateControls(std::span<const ControlLayout> controls);
    [[nodiscard]] std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    void Show(int id, bool shown);
    void Enable(int id, bool enabled);
    void SetDefaultButton(int id);
    void ShowError(const std::string& text);
    // "Error writing to file." and why.
    void ShowWriteError(menufile::MenuError error, const std::string& menuPath);
    // A push button that wraps its caption with narrow margins: the stock one clips a long
    // caption in a small button. Call from WM_DRAWITEM of a button made owner-drawn.
    static void DrawWrappedButton(const DRAWITEMSTRUCT& draw);
    // Ends the modal loop; the window is destroyed.
    void Close();

    // Unhandled messages of the derived window end here.
    LRESULT DialogHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // The first control in the tab order.
    [[nodiscard]] HWND FirstControl() const override;

private:
    int m_defaultButton = 0;
    bool m_done = false;
};

}  // namespace editor
