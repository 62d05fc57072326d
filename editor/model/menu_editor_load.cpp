// Reading the menu file into the editor: loading, the offered repairs, new menus, reloads.
#include <memory>
#include <utility>

#include "editor/model/menu_editor.h"
#include "menufile/internet_zone.h"

namespace editor {
namespace {

using menufile::Built;
using menufile::MenuError;
using menufile::MenuFile;
using menufile::MenuItem;
using menufile::ReadStatus;
using menufile::FileError;

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

void MenuEditor::Clear() {
    m_rows.clear();
    m_records.clear();
    m_isDirectoryPointer = false;
    m_settings = {};
    m_directoryPointer = {};
    m_picture.clear();
    m_oldLayout.clear();
    m_bytes.clear();
    m_damaged.clear();
    m_damagedLine = 0;
    m_history.Clear();  // steps of another file, or of content no longer shown
}

void MenuEditor::Adopt(std::string bytes, MenuFile&& file) {
    m_encoding = file.Encoding;
    m_isDirectoryPointer = file.IsDirectoryPointer();
    m_settings = file.Settings;
    m_directoryPointer = file.DirectoryPointer.value_or(menufile::DirectoryPointer{});
    m_picture.assign(menufile::PictureOf(bytes, file));
    m_records = std::move(file.Items);
    m_rows.clear();
    m_rows.reserve(m_records.size());
    for (const MenuItem& item : m_records) {
        m_rows.push_back(RowOf(item));
    }
    m_bytes = std::move(bytes);
}

LoadStatus MenuEditor::LoadEditorMenu(const std::string& path,
                                      const menufile::ReadProgress* progress) {
    Clear();
    m_loaded = false;
    m_path = path;
    if (path.empty()) {
        return LoadStatus::NoPath;
    }
    // A save that was cut short is finished or undone first. If that cannot be written (a
    // read-only file), the last committed content is still what is shown.
    m_setAside.clear();
    m_untrustedJournal =
        menufile::RecoverMenuFile(m_fs, path, &m_setAside) == MenuError::UntrustedJournal;
    m_fromInternet = menufile::CameFromInternet(m_fs, path);
    // Opening a folder as a file fails as if it were locked or forbidden: the path says more.
    if (menufile::PathKind kind = menufile::PathKind::Missing;
        m_fs.Probe(path, kind) == FileError::None && kind == menufile::PathKind::Folder) {
        return LoadStatus::Folder;
    }
    std::string bytes;
    if (FileError e = menufile::ReadCommittedMenu(m_fs, path, bytes); e != FileError::None) {
        switch (e) {
            case FileError::NotFound:
                return LoadStatus::NotFound;
            case FileError::PathTooLong:
                return LoadStatus::TooLong;
            case FileError::InUse:
                return LoadStatus::InUse;
            case FileError::ReadOnly:
                return LoadStatus::NoPermission;
            default:
                return LoadStatus::Unreadable;
        }
    }
    MenuFile file =
        progress != nullptr ? menufile::ReadMenu(bytes, *progress) : menufile::ReadMenu(bytes);
    menufile::DecodeMenu(bytes, file, m_codePage);
    LoadStatus status = Classify(bytes, file);
    if (status == LoadStatus::Loaded) {
        Adopt(std::move(bytes), std::move(file));
        m_loaded = true;
    } else if (status == LoadStatus::OldLayout) {
        m_oldLayout = std::move(bytes);
    } else if (status == LoadStatus::Damaged && file.DamagedLine > 0) {
        m_damageOffset = file.DamageOffset;
        m_damageEnd = file.DamageEnd;
        m_damagedLine = file.DamagedLine;
        m_damaged = std::move(bytes);
    }
    return status;
}

MenuError MenuEditor::SetAsideUntrustedJournal(std::string* setAside) {
    const MenuError e = menufile::SetAsideUntrustedJournal(m_fs, m_path, setAside);
    if (e == MenuError::None) {
        m_untrustedJournal = false;  // the list already shows the file as it is
    }
    return e;
}

MenuError MenuEditor::DropDamagedLine() {
    if (m_damagedLine == 0) {
        return MenuError::Damaged;
    }
    MenuError e = menufile::ChangeMenuFile(m_fs, m_path, [&](std::string_view old) {
        if (old != m_damaged) {
            return Built{MenuError::Changed, {}};  // the question was about other bytes
        }
        std::string content(old.substr(0, m_damageOffset));
        content += old.substr(m_damageEnd);
        return Built{MenuError::None, std::move(content)};
    });
    if (e != MenuError::None) {
        return e;
    }
    const LoadStatus status = LoadEditorMenu(m_path);
    return status == LoadStatus::Loaded || status == LoadStatus::Damaged ? MenuError::None
                                                                         : MenuError::Damaged;
}

MenuError MenuEditor::UpgradeOldMenu(std::string_view stockPicture) {
    if (m_oldLayout.empty()) {
        return MenuError::NotAMenu;
    }
    MenuError e = menufile::ChangeMenuFile(m_fs, m_path, [&](std::string_view old) {
        if (old != m_oldLayout) {
            return Built{MenuError::Changed, {}};  // the question was about other bytes
        }
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
    menufile::PathKind kind = menufile::PathKind::Missing;
    if (FileError e = m_fs.Probe(path, kind); e != FileError::None) {
        return menufile::FromFileError(e);
    }
    if (kind != menufile::PathKind::Missing) {
        return MenuError::Other;  // never overwrite what is there
    }
    // A journal left beside a menu that has since been deleted belongs to nothing: with no menu
    // file, recovery removes it, so it cannot be replayed into the new one.
    if (MenuError e = menufile::RecoverMenuFile(m_fs, path); e != MenuError::None) {
        return e;
    }
    {
        std::unique_ptr<menufile::File> file;
        if (FileError e = m_fs.Create(path, file); e != FileError::None) {
            return menufile::FromFileError(e);
        }
    }
    // The empty file is filled through the journaled commit, so a crash leaves either an empty
    // file or the complete new menu.
    if (MenuError e = menufile::CommitMenuFile(m_fs, path, "", NewMenuContent(stockPicture));
        e != MenuError::None) {
        (void)m_fs.Remove(menufile::JournalPath(path));
        (void)m_fs.Remove(path);
        return e;
    }
    return LoadEditorMenu(path) == LoadStatus::Loaded ? MenuError::None : MenuError::Damaged;
}

MenuError MenuEditor::WriteMissingMenu() {
    if (!m_loaded) {
        return MenuError::Other;
    }
    menufile::PathKind kind = menufile::PathKind::Missing;
    if (FileError e = m_fs.Probe(m_path, kind); e != FileError::None) {
        return menufile::FromFileError(e);
    }
    if (kind != menufile::PathKind::Missing) {
        return MenuError::Other;  // back, or something else is there: not ours to overwrite
    }
    // A journal beside the vanished file belongs to nothing: recovery sets it aside.
    if (MenuError e = menufile::RecoverMenuFile(m_fs, m_path); e != MenuError::None) {
        return e;
    }
    {
        std::unique_ptr<menufile::File> file;
        if (FileError e = m_fs.Create(m_path, file); e != FileError::None) {
            return menufile::FromFileError(e);
        }
    }
    // The bytes the list was last read from or wrote agree with it, so the history's steps
    // still apply to them.
    if (MenuError e = menufile::CommitMenuFile(m_fs, m_path, "", m_bytes); e != MenuError::None) {
        (void)m_fs.Remove(menufile::JournalPath(m_path));
        (void)m_fs.Remove(m_path);
        return e;
    }
    return MenuError::None;
}

void MenuEditor::Reload() {
    std::string bytes;
    if (menufile::ReadCommittedMenu(m_fs, m_path, bytes) != FileError::None) {
        // A change that failed left the committed content as it was, and every change first
        // checks that the list shows that content: what is shown is still what the file holds.
        return;
    }
    MenuFile file = menufile::ReadMenu(bytes);
    menufile::DecodeMenu(bytes, file, m_codePage);
    if (file.Status != ReadStatus::Ok) {
        // Nothing readable is left to show; the list must not pretend otherwise.
        const bool isPointer = m_isDirectoryPointer;
        Clear();
        m_isDirectoryPointer = isPointer;
        return;
    }
    Adopt(std::move(bytes), std::move(file));
}

}  // namespace editor
