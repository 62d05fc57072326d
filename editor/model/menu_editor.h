// The editor's item list and menu type, kept in step with the menu file by every change.
//
// MenuEditor is written in two files: menu_editor_load.cpp reads the file in (LoadEditorMenu,
// UpgradeOldMenu, DropDamagedLine, CreateNewMenu, Reload, Adopt, Clear, NewMenuContent);
// menu_editor.cpp holds every change written to it (the list operations, the wizard's and the
// chooser's saves, the appearance, the menu type and the pointer, Rewrite and its checks) and
// what a row is read from (Record, PreviewIcon, RowOf).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/edit_history.h"
#include "editor/model/preview_icon_cache.h"
#include "menufile/file_system.h"
#include "menufile/menu_file.h"

namespace editor {

// What the item list shows for a separator: 87 hyphens.
inline const std::string kSeparatorText(87, '-');

// One row of the item list.
struct ListRow {
    std::string Text;    // the item's Name, or kSeparatorText
    std::string Target;  // what the shell is asked about when the item has no icon of its own

    bool operator==(const ListRow&) const = default;
};

// Why a menu file could not be shown.
enum class LoadStatus {
    Loaded,
    NoPath,        // no menu file was named
    NotFound,      // nothing at the path: a new menu can be made there
    Folder,        // the path names a folder
    TooLong,       // a path longer than Windows takes
    InUse,         // another program has the file locked
    NoPermission,  // not allowed to read it
    Empty,         // a file of zero bytes
    OldLayout,     // no marker line, but an old-layout menu that can be upgraded
    NotAMenu,      // no marker line and not an old-layout menu either
    NoSettings,    // the type or the settings line is missing
    Damaged,       // a record is cut short or holds a value that cannot be written back
    Unreadable,    // locked, no permission, or another read error
};

enum class EditStatus {
    Unchanged,  // nothing to do (no selection, first or last entry): nothing was written
    Written,    // the file was rewritten and the list follows it
    Reloaded,   // the file no longer held what the list showed: the list was reloaded from it
                // and nothing was written
    Failed,     // the file could not be rewritten; it keeps its content and the list shows it
};

// Which rows a change touched, so that the window redraws only those.
struct ListChange {
    enum class Kind {
        None,      // the rows are as they were
        Removed,   // row Index went
        Inserted,  // a row came in at Index
        Swapped,   // rows Index and Index + 1 changed places
        Moved,     // row Index went to row Count, the rows between closing up
        Replaced,  // row Index shows another text
        Appended,  // Count rows came at the end, from Index on
        Reloaded,  // anything may have changed: show every row again
    };
    Kind What = Kind::None;
    int Index = 0;
    int Count = 0;

    bool operator==(const ListChange&) const = default;
};

struct EditResult {
    EditStatus Status = EditStatus::Unchanged;
    menufile::MenuError Error = menufile::MenuError::None;  // why, when Failed
    int Selection = -1;  // the entry to select afterwards, -1 for none
    ListChange Change;
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
    ListChange Change;
};

// The menu file's content on the editor's side. Every change reads the file once under a
// handle that keeps other writers out, checks that the list still shows what the file holds,
// builds the new content from those same bytes and commits it (journaled) through that
// handle; then the list follows. A file that no longer holds what the list shows is not
// written: the list is reloaded from it. A failed commit leaves the file as it was and the
// list is reloaded from it.
class MenuEditor {
public:
    // Menu files that are not UTF-8 are in `codePage`; everything the editor holds is UTF-8.
    MenuEditor(menufile::FileSystem& fs, IconSource& icons, const menufile::CodePage& codePage);
    MenuEditor(const MenuEditor&) = delete;
    MenuEditor& operator=(const MenuEditor&) = delete;

