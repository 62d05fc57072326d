// The directory-pointer page of the "Contents" tab: drive and folder lists, the path and
// pattern boxes, the three options and their save.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "editor/model/folder_list.h"
#include "editor/model/menu_editor.h"
#include "editor/model/unsaved_pages.h"
#include "editor/ui/page_host_win.h"
#include "platform/subclass_win.h"

namespace editor {

class PointerPage {
public:
    PointerPage(PageHost& host, MenuEditor& editor) : m_host(host), m_editor(editor) {}

    // Once the controls exist.
    void OnCreate(HFONT font);
    // The main window's font after a change of scale.
    void SetFont(HFONT font) { m_font = font; }
    // The drives, and the folder list at the current folder, the first time the page shows:
    // a menu of items never waits for the drives.
    void Prepare();
    bool OnCommand(int id, int code);
    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    // The pointer as the editor holds it.
    void Show();
    // What the page shows now counts as saved: the menu just became a pointer, and the page
    // keeps what it showed before.
    void Settle() { m_settled = Shown(); }
    // Whether the page shows a pointer that "Save Changes" has not written yet.
    [[nodiscard]] bool HasUnsavedChanges() const { return PointerUnsaved(Shown(), m_settled); }
    // What "Save Changes" does; true when written. A failed write is handled as `failed` says.
    bool Save(FailedEdit failed);

private:
    [[nodiscard]] PointerShown Shown() const;
    void OnDriveChanged();
    void OnFolderOpened();
    void OnPathChanged();
    void OnBrowse();
    void OnToUserList();

    void FillDrives();
    void SelectDrive(const std::string& drive);
    // The folder list at `folder`; `notify` runs its change, which the path box follows.
    void SetFolder(const std::string& folder, bool notify = true);
    [[nodiscard]] std::string TextOf(int id) const;
    void SetText(int id, const std::string& text);

    PageHost& m_host;
    MenuEditor& m_editor;
    HFONT m_font = nullptr;             // borrowed from the main window
    std::vector<std::string> m_drives;  // "C:" per entry of the drive list
    std::string m_folder;               // the folder list's folder
    std::vector<FolderRow> m_folderRows;
    platform::Subclass m_folderKeys;
    bool m_prepared = false;
    PointerShown m_settled;  // what the page showed when last filled or saved
};

}  // namespace editor
