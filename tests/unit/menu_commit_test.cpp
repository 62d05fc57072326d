// The journaled commit: results, error reporting, recovery, and the full fault harness.
#include <gtest/gtest.h>

#include "commit_harness.h"
#include "menufile/menu_file.h"
#include "tests/support/interfering_file_system.h"
#include "tests/support/memory_file_system.h"

namespace {

using menufile::MenuError;
using menufile::FileError;
using platform::MemoryFileSystem;

const std::string kPath = "D:\\menu.tvl";
const std::string kOld =
    "BM\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"A\",\"a.exe\",\"\",\"\",\"\",0\r\n";
const std::string kNew = kOld + "\"B\",\"b.exe\",\"\",\"\",\"\",0\r\n";
const std::string kShort = "BM\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"Tahoma\",8,0,0\r\n";

TEST(Commit, ReplacesContentRemovesJournalAndTellsTheShell) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, kNew), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kNew);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
    EXPECT_EQ(fs.Notifications(), 1);
    // Shrinking cuts the file to its new length.
    EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kNew, kOld), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kOld);
}

TEST(Commit, FailsBeforeCreatingAnythingWhenTheMenuCannotBeWritten) {
    struct Case {
        const char* name;
        void (*prepare)(MemoryFileSystem&);
        MenuError expected;
    };
    const Case cases[] = {
        {"read-only", [](MemoryFileSystem& fs) { fs.SetReadOnly(kPath, true); },
         MenuError::ReadOnly},
        {"in use", [](MemoryFileSystem& fs) { fs.SetInUse(kPath, true); }, MenuError::InUse},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        fs.Put(kPath, kOld);
        c.prepare(fs);
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, kNew), c.expected) << c.name;
        EXPECT_EQ(fs.Get(kPath), kOld) << c.name;
        EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath}) << c.name;
    }
    MemoryFileSystem empty;
    EXPECT_EQ(menufile::CommitMenuFile(empty, kPath, kOld, kNew), MenuError::NotFound);
    EXPECT_TRUE(empty.Paths().empty()) << "a missing menu file must not be created";
}

TEST(Commit, DiskFullKeepsTheOldContent) {
    // Room for the journal but not for the grown menu, then not even for the journal.
    for (std::size_t capacity : {kOld.size() * 2 + 40, kOld.size() + 10}) {
        MemoryFileSystem fs;
        fs.Put(kPath, kOld);
        fs.SetCapacity(capacity);
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, kNew), MenuError::DiskFull) << capacity;
        EXPECT_EQ(fs.Get(kPath), kOld);
        EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
    }
}

TEST(Commit, RefusesContentThatDoesNotReadBackAsAMenu) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    for (std::string bad : {std::string("no marker"), std::string("x\r\n<START TVL>\r\n\"USERDEF\""),
                            kOld + "\"cut\",\"short\""}) {
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, bad), MenuError::Damaged) << bad;
    }
    EXPECT_EQ(fs.Get(kPath), kOld);
    EXPECT_EQ(fs.Calls(), 0) << "nothing may be touched for refused content";
}

// The disk a commit from `from` to `to` leaves when it dies after `calls` file calls.
MemoryFileSystem InterruptedCommit(const std::string& from, const std::string& to, int calls) {
    MemoryFileSystem fs;
    fs.Put(kPath, from);
    fs.CrashAt(calls + 1);
    try {
        (void)menufile::CommitMenuFile(fs, kPath, from, to);
    } catch (const MemoryFileSystem::SimulatedCrash&) {
    }
    fs.ClearFaults();
    return fs;
}

TEST(Recovery, UndoesAHalfWrittenCommitAndKeepsAFinishedOne) {
    // Calls: exists, open, read, create, write, flush | write menu, set length, flush, read,
    // remove journal.
    MemoryFileSystem journalOnly = InterruptedCommit(kOld, kNew, 6);
    std::string seen;
    ASSERT_EQ(menufile::ReadCommittedMenu(journalOnly, kPath, seen), FileError::None);
    EXPECT_EQ(seen, kOld);

    // Shrinking: the new bytes are written but the old tail is still there.
    MemoryFileSystem halfWritten = InterruptedCommit(kNew, kShort, 7);
    ASSERT_NE(halfWritten.Get(kPath), kNew);
    ASSERT_EQ(menufile::ReadCommittedMenu(halfWritten, kPath, seen), FileError::None);
    EXPECT_EQ(seen, kNew) << "a reader must not see a half-written menu";
    EXPECT_EQ(menufile::RecoverMenuFile(halfWritten, kPath), MenuError::None);
    EXPECT_EQ(halfWritten.Get(kPath), kNew);
    EXPECT_EQ(halfWritten.Paths(), std::vector<std::string>{kPath});

    // Flushed and checked, only the journal's deletion missing: the change stays.
    MemoryFileSystem arrived = InterruptedCommit(kOld, kNew, 10);
    ASSERT_EQ(menufile::ReadCommittedMenu(arrived, kPath, seen), FileError::None);
    EXPECT_EQ(seen, kNew);
    EXPECT_EQ(menufile::RecoverMenuFile(arrived, kPath), MenuError::None);
    EXPECT_EQ(arrived.Get(kPath), kNew);
    EXPECT_EQ(arrived.Paths(), std::vector<std::string>{kPath});
}

