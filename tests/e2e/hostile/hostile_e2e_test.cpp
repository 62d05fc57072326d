// Both programs under Wine in a hostile world: a stale journal beside a menu the user put back,
// a file of the user's with the journal's name, a damaged last record, two editors at once.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/editor_messages.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"
#include "tests/support/memory_file_system.h"
#include "winauto.h"

namespace {

using namespace winauto;
using menufile::MenuItem;

const std::string kHead =
    "BM picture\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";

std::vector<MenuItem> Items(int count, const std::string& prefix) {
    std::vector<MenuItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(
            {prefix + " " + std::to_string(i), "C:\\windows\\notepad.exe", "", "", "", "0"});
    }
    return items;
}

std::string Menu(const std::vector<MenuItem>& items) {
    std::string s = kHead;
    for (const MenuItem& item : items) {
        menufile::AppendItemLine(s, item);
    }
    return s;
}

std::vector<std::string> Names(const std::string& bytes) {
    std::vector<std::string> names;
    for (const MenuItem& item : menufile::ReadEveryRecord(bytes).Items) {
        names.push_back(item.Name.empty() ? std::string(87, '-') : item.Name);
    }
    return names;
}

// The journal a save leaves when it dies after writing it, before touching the menu file.
std::string JournalOfAnInterruptedSave(const std::string& from, const std::string& to) {
    const std::string path = "C:\\menu.tvl";
    platform::MemoryFileSystem disk;
    disk.Put(path, from);
    disk.CrashAt(7);
    try {
        (void)menufile::CommitMenuFile(disk, path, from, to);
    } catch (const platform::MemoryFileSystem::SimulatedCrash&) {
    }
    return disk.Get(menufile::JournalPath(path)).value_or("");
}

class HostileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParkMouse();
        m_menu = m_dir.File("hostile menu.tvl");
    }
    Process StartEditor() {
        Process editor = Start(WinPath(TVLEDIT_EXE), Quote(m_menu), m_dir.path());
        EXPECT_TRUE(editor);
        return editor;
    }
    HWND MainOf(const Process& editor) {
        HWND main = WaitForWindow(editor.pid(), editor::kMainWindowClass, nullptr);
        EXPECT_NE(main, nullptr);
        return main;
    }
    // The engine's pop-up for the menu file: its height, then Escape.
    int EngineHeight() {
        Process engine = Start(WinPath(TVLENGIN_EXE), Quote(m_menu), m_dir.path());
        HWND popup = WaitForWindow(engine.pid(), "TarvelMenuPopup", nullptr);
        EXPECT_NE(popup, nullptr);
        if (popup == nullptr) {
            return 0;
        }
        RECT r{};
        GetWindowRect(popup, &r);
        PostKey(popup, VK_ESCAPE);
        EXPECT_TRUE(engine.WaitForExit().has_value());
        return r.bottom - r.top;
    }
    [[nodiscard]] std::string File() const { return ReadFileBytes(m_menu).value_or("<missing>"); }

    TempDir m_dir{"e2e hostile "};
    std::string m_menu;
};

// The user put a backup back after a crash: both programs show it, the editor writes nothing
// over it, and says once that the interrupted save's journal is kept beside it.
TEST_F(HostileTest, AStaleJournalBesideARestoredMenuLeavesTheMenuAsItIs) {
    const std::string before = Menu(Items(2, "Before"));
    const std::string journal = JournalOfAnInterruptedSave(before, Menu(Items(1, "After")));
    ASSERT_FALSE(journal.empty());
    const std::string restored = Menu(Items(6, "Restored"));
    ASSERT_TRUE(WriteFileBytes(m_menu, restored));
    ASSERT_TRUE(WriteFileBytes(menufile::JournalPath(m_menu), journal));

    const int sixRows = EngineHeight();
    ASSERT_TRUE(WriteFileBytes(m_dir.File("two.tvl"), before));
    EXPECT_EQ(File(), restored) << "the engine never writes";

    Process editor = StartEditor();
    const auto told = AnswerMessageBox(editor.pid(), editor::kErrorTitle, IDOK);
    ASSERT_TRUE(told.has_value());
    const std::string setAside = menufile::JournalPath(m_menu) + ".stale";
    EXPECT_EQ(*told, editor::StaleJournalText(m_menu, setAside));
    HWND main = MainOf(editor);
    EXPECT_EQ(ListItems(Control(main, editor::kItemList)), Names(restored));
    EXPECT_EQ(File(), restored);
    EXPECT_EQ(ReadFileBytes(setAside), journal) << "kept, under another name";
    EXPECT_FALSE(FileExists(menufile::JournalPath(m_menu)));
    editor.Kill();

    // Said once: the next start shows the menu without a word.
    Process again = StartEditor();
    HWND second = MainOf(again);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(FindWindowOf(again.pid(), "#32770", editor::kErrorTitle), nullptr);
    again.Kill();

    // The engine showed the six restored items, not the two from before the crash.
    m_menu = m_dir.File("two.tvl");
    EXPECT_GT(sixRows, EngineHeight() + 60);
}

