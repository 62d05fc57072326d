// Which entries a menu lists: user-defined records, or a folder's contents in order.
#include "engine/menu_entries.h"

#include <gtest/gtest.h>

namespace {

using engine::ListedFile;

// A folder with sub-folders b and A (plus a hidden and a system one), files c.txt, B.txt,
// a hidden h.txt and a system s.sys.
std::vector<ListedFile> Folder(const std::string& pattern) {
    std::vector<ListedFile> all = {
        {".", true, false, false},      {"..", true, false, false},
        {"b", true, false, false},      {"A", true, false, false},
        {"Hidden", true, true, false},  {"Sys", true, false, true},
        {"c.txt", false, false, false}, {"B.txt", false, false, false},
        {"h.txt", false, true, false},  {"s.sys", false, false, true},
    };
    if (pattern == "*.txt") {
        std::erase_if(all, [](const ListedFile& e) {
            return e.Name.size() < 4 || e.Name.substr(e.Name.size() - 4) != ".txt";
        });
    }
    return all;
}

menufile::MenuFile Pointer(const std::string& folder, const std::string& pattern,
                           const std::string& showFolders, const std::string& hideExtensions,
                           const std::string& showHidden) {
    menufile::MenuFile menu;
    menu.Status = menufile::ReadStatus::Ok;
    menu.MenuType = "DIRPOINT";
    menu.DirectoryPointer =
        menufile::DirectoryPointer{folder, pattern, showFolders, hideExtensions, showHidden};
    return menu;
}

std::vector<std::string> Names(const std::vector<menufile::MenuItem>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries) {
        names.push_back(e.Name);
    }
    return names;
}

const engine::DisplayNamer kNoNames = [](const std::string&) { return std::string(); };

TEST(DirectoryPointer, FoldersFirstThenFilesEachSortedWithoutCase) {
    std::vector<std::string> asked;
    engine::FolderLister list = [&](const std::string& folder, const std::string& pattern) {
        asked.push_back(folder + pattern);
        return Folder(pattern);
    };
    auto entries =
        engine::BuildEntries(Pointer("C:\\data\\", "*.*", "1", "0", "0"), list, kNoNames);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"A", "b", "B.txt", "c.txt", "s.sys"}));
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\data\\*.*"})) << "listed once";
    EXPECT_EQ(entries[0].Target, "C:\\data\\A");
    EXPECT_EQ(entries[2].Target, "C:\\data\\B.txt");
    EXPECT_EQ(entries[2].Arguments, "");
    EXPECT_EQ(entries[2].StartIn, "");
    EXPECT_EQ(entries[2].IconIndex, "0");

    // Hidden files only on request; hidden folders never; no folders without ShowFolders.
    asked.clear();
    entries = engine::BuildEntries(Pointer("C:\\data\\", "*.txt", "0", "0", "1"), list, kNoNames);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"B.txt", "c.txt", "h.txt"}));
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\data\\*.txt"}));
    asked.clear();
    entries = engine::BuildEntries(Pointer("C:\\data\\", "*.txt", "1", "0", "0"), list, kNoNames);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"A", "b", "B.txt", "c.txt"}));
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\data\\*.*", "C:\\data\\*.txt"}));
    entries = engine::BuildEntries(Pointer("C:\\data\\", "*.*", "True", "0", "-1"), list, kNoNames);
    EXPECT_EQ(Names(entries),
              (std::vector<std::string>{"A", "b", "B.txt", "c.txt", "h.txt", "s.sys"}));
}