// Journals stay readable across versions: their checksums are the standard CRC-32.
TEST(Recovery, TheJournalKeepsTheStandardCrcOfTheOldBytes) {
    MemoryFileSystem fs = InterruptedCommit("123456789", kOld, 6);  // the journal is flushed
    const std::string journal = fs.Get(menufile::JournalPath(kPath)).value_or("");
    ASSERT_GE(journal.size(), 32u);
    EXPECT_EQ(journal.substr(0, 8), "TVLJRNL2");
    EXPECT_EQ(journal.substr(32, 9), "123456789") << "the old bytes";
    EXPECT_EQ(journal.substr(41, kOld.size()), kOld) << "then the new ones";
    std::uint32_t crc = 0;
    for (int i = 0; i < 4; ++i) {
        crc |= static_cast<std::uint32_t>(static_cast<unsigned char>(journal[24 + i])) << (8 * i);
    }
    EXPECT_EQ(crc, 0xCBF43926u);
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), "123456789");
}

TEST(Recovery, DeletesATornJournalWithoutTouchingTheMenu) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    fs.Put(menufile::JournalPath(kPath), "TVLJRNL1\x05\0\0garbage");
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kOld);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
}

TEST(ChangeMenuFile, RecoversAnInterruptedCommitAndBuildsFromWhatWon) {
    MemoryFileSystem fs = InterruptedCommit(kNew, kShort, 7);
    std::string seen;
    MenuError e = menufile::ChangeMenuFile(fs, kPath, [&](std::string_view old) {
        seen = old;
        return menufile::AppendItem(old, {"C", "c.exe", "", "", "", "0"});
    });
    EXPECT_EQ(e, MenuError::None);
    EXPECT_EQ(seen, kNew);
    EXPECT_EQ(fs.Get(kPath), kNew + "\"C\",\"c.exe\",\"\",\"\",\"\",0\r\n");
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
}

TEST(ChangeMenuFile, BuildsFromTheCurrentContentAndCommits) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    MenuError e = menufile::ChangeMenuFile(fs, kPath, [](std::string_view old) {
        return menufile::AppendItem(old, {"B", "b.exe", "", "", "", "0"});
    });
    EXPECT_EQ(e, MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kNew);

    const int calls = fs.Calls();
    e = menufile::ChangeMenuFile(fs, kPath, [](std::string_view old) {
        return menufile::AppendItem(old, {"Say \"hi\"", "b.exe", "", "", "", "0"});
    });
    EXPECT_EQ(e, MenuError::BadText);
    EXPECT_EQ(fs.Get(kPath), kNew);
    EXPECT_EQ(fs.Calls() - calls, 3) << "a refused change only looks: exists, open, read";

    // Content the file already holds is not written again.
    e = menufile::ChangeMenuFile(fs, kPath, [](std::string_view old) {
        return menufile::Built{MenuError::None, std::string(old)};
    });
    EXPECT_EQ(e, MenuError::None);
    EXPECT_EQ(fs.Notifications(), 1);
}

TEST(ChangeMenuFile, HoldsTheFileAgainstOtherWritersButNotReaders) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    MenuError other = MenuError::None;
    std::string seenByReader;
    MenuError e = menufile::ChangeMenuFile(fs, kPath, [&](std::string_view old) {
        // Another editor tries to commit while this change is being built.
        other = menufile::CommitMenuFile(fs, kPath, kOld, kShort);
        EXPECT_EQ(fs.ReadFile(kPath, seenByReader), FileError::None);
        return menufile::AppendItem(old, {"B", "b.exe", "", "", "", "0"});
    });
    EXPECT_EQ(e, MenuError::None);
    EXPECT_EQ(other, MenuError::InUse);
    EXPECT_EQ(seenByReader, kOld);
    EXPECT_EQ(fs.Get(kPath), kNew);
}

