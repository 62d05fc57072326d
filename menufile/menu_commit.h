// The one crash-safe way to replace a menu file's content, and the recovery of a broken commit.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "menufile/file_system.h"

namespace menufile {

enum class MenuError {
    None,
    NotAMenu,            // no marker line where one is needed
    Damaged,             // settings missing or a record cut short
    BadText,             // a value the record format cannot hold (a double quote, a line break)
    PictureHoldsMarker,  // the icon picture contains a line equal to the marker
    Changed,             // the file no longer holds what the change was built from
    NotFound,
    ReadOnly,
    InUse,
    DiskFull,
    FolderReadOnly,    // the journal cannot be made beside the menu file
    ForeignJournal,    // something that is not a journal has the journal's name: not touched
    UntrustedJournal,  // a journal another user owns: never acted on, and changes wait for it
    Other,
};

[[nodiscard]] MenuError FromFileError(menufile::FileError error);

// The complete new content of a menu file, or why it cannot be built.
struct Built {
    MenuError Error = MenuError::None;
    std::string Content;
};

// Where the journal of an unfinished commit of this menu file lies.
[[nodiscard]] std::string JournalPath(const std::string& menuPath);

// Replaces the file's content with `content`, which must read back as a complete menu,
// provided the file still holds `basedOn`; otherwise nothing is written and the result is
// Changed. Journal first, then the file is overwritten in place (it keeps its identity),
// flushed and checked; deleting the journal is the commit point. On any failure the previous
// content is put back, or, if even that fails, left to RecoverMenuFile through the journal.
[[nodiscard]] MenuError CommitMenuFile(menufile::FileSystem& fs, const std::string& path,
                                       std::string_view basedOn, std::string_view content);

// Builds a change's new content from the bytes it was read with; an error refuses the change.
using ChangeBuilder = std::function<Built(std::string_view current)>;

// One change: recovery, then the file is opened for writing and read through that handle,
// which keeps other writers out until the commit has ended (readers may go on reading); the
// new content is built from those bytes and committed through the same handle. A file that
// already holds the new content is not written.
// `committed`, when given, receives the file's content once the change is in.
[[nodiscard]] MenuError ChangeMenuFile(menufile::FileSystem& fs, const std::string& path,
                                       const ChangeBuilder& build,
                                       std::string* committed = nullptr);

// Finishes or undoes a commit that a crash interrupted. Safe to run at any time. The menu file
// is held for writing before the journal is read. Only what an interrupted commit can leave is
// rolled back; a file that holds anything else (put back or edited since) is kept, and the
// journal is kept beside it under another name, given in `setAside`; so is a whole journal
// whose menu file is missing or a folder. Something at the journal's name that is no journal is
// never touched: the result is then ForeignJournal. A journal whose owner is neither the
// current user nor the menu file's owner is never acted on: UntrustedJournal.
[[nodiscard]] MenuError RecoverMenuFile(menufile::FileSystem& fs, const std::string& path,
                                        std::string* setAside = nullptr);

// Renames a journal that is not trusted to "<journal>.untrusted" (or "-2", "-3"...), given in
// `setAside`, so that the menu file can be changed again; its content is not looked at.
[[nodiscard]] MenuError SetAsideUntrustedJournal(menufile::FileSystem& fs, const std::string& path,
                                                 std::string* setAside = nullptr);

// The last committed content, without writing anything: the journal's old bytes while a
// commit is unfinished, else the file itself (also when it holds what the user put there
// after a crash, or when the journal is not trusted). For readers that must never write.
[[nodiscard]] menufile::FileError ReadCommittedMenu(menufile::FileSystem& fs,
                                                    const std::string& path, std::string& out);

}  // namespace menufile
