// The one crash-safe way to replace a menu file's content, and the recovery of a broken commit.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace menufile {

enum class MenuError {
    None,
    NotAMenu,            // no marker line where one is needed
    Damaged,             // settings missing or a record cut short
    BadText,             // a value the record format cannot hold (a double quote, a line break)
    PictureHoldsMarker,  // the icon picture contains a line equal to the marker
    NotFound,
    ReadOnly,
    InUse,
    DiskFull,
    Other,
};

[[nodiscard]] MenuError FromFileError(platform::FileError error);

// Where the journal of an unfinished commit of this menu file lies.
[[nodiscard]] std::string JournalPath(const std::string& menuPath);

// Replaces the file's content with `content`, which must read back as a complete menu.
// Journal first, then the file is overwritten in place (it keeps its identity), flushed and
// checked; deleting the journal is the commit point. On any failure the previous content is
// put back, or, if even that fails, left to RecoverMenuFile through the journal.
[[nodiscard]] MenuError CommitMenuFile(platform::FileSystem& fs, const std::string& path,
                                       std::string_view content);

// Finishes or undoes a commit that a crash interrupted. Safe to run at any time.
[[nodiscard]] MenuError RecoverMenuFile(platform::FileSystem& fs, const std::string& path);

// Recovery, then the whole file: what the editor changes.
[[nodiscard]] MenuError ReadMenuFileForChange(platform::FileSystem& fs, const std::string& path,
                                              std::string& out);

// The last committed content, without writing anything: the journal's old bytes while a
// commit is unfinished, else the file itself. For readers that must never write (the engine).
[[nodiscard]] platform::FileError ReadCommittedMenu(platform::FileSystem& fs,
                                                    const std::string& path, std::string& out);

}  // namespace menufile
