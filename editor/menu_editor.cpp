// The editor's list state and the changes it writes to the menu file.
#include "editor/menu_editor.h"

#include <utility>

namespace editor {
namespace {

using menufile::Built;
using menufile::MenuError;
using menufile::MenuFile;
using menufile::MenuItem;
using menufile::ReadStatus;
using platform::FileError;

LoadStatus Classify(const std::string& bytes, const MenuFile& file) {
    if (bytes.empty()) {
        return LoadStatus::Empty;
    }
    switch (file.Status) {
        case ReadStatus::Ok:
            return LoadStatus::Loaded;
        case ReadStatus::NoMarker:
            // Only an upgrade that would give a readable menu is offered; any picture will
            // do for the test, since the picture is never read.
            return menufile::UpgradeMenuFile(bytes, {}).Error == MenuError::None
                       ? LoadStatus::OldLayout
                       : LoadStatus::NotAMenu;
        case ReadStatus::NoSettings:
            return LoadStatus::NoSettings;
        case ReadStatus::Truncated:
        case ReadStatus::BadValue:
            return LoadStatus::Damaged;
    }
    return LoadStatus::Damaged;
}

}  // namespace

std::string NewMenuContent(std::string_view stockPicture) {
    std::string content(stockPicture);
    content += menufile::kLineEnd;
    content += menufile::kMarker;
    content += menufile::kLineEnd;
    content += menufile::FormatTypeLine(menufile::kUserDefined);
    content += menufile::FormatSettingsLine(menufile::MenuSettings{});
    return content;
}

MenuEditor::MenuEditor(platform::FileSystem& fs, IconSource& icons) : m_fs(fs), m_icons(icons) {}

MenuEditor::~MenuEditor() {
    DestroyIcons(m_entries);
}

void MenuEditor::DestroyIcons(std::vector<ListEntry>& entries) {
    for (ListEntry& entry : entries) {
        if (entry.Icon != 0) {
            m_icons.Destroy(std::exchange(entry.Icon, 0));
        }
    }
}

void MenuEditor::Clear() {
    DestroyIcons(m_entries);
    m_entries.clear();
    m_records.clear();
    m_isPointer = false;
    m_settings = {};
    m_pointer = {};
}

ListEntry MenuEditor::MakeEntry(const MenuItem& item) {
    ListEntry entry;
    entry.Text = item.Name.empty() ? kSeparatorText : item.Name;
    entry.Target = item.Target;
    const int index = menufile::ToInt(item.IconIndex);
    if (!item.IconFile.empty()) {
        entry.Icon = m_icons.Extract(item.IconFile, index);
    } else if (index > 0) {
        entry.Icon = m_icons.Extract(item.Target, index);
    }
    return entry;
}

void MenuEditor::Adopt(const MenuFile& file) {
    m_isPointer = file.IsDirectoryPointer();
    m_settings = file.Settings;
    m_pointer = file.Pointer.value_or(menufile::DirectoryPointer{});
    // Entries whose record is unchanged keep their icon, so a reload costs no extractions.
    std::vector<ListEntry> entries;
    entries.reserve(file.Items.size());
    for (std::size_t i = 0; i < file.Items.size(); ++i) {
        if (i < m_records.size() && m_records[i] == file.Items[i]) {
            entries.push_back(std::move(m_entries[i]));
            m_entries[i].Icon = 0;
        } else {
            entries.push_back(MakeEntry(file.Items[i]));
        }
    }
    DestroyIcons(m_entries);
    m_entries = std::move(entries);
    m_records = file.Items;
}

LoadStatus MenuEditor::LoadEditorMenu(const std::string& path) {
    Clear();
    m_loaded = false;
    m_path = path;
    if (path.empty()) {
        return LoadStatus::NoPath;
    }
    // A save that was cut short is finished or undone first. If that cannot be written (a
    // read-only file), the last committed content is still what is shown.
    (void)menufile::RecoverMenuFile(m_fs, path);
    std::string bytes;
    if (FileError e = menufile::ReadCommittedMenu(m_fs, path, bytes); e != FileError::None) {
        return e == FileError::NotFound ? LoadStatus::NotFound : LoadStatus::Unreadable;
    }
    MenuFile file = menufile::ReadMenu(bytes);
    LoadStatus status = Classify(bytes, file);
    if (status == LoadStatus::Loaded) {
        Adopt(file);
        m_loaded = true;
    }
    return status;
}

MenuError MenuEditor::UpgradeOldMenu(std::string_view stockPicture) {
    MenuError e = menufile::ChangeMenuFile(m_fs, m_path, [&](std::string_view old) {
        return menufile::UpgradeMenuFile(old, stockPicture);
    });
    if (e != MenuError::None) {
        return e;
    }
    return LoadEditorMenu(m_path) == LoadStatus::Loaded ? MenuError::None : MenuError::Damaged;
}

MenuError MenuEditor::CreateNewMenu(const std::string& path, std::string_view stockPicture) {
    Clear();
    m_loaded = false;
    m_path = path;
    bool exists = false;
    if (FileError e = m_fs.Exists(path, exists); e != FileError::None) {
        return menufile::FromFileError(e);
    }
    if (exists) {
        return MenuError::Other;  // never overwrite what is there
    }
    // A journal left beside a menu that has since been deleted belongs to nothing: with no menu
    // file, recovery removes it, so it cannot be replayed into the new one.
    if (MenuError e = menufile::RecoverMenuFile(m_fs, path); e != MenuError::None) {
        return e;
    }
    {
        std::unique_ptr<platform::File> file;
        if (FileError e = m_fs.Create(path, file); e != FileError::None) {
            return menufile::FromFileError(e);
        }
    }
    // The empty file is filled through the journaled commit, so a crash leaves either an empty
    // file or the complete new menu.
    if (MenuError e = menufile::CommitMenuFile(m_fs, path, NewMenuContent(stockPicture));
        e != MenuError::None) {
        (void)m_fs.Remove(menufile::JournalPath(path));
        (void)m_fs.Remove(path);
        return e;
    }
    return LoadEditorMenu(path) == LoadStatus::Loaded ? MenuError::None : MenuError::Damaged;
}

void MenuEditor::Reload() {
    std::string bytes;
    if (menufile::ReadCommittedMenu(m_fs, m_path, bytes) != FileError::None) {
        // A change that failed left the committed content as it was, and every change first
        // checks that the list shows that content: what is shown is still what the file holds.
        return;
    }
    MenuFile file = menufile::ReadMenu(bytes);
    if (file.Status != ReadStatus::Ok) {
        // Nothing readable is left to show; the list must not pretend otherwise.
        const bool isPointer = m_isPointer;
        Clear();
        m_isPointer = isPointer;
        return;
    }
    Adopt(file);
}

template <class Builder>
EditResult MenuEditor::Rewrite(int selection, Builder&& build) {
    if (!m_loaded) {
        return {EditStatus::Unchanged, MenuError::None, selection};
    }
    std::string old;
    MenuError e = menufile::ReadMenuFileForChange(m_fs, m_path, old);
    if (e == MenuError::None) {
        MenuFile file = menufile::ReadMenu(old);
        const bool agrees = file.Status == ReadStatus::Ok &&
                            file.IsDirectoryPointer() == m_isPointer &&
                            file.Settings == m_settings && file.Items == m_records &&
                            file.Pointer.value_or(menufile::DirectoryPointer{}) == m_pointer;
        if (!agrees) {
            Reload();
            return {EditStatus::Reloaded, MenuError::None, -1};
        }
        Built built = build(std::string_view(old));
        e = built.Error;
        if (e == MenuError::None) {
            e = menufile::CommitMenuFile(m_fs, m_path, built.Content);
        }
    }
    if (e != MenuError::None) {
        Reload();
        return {EditStatus::Failed, e, -1};
    }
    return {EditStatus::Written, MenuError::None, selection};
}

template <class Change, class Builder>
EditResult MenuEditor::ChangeItems(int selection, Change&& change, Builder&& build) {
    std::vector<MenuItem> items = m_records;
    change(items);
    EditResult result = Rewrite(selection, [&](std::string_view old) { return build(old, items); });
    if (result.Status == EditStatus::Written) {
        change(m_entries);
        m_records = std::move(items);
    }
    return result;
}

namespace {

Built RewriteUserItems(std::string_view old, const std::vector<MenuItem>& items) {
    return menufile::RewriteItems(old, menufile::kUserDefined, items);
}

}  // namespace

EditResult MenuEditor::Delete(int selected) {
    const int count = static_cast<int>(m_entries.size());
    if (m_isPointer || selected < 0 || selected >= count) {
        return {EditStatus::Unchanged, MenuError::None, selected};
    }
    std::vector<MenuItem> items = m_records;
    items.erase(items.begin() + selected);
    EditResult result =
        Rewrite(-1, [&](std::string_view old) { return RewriteUserItems(old, items); });
    if (result.Status == EditStatus::Written) {
        // The row owns its icon: it goes with it.
        if (m_entries[selected].Icon != 0) {
            m_icons.Destroy(m_entries[selected].Icon);
        }
        m_entries.erase(m_entries.begin() + selected);
        m_records = std::move(items);
    }
    return result;
}

EditResult MenuEditor::MoveUp(int selected) {
    const int count = static_cast<int>(m_entries.size());
    if (m_isPointer || selected < 1 || selected >= count) {
        return {EditStatus::Unchanged, MenuError::None, selected};
    }
    return ChangeItems(
        selected - 1, [&](auto& list) { std::swap(list[selected - 1], list[selected]); },
        RewriteUserItems);
}

EditResult MenuEditor::MoveDown(int selected) {
    const int count = static_cast<int>(m_entries.size());
    if (m_isPointer || selected < 0 || selected >= count - 1) {
        return {EditStatus::Unchanged, MenuError::None, selected};
    }
    return ChangeItems(
        selected + 1, [&](auto& list) { std::swap(list[selected], list[selected + 1]); },
        RewriteUserItems);
}

EditResult MenuEditor::Separator(int selected) {
    const int count = static_cast<int>(m_entries.size());
    if (m_isPointer || selected < 0 || selected >= count) {
        return {EditStatus::Unchanged, MenuError::None, selected};
    }
    std::vector<MenuItem> items = m_records;
    items.insert(items.begin() + selected, MenuItem::Separator());
    EditResult result =
        Rewrite(-1, [&](std::string_view old) { return RewriteUserItems(old, items); });
    if (result.Status == EditStatus::Written) {
        m_entries.insert(m_entries.begin() + selected, MakeEntry(MenuItem::Separator()));
        m_records = std::move(items);
    }
    return result;
}

DropResult MenuEditor::DropFiles(const std::vector<DroppedFile>& files) {
    DropResult result;
    if (m_isPointer) {
        return result;  // the list is not shown for a directory pointer
    }
    for (const DroppedFile& dropped : files) {
        MenuItem item{dropped.Name, dropped.Path, "", "", "", "0"};
        EditResult one =
            Rewrite(-1, [&](std::string_view old) { return menufile::AppendItem(old, item); });
        if (one.Status != EditStatus::Written) {
            result.Status = one.Status;
            result.Error = one.Error;
            return result;
        }
        m_entries.push_back(MakeEntry(item));
        m_records.push_back(std::move(item));
        ++result.Added;
        result.Status = EditStatus::Written;
    }
    return result;
}

EditResult MenuEditor::AddItem(const MenuItem& item, int selection) {
    if (m_isPointer) {
        return {EditStatus::Unchanged, MenuError::None, selection};
    }
    EditResult result =
        Rewrite(selection, [&](std::string_view old) { return menufile::AppendItem(old, item); });
    if (result.Status == EditStatus::Written) {
        m_entries.push_back(MakeEntry(item));
        m_records.push_back(item);
    }
    return result;
}

EditResult MenuEditor::EditItem(int index, const MenuItem& item, int selection) {
    if (m_isPointer || index < 0 || index >= static_cast<int>(m_entries.size())) {
        return {EditStatus::Unchanged, MenuError::None, selection};
    }
    std::vector<MenuItem> items = m_records;
    items[static_cast<std::size_t>(index)] = item;
    EditResult result =
        Rewrite(selection, [&](std::string_view old) { return RewriteUserItems(old, items); });
    if (result.Status == EditStatus::Written) {
        // The row shows what the file now holds: its new name and target, and its icon by the
        // same rule as when the list is loaded.
        ListEntry& entry = m_entries[static_cast<std::size_t>(index)];
        if (entry.Icon != 0) {
            m_icons.Destroy(entry.Icon);
        }
        entry = MakeEntry(item);
        m_records = std::move(items);
    }
    return result;
}

EditResult MenuEditor::SetItemIcon(int index, const std::string& iconFile, int iconIndex,
                                   IconHandle preview) {
    if (m_isPointer || index < 0 || index >= static_cast<int>(m_entries.size())) {
        return {EditStatus::Unchanged, MenuError::None, index};
    }
    std::vector<MenuItem> items = m_records;
    items[static_cast<std::size_t>(index)].IconFile = iconFile;
    items[static_cast<std::size_t>(index)].IconIndex = std::to_string(iconIndex);
    EditResult result =
        Rewrite(index, [&](std::string_view old) { return RewriteUserItems(old, items); });
    if (result.Status == EditStatus::Written) {
        ListEntry& entry = m_entries[static_cast<std::size_t>(index)];
        if (entry.Icon != 0) {
            m_icons.Destroy(entry.Icon);
        }
        entry.Icon = preview;
        m_records = std::move(items);
    }
    return result;
}

EditResult MenuEditor::SaveAppearance(std::string_view picture,
                                      const menufile::MenuSettings& settings) {
    EditResult result = Rewrite(-1, [&](std::string_view old) {
        return menufile::SaveAppearance(old, picture, settings);
    });
    if (result.Status == EditStatus::Written) {
        m_settings = settings;
    }
    return result;
}

const MenuItem* MenuEditor::Record(int index) const {
    return index >= 0 && index < static_cast<int>(m_records.size())
               ? &m_records[static_cast<std::size_t>(index)]
               : nullptr;
}

EditResult MenuEditor::ChangeToDirectoryPointer() {
    if (m_isPointer) {
        return {EditStatus::Unchanged, MenuError::None, -1};
    }
    EditResult result = Rewrite(-1, menufile::ChangeToDirectoryPointer);
    if (result.Status == EditStatus::Written) {
        DestroyIcons(m_entries);
        m_entries.clear();
        m_records.clear();
        m_isPointer = true;
        m_pointer = menufile::DirectoryPointer{};
    }
    return result;
}

EditResult MenuEditor::ChangeToUserDefined() {
    if (!m_isPointer) {
        return {EditStatus::Unchanged, MenuError::None, -1};
    }
    EditResult result = Rewrite(-1, menufile::ChangeToUserDefined);
    if (result.Status == EditStatus::Written) {
        m_isPointer = false;
        m_pointer = menufile::DirectoryPointer{};
    }
    return result;
}

EditResult MenuEditor::SaveDirectoryPointer(const std::string& folder, const std::string& pattern,
                                            int showFolders, int hideExtensions, int showHidden) {
    if (!m_isPointer) {
        return {EditStatus::Unchanged, MenuError::None, -1};
    }
    EditResult result = Rewrite(-1, [&](std::string_view old) {
        return menufile::SaveDirectoryPointer(old, folder, pattern, showFolders, hideExtensions,
                                              showHidden);
    });
    if (result.Status == EditStatus::Written) {
        m_pointer = {folder, pattern, std::to_string(showFolders), std::to_string(hideExtensions),
                     std::to_string(showHidden)};
    }
    return result;
}

}  // namespace editor