// A file of the user's named like the journal is never touched: the editor opens the menu,
// and a save is refused with a message that names that file.
TEST_F(HostileTest, AForeignFileWithTheJournalsNameIsNeverTouched) {
    const std::string menu = Menu(Items(3, "Item"));
    ASSERT_TRUE(WriteFileBytes(m_menu, menu));
    const std::string journal = menufile::JournalPath(m_menu);
    ASSERT_TRUE(WriteFileBytes(journal, "My own notes about this menu.\r\n"));
    Process editor = StartEditor();
    HWND main = MainOf(editor);
    ASSERT_TRUE(SelectListItem(Control(main, editor::kItemList), 1));
    PostClick(Control(main, editor::kDeleteButton));
    EXPECT_EQ(AnswerMessageBox(editor.pid(), editor::kErrorTitle, IDOK),
              editor::WriteErrorText(menufile::MenuError::ForeignJournal, m_menu));
    EXPECT_EQ(File(), menu);
    EXPECT_EQ(ReadFileBytes(journal), "My own notes about this menu.\r\n");
    EXPECT_TRUE(editor.Running());
    editor.Kill();
    EXPECT_EQ(ReadFileBytes(journal), "My own notes about this menu.\r\n");
}

// A good menu whose last record is cut short: the engine shows the complete records, and the
// editor offers to open the menu without the damaged line.
TEST_F(HostileTest, ADamagedLastRecordHidesNothingElse) {
    const std::vector<MenuItem> good = Items(3, "Good");
    const std::string damaged = Menu(good) + "\"Cut short\",\"C:\\windows\\note";
    ASSERT_TRUE(WriteFileBytes(m_menu, damaged));
    const std::size_t line = menufile::ReadMenu(damaged).DamagedLine;
    ASSERT_EQ(line, 8u);

    Process no = StartEditor();
    EXPECT_EQ(AnswerMessageBox(no.pid(), editor::kQueryTitle, IDNO),
              editor::DamagedLineQuestion(m_menu, line));
    EXPECT_TRUE(no.WaitForExit().has_value()) << "No ends the editor";
    EXPECT_EQ(File(), damaged) << "and leaves the file untouched";

    Process yes = StartEditor();
    ASSERT_TRUE(AnswerMessageBox(yes.pid(), editor::kQueryTitle, IDYES).has_value());
    HWND main = MainOf(yes);
    EXPECT_EQ(ListItems(Control(main, editor::kItemList)),
              (std::vector<std::string>{"Good 0", "Good 1", "Good 2"}));
    EXPECT_EQ(File(), Menu(good));
    yes.Kill();
}

