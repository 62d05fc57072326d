// The editor's item list and menu type, kept in step with the menu file by every change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menufile/menu_file.h"
#include "platform/file_system.h"

namespace editor {

// What List1 shows for a separator: 87 hyphens.
inline const std::string kSeparatorText(87, '-');

// An icon owned by the list; opaque to the core (a HICON in the Windows build), 0 for none.
using IconHandle = std::uintptr_t;

// Where the list gets an item's own 32x32 icon, and how it gives one back.
class IconSource {
public:
    virtual ~IconSource() = default;
    // Icon number `index` of `file`; 0 when the file has no such icon.
    [[nodiscard]] virtual IconHandle Extract(const std::string& file, int index) = 0;
    virtual void Destroy(IconHandle icon) = 0;
};

// One entry of List1 and what the window needs to preview it.
struct ListEntry {
    std::string Text;     // the item's Name, or kSeparatorText
    IconHandle Icon = 0;  // the item's own icon (owned by the list), 0: the shell's icon
    std::string Target;   // what the shell is asked about when Icon is 0
};

// Why a menu file could not be shown.
enum class LoadStatus {
    Loaded,
    NoPath,      // no menu file was named
    NotFound,    // nothing at the path: a new menu can be made there
    Empty,       // a file of zero bytes
    OldLayout,   // no marker line, but an old-layout menu that can be upgraded
    NotAMenu,    // no marker line and not an old-layout menu either
    NoSettings,  // the type or the settings line is missing
    Damaged,     // a record is cut short or holds a value that cannot be written back
    Unreadable,  // locked, no permission, or another read error
};

enum class EditStatus {
    Unchanged,  // nothing to do (no selection, first or last entry): nothing was written
    Written,    // the file was rewritten and the list follows it
    Reloaded,   // the file no longer held what the list showed: the list was reloaded from it
                // and nothing was written
    Failed,     // the file could not be rewritten; it keeps its content and the list shows it
};

struct EditResult {
    EditStatus Status = EditStatus::Unchanged;
    menufile::MenuError Error = menufile::MenuError::None;  // why, when Failed
    int Selection = -1;  // the entry to select afterwards, -1 for none
};

// A file or folder dropped on the list, with the shell's display name for it.
struct DroppedFile {
    std::string Name;
    std::string Path;
};

struct DropResult {
    // Written when every path was written; else what stopped the drop at the first path left out
    EditStatus Status = EditStatus::Unchanged;
    int Added = 0;  // entries appended, one per path written, in drop order
    menufile::MenuError Error = menufile::MenuError::None;  // why the rest was not written
};

// The menu file's content on the editor's side. Every change reads the file, builds the new
// content with the menu file library, commits it (journaled), and then makes the list match the
// file; a failed commit leaves the file as it was and the list is reloaded from it.
class MenuEditor {
public:
    MenuEditor(platform::FileSystem& fs, IconSource& icons);
    ~MenuEditor();
    MenuEditor(const MenuEditor&) = delete;
    MenuEditor& operator=(const MenuEditor&) = delete;

    // Recovers an interrupted save, then reads the file into the list, the settings and the
    // pointer. On any status but Loaded the previous state is dropped and nothing is shown.
    [[nodiscard]] LoadStatus LoadEditorMenu(const std::string& path);
    // An old-layout file behind the stock picture, the marker and "USERDEF"; then loads it.
    [[nodiscard]] menufile::MenuError UpgradeOldMenu(std::string_view stockPicture);
    // A new, empty user-defined menu at the path, which must not exist yet; then loads it.
    [[nodiscard]] menufile::MenuError CreateNewMenu(const std::string& path,
                                                    std::string_view stockPicture);

    // List operations on the entry `selected` (-1: none).
    [[nodiscard]] EditResult Delete(int selected);
    [[nodiscard]] EditResult MoveUp(int selected);
    [[nodiscard]] EditResult MoveDown(int selected);
    // A separator above the selected entry.
    [[nodiscard]] EditResult Separator(int selected);
    // Appends one record per path, each committed on its own; stops at the first failure.
    [[nodiscard]] DropResult DropFiles(const std::vector<DroppedFile>& files);

    // The wizard's new item, appended; the selection stays where it is.
    [[nodiscard]] EditResult AddItem(const menufile::MenuItem& item, int selection);
    // The wizard's edit of the entry `index`: its record replaced (its icon file and index as
    // the wizard hands them over), its row shown anew.
    [[nodiscard]] EditResult EditItem(int index, const menufile::MenuItem& item, int selection);
    // The chooser's icon for the entry `index`. On success the row takes `preview` (0: the
    // shell's icon is shown); otherwise the caller keeps it.
    [[nodiscard]] EditResult SetItemIcon(int index, const std::string& iconFile, int iconIndex,
                                         IconHandle preview);
    // A new picture before the marker and new settings; the records stay.
    [[nodiscard]] EditResult SaveAppearance(std::string_view picture,
                                            const menufile::MenuSettings& settings);
    // The record behind the entry `index`, as last read from or written to the file.
    [[nodiscard]] const menufile::MenuItem* Record(int index) const;

    // Menu type and the directory pointer. The conversions drop the old items or pointer.
    [[nodiscard]] EditResult ChangeToDirectoryPointer();
    [[nodiscard]] EditResult ChangeToUserDefined();
    [[nodiscard]] EditResult SaveDirectoryPointer(const std::string& folder,
                                                  const std::string& pattern, int showFolders,
                                                  int hideExtensions, int showHidden);

    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] bool IsLoaded() const { return m_loaded; }
    [[nodiscard]] const std::vector<ListEntry>& Entries() const { return m_entries; }
    [[nodiscard]] bool IsDirectoryPointer() const { return m_isPointer; }
    [[nodiscard]] const menufile::MenuSettings& Settings() const { return m_settings; }
    // The pointer as the file holds it (the default one right after a conversion).
    [[nodiscard]] const menufile::DirectoryPointer& Pointer() const { return m_pointer; }

private:
    template <class Change, class Builder>
    EditResult ChangeItems(int selection, Change&& change, Builder&& build);
    template <class Builder>
    EditResult Rewrite(int selection, Builder&& build);
    // Reads the committed content again; keeps entries whose records did not change.
    void Reload();
    void Adopt(const menufile::MenuFile& file);
    void Clear();
    [[nodiscard]] ListEntry MakeEntry(const menufile::MenuItem& item);
    void DestroyIcons(std::vector<ListEntry>& entries);

    platform::FileSystem& m_fs;
    IconSource& m_icons;
    std::string m_path;
    bool m_loaded = false;
    bool m_isPointer = false;
    menufile::MenuSettings m_settings;
    menufile::DirectoryPointer m_pointer;
    std::vector<ListEntry> m_entries;
    std::vector<menufile::MenuItem> m_records;  // the file's records, one per entry
};

// The content of a new, empty user-defined menu: the stock picture, the marker, "USERDEF" and
// the settings 0,"MS Sans Serif",8.25,0,0.
[[nodiscard]] std::string NewMenuContent(std::string_view stockPicture);

}  // namespace editor
