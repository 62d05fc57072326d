// libFuzzer target: recovery over the in-memory file system, with a journal and a menu file
// taken from the input (split where its third byte says). Whatever they hold, recovery ends, leaves
// the menu file as it was or as the journal's old bytes, and keeps or removes the journal only
// as it may; a second recovery has nothing left to do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "menufile/menu_commit.h"
#include "menufile/menu_journal.h"
#include "tests/support/memory_file_system.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const std::string kPath = "C:\\menus\\tools.tvl";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Byte 0: what to vary (bit 0: wrap the journal part as a whole journal of its halves,
    // bit 1: another user owns the journal); bytes 1-2: the journal part's length.
    if (size < 3) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::size_t split = std::min<std::size_t>(input.size(), data[1] | data[2] << 8);
    std::string journal = input.substr(0, split);
    const std::string menu = input.substr(split);
    if (data[0] & 1) {
        journal = menufile::EncodeJournal(journal.substr(0, journal.size() / 2),
                                          journal.substr(journal.size() / 2));
    }
    const std::string journalPath = menufile::JournalPath(kPath);
    platform::MemoryFileSystem fs;
    fs.Put(kPath, menu);
    fs.Put(journalPath, journal);
    if (data[0] & 2) {
        fs.SetOwner(journalPath, "someone else");
    }

    std::string seen;
    Require(menufile::ReadCommittedMenu(fs, kPath, seen) == menufile::FileError::None);
    const std::optional<menufile::Journal> decoded = menufile::DecodeJournal(journal);
    Require(seen == menu || (decoded && seen == decoded->OldBytes));

    std::string setAside;
    const menufile::MenuError e = menufile::RecoverMenuFile(fs, kPath, &setAside);
    const std::optional<std::string> after = fs.Get(kPath);
    Require(after && (*after == menu || (decoded && *after == decoded->OldBytes)));
    Require(*after == seen || e != menufile::MenuError::None);
    if (e == menufile::MenuError::None) {
        Require(!fs.Get(journalPath));
        Require(setAside.empty() || fs.Get(setAside) == journal);
        std::string again;
        Require(menufile::RecoverMenuFile(fs, kPath, &again) == menufile::MenuError::None);
        Require(again.empty() && fs.Get(kPath) == after);
    } else {
        Require(fs.Get(journalPath) == journal);  // left as it was
    }
    return 0;
}
