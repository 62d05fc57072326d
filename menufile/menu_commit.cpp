// Journaled, in-place commit of a menu file's new content, and its recovery.
//
// The journal (menu_journal.h) holds the old and the new bytes; journals of the first format,
// without the new bytes, are still recovered. A journal that does not check out was torn before
// the menu file was touched, because the menu file is only written after the journal is flushed.
//
// With both contents a recovery can tell what a commit can leave (the old bytes, the new ones,
// or a mix of the two with zeros where a power loss dropped unflushed data) from anything else,
// which is the user's: a restored backup or a hand edit is never rolled back.
#include "menufile/menu_commit.h"

#include <memory>
#include <optional>

#include "menufile/menu_file.h"
#include "menufile/menu_journal.h"

namespace menufile {
namespace {

using menufile::File;
using menufile::FileError;
using menufile::FileSystem;

// What lies at a journal's name.
enum class JournalKind {
    None,     // nothing
    Present,  // a file, not read yet
    Busy,     // being written by another change, which holds the menu file and will finish
    Torn,     // ours, but written only in part: the menu file was not touched yet
    Valid,    // ours and whole
    Foreign,  // a folder, or a file that is not a journal: never touched
};

JournalKind ProbeJournal(FileSystem& fs, const std::string& journalPath, FileError& error) {
    menufile::PathKind kind = menufile::PathKind::Missing;
    if (error = fs.Probe(journalPath, kind); error != FileError::None) {
        return JournalKind::None;
    }
    return kind == menufile::PathKind::Missing  ? JournalKind::None
           : kind == menufile::PathKind::Folder ? JournalKind::Foreign
                                                : JournalKind::Present;
}

JournalKind ReadJournal(FileSystem& fs, const std::string& journalPath,
                        std::optional<Journal>& journal, FileError& error) {
    error = FileError::None;
    std::string raw;
    if (error = fs.ReadFile(journalPath, raw); error != FileError::None) {
        if (error == FileError::InUse) {
            error = FileError::None;
            return JournalKind::Busy;
        }
        if (error == FileError::NotFound) {
            error = FileError::None;  // finished by its writer since it was probed
        }
        return JournalKind::None;
    }
    // A journal is known by its signature. A file created but never written, or zeroed by a
    // power loss, is a journal too: its writer had not touched the menu file yet.
    if (raw.find_first_not_of('\0') == std::string::npos) {
        return JournalKind::Torn;
    }
    if (!LooksLikeJournal(raw)) {
        return JournalKind::Foreign;
    }
    journal = DecodeJournal(raw);
    return journal ? JournalKind::Valid : JournalKind::Torn;
}

// A journal is acted on only if whoever may write the menu file could have written it: anyone
// who may only add files to the folder could otherwise plant one that rewrites the menu.
bool TrustedJournal(FileSystem& fs, const std::string& journalPath, const std::string& path) {
    return fs.OwnedByUserOrOwnerOf(journalPath, path);
}

// A free name beside the journal to keep it under: "<journal><suffix>", then "-2", "-3"...
MenuError SetAside(FileSystem& fs, const std::string& journalPath, std::string* setAside,
                   const std::string& suffix = ".stale") {
    for (int n = 1; n <= 99; ++n) {
        const std::string name =
            journalPath + suffix + (n == 1 ? std::string() : "-" + std::to_string(n));
        const FileError e = fs.Rename(journalPath, name);
        if (e == FileError::None) {
            if (setAside != nullptr) {
                *setAside = name;
            }
            return MenuError::None;
        }
        if (e != FileError::AlreadyExists) {
            return FromFileError(e);
        }
    }
    return MenuError::Other;
}

// Overwrites the open file with `content`, cuts it to length, flushes and reads it back.
FileError WriteWhole(File& file, std::string_view content) {
    if (FileError e = file.WriteAt(0, content); e != FileError::None) {
        return e;
    }
    if (FileError e = file.SetLength(content.size()); e != FileError::None) {
        return e;
    }
    if (FileError e = file.Flush(); e != FileError::None) {
        return e;
    }
    std::string check;
    if (FileError e = file.ReadAll(check); e != FileError::None) {
        return e;
    }
    return check == content ? FileError::None : FileError::Other;
}

// Puts the old bytes back after a failed overwrite; the journal goes only once they are safe.
void RollBack(FileSystem& fs, const std::string& journalPath, File& menu, std::string_view old) {
    if (WriteWhole(menu, old) == FileError::None) {
        (void)fs.Remove(journalPath);  // if this fails too, recovery finds the old bytes in place
    }
}

// A journal that cannot be created in an existing folder means the folder takes no new files;
// something that appeared at its name since the recovery looked is not ours to replace.
MenuError JournalError(FileError e) {
    switch (e) {
        case FileError::ReadOnly:
            return MenuError::FolderReadOnly;
        case FileError::AlreadyExists:
            return MenuError::ForeignJournal;
        default:
            return FromFileError(e);
    }
}

// The commit proper, through a handle that has the menu file open for writing. The file is
// read once more through it: a change is only written over the bytes it was built from.
MenuError CommitThrough(FileSystem& fs, const std::string& path, File& menu,
                        std::string_view basedOn, std::string_view content) {
    std::string old;
    if (FileError e = menu.ReadAll(old); e != FileError::None) {
        return FromFileError(e);
    }
    if (old != basedOn) {
        return MenuError::Changed;
    }
    if (old == content) {
        return MenuError::None;
    }

    const std::string journalPath = JournalPath(path);
    {
        std::unique_ptr<File> journal;
        if (FileError e = fs.Create(journalPath, journal); e != FileError::None) {
            return JournalError(e);
        }
        FileError e = journal->WriteAt(0, EncodeJournal(old, content));
        if (e == FileError::None) {
            e = journal->Flush();
        }
        if (e != FileError::None) {
            journal.reset();
            (void)fs.Remove(journalPath);  // the menu file is untouched; a torn journal is harmless
            return FromFileError(e);
        }
    }

    if (FileError e = WriteWhole(menu, content); e != FileError::None) {
        RollBack(fs, journalPath, menu, old);
        return FromFileError(e);
    }
    // Deleting the journal commits; if even that fails, the old bytes go back.
    if (FileError e = fs.Remove(journalPath); e != FileError::None) {
        RollBack(fs, journalPath, menu, old);
        return FromFileError(e);
    }
    fs.NotifyChanged(path);
    return MenuError::None;
}

}  // namespace

MenuError FromFileError(FileError error) {
    switch (error) {
        case FileError::None:
            return MenuError::None;
        case FileError::NotFound:
            return MenuError::NotFound;
        case FileError::ReadOnly:
            return MenuError::ReadOnly;
        case FileError::InUse:
            return MenuError::InUse;
        case FileError::DiskFull:
            return MenuError::DiskFull;
        case FileError::AlreadyExists:
        case FileError::PathTooLong:
        case FileError::Other:
            return MenuError::Other;
    }
    return MenuError::Other;
}

std::string JournalPath(const std::string& menuPath) { return menuPath + ".journal"; }

MenuError RecoverMenuFile(FileSystem& fs, const std::string& path, std::string* setAside) {
    const std::string journalPath = JournalPath(path);
    FileError error = FileError::None;
    switch (ProbeJournal(fs, journalPath, error)) {
        case JournalKind::Foreign:
            return MenuError::ForeignJournal;
        case JournalKind::Present:
            break;
        default:
            return FromFileError(error);
    }
    // The menu file is held before the journal is read: another change cannot then commit
    // between the reading and what is done about it.
    std::unique_ptr<File> menu;
    const FileError opened = fs.OpenForUpdate(path, menu);
    if (opened != FileError::None && opened != FileError::NotFound) {
        return FromFileError(opened);
    }
    std::optional<Journal> journal;
    switch (ReadJournal(fs, journalPath, journal, error)) {
        case JournalKind::None:
        case JournalKind::Present:
        case JournalKind::Busy:  // not a commit's: a commit holds the menu file
            return FromFileError(error);
        case JournalKind::Foreign:
            return MenuError::ForeignJournal;
        case JournalKind::Torn:
            if (menu && !TrustedJournal(fs, journalPath, path)) {
                return MenuError::UntrustedJournal;
            }
            return FromFileError(fs.Remove(journalPath));
        case JournalKind::Valid:
            break;
    }
    if (!menu) {
        // No menu file (removed, or a folder in its place): the journal holds the last content
        // saved, and is kept.
        return SetAside(fs, journalPath, setAside);
    }
    if (!TrustedJournal(fs, journalPath, path)) {
        return MenuError::UntrustedJournal;
    }
    std::string current;
    if (FileError e = menu->ReadAll(current); e != FileError::None) {
        return FromFileError(e);
    }
    switch (ClassifyContent(current, *journal)) {
        case Content::Old:
        case Content::New:
            break;
        case Content::Torn:
            if (FileError e = WriteWhole(*menu, journal->OldBytes); e != FileError::None) {
                return FromFileError(e);
            }
            break;
        case Content::Users:
            // Put there after the crash: the user's, and kept. The journal is kept too, under
            // another name, since it holds the content from before the interrupted save.
            menu.reset();
            return SetAside(fs, journalPath, setAside);
    }
    return FromFileError(fs.Remove(journalPath));
}

MenuError SetAsideUntrustedJournal(FileSystem& fs, const std::string& path, std::string* setAside) {
    return SetAside(fs, JournalPath(path), setAside, ".untrusted");
}

FileError ReadCommittedMenu(FileSystem& fs, const std::string& path, std::string& out) {
    if (FileError e = fs.ReadFile(path, out); e != FileError::None) {
        return e;
    }
    const std::string journalPath = JournalPath(path);
    std::optional<Journal> journal;
    FileError error = FileError::None;
    if (ProbeJournal(fs, journalPath, error) == JournalKind::Present &&
        ReadJournal(fs, journalPath, journal, error) == JournalKind::Valid &&
        ClassifyContent(out, *journal) == Content::Torn && TrustedJournal(fs, journalPath, path)) {
        out = std::move(journal->OldBytes);  // an unfinished save: what was saved before it
    }
    return FileError::None;
}

MenuError CommitMenuFile(FileSystem& fs, const std::string& path, std::string_view basedOn,
                         std::string_view content) {
    if (ReadMenu(content).Status != ReadStatus::Ok) {
        return MenuError::Damaged;
    }
    if (MenuError e = RecoverMenuFile(fs, path); e != MenuError::None) {
        return e;
    }
    // The menu file is opened first, so a read-only, locked or missing file fails before
    // anything else is created.
    std::unique_ptr<File> menu;
    if (FileError e = fs.OpenForUpdate(path, menu); e != FileError::None) {
        return FromFileError(e);
    }
    return CommitThrough(fs, path, *menu, basedOn, content);
}

MenuError ChangeMenuFile(FileSystem& fs, const std::string& path, const ChangeBuilder& build,
                         std::string* committed) {
    if (MenuError e = RecoverMenuFile(fs, path); e != MenuError::None) {
        return e;
    }
    std::unique_ptr<File> menu;
    if (FileError e = fs.OpenForUpdate(path, menu); e != FileError::None) {
        return FromFileError(e);
    }
    std::string current;
    if (FileError e = menu->ReadAll(current); e != FileError::None) {
        return FromFileError(e);
    }
    Built built = build(current);
    if (built.Error != MenuError::None) {
        return built.Error;
    }
    MenuError e = built.Content == current
                      ? MenuError::None
                      : CommitThrough(fs, path, *menu, current, built.Content);
    if (e == MenuError::None && committed != nullptr) {
        *committed = std::move(built.Content);
    }
    return e;
}

}  // namespace menufile
