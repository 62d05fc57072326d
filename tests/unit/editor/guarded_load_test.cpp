// A load that throws, as on the loader thread: reported, never thrown on, and nothing left
// loaded.
#include "editor/model/guarded_load.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "editor_fixtures.h"
#include "tests/support/interfering_file_system.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::LoadFault;
using editor::LoadStatus;
using editor::MenuEditor;
using platform::MemoryFileSystem;

const std::string kPath = "C:\\menus\\Tools.tvl";
const std::string kOther = "C:\\menus\\Other.tvl";

TEST(GuardedLoad, ReportsWhatTheLoadThrewAndLeavesNoMenuLoaded) {
    MemoryFileSystem memory;
    memory.Put(kPath, UserMenu({kNotepad, kSeparator, kLast}));
    memory.Put(kOther, UserMenu({kLetters}));
    struct Case {
        const char* What;
        std::function<void()> Throw;
        LoadFault Fault;
    };
    const Case cases[] = {
        {"out of memory", [] { throw std::bad_alloc(); }, LoadFault::OutOfMemory},
        {"anything else", [] { throw std::runtime_error("disk gone"); }, LoadFault::Other},
        {"not even an exception", [] { throw 42; }, LoadFault::Other},
    };
    // The file calls of the first load, which must not be interfered with.
    int before = 0;
    {
        test_support::InterferingFileSystem probe(memory, 1 << 30, [] {});
        FakeIcons icons;
        MenuEditor editor(probe, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kOther), LoadStatus::Loaded);
        before = probe.Calls();
    }
    for (const Case& c : cases) {
        // Every file call of the second load in turn throws, until the load gets through.
        for (int call = before + 1;; ++call) {
            SCOPED_TRACE(testing::Message() << c.What << ", at file call " << call);
            ASSERT_LT(call, before + 100);
            test_support::InterferingFileSystem fs(memory, call, c.Throw);
            FakeIcons icons;
            MenuEditor editor(fs, icons, test_support::Windows1252());
            // What an earlier load showed must not survive the fault.
            ASSERT_EQ(editor.LoadEditorMenu(kOther), LoadStatus::Loaded);
            const editor::GuardedLoad loaded =
                editor::LoadEditorMenuGuarded(editor, kPath, nullptr);
            if (!fs.Interfered()) {
                EXPECT_EQ(loaded.Fault, LoadFault::None);
                EXPECT_EQ(loaded.Status, LoadStatus::Loaded);
                EXPECT_EQ(Texts(editor).size(), 3u);
                EXPECT_GT(call, before + 1) << "the load makes at least one file call";
                break;
            }
            EXPECT_EQ(loaded.Fault, c.Fault);
            EXPECT_EQ(loaded.Status, LoadStatus::Unreadable);
            EXPECT_FALSE(editor.IsLoaded());
            EXPECT_TRUE(editor.Rows().empty());
            EXPECT_TRUE(editor.Path().empty());
            EXPECT_EQ(memory.Get(kPath), UserMenu({kNotepad, kSeparator, kLast}))
                << "a load writes nothing";
        }
    }
}

TEST(GuardedLoad, MemoryRunningOutWhileTheRecordsAreReadIsReported) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad, kSeparator, kLast}));
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    const menufile::ReadProgress failing = [](std::size_t, std::size_t) { throw std::bad_alloc(); };
    const editor::GuardedLoad loaded = editor::LoadEditorMenuGuarded(editor, kPath, &failing);
    EXPECT_EQ(loaded.Fault, LoadFault::OutOfMemory);
    EXPECT_FALSE(editor.IsLoaded());
    EXPECT_TRUE(editor.Rows().empty());

    // The same editor loads the file once memory is there again.
    int heard = 0;
    const menufile::ReadProgress counting = [&](std::size_t, std::size_t) { ++heard; };
    const editor::GuardedLoad again = editor::LoadEditorMenuGuarded(editor, kPath, &counting);
    EXPECT_EQ(again.Fault, LoadFault::None);
    EXPECT_EQ(again.Status, LoadStatus::Loaded);
    EXPECT_GT(heard, 0);
    EXPECT_EQ(Texts(editor).size(), 3u);
}

}  // namespace