TEST(DirectoryPointer, TheGivenOrderSortsEachGroupAndFoldersStayFirst) {
    engine::FolderLister list = [](const std::string&, const std::string& pattern) {
        return Folder(pattern);
    };
    const auto isFolder = [](const std::string& name) { return name == "A" || name == "b"; };
    // Backwards, telling which pairs it was asked about: never a folder against a file.
    std::vector<std::string> mixed;
    const engine::NameOrder backwards = [&](const std::string& a, const std::string& b) {
        if (isFolder(a) != isFolder(b)) {
            mixed.push_back(a + " / " + b);
        }
        return engine::LessWithoutCase(b, a);
    };
    const auto menu = Pointer("C:\\data\\", "*.*", "1", "0", "0");
    EXPECT_EQ(Names(engine::BuildEntries(menu, list, kNoNames, backwards)),
              (std::vector<std::string>{"b", "A", "s.sys", "c.txt", "B.txt"}));
    EXPECT_EQ(engine::ListPointerNames(*menu.DirectoryPointer, list, backwards),
              (std::vector<std::string>{"b", "A", "s.sys", "c.txt", "B.txt"}));
    EXPECT_TRUE(mixed.empty()) << mixed.front();

    // Names the order finds equal keep the order they were listed in.
    const engine::NameOrder allEqual = [](const std::string&, const std::string&) { return false; };
    EXPECT_EQ(Names(engine::BuildEntries(menu, list, kNoNames, allEqual)),
              (std::vector<std::string>{"b", "A", "c.txt", "B.txt", "s.sys"}));

    // Without one, the rule that needs no system: ASCII letters without regard to case.
    EXPECT_TRUE(engine::LessWithoutCase("a", "B"));
    EXPECT_TRUE(engine::LessWithoutCase("B", "c"));
    EXPECT_FALSE(engine::LessWithoutCase("A", "a"));
    EXPECT_FALSE(engine::LessWithoutCase("a", "A"));
    EXPECT_TRUE(engine::LessWithoutCase("file10", "file2")) << "digits are letters to it";
}

TEST(DirectoryPointer, DisplayNamesAndFolderWithoutBackslash) {
    engine::FolderLister list = [](const std::string&, const std::string& pattern) {
        return Folder(pattern);
    };
    engine::DisplayNamer names = [](const std::string& path) {
        return path == "C:\\data\\c.txt" ? std::string("c") : std::string();
    };
    auto entries = engine::BuildEntries(Pointer("C:\\data", "*.txt", "0", "1", "0"), list, names);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Target, "C:\\data\\B.txt");
    EXPECT_EQ(entries[0].Name, "B.txt") << "no display name: the file name stands in";
    EXPECT_EQ(entries[1].Name, "c");
    // HideExtensions below 1 shows file names.
    entries = engine::BuildEntries(Pointer("C:\\data\\", "*.txt", "0", "0", "0"), list, names);
    EXPECT_EQ(entries[1].Name, "c.txt");
}

// The engine lists this folder ahead, on another thread, and hands the listing over only when
// building the entries asks for exactly it: a listing asked for first must be the one named.
TEST(DirectoryPointer, TheFirstListingIsTheOneTheEntriesAskForFirst) {
    for (const char* pattern : {"*.*", "*", "*.mp3"}) {
        for (const char* showFolders : {"0", "1"}) {
            for (const char* folder : {"C:\\Music", "C:\\Music\\"}) {
                SCOPED_TRACE(std::string(pattern) + " " + showFolders + " " + folder);
                const menufile::MenuFile menu = Pointer(folder, pattern, showFolders, "0", "0");
                std::vector<engine::FolderListing> asked;
                const engine::FolderLister record = [&](const std::string& f,
                                                        const std::string& p) {
                    asked.push_back({f, p});
                    return std::vector<engine::ListedFile>{};
                };
                (void)engine::BuildEntries(
                    menu, record, kNoNames,
                    [](const std::string& a, const std::string& b) { return a < b; });
                ASSERT_FALSE(asked.empty());
                EXPECT_EQ(asked.front(), engine::FirstListing(*menu.DirectoryPointer));
                EXPECT_EQ(asked.front().Folder, "C:\\Music\\");
                // Folders and "*.mp3" files are two listings; anything else is one.
                const bool two = std::string(showFolders) == "1" && std::string(pattern) == "*.mp3";
                EXPECT_EQ(asked.size(), two ? 2u : 1u);
            }
        }
    }
}

TEST(DirectoryPointer, EmptyOrMissingFolderListsNothing) {
    engine::FolderLister none = [](const std::string&, const std::string&) {
        return std::vector<ListedFile>{};
    };
    EXPECT_TRUE(
        engine::BuildEntries(Pointer("Q:\\nope\\", "*.*", "1", "0", "0"), none, kNoNames).empty());
}