TEST(Commit, WritesNothingOverBytesItWasNotBuiltFrom) {
    MemoryFileSystem fs;
    fs.Put(kPath, kNew);
    EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, kShort), MenuError::Changed);
    EXPECT_EQ(fs.Get(kPath), kNew);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
    EXPECT_EQ(fs.Notifications(), 0);
}

// Another program appends an item just before each file call of a change in turn. Its change
// either lands before this one reads the file, so this one is built on it, or it is kept out
// while this one holds the file; a change whose base moved is refused. Nothing is ever lost.
TEST(ChangeMenuFile, AnotherWriterBeforeEveryFileCallLosesNothing) {
    const std::string mine = kOld + "\"Mine\",\"m.exe\",\"\",\"\",\"\",0\r\n";
    const menufile::MenuItem theirs{"Theirs", "t.exe", "", "", "", "0"};
    int interfered = 0;
    int refusedTheirs = 0;
    int builtOnTheirs = 0;
    for (int call = 1;; ++call) {
        SCOPED_TRACE("the other writer before call " + std::to_string(call));
        MemoryFileSystem disk;
        disk.Put(kPath, kOld);
        MenuError otherResult = MenuError::Other;
        test_support::InterferingFileSystem fs(disk, call, [&] {
            otherResult = menufile::ChangeMenuFile(disk, kPath, [&](std::string_view old) {
                return menufile::AppendItem(old, theirs);
            });
        });
        // This change was made against kOld: it appends "Mine" to exactly those bytes.
        const MenuError result = menufile::ChangeMenuFile(fs, kPath, [&](std::string_view old) {
            if (old != kOld && old != kOld + menufile::FormatItemLine(theirs)) {
                return menufile::Built{MenuError::Changed, {}};
            }
            return menufile::AppendItem(old, {"Mine", "m.exe", "", "", "", "0"});
        });
        if (!fs.Interfered()) {
            EXPECT_EQ(result, MenuError::None);
            EXPECT_EQ(disk.Get(kPath), mine);
            break;
        }
        ++interfered;
        const std::string now = disk.Get(kPath).value_or("<missing>");
        const menufile::MenuFile file = menufile::ReadMenu(now);
        ASSERT_EQ(file.Status, menufile::ReadStatus::Ok) << now;
        auto has = [&](const std::string& name) {
            for (const auto& item : file.Items) {
                if (item.Name == name) {
                    return true;
                }
            }
            return false;
        };
        if (otherResult == MenuError::None) {
            EXPECT_TRUE(has("Theirs")) << "the other writer's reported change was lost";
            builtOnTheirs += has("Mine") ? 1 : 0;
        } else {
            EXPECT_EQ(otherResult, MenuError::InUse) << "kept out while the file is held";
            EXPECT_FALSE(has("Theirs"));
            ++refusedTheirs;
        }
        if (result == MenuError::None) {
            EXPECT_TRUE(has("Mine")) << "this change was reported written but is not there";
        } else {
            EXPECT_EQ(result, MenuError::Changed);
            EXPECT_FALSE(has("Mine"));
        }
        EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath});
    }
    EXPECT_GE(interfered, 8);
    EXPECT_GT(refusedTheirs, 0);
    EXPECT_GT(builtOnTheirs, 0);
}

TEST(CommitHarness, NoFaultCrashOrPowerLossLosesOrCorruptsAMenu) {
    harness::Counts faults, crashes;
    for (const harness::Change& change : harness::SampleChanges()) {
        faults += harness::RunFaultInjection(change);
        crashes += harness::RunCrashes(change);
    }
    std::printf("fault injection: %s\n", faults.Summary().c_str());
    std::printf("crashes:         %s\n", crashes.Summary().c_str());
    for (const harness::Counts& c : {faults, crashes}) {
        EXPECT_GT(c.Runs, 0);
        EXPECT_EQ(c.Lost, 0);
        EXPECT_EQ(c.Corrupted, 0);
        EXPECT_EQ(c.Leftovers, 0);
        EXPECT_EQ(c.Unreadable, 0);
    }
    EXPECT_GT(faults.Faults, 0);
    EXPECT_GT(crashes.CrashStates, 500);
}

}  // namespace