    // Recovers an interrupted save, then reads the file into the list, the settings and the
    // pointer. On any status but Loaded the previous state is dropped and nothing is shown.
    // `progress` hears how far the reading of a long file has come.
    [[nodiscard]] LoadStatus LoadEditorMenu(const std::string& path,
                                            const menufile::ReadProgress* progress = nullptr);
    // The old-layout file that was loaded, behind the stock picture, the marker and "USERDEF";
    // then loads it. Changed when the file is no longer what was loaded.
    [[nodiscard]] menufile::MenuError UpgradeOldMenu(std::string_view stockPicture);
    // The line of the loaded file whose record is damaged (1-based; 0 when the damage is not
    // in one record, or there is none), after a load that said Damaged.
    [[nodiscard]] std::size_t DamagedLine() const { return m_damagedLine; }
    // The file that was loaded without that line; then loads it. Changed when the file is no
    // longer what was loaded.
    [[nodiscard]] menufile::MenuError DropDamagedLine();
    // A new, empty user-defined menu at the path, which must not exist yet; then loads it.
    [[nodiscard]] menufile::MenuError CreateNewMenu(const std::string& path,
                                                    std::string_view stockPicture);
    // The menu file went away under the editor: writes it again, as the list, the settings and
    // the picture last read or written show it, through the journaled commit (a crash leaves no
    // file, an empty one or the whole menu). Other when something is at the path again, which
    // is never touched. The history is kept: its steps start from these bytes.
    [[nodiscard]] menufile::MenuError WriteMissingMenu();

    // List operations on the entry `selected` (-1: none).
    [[nodiscard]] EditResult Delete(int selected);
    [[nodiscard]] EditResult MoveUp(int selected);
    [[nodiscard]] EditResult MoveDown(int selected);
    // The entry `from` dragged into the gap before entry `gap` (the number of entries: after
    // the last one); the selection follows it. Unchanged when it would stay where it is.
    [[nodiscard]] EditResult MoveItem(int from, int gap);
    // A separator above the selected entry.
    [[nodiscard]] EditResult Separator(int selected);
    // Appends one record per path, each committed on its own; stops at the first failure.
    [[nodiscard]] DropResult DropFiles(const std::vector<DroppedFile>& files);

    // The wizard's new item, appended; the selection stays where it is.
    [[nodiscard]] EditResult AddItem(const menufile::MenuItem& item, int selection);
    // The wizard's edit of the entry `index`: its record replaced (its icon file and index as
    // the wizard hands them over), its row shown anew.
    [[nodiscard]] EditResult EditItem(int index, const menufile::MenuItem& item, int selection);
    // The chooser's icon for the entry `index`. `preview` is the chosen icon as the chooser
    // showed it: the editor takes it whatever the outcome (0: none).
    [[nodiscard]] EditResult SetItemIcon(int index, const std::string& iconFile, int iconIndex,
                                         IconHandle preview);
    // New settings; the records stay. `picture` is a new picture before the marker; null
    // keeps the menu's picture byte for byte.
    [[nodiscard]] EditResult SaveAppearance(const std::string* picture,
                                            const menufile::MenuSettings& settings);
    // The record behind the entry `index`, as last read from or written to the file.
    [[nodiscard]] const menufile::MenuItem* Record(int index) const;
    // The entry's own icon for its preview (borrowed from the cache, see PreviewIconCache::Get), or
    // 0 when the shell's icon for its target is shown.
    [[nodiscard]] IconHandle PreviewIcon(int index);

    // Menu type and the directory pointer. The conversions drop the old items or pointer.
    [[nodiscard]] EditResult ChangeToDirectoryPointer();
    [[nodiscard]] EditResult ChangeToUserDefined();
    [[nodiscard]] EditResult SaveDirectoryPointer(const std::string& folder,
                                                  const std::string& pattern, int showFolders,
                                                  int hideExtensions, int showHidden);