TEST(UserDefined, EntriesAreTheRecords) {
    menufile::MenuFile menu = menufile::ReadMenu(
        "p\r\n<START "
        "TVL>\r\n\"USERDEF\"\r\n0,\"A\",8,0,0\r\n\"a\",\"a.exe\",\"-x\",\"C:\\\",\"\",0\r\n"
        "\"\",\"\",\"\",\"\",\"\",\r\n");
    auto entries = engine::BuildEntries(menu, nullptr, nullptr);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Arguments, "-x");
    EXPECT_TRUE(entries[1].IsSeparator());
}

}  // namespace

namespace {

TEST(CanShowMenu, ShowsTheCompleteRecordsAroundADamagedOne) {
    const std::string head = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"A\",8,0,0\r\n";
    const std::string a = "\"a\",\"a.exe\",\"\",\"\",\"\",0\r\n";
    const std::string bad = "b\"x,\"b.exe\",\"\",\"\",\"\",0\r\n";  // a quote in a name
    const std::string c = "\"c\",\"c.exe\",\"\",\"\",\"\",0\r\n";
    const std::string cut = "\"d\",\"d.exe\",\"";

    const menufile::MenuFile lastCut = menufile::ReadEveryRecord(head + a + c + cut);
    EXPECT_TRUE(engine::CanShowMenu(lastCut));
    EXPECT_EQ(Names(engine::BuildEntries(lastCut, nullptr, nullptr)),
              (std::vector<std::string>{"a", "c"}));
    const menufile::MenuFile middleBad = menufile::ReadEveryRecord(head + bad + c + cut);
    EXPECT_TRUE(engine::CanShowMenu(middleBad));
    EXPECT_EQ(Names(engine::BuildEntries(middleBad, nullptr, nullptr)),
              (std::vector<std::string>{"c"}));
    EXPECT_TRUE(engine::CanShowMenu(menufile::ReadEveryRecord(head + a)));
    EXPECT_TRUE(engine::CanShowMenu(menufile::ReadEveryRecord(head)))
        << "a readable menu without items: the model finds it empty";

    // Nothing complete, or nothing to read on to.
    for (const std::string& bytes : {
             head + cut,
             head + bad,
             std::string("0,\"A\",8,0,0\r\n") + a,                       // no marker
             std::string("pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"A"),  // settings cut short
             std::string("pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,A\"B,8,0,0\r\n") + a,
             std::string("pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"A\",8,0,0\r\n\"C:\\\",\"*"),
             std::string("pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"A\",8,0,0\r\n"),
         }) {
        EXPECT_FALSE(engine::CanShowMenu(menufile::ReadEveryRecord(bytes))) << bytes;
    }
    EXPECT_TRUE(engine::CanShowMenu(menufile::ReadEveryRecord(
        "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"A\",8,0,0\r\n\"C:\\\",\"*.*\",1,0,0\r\n")));
}

}  // namespace

namespace {

// One lost quote hides its own record only; every other one shows as written.
TEST(BuildEntries, AMissingQuoteHidesOnlyItsOwnRecord) {
    const std::string head = "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"A\",8,0,0\r\n";
    const std::vector<menufile::MenuItem> kept = {
        {"One", "C:\\one.exe", "-a", "C:\\", "", "0"},
        {"Three", "C:\\three.exe", "", "", "shell32.dll", "4"},
        menufile::MenuItem::Separator(),
        {"Five", "C:\\five.exe", "", "", "", "2"},
    };
    for (const std::string two : {"\"Two,\"C:\\two.exe\",\"\",\"\",\"\",1\r\n",
                                  "\"Two\",\"C:\\two.exe\",\"\",\"\",\"C:\\two.ico,1\r\n"}) {
        std::string bytes = head + menufile::FormatItemLine(kept[0]) + two;
        for (std::size_t k = 1; k < kept.size(); ++k) {
            bytes += menufile::FormatItemLine(kept[k]);
        }
        const menufile::MenuFile menu = menufile::ReadEveryRecord(bytes);
        ASSERT_TRUE(engine::CanShowMenu(menu)) << two;
        EXPECT_EQ(engine::BuildEntries(menu, nullptr, nullptr), kept) << two;
    }
}

// Explorer's order, with a text key that needs no system: numbers by their value, text by its
// key, digits before text, each name's key made once however often it is compared.
TEST(NaturalOrder, NumbersByTheirValueAndTextByItsKey) {
    int keys = 0;
    const engine::NameOrder order = engine::NaturalOrder([&](std::string_view text) {
        ++keys;
        std::string lower(text);
        for (char& c : lower) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return lower;
    });
    std::vector<std::string> names = {"file10.txt", "File2.txt", "file1.txt", "a10b", "a2b",
                                      "a2c",        "10",        "9",         "b",    "007x",
                                      "7y",         "file",      "file02.txt"};
    std::stable_sort(names.begin(), names.end(), order);
    EXPECT_EQ(names,
              (std::vector<std::string>{"007x", "7y", "9", "10", "a2b", "a2c", "a10b", "b", "file",
                                        "file1.txt", "File2.txt", "file02.txt", "file10.txt"}));
    const int made = keys;
    std::stable_sort(names.begin(), names.end(), order);
    EXPECT_EQ(keys, made) << "keys are made once per name";
    EXPECT_FALSE(order("file2", "file02")) << "the same number: neither comes first";
    EXPECT_FALSE(order("file02", "file2"));
}

TEST(NaturalOrder, AFolderSortsAsTheComparatorDoesKeepingTiesInListedOrder) {
    const auto lower = [](std::string_view text) {
        std::string key(text);
        for (char& c : key) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return key;
    };
    const std::vector<std::string> listed = {"file10.txt", "File2.txt", "file02.txt", "FILE2.txt",
                                             "b",          "a10",       "A9",         "007"};
    engine::FolderLister list = [&](const std::string&, const std::string&) {
        std::vector<ListedFile> entries;
        for (const std::string& name : listed) {
            entries.push_back({name, false, false, false});
        }
        return entries;
    };
    std::vector<std::string> expected = listed;
    std::stable_sort(expected.begin(), expected.end(), engine::NaturalOrder(lower));
    EXPECT_EQ(expected, (std::vector<std::string>{"007", "A9", "a10", "b", "File2.txt",
                                                  "file02.txt", "FILE2.txt", "file10.txt"}));
    EXPECT_EQ(Names(engine::BuildEntries(Pointer("C:\\d\\", "*.*", "1", "0", "0"), list, kNoNames,
                                         engine::NaturalOrder(lower))),
              expected);
}

TEST(NaturalOrder, EachStretchOfTextIsAskedOnce) {
    std::vector<std::string> asked;
    const engine::NameOrder order = engine::NaturalOrder([&](std::string_view text) {
        asked.emplace_back(text);
        return std::string(text);
    });
    std::vector<std::string> names;
    for (int i = 999; i >= 0; --i) {
        names.push_back("file " + std::to_string(i) + ".txt");
    }
    std::stable_sort(names.begin(), names.end(), order);
    EXPECT_EQ(names.front(), "file 0.txt");
    EXPECT_EQ(names[10], "file 10.txt");
    EXPECT_EQ(names.back(), "file 999.txt");
    EXPECT_EQ(asked, (std::vector<std::string>{"file ", ".txt"}));
}

// A shell that hides the extensions of .txt and .lnk and shows those of .cfg, and counts what
// it is asked.
struct FakeShell {
    std::vector<std::string> asked;
    engine::DisplayNamer Namer() {
        return [this](const std::string& path) {
            asked.push_back(path);
            const std::string name = path.substr(path.rfind('\\') + 1);
            const std::string ext = engine::ExtensionKey(name);
            return ext == ".txt" || ext == ".lnk" ? name.substr(0, name.rfind('.')) : name;
        };
    }
};

TEST(HideExtensions, ExtensionsAndTheirTypes) {
    EXPECT_EQ(engine::ExtensionStart("a.txt"), 1u);
    EXPECT_EQ(engine::ExtensionStart("archive.tar.gz"), 11u) << "the last dot";
    EXPECT_EQ(engine::ExtensionStart("README"), std::string::npos);
    EXPECT_EQ(engine::ExtensionStart(".profile"), std::string::npos) << "all name";
    EXPECT_EQ(engine::ExtensionStart("dot."), std::string::npos);
    EXPECT_EQ(engine::ExtensionStart(""), std::string::npos);
    EXPECT_EQ(engine::ExtensionStart(".config.txt"), 7u);
    EXPECT_EQ(engine::ExtensionKey("Report.TXT"), ".txt");
    EXPECT_EQ(engine::ExtensionKey("r.Tx\xC3\x89"), ".tx\xC3\x89") << "only ASCII is folded";
    EXPECT_EQ(engine::ExtensionKey("README"), "");
}

TEST(HideExtensions, OneQuestionPerTypeAndEveryNameFromItsFileName) {
    FakeShell shell;
    engine::HiddenExtensions shown(shell.Namer());
    const std::string folder = "C:\\d\\";
    EXPECT_EQ(shown.ShownName(folder, "one.txt"), "one");
    EXPECT_EQ(shown.ShownName(folder, "Two.TXT"), "Two") << "a type whatever the case";
    EXPECT_EQ(shown.ShownName(folder, "three.Txt"), "three");
    EXPECT_EQ(shown.ShownName(folder, "a.b.c.txt"), "a.b.c") << "only the last extension";
    EXPECT_EQ(shown.ShownName(folder, "setup.cfg"), "setup.cfg") << "a type that shows it";
    EXPECT_EQ(shown.ShownName(folder, "x.y.cfg"), "x.y.cfg");
    EXPECT_EQ(shown.ShownName(folder, "go.lnk"), "go");
    EXPECT_EQ(shown.ShownName(folder, "README"), "README");
    EXPECT_EQ(shown.ShownName(folder, ".txt"), ".txt") << "never an empty name";
    EXPECT_EQ(shown.ShownName(folder, ".profile"), ".profile");
    EXPECT_EQ(shown.ShownName(folder, "end."), "end.");
    EXPECT_EQ(shell.asked,
              (std::vector<std::string>{"C:\\d\\one.txt", "C:\\d\\setup.cfg", "C:\\d\\go.lnk"}))
        << "the first file of each type is the probe; names without extension ask nothing";
}

TEST(HideExtensions, AnEmptyAnswerDecidesNothingForAFewTries) {
    int asks = 0;
    engine::HiddenExtensions gone([&](const std::string& path) {
        ++asks;
        return path == "C:\\d\\c.txt" ? std::string("c") : std::string();
    });
    EXPECT_EQ(gone.ShownName("C:\\d\\", "b.txt"), "b.txt") << "no answer: the file name";
    EXPECT_EQ(gone.ShownName("C:\\d\\", "c.txt"), "c");
    EXPECT_EQ(gone.ShownName("C:\\d\\", "d.txt"), "d");
    EXPECT_EQ(asks, 2);

    asks = 0;
    engine::HiddenExtensions silent([&](const std::string&) {
        ++asks;
        return std::string();
    });
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(silent.ShownName("C:\\d\\", "f" + std::to_string(i) + ".dat"),
                  "f" + std::to_string(i) + ".dat");
    }
    EXPECT_EQ(asks, engine::HiddenExtensions::kTries) << "a silent shell is not asked per file";