namespace {

using test_support::InterferingFileSystem;

const std::string kRestored = kOld + "\"Restored\",\"r.exe\",\"\",\"\",\"\",0\r\n";

// After a crash left a journal, the user put a backup back, or edited the file by hand: that
// content is kept whatever the crash left, and the journal is set aside, once.
TEST(StaleJournal, AFileThatIsNeitherOldNewNorAMixOfThemIsTheUsers) {
    int states = 0;
    int keptAside = 0;
    for (int calls = 4; calls <= 10; ++calls) {  // from the journal's creation to its deletion
        for (const MemoryFileSystem& crashed : InterruptedCommit(kOld, kNew, calls)
                                                   .PowerLossStates()) {
            MemoryFileSystem fs = crashed;
            if (!fs.Get(menufile::JournalPath(kPath))) {
                continue;
            }
            ++states;
            fs.Put(kPath, kRestored);
            std::string seen;
            ASSERT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
            EXPECT_EQ(seen, kRestored) << "readers see what the user put there";
            std::string setAside;
            const MenuError e = menufile::RecoverMenuFile(fs, kPath, &setAside);
            if (setAside.empty()) {
                // A journal torn before the menu was touched says nothing and goes.
                EXPECT_EQ(e, MenuError::None);
                EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
            } else {
                ++keptAside;
                EXPECT_EQ(e, MenuError::None);
                EXPECT_EQ(setAside, menufile::JournalPath(kPath) + ".stale");
                EXPECT_TRUE(fs.Get(setAside).has_value()) << "kept, not deleted";
                EXPECT_FALSE(fs.Get(menufile::JournalPath(kPath)).has_value());
            }
            EXPECT_EQ(fs.Get(kPath), kRestored);
            std::string again;
            EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath, &again), MenuError::None);
            EXPECT_TRUE(again.empty()) << "told once";
        }
    }
    EXPECT_GT(states, 5);
    EXPECT_GT(keptAside, 3);

    // A second stale journal does not replace the first one kept.
    MemoryFileSystem fs = InterruptedCommit(kOld, kNew, 7);
    fs.Put(menufile::JournalPath(kPath) + ".stale", "kept earlier");
    fs.Put(kPath, kRestored);
    std::string setAside;
    ASSERT_EQ(menufile::RecoverMenuFile(fs, kPath, &setAside), MenuError::None);
    EXPECT_EQ(setAside, menufile::JournalPath(kPath) + ".stale-2");
    EXPECT_EQ(fs.Get(menufile::JournalPath(kPath) + ".stale"), "kept earlier");
}

// Nothing but a journal is a journal: another file or a folder of that name is never touched,
// and a change is refused rather than write around it.
TEST(ForeignJournal, IsNeverTouchedAndStopsChanges) {
    const std::string journal = menufile::JournalPath(kPath);
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder" : "a file");
        MemoryFileSystem fs;
        fs.Put(kPath, kOld);
        if (folder) {
            fs.MakeFolder(journal);
        } else {
            fs.Put(journal, "my own notes, not a journal\r\n");
        }
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::ForeignJournal);
        std::string seen;
        EXPECT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
        EXPECT_EQ(seen, kOld);
        const MenuError change = menufile::ChangeMenuFile(fs, kPath, [](std::string_view old) {
            return menufile::AppendItem(old, {"B", "b.exe", "", "", "", "0"});
        });
        EXPECT_EQ(change, MenuError::ForeignJournal);
        EXPECT_EQ(menufile::CommitMenuFile(fs, kPath, kOld, kNew), MenuError::ForeignJournal);
        EXPECT_EQ(fs.Get(kPath), kOld);
        if (!folder) {
            EXPECT_EQ(fs.Get(journal), "my own notes, not a journal\r\n");
        }
    }
}

// A journal left by the earlier format (old bytes only) is still finished or undone.
TEST(StaleJournal, AJournalOfTheFirstFormatIsStillRolledBack) {
    MemoryFileSystem fs = InterruptedCommit(kNew, kShort, 7);  // torn: the new bytes half in
    std::string journal = *fs.Get(menufile::JournalPath(kPath));
    // Rewrite it as the first format wrote it: no new bytes, "TVLJRNL1".
    const std::size_t oldLength = kNew.size();
    std::string first = "TVLJRNL1" + journal.substr(8, 24) + journal.substr(32, oldLength);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : first) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) {
        first += static_cast<char>((crc >> (8 * i)) & 0xFF);
    }
    ASSERT_EQ(fs.Remove(menufile::JournalPath(kPath)), FileError::None);
    fs.Put(menufile::JournalPath(kPath), first);
    std::string seen;
    ASSERT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
    EXPECT_EQ(seen, kNew);
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kNew);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
}