// Two editors on one large menu, clicking at nearly the same moment: whichever loses the race
// says so (another program is using the file, or has changed it) and shows the file; a change
// that was not refused is in the file; neither list disagrees with the file.
TEST_F(HostileTest, TwoEditorsRacingOnALargeMenuLoseNothing) {
    const std::vector<MenuItem> items = Items(20000, "Row");
    const std::string menu = Menu(items);
    ASSERT_TRUE(WriteFileBytes(m_menu, menu));
    Process first = StartEditor();
    Process second = StartEditor();
    HWND a = MainOf(first);
    HWND b = MainOf(second);
    ASSERT_TRUE(a && b);
    HWND listA = Control(a, editor::kItemList);
    HWND listB = Control(b, editor::kItemList);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(listA, LB_GETCOUNT, 0, 0) == 20000; }));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(listB, LB_GETCOUNT, 0, 0) == 20000; }));
    ASSERT_TRUE(SelectListItem(listA, 100));
    ASSERT_TRUE(SelectListItem(listB, 200));
    PostClick(Control(a, editor::kDeleteButton));
    PostClick(Control(b, editor::kMoveDownButton));

    // Each editor either shows its own change without a word, or tells why it did not write.
    auto outcome = [](const Process& editor, const std::function<bool()>& done) {
        std::optional<std::string> told;
        EXPECT_TRUE(WaitUntil([&] {
            if (HWND box = FindWindowOf(editor.pid(), "#32770", editor::kErrorTitle)) {
                told = MessageBoxText(box);
                return true;
            }
            return done();
        }));
        return told;
    };
    const std::optional<std::string> toldA =
        outcome(first, [&] { return SendMessageA(listA, LB_GETCOUNT, 0, 0) == 19999; });
    const std::optional<std::string> toldB =
        outcome(second, [&] { return SendMessageA(listB, LB_GETCURSEL, 0, 0) == 201; });
    for (const auto& [editor, told] : {std::pair{&first, toldA}, std::pair{&second, toldB}}) {
        if (told) {
            EXPECT_TRUE(*told == editor::kChangedElsewhere ||
                        *told == editor::WriteErrorText(menufile::MenuError::InUse, m_menu))
                << *told;
            ASSERT_TRUE(AnswerMessageBox(editor->pid(), editor::kErrorTitle, IDOK).has_value());
        }
    }
    EXPECT_TRUE(toldA || toldB) << "two changes of the same file: one must be refused";
    SCOPED_TRACE("first editor: " + toldA.value_or("wrote") +
                 "; second: " + toldB.value_or("wrote"));
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(menufile::JournalPath(m_menu)); }));

    std::vector<MenuItem> expected = items;
    if (!toldA) {
        expected.erase(expected.begin() + 100);
    } else if (!toldB) {
        std::swap(expected[200], expected[201]);
    }
    const std::string now = File();
    EXPECT_EQ(now, Menu(expected)) << "exactly the change that was not refused";
    const std::vector<std::string> names = Names(now);
    for (HWND list : {listA, listB}) {
        SCOPED_TRACE(list == listA ? "first editor's list" : "second editor's list");
        ASSERT_TRUE(WaitUntil([&] {
            return SendMessageA(list, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(names.size());
        }));
        for (int row : {99, 100, 101, 199, 200, 201, 202}) {
            wchar_t text[64] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(text));
            std::string narrow;
            for (const wchar_t* c = text; *c; ++c) {
                narrow += static_cast<char>(*c);
            }
            EXPECT_EQ(narrow, names[static_cast<std::size_t>(row)]) << "row " << row;
        }
    }
    first.Kill();
    second.Kill();
}

// A menu of a million items opens with a progress bar while it loads, and the window answers
// all along; then the whole list is there.
TEST_F(HostileTest, AMillionItemsLoadWithProgressAndTheWindowAnswers) {
    ASSERT_TRUE(WriteFileBytes(m_menu, Menu(Items(1000000, "Row"))));
    Process editor = StartEditor();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        main = FindWindowOf(editor.pid(), editor::kMainWindowClass, nullptr);
        return main != nullptr;
    }));
    bool sawProgress = false;
    int answered = 0;
    HWND list = Control(main, editor::kItemList);
    ASSERT_TRUE(WaitUntil(
        [&] {
            DWORD_PTR result = 0;
            EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
                << "the window must answer while it loads";
            ++answered;
            if (HWND bar = FindWindowExA(main, nullptr, "msctls_progress32", nullptr);
                bar && IsWindowVisible(bar)) {
                sawProgress = true;
            }
            list = Control(main, editor::kItemList);
            return SendMessageA(list, LB_GETCOUNT, 0, 0) == 1000000;
        },
        Millis(60000)));
    EXPECT_TRUE(sawProgress) << "a long load shows how far it has come";
    EXPECT_GT(answered, 3);
    EXPECT_TRUE(IsWindowEnabled(main)) << "and takes input once it is done";
    EXPECT_EQ(FindWindowExA(main, nullptr, "msctls_progress32", nullptr), nullptr);
    editor.Kill();
}

// A message that names a long path is never wider than the screen.
TEST_F(HostileTest, AMessageNamingALongPathFitsTheScreen) {
    std::string deep = m_dir.path();
    while (deep.size() < 200) {
        deep += "\\a folder with a long name";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    }
    const std::string missing = deep + "\\a menu that is not there yet.tvl";
    Process editor = Start(WinPath(TVLEDIT_EXE), Quote(missing), m_dir.path());
    HWND box = WaitForWindow(editor.pid(), "#32770", editor::kQueryTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), editor::CreateMenuQuestion(missing));
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(AnswerMessageBox(editor.pid(), editor::kQueryTitle, IDNO).has_value(), true);
    EXPECT_TRUE(editor.WaitForExit().has_value());
    EXPECT_FALSE(FileExists(missing));
}

}  // namespace
