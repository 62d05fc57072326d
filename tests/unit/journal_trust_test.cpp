// Journals are acted on only when whoever may write the menu file could have written them.
#include <gtest/gtest.h>

#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"
#include "menufile/menu_journal.h"
#include "tests/support/memory_file_system.h"

namespace {

using menufile::FileError;
using menufile::MenuError;
using platform::MemoryFileSystem;

const std::string kPath = "\\\\server\\shared\\tools.tvl";
const std::string kJournal = menufile::JournalPath(kPath);
const std::string kMenu =
    "BM\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"notepad.exe\",\"\",\"\",\"\",0\r\n"
    "\"Calculator\",\"calc.exe\",\"\",\"\",\"\",0\r\n"
    "\"Paint\",\"mspaint.exe\",\"\",\"\",\"\",0\r\n";
// Shorter than the menu, so that the menu reads as a save from it cut short.
const std::string kPlanted =
    "BM\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"\\\\evil\\s\\p.exe\",\"\",\"\",\"\",0\r\n";

// The menu, owned by `menuOwner`, opened by `user`; beside it a journal owned by `journalOwner`
// that makes the menu look like a half-written save of `kPlanted`.
MemoryFileSystem Disk(const std::string& menuOwner, const std::string& user,
                      const std::string& journalOwner) {
    MemoryFileSystem fs;
    fs.Put(kPath, kMenu);
    fs.Put(kJournal, menufile::EncodeJournal(kPlanted, kMenu + "x"));
    fs.SetOwner(kPath, menuOwner);
    fs.SetOwner(kJournal, journalOwner);
    fs.SetCurrentUser(user);
    return fs;
}

TEST(JournalTrust, AJournalOfAnotherUserIsNeverAppliedAndStopsChanges) {
    for (const char* user : {"alice", "bob"}) {  // the menu's owner, or another who may write
        SCOPED_TRACE(user);
        MemoryFileSystem fs = Disk("alice", user, "mallory");
        std::string seen;
        ASSERT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
        EXPECT_EQ(seen, kMenu) << "readers see the file as it is";
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::UntrustedJournal);
        EXPECT_EQ(menufile::ChangeMenuFile(
                      fs, kPath,
                      [](std::string_view old) {
                          return menufile::AppendItem(old, {"B", "b.exe", "", "", "", "0"});
                      }),
                  MenuError::UntrustedJournal);
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kMenu, kPlanted),
                  MenuError::UntrustedJournal);
        EXPECT_EQ(fs.Get(kPath), kMenu);
        const std::string journal = *fs.Get(kJournal);

        // Set aside, it is kept as it was and changes go through again.
        std::string setAside;
        ASSERT_EQ(menufile::SetAsideUntrustedJournal(fs, kPath, &setAside), MenuError::None);
        EXPECT_EQ(setAside, kJournal + ".untrusted");
        EXPECT_EQ(fs.Get(setAside), journal);
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
        EXPECT_EQ(fs.Get(kPath), kMenu);
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kMenu, kPlanted), MenuError::None);
    }
    // A second one set aside does not replace the first.
    MemoryFileSystem fs = Disk("alice", "alice", "mallory");
    fs.Put(kJournal + ".untrusted", "earlier");
    std::string setAside;
    ASSERT_EQ(menufile::SetAsideUntrustedJournal(fs, kPath, &setAside), MenuError::None);
    EXPECT_EQ(setAside, kJournal + ".untrusted-2");
    EXPECT_EQ(fs.Get(kJournal + ".untrusted"), "earlier");
}

TEST(JournalTrust, AJournalOfTheUserOrOfTheMenusOwnerIsActedOn) {
    struct Case {
        const char* menuOwner;
        const char* user;
        const char* journalOwner;
    };
    // The user's own journal; the menu owner's, seen by another user; a file system that keeps
    // no owners at all.
    for (const Case& c :
         {Case{"alice", "bob", "bob"}, Case{"alice", "bob", "alice"}, Case{"", "bob", ""}}) {
        SCOPED_TRACE(std::string(c.menuOwner) + "/" + c.user + "/" + c.journalOwner);
        MemoryFileSystem fs = Disk(c.menuOwner, c.user, c.journalOwner);
        std::string seen;
        ASSERT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
        EXPECT_EQ(seen, kPlanted) << "an unfinished save of a trusted writer";
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
        EXPECT_EQ(fs.Get(kPath), kPlanted);
        EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
    }
}

// Even a journal that says nothing (torn) is another user's file: left alone, and reported.
TEST(JournalTrust, ATornJournalOfAnotherUserIsLeftAlone) {
    MemoryFileSystem fs = Disk("alice", "alice", "alice");
    ASSERT_EQ(fs.Remove(kJournal), FileError::None);
    fs.SetCurrentUser("mallory");
    fs.Put(kJournal, "TVLJRNL2 torn");
    fs.SetCurrentUser("alice");
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::UntrustedJournal);
    EXPECT_EQ(fs.Get(kJournal), "TVLJRNL2 torn");
    EXPECT_EQ(fs.Get(kPath), kMenu);
}

}  // namespace