// Two changes, each built from what it read, interleaved at every file call of the other:
// each that says it is done is in the file; the other is refused, never lost.
TEST(ChangeMenuFile, TwoChangesInterleavedAtEveryCallOfEither) {
    const menufile::MenuItem a{"X", "x.exe", "", "", "", "0"};
    const menufile::MenuItem b{"Y", "y.exe", "", "", "", "0"};
    auto appendOver = [](const std::string& base, const menufile::MenuItem& item) {
        return [base, item](std::string_view old) {
            return old == base ? menufile::AppendItem(old, item)
                               : menufile::Built{MenuError::Changed, {}};
        };
    };
    for (bool aFirst : {true, false}) {
        for (int call = 1;; ++call) {
            SCOPED_TRACE(std::to_string(call) + (aFirst ? " of X" : " of Y"));
            MemoryFileSystem disk;
            disk.Put(kPath, kOld);
            const auto& [outer, inner] = aFirst ? std::pair{a, b} : std::pair{b, a};
            MenuError innerResult = MenuError::Other;
            InterferingFileSystem fs(disk, call, [&] {
                innerResult = menufile::ChangeMenuFile(disk, kPath, appendOver(kOld, inner));
            });
            const MenuError outerResult =
                menufile::ChangeMenuFile(fs, kPath, appendOver(kOld, outer));
            if (!fs.Interfered()) {
                break;
            }
            const std::string now = disk.Get(kPath).value_or("");
            const bool hasOuter = now.find(menufile::FormatItemLine(outer)) != std::string::npos;
            const bool hasInner = now.find(menufile::FormatItemLine(inner)) != std::string::npos;
            EXPECT_EQ(hasOuter, outerResult == MenuError::None);
            EXPECT_EQ(hasInner, innerResult == MenuError::None);
            EXPECT_TRUE(hasOuter != hasInner) << "exactly one of two changes of one base";
            EXPECT_TRUE(outerResult == MenuError::None || outerResult == MenuError::Changed);
            EXPECT_TRUE(innerResult == MenuError::None || innerResult == MenuError::InUse);
            EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath});
        }
    }
}

}  // namespace

namespace {

// A journal another change is still writing is that change's: recovery leaves it, and a change
// made meanwhile waits for that writer at the menu file instead of failing on the journal.
TEST(Recovery, LeavesAJournalAnotherChangeIsWriting) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOld);
    std::unique_ptr<menufile::File> writing;
    ASSERT_EQ(fs.Create(menufile::JournalPath(kPath), writing), FileError::None);
    ASSERT_EQ(writing->WriteAt(0, "TVLJRNL2 half"), FileError::None);
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    std::string seen;
    EXPECT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
    EXPECT_EQ(seen, kOld);
    writing.reset();
    EXPECT_EQ(fs.Get(menufile::JournalPath(kPath)), "TVLJRNL2 half") << "not touched while busy";
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath}) << "torn, once its writer is gone";
}

}  // namespace

namespace {

// The journal a commit from `from` to `to` leaves once it is flushed, before the menu is
// touched; rewritten in the first format (no new bytes, "TVLJRNL1") when `first`.
std::string JournalOf(const std::string& from, const std::string& to, bool first) {
    MemoryFileSystem fs = InterruptedCommit(from, to, 6);
    std::string journal = fs.Get(menufile::JournalPath(kPath)).value_or("");
    if (!first) {
        return journal;
    }
    std::string old = "TVLJRNL1" + journal.substr(8, 24) + journal.substr(32, from.size());
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : old) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) {
        old += static_cast<char>((crc >> (8 * i)) & 0xFF);
    }
    return old;
}

