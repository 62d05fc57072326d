// Journaled, in-place commit of a menu file's new content, and its recovery.
//
// Journal layout (little endian): "TVLJRNL1", old length (8 bytes), new length (8),
// CRC-32 of the old bytes (4), CRC-32 of the new bytes (4), the old bytes, and a CRC-32 of
// everything before it (4). A journal that does not check out was torn before the menu file
// was touched, because the menu file is only written after the journal is flushed.
#include "menufile/menu_commit.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "menufile/menu_file.h"

namespace menufile {
namespace {

using platform::File;
using platform::FileError;
using platform::FileSystem;

constexpr std::string_view kJournalMagic = "TVLJRNL1";
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
    std::string OldBytes;
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
    PutLe(j, Crc32(j), 4);
    return j;
}

// Empty when the journal is torn.
std::optional<Journal> DecodeJournal(std::string_view j) {
    if (j.size() < kHeaderSize + 4 || j.substr(0, kJournalMagic.size()) != kJournalMagic) {
        return std::nullopt;
    }
    std::uint64_t oldLength = GetLe(j, 8, 8);
    if (oldLength != j.size() - kHeaderSize - 4) {
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
    journal.NewLength = GetLe(j, 16, 8);
    journal.NewCrc = static_cast<std::uint32_t>(GetLe(j, 28, 4));
    return journal;
}

bool HasArrived(std::string_view content, const Journal& journal) {
    return content.size() == journal.NewLength && Crc32(content) == journal.NewCrc;
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

// A journal that cannot be created in an existing folder means the folder takes no new files.
MenuError JournalError(FileError e) {
    return e == FileError::ReadOnly ? MenuError::FolderReadOnly : FromFileError(e);
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
        case FileError::Other:
            return MenuError::Other;
    }
    return MenuError::Other;
}

std::string JournalPath(const std::string& menuPath) { return menuPath + ".journal"; }

MenuError RecoverMenuFile(FileSystem& fs, const std::string& path) {
    const std::string journalPath = JournalPath(path);
    bool exists = false;
    if (FileError e = fs.Exists(journalPath, exists); e != FileError::None) {
        return FromFileError(e);
    }
    if (!exists) {
        return MenuError::None;
    }
    std::string raw;
    if (FileError e = fs.ReadFile(journalPath, raw); e != FileError::None) {
        return FromFileError(e);
    }
    std::optional<Journal> journal = DecodeJournal(raw);
    if (journal) {
        std::unique_ptr<File> menu;
        FileError e = fs.OpenForUpdate(path, menu);
        if (e == FileError::NotFound) {
            journal.reset();  // the menu file itself was removed: nothing left to repair
        } else if (e != FileError::None) {
            return FromFileError(e);
        } else {
            std::string current;
            if (e = menu->ReadAll(current); e != FileError::None) {
                return FromFileError(e);
            }
            if (!HasArrived(current, *journal) && current != journal->OldBytes) {
                if (e = WriteWhole(*menu, journal->OldBytes); e != FileError::None) {
                    return FromFileError(e);
                }
            }
        }
    }
    return FromFileError(fs.Remove(journalPath));
}

FileError ReadCommittedMenu(FileSystem& fs, const std::string& path, std::string& out) {
    if (FileError e = fs.ReadFile(path, out); e != FileError::None) {
        return e;
    }
    bool exists = false;
    if (fs.Exists(JournalPath(path), exists) != FileError::None || !exists) {
        return FileError::None;
    }
    std::string raw;
    if (fs.ReadFile(JournalPath(path), raw) != FileError::None) {
        return FileError::None;
    }
    if (std::optional<Journal> journal = DecodeJournal(raw);
        journal && !HasArrived(out, *journal)) {
        out = std::move(journal->OldBytes);
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