    // Takes back the last change made here, or makes the last one taken back again: the bytes
    // from before (after) it are written only while the file still holds those the step left.
    // A file changed by another program since is not written: Reloaded, and the history
    // starts again. A write that fails (Failed, with why) keeps the history. The selection is
    // the row the step touched; the change is Reloaded (every page shows the file anew).
    [[nodiscard]] EditResult Undo();
    [[nodiscard]] EditResult Redo();
    [[nodiscard]] bool CanUndo() const { return m_history.CanUndo(); }
    [[nodiscard]] bool CanRedo() const { return m_history.CanRedo(); }
    // What an undo would take back (Delete "Notepad"); empty when there is nothing.
    [[nodiscard]] std::string UndoDescription() const;
    [[nodiscard]] std::string RedoDescription() const;
    [[nodiscard]] const EditHistory& History() const { return m_history; }

    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] bool IsLoaded() const { return m_loaded; }
    [[nodiscard]] const std::vector<ListRow>& Rows() const { return m_rows; }
    [[nodiscard]] bool IsDirectoryPointer() const { return m_isDirectoryPointer; }
    [[nodiscard]] const menufile::MenuSettings& Settings() const { return m_settings; }
    // The pointer as the file holds it (the default one right after a conversion).
    [[nodiscard]] const menufile::DirectoryPointer& DirectoryPointer() const {
        return m_directoryPointer;
    }
    // The picture at the head of the file, as last read or written.
    [[nodiscard]] const std::string& Picture() const { return m_picture; }
    // Where the last load kept the journal of an interrupted save, when the file had been
    // changed since (put back or edited); empty when there was none.
    [[nodiscard]] const std::string& SetAsideJournal() const { return m_setAside; }
    // Whether the last load found a journal of another user beside the menu: it was not acted
    // on, the file is shown as it is, and nothing can be saved until it is set aside.
    [[nodiscard]] bool HasUntrustedJournal() const { return m_untrustedJournal; }
    // Whether the file is marked as downloaded from the Internet: no icon is then taken from
    // another machine.
    [[nodiscard]] bool FromInternet() const { return m_fromInternet; }
    // Renames that journal to "<journal>.untrusted", given in `setAside`.
    [[nodiscard]] menufile::MenuError SetAsideUntrustedJournal(std::string* setAside = nullptr);

private:
    // Builds from the file's bytes and their header (ReadMenuHeader), which read as the list.
    using Build =
        std::function<menufile::Built(std::string_view old, const menufile::MenuFile& header)>;
    // The one way every change is written: built from the bytes read under the commit's
    // handle, and only when they still read as what the list shows. Every change written
    // becomes a step of the history, described as `description` says.
    EditResult Rewrite(int selection, ListChange change, std::string description,
                       const Build& build);
    // Writes `replacement` over the file while it holds `expected`: an undo or a redo.
    EditResult Restore(const std::string& expected, const std::string& replacement, int row,
                       bool undo);
    [[nodiscard]] bool Agrees(const menufile::MenuFile& file) const;
    // The file the list shows: `header` with the list's settings, records or pointer, their
    // text in `encoding`; empty when some of it does not fit.
    [[nodiscard]] std::optional<menufile::MenuFile> Known(const menufile::MenuFile& header,
                                                          menufile::TextEncoding encoding) const;
    // The list's records as `each` hands them, in the file's encoding, or in UTF-8 when one does
    // not fit it.
    template <class Each>
    menufile::Built Compose(std::string_view old, const menufile::MenuFile& header, Each&& each);
    EditResult Swap(int upper, int selection, const char* verb);
    EditResult Append(const menufile::MenuItem& item, int selection, const char* verb);
    EditResult ReplaceRecord(int index, const menufile::MenuItem& item, int selection,
                             const char* verb);
    // Reads the committed content again.
    void Reload();
    void Adopt(std::string bytes, menufile::MenuFile&& file);
    void Clear();

    menufile::FileSystem& m_fs;
    PreviewIconCache m_icons;
    const menufile::CodePage& m_codePage;
    menufile::TextEncoding m_encoding = menufile::TextEncoding::Ansi;  // of the file as read
    menufile::TextEncoding m_written = menufile::TextEncoding::Ansi;   // of the change being made
    std::string m_path;
    bool m_loaded = false;
    bool m_isDirectoryPointer = false;
    menufile::MenuSettings m_settings;
    menufile::DirectoryPointer m_directoryPointer;
    std::string m_picture;
    std::vector<ListRow> m_rows;
    std::vector<menufile::MenuItem> m_records;  // the file's records, one per entry
    std::string m_oldLayout;                    // the old-layout file offered for upgrade
    std::string m_bytes;  // the file as last read or written: the same bytes need no parse
    std::string m_setAside;
    bool m_untrustedJournal = false;
    bool m_fromInternet = false;
    std::string m_damaged;  // the file a load found damaged in one record
    std::size_t m_damageOffset = 0;
    std::size_t m_damageEnd = 0;
    std::size_t m_damagedLine = 0;
    EditHistory m_history;
    bool m_dropping = false;  // the commits of one drop make one step
    bool m_dropStarted = false;
};

// The content of a new, empty user-defined menu: the stock picture, the marker, "USERDEF" and
// the settings 0,"MS Sans Serif",8.25,0,0.
[[nodiscard]] std::string NewMenuContent(std::string_view stockPicture);

// The row an item shows in the list.
[[nodiscard]] ListRow RowOf(const menufile::MenuItem& item);

}  // namespace editor