// A commit can only leave a length between the old and the new one: with either layout, a
// file of any other length is the user's and is kept, the journal set aside.
TEST(StaleJournal, AFileOfALengthNoCommitLeavesIsKeptWithEitherLayout) {
    const std::string journalPath = menufile::JournalPath(kPath);
    for (bool first : {true, false}) {
        SCOPED_TRACE(first ? "first layout" : "second layout");
        const std::string journal = JournalOf(kNew, kShort, first);
        ASSERT_FALSE(journal.empty());
        for (const std::string& users : {kRestored + "\"More\",\"m.exe\",\"\",\"\",\"\",0\r\n",
                                         std::string("BM\r\n<START TVL>\r\n")}) {
            ASSERT_TRUE(users.size() > kNew.size() || users.size() < kShort.size());
            MemoryFileSystem fs;
            fs.Put(kPath, users);
            fs.Put(journalPath, journal);
            std::string seen;
            ASSERT_EQ(menufile::ReadCommittedMenu(fs, kPath, seen), FileError::None);
            EXPECT_EQ(seen, users) << "readers see the user's file";
            std::string setAside;
            EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath, &setAside), MenuError::None);
            EXPECT_EQ(fs.Get(kPath), users) << "never rolled back";
            EXPECT_EQ(setAside, journalPath + ".stale");
            EXPECT_EQ(fs.Get(setAside), journal);
        }
        // A length a commit can leave is still rolled back.
        MemoryFileSystem fs;
        fs.Put(kPath, kNew.substr(0, kShort.size() + 3));
        fs.Put(journalPath, journal);
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
        EXPECT_EQ(fs.Get(kPath), kNew);
        EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
    }
}

// With no menu file at its path (deleted, or a folder put there), a whole journal is the last
// content saved: it is kept under another name, not deleted.
TEST(StaleJournal, AWholeJournalOfAMissingMenuIsKept) {
    const std::string journalPath = menufile::JournalPath(kPath);
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder at the menu's path" : "no menu file");
        MemoryFileSystem fs = InterruptedCommit(kOld, kNew, 6);
        const std::string journal = fs.Get(journalPath).value_or("");
        ASSERT_FALSE(journal.empty());
        ASSERT_EQ(fs.Remove(kPath), FileError::None);
        if (folder) {
            fs.MakeFolder(kPath);
        }
        std::string setAside;
        EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath, &setAside), MenuError::None);
        EXPECT_EQ(setAside, journalPath + ".stale");
        EXPECT_EQ(fs.Get(setAside), journal) << "kept whole";
        EXPECT_FALSE(fs.Get(journalPath).has_value());
        EXPECT_EQ(fs.Get(kPath).has_value(), folder) << "nothing made at the menu's path";
    }
    // A torn journal beside no menu says nothing and goes, as before.
    MemoryFileSystem fs;
    fs.Put(journalPath, "TVLJRNL2 cut");
    EXPECT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
    EXPECT_TRUE(fs.Paths().empty());
}

// Another editor finishes the interrupted commit and then commits twice more at every moment
// of a recovery: the recovery never acts on a journal it read before it held the file, so
// the other editor's reported saves stay in the file.
TEST(Recovery, ACommitBetweenReadingTheJournalAndHoldingTheFileIsKept) {
    const std::string first = menufile::FormatItemLine({"B", "b.exe", "", "", "", "0"});
    const std::string second = menufile::FormatItemLine({"Two", "2.exe", "", "", "", "0"});
    const std::string interrupted = kOld + first + second;  // the journal's new content
    const std::string other = kOld + "\"Other\",\"o.exe\",\"\",\"\",\"\",0\r\n";
    const std::string last = kOld + first;  // a length and bytes the journal could explain
    int interfered = 0;
    for (int call = 1;; ++call) {
        SCOPED_TRACE("the other editor before call " + std::to_string(call));
        MemoryFileSystem disk = InterruptedCommit(kOld, interrupted, 6);
        MenuError one = MenuError::Other;
        MenuError two = MenuError::Other;
        InterferingFileSystem fs(disk, call, [&] {
            one = menufile::ChangeMenuFile(disk, kPath, [&](std::string_view) {
                return menufile::Built{MenuError::None, other};
            });
            two = menufile::ChangeMenuFile(disk, kPath, [&](std::string_view) {
                return menufile::Built{MenuError::None, last};
            });
        });
        const MenuError recovered = menufile::RecoverMenuFile(fs, kPath);
        if (!fs.Interfered()) {
            EXPECT_EQ(recovered, MenuError::None);
            EXPECT_EQ(disk.Get(kPath), kOld);
            break;
        }
        ++interfered;
        const std::string now = disk.Get(kPath).value_or("<missing>");
        if (two == MenuError::None) {
            EXPECT_EQ(now, last) << "the other editor's last save was undone";
        } else if (one == MenuError::None) {
            EXPECT_EQ(now, other) << "the other editor's save was undone";
        } else {
            EXPECT_EQ(one, MenuError::InUse);
            EXPECT_EQ(now, kOld);
        }
        EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath});
    }
    EXPECT_GE(interfered, 3);
}

}  // namespace