    engine::HiddenExtensions other([](const std::string&) { return std::string("Recycle Bin"); });
    EXPECT_EQ(other.ShownName("C:\\d\\", "x.dat"), "x.dat") << "a name of its own hides nothing";
}

TEST(HideExtensions, DirectoryPointerAsksPerTypeAndKeepsFolderNames) {
    engine::FolderLister list = [](const std::string&, const std::string&) {
        std::vector<ListedFile> all = {{"v1.txt", true, false, false}};
        for (int i = 0; i < 500; ++i) {
            all.push_back({"n" + std::to_string(i) + ".txt", false, false, false});
            all.push_back({"n" + std::to_string(i) + ".cfg", false, false, false});
        }
        return all;
    };
    FakeShell shell;
    auto entries =
        engine::BuildEntries(Pointer("C:\\d", "*.*", "1", "1", "0"), list, shell.Namer());
    ASSERT_EQ(entries.size(), 1001u);
    EXPECT_EQ(entries[0].Name, "v1.txt") << "a folder keeps its name";
    EXPECT_EQ(entries[0].Target, "C:\\d\\v1.txt");
    EXPECT_EQ(entries[1].Name, "n0.cfg");
    EXPECT_EQ(entries[2].Name, "n0");
    EXPECT_EQ(entries[2].Target, "C:\\d\\n0.txt");
    EXPECT_EQ(shell.asked.size(), 2u) << "one question per type, not per file";
}

}  // namespace
