// Journaled, in-place commit of a menu file's new content, and its recovery.
//
// Journal layout (little endian): "TVLJRNL2", old length (8 bytes), new length (8),
// CRC-32 of the old bytes (4), CRC-32 of the new bytes (4), the old bytes, the new bytes, and
// a CRC-32 of everything before it (4). Earlier versions wrote "TVLJRNL1" journals without the
// new bytes; they are still recovered. A journal that does not check out was torn before the
// menu file was touched, because the menu file is only written after the journal is flushed.
//
// With both contents a recovery can tell what a commit can leave (the old bytes, the new ones,
// or a mix of the two with zeros where a power loss dropped unflushed data) from anything else,
// which is the user's: a restored backup or a hand edit is never rolled back.
#include "menufile/menu_commit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "menufile/menu_file.h"

namespace menufile {
namespace {

using menufile::File;
using menufile::FileError;
using menufile::FileSystem;

constexpr std::string_view kJournalMagic = "TVLJRNL2";
constexpr std::string_view kFirstJournalMagic = "TVLJRNL1";
constexpr std::string_view kMagicStem = "TVLJRNL";
constexpr std::size_t kHeaderSize = 8 + 8 + 8 + 4 + 4;

// CRC-32 (the zip polynomial), eight bytes a step: a commit checks a few times its menu's size.
std::uint32_t Crc32(std::string_view data) {
    static const auto tables = [] {
        std::array<std::array<std::uint32_t, 256>, 8> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i) {
            for (std::size_t k = 1; k < 8; ++k) {
                t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
            }
        }
        return t;
    }();
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(
                                         static_cast<unsigned char>(data[i])); };
    std::uint32_t crc = 0xFFFFFFFFu;
    std::size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        const std::uint32_t low =
            crc ^ (byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24);
        const std::uint32_t high =
            byte(i + 4) | byte(i + 5) << 8 | byte(i + 6) << 16 | byte(i + 7) << 24;
        crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^
              tables[5][(low >> 16) & 0xFF] ^ tables[4][low >> 24] ^ tables[3][high & 0xFF] ^
              tables[2][(high >> 8) & 0xFF] ^ tables[1][(high >> 16) & 0xFF] ^
              tables[0][high >> 24];
    }
    for (; i < data.size(); ++i) {
        crc = tables[0][(crc ^ byte(i)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint64_t GetLe(std::string_view in, std::size_t pos, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[pos + i])) << (8 * i);
    }
    return value;
}

struct Journal {
    bool HasNewBytes = false;  // false for a journal of the first format
    std::string OldBytes;
    std::string NewBytes;
    std::uint64_t NewLength = 0;
    std::uint32_t NewCrc = 0;
};

std::string EncodeJournal(std::string_view oldBytes, std::string_view newBytes) {
    std::string j(kJournalMagic);
    PutLe(j, oldBytes.size(), 8);
    PutLe(j, newBytes.size(), 8);
    PutLe(j, Crc32(oldBytes), 4);
    PutLe(j, Crc32(newBytes), 4);
    j += oldBytes;
    j += newBytes;
    PutLe(j, Crc32(j), 4);
    return j;
}

// Empty when the journal is torn.
std::optional<Journal> DecodeJournal(std::string_view j) {
    if (j.size() < kHeaderSize + 4) {
        return std::nullopt;
    }
    const bool second = j.substr(0, kJournalMagic.size()) == kJournalMagic;
    if (!second && j.substr(0, kFirstJournalMagic.size()) != kFirstJournalMagic) {
        return std::nullopt;
    }
    const std::uint64_t oldLength = GetLe(j, 8, 8);
    const std::uint64_t newLength = GetLe(j, 16, 8);
    const std::uint64_t body = j.size() - kHeaderSize - 4;
    if (oldLength > body || (second ? newLength != body - oldLength : oldLength != body)) {
        return std::nullopt;
    }
    if (GetLe(j, j.size() - 4, 4) != Crc32(j.substr(0, j.size() - 4))) {
        return std::nullopt;
    }
    Journal journal;
    journal.OldBytes.assign(j.substr(kHeaderSize, oldLength));
    if (Crc32(journal.OldBytes) != GetLe(j, 24, 4)) {
        return std::nullopt;
    }
    journal.NewLength = newLength;
    journal.NewCrc = static_cast<std::uint32_t>(GetLe(j, 28, 4));
    if (second) {
        journal.HasNewBytes = true;
        journal.NewBytes.assign(j.substr(kHeaderSize + oldLength, newLength));
        if (Crc32(journal.NewBytes) != journal.NewCrc) {
            return std::nullopt;
        }
    }
    return journal;
}

// What lies at a journal's name.
enum class JournalKind {
    None,     // nothing
    Busy,     // being written by another change, which holds the menu file and will finish
    Torn,     // ours, but written only in part: the menu file was not touched yet
    Valid,    // ours and whole
    Foreign,  // a folder, or a file that is not a journal: never touched
};

JournalKind ReadJournal(FileSystem& fs, const std::string& journalPath,
                        std::optional<Journal>& journal, FileError& error) {
    error = FileError::None;
    menufile::PathKind kind = menufile::PathKind::Missing;
    if (error = fs.Probe(journalPath, kind); error != FileError::None) {
        return JournalKind::None;
    }
    if (kind == menufile::PathKind::Missing) {
        return JournalKind::None;
    }
    if (kind == menufile::PathKind::Folder) {
        return JournalKind::Foreign;
    }
    std::string raw;
    if (error = fs.ReadFile(journalPath, raw); error != FileError::None) {
        if (error == FileError::InUse) {
            error = FileError::None;
            return JournalKind::Busy;
        }
        return JournalKind::None;
    }
    // A journal is known by its signature. A file created but never written, or zeroed by a
    // power loss, is a journal too: its writer had not touched the menu file yet.
    if (raw.find_first_not_of('\0') == std::string::npos) {
        return JournalKind::Torn;
    }
    const std::size_t stem = std::min(raw.size(), kMagicStem.size());
    if (raw.substr(0, stem) != kMagicStem.substr(0, stem)) {
        return JournalKind::Foreign;
    }
    journal = DecodeJournal(raw);
    return journal ? JournalKind::Valid : JournalKind::Torn;
}

// What the menu file holds against a whole journal.
enum class Content { Old, New, Torn, Users };

Content Classify(std::string_view current, const Journal& journal) {
    if (current == journal.OldBytes) {
        return Content::Old;
    }
    if (current.size() == journal.NewLength && Crc32(current) == journal.NewCrc) {
        return Content::New;
    }
    if (!journal.HasNewBytes) {
        return Content::Torn;  // a journal of the first format cannot tell more
    }
    // The new bytes are written over the old ones from the start, then the file is cut to the
    // new length: every byte is old, new, or zero where a power loss dropped it.
    const std::string_view old = journal.OldBytes;
    const std::string_view next = journal.NewBytes;
    if (current.size() < std::min(old.size(), next.size()) ||
        current.size() > std::max(old.size(), next.size())) {
        return Content::Users;
    }
    for (std::size_t i = 0; i < current.size(); ++i) {
        const char c = current[i];
        if (c != '\0' && !(i < old.size() && c == old[i]) && !(i < next.size() && c == next[i])) {
            return Content::Users;
        }
    }
    return Content::Torn;
}

// A free name beside the journal to keep it under: "<menu>.journal.stale", then "-2", "-3"...
MenuError SetAside(FileSystem& fs, const std::string& journalPath, std::string* setAside) {
    for (int n = 1; n <= 99; ++n) {
        const std::string name =
            journalPath + ".stale" + (n == 1 ? std::string() : "-" + std::to_string(n));
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
    std::optional<Journal> journal;
    FileError error = FileError::None;
    switch (ReadJournal(fs, journalPath, journal, error)) {
        case JournalKind::None:
        case JournalKind::Busy:  // its writer finishes it; a change then waits for that writer
            return FromFileError(error);
        case JournalKind::Foreign:
            return MenuError::ForeignJournal;
        case JournalKind::Torn:
            return FromFileError(fs.Remove(journalPath));
        case JournalKind::Valid:
            break;
    }
    std::unique_ptr<File> menu;
    FileError e = fs.OpenForUpdate(path, menu);
    if (e == FileError::NotFound) {
        // The menu file itself was removed: nothing is left to repair.
        return FromFileError(fs.Remove(journalPath));
    }
    if (e != FileError::None) {
        return FromFileError(e);
    }
    std::string current;
    if (e = menu->ReadAll(current); e != FileError::None) {
        return FromFileError(e);
    }
    switch (Classify(current, *journal)) {
        case Content::Old:
        case Content::New:
            break;
        case Content::Torn:
            if (e = WriteWhole(*menu, journal->OldBytes); e != FileError::None) {
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

FileError ReadCommittedMenu(FileSystem& fs, const std::string& path, std::string& out) {
    if (FileError e = fs.ReadFile(path, out); e != FileError::None) {
        return e;
    }
    std::optional<Journal> journal;
    FileError error = FileError::None;
    if (ReadJournal(fs, JournalPath(path), journal, error) == JournalKind::Valid &&
        Classify(out, *journal) == Content::Torn) {
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
