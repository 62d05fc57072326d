// Cascading submenus: when they open and close, the way into one across the parent, the depth
// cap, the watch across levels; what opens one and what it lists; where it is placed.
#include "engine/menu_cascade.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/menu_submenus.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using engine::Cascade;
using engine::CascadeStep;
using engine::Point;
using engine::Submenu;
using Kind = CascadeStep::Kind;

constexpr unsigned kDelay = 400;
// The first menu's cells are 500 twips tall from y 0; its submenu opens at x 3000.
constexpr float kCell = 500;
const engine::Rect kChild{3000, 500, 6000, 4000};

Point OnCell(int cell, float x = 1500) {
    return {x, static_cast<float>(cell) * kCell + kCell / 2};
}

// A cascade with the submenu of the first menu's cell 1 open (pointer came to rest on it).
Cascade WithChildOfCell1() {
    Cascade c(kDelay);
    c.PointerOver(0, 1, true, OnCell(1), 0);
    EXPECT_EQ(c.Tick(kDelay), (CascadeStep{Kind::Open, 0, 1, false}));
    c.Opened(0, 1, kChild, false);
    return c;
}

TEST(Cascade, RestingOpensAfterTheDelayAndMovingToASiblingClosesAfterIt) {
    Cascade c(kDelay);
    c.PointerOver(0, 1, true, OnCell(1), 1000);
    EXPECT_EQ(c.Tick(1000 + kDelay - 1).kind, Kind::None);
    // Moves inside the same entry do not restart the wait.
    c.PointerOver(0, 1, true, OnCell(1, 1600), 1200);
    EXPECT_EQ(c.Tick(1000 + kDelay), (CascadeStep{Kind::Open, 0, 1, false}));
    c.Opened(0, 1, kChild, false);
    EXPECT_EQ(c.Depth(), 2);
    EXPECT_EQ(c.OpenedFrom(1), 1);

    // Straight down to a sibling without a submenu (far from the way into the submenu).
    c.PointerOver(0, 3, false, OnCell(3, 100), 2000);
    EXPECT_EQ(c.Tick(2000 + kDelay - 1).kind, Kind::None);
    EXPECT_EQ(c.Tick(2000 + kDelay), (CascadeStep{Kind::CloseDeeper, 0}));
    c.Closed(0);
    EXPECT_EQ(c.Depth(), 1);

    // A sibling with a submenu of its own replaces the open one.
    Cascade d = WithChildOfCell1();
    d.PointerOver(0, 4, true, OnCell(4, 100), 5000);
    EXPECT_EQ(d.Tick(5000 + kDelay), (CascadeStep{Kind::Open, 0, 4, false}));

    // Back on the open entry, or into the submenu, before the delay: it stays.
    Cascade e = WithChildOfCell1();
    e.PointerOver(0, 3, false, OnCell(3, 100), 5000);
    e.PointerOver(0, 1, true, OnCell(1, 100), 5100);
    EXPECT_EQ(e.Tick(9000).kind, Kind::None);
    e.PointerOver(0, 3, false, OnCell(3, 100), 9000);
    e.PointerOver(1, 0, false, {3500, 700}, 9100);
    EXPECT_EQ(e.Tick(20000).kind, Kind::None);
    EXPECT_EQ(e.KeyLevel(), 1);
    // The clock may wrap.
    Cascade w(kDelay);
    w.PointerOver(0, 0, true, OnCell(0), 0xFFFFFF00u);
    EXPECT_EQ(w.Tick(0xFFFFFF00u + 100).kind, Kind::None);
    EXPECT_EQ(w.Tick(0xFFFFFF00u + kDelay).kind, Kind::Open);
}

TEST(Cascade, TheWayIntoASubmenuMayCrossTheParentsNextEntryDiagonally) {
    Cascade c = WithChildOfCell1();
    // From the right half of cell 1 toward the submenu's lower part, over cell 2: each move
    // inside the triangle puts the switch off.
    c.PointerOver(0, 1, true, {2000, 750}, 1000);
    unsigned now = 1000;
    for (float x = 2200; x < 3000; x += 200) {
        now += 150;
        c.PointerOver(0, 2, true, {x, 1000 + (x - 2000) / 2}, now);
        EXPECT_EQ(c.Tick(now).kind, Kind::None);
    }
    c.PointerOver(1, 2, false, {3100, 1500}, now + 150);
    EXPECT_EQ(c.Tick(now + 5000).kind, Kind::None);
    EXPECT_EQ(c.Depth(), 2);

    // Resting inside the triangle still switches once the delay has passed.
    Cascade r = WithChildOfCell1();
    r.PointerOver(0, 1, true, {2000, 750}, 1000);
    r.PointerOver(0, 2, true, {2400, 1100}, 1100);
    EXPECT_EQ(r.Tick(1100 + kDelay), (CascadeStep{Kind::Open, 0, 2, false}));

    // Moving away from the submenu (left, down) is no way into it: the wait is not put off.
    Cascade a = WithChildOfCell1();
    a.PointerOver(0, 1, true, {2000, 750}, 1000);
    a.PointerOver(0, 2, true, {1500, 1100}, 1100);
    a.PointerOver(0, 2, true, {1000, 1200}, 1300);
    EXPECT_EQ(a.Tick(1100 + kDelay).kind, Kind::Open);
}

TEST(Cascade, KeysOpenEnterAndCloseLevelsAndEscapeEndsOnlyTheFirst) {
    Cascade c(kDelay);
    EXPECT_EQ(c.Right(2, false).kind, Kind::None);
    EXPECT_EQ(c.Right(-1, true).kind, Kind::None);
    EXPECT_EQ(c.Left().kind, Kind::None);
    EXPECT_EQ(c.Escape().kind, Kind::End);

    EXPECT_EQ(c.Right(2, true), (CascadeStep{Kind::Open, 0, 2, true}));
    c.Opened(0, 2, kChild, true);
    EXPECT_EQ(c.KeyLevel(), 1);
    EXPECT_EQ(c.Right(0, true), (CascadeStep{Kind::Open, 1, 0, true}));
    c.Opened(1, 0, kChild, true);
    EXPECT_EQ(c.Depth(), 3);
    EXPECT_EQ(c.Escape(), (CascadeStep{Kind::CloseDeeper, 1}));
    c.Closed(1);
    EXPECT_EQ(c.KeyLevel(), 1);
    EXPECT_EQ(c.Left(), (CascadeStep{Kind::CloseDeeper, 0}));
    c.Closed(0);
    EXPECT_EQ(c.KeyLevel(), 0);

    // A submenu opened by resting: Right enters it; a key moving the parent's highlight
    // elsewhere closes it at once.
    Cascade h = WithChildOfCell1();
    EXPECT_EQ(h.KeyLevel(), 0);
    EXPECT_EQ(h.Right(1, true), (CascadeStep{Kind::Enter, 1}));
    EXPECT_EQ(h.KeyMoved(0, 1).kind, Kind::None);
    EXPECT_EQ(h.KeyMoved(0, 2), (CascadeStep{Kind::CloseDeeper, 0}));
}

TEST(Cascade, NoMoreThanTheCapOpenAndTheWatchKeepsEveryParentsEntry) {
    Cascade c(0);
    for (int level = 0; level + 1 < Cascade::kMaxDepth; ++level) {
        ASSERT_EQ(c.Right(0, true).kind, Kind::Open);
        c.Opened(level, 0, kChild, true);
    }
    EXPECT_EQ(c.Depth(), Cascade::kMaxDepth);
    EXPECT_EQ(c.Right(0, true).kind, Kind::None);
    c.PointerOver(Cascade::kMaxDepth - 1, 0, true, {}, 0);
    EXPECT_EQ(c.Tick(10).kind, Kind::None);
    c.Opened(Cascade::kMaxDepth - 1, 0, kChild, true);
    EXPECT_EQ(c.Depth(), Cascade::kMaxDepth);

    Cascade w = WithChildOfCell1();
    const engine::Element outside{engine::Element::Kind::Outside, -1};
    EXPECT_EQ(w.WatchedUnder(0, outside), (engine::Element{engine::Element::Kind::Cell, 1}));
    EXPECT_EQ(w.WatchedUnder(1, outside), outside);
}

// --- what opens a submenu, and what it lists ---------------------------------------------

const std::string kHead = std::string("BM\0\0<\r\n", 7) + "\r\n<START TVL>\r\n";

engine::LoadServices Services(engine::FolderLister list) {
    return {std::move(list), [](const std::string&) { return std::string(); },
            engine::LessWithoutCase,
            [](const std::string& path) { return path.ends_with("Tools") || path == "C:\\"; }};
}

TEST(Submenus, FoldersAndMenuFilesOpenOneButNetworkPathsAreNeverAskedAbout) {
    menufile::MenuFile user;
    user.MenuType = "USER";
    user.Items = {{"Tools", "C:\\Tools", "", "", "", "0"},
                  menufile::MenuItem::Separator(),
                  {"Games", "D:\\Menus\\GAMES.TVL", "", "", "", "0"},
                  {"Share", "\\\\server\\Tools", "", "", "", "0"},
                  {"Notes", "C:\\dir.tvl\\notes.txt", "", "", "", "0"}};
    std::vector<Submenu> opens;
    int asked = 0;
    const engine::FolderProbe probe = [&](const std::string& p) {
        ++asked;
        return p.ends_with("Tools");
    };
    (void)engine::BuildEntries(user, {}, {}, engine::LessWithoutCase, &opens, probe);
    EXPECT_EQ(opens, (std::vector<Submenu>{Submenu::Folder, Submenu::None, Submenu::Menu,
                                           Submenu::None, Submenu::None}));
    EXPECT_EQ(asked, 2);

    menufile::MenuFile pointer = engine::FolderSubmenu("C:\\Data", user);
    const engine::FolderLister list = [](const std::string&, const std::string&) {
        return std::vector<engine::ListedFile>{{"b.tvl"}, {"Sub", true}, {"a.txt"}};
    };
    (void)engine::BuildEntries(pointer, list, {}, engine::LessWithoutCase, &opens);
    EXPECT_EQ(opens, (std::vector<Submenu>{Submenu::Folder, Submenu::None, Submenu::Menu}));
}

TEST(Submenus, AFolderListsAsItsParentDoesWithFoldersAlwaysShown) {
    menufile::MenuFile user;
    user.MenuType = "USER";
    user.Settings.SmallIcons = "1";
    const menufile::MenuFile fromUser = engine::FolderSubmenu("C:\\A", user);
    ASSERT_TRUE(fromUser.IsDirectoryPointer());
    EXPECT_EQ(*fromUser.DirectoryPointer, (menufile::DirectoryPointer{"C:\\A", "*.*", "1", "0", "0"}));
    EXPECT_EQ(fromUser.Settings, user.Settings);

    menufile::MenuFile dir;
    dir.MenuType = "DIRPOINT";
    dir.DirectoryPointer = menufile::DirectoryPointer{"C:\\", "*.mp3", "0", "1", "1"};
    EXPECT_EQ(*engine::FolderSubmenu("C:\\B", dir).DirectoryPointer,
              (menufile::DirectoryPointer{"C:\\B", "*.mp3", "1", "1", "1"}));
}

TEST(Submenus, AMenuFileOpensInItsOwnSettingsAndNothingToShowIsOneGreyedEntry) {
    platform::MemoryFileSystem fs;
    fs.Put("C:\\M\\Tools.tvl", kHead + "\"USER\"\r\n1,\"Arial\",12,0,0\r\n"
                                       "\"Edit\",\"C:\\e.exe\",\"-x\",\"C:\\W\",\"\",0\r\n"
                                       "\"Here\",\"C:\\\",\"\",\"\",\"\",0\r\n");
    menufile::MenuFile parent;
    parent.MenuType = "USER";
    const engine::FolderLister none = [](const std::string&, const std::string&) {
        return std::vector<engine::ListedFile>{};
    };
    const auto& cp = test_support::Windows1252();
    engine::SubmenuLevel tools =
        engine::LoadSubmenu(Submenu::Menu, "C:\\M\\Tools.tvl", parent, fs, cp, Services(none));
    EXPECT_FALSE(tools.Empty);
    EXPECT_EQ(tools.Menu.Settings.FontName, "Arial");
    ASSERT_EQ(tools.Items.size(), 2u);
    EXPECT_EQ(tools.Items[0].Arguments, "-x");
    EXPECT_EQ(tools.Submenus, (std::vector<Submenu>{Submenu::None, Submenu::Folder}));

    const engine::FolderLister throws = [](const std::string&, const std::string&)
        -> std::vector<engine::ListedFile> { throw std::runtime_error("unreadable"); };
    for (const auto& [kind, path, list] :
         {std::tuple{Submenu::Folder, "C:\\Empty", none}, {Submenu::Folder, "C:\\Locked", throws},
          {Submenu::Menu, "C:\\M\\Gone.tvl", none}}) {
        SCOPED_TRACE(path);
        const engine::SubmenuLevel level =
            engine::LoadSubmenu(kind, path, parent, fs, cp, Services(list));
        EXPECT_TRUE(level.Empty);
        ASSERT_EQ(level.Items.size(), 1u);
        EXPECT_EQ(level.Items[0].Name, engine::kEmptySubmenu);

        engine::MenuModel model(level.Items, false, 15, 200,
                                [](std::string_view s) { return 100.0f * s.size(); },
                                level.Submenus);
        model.GreyAll();
        model.LayoutMenu({0, 0, 15000, 11000}, 0, 0, [](std::string_view s) { return 100.0f * s.size(); });
        model.KeyDown(engine::kKeyDown);
        EXPECT_EQ(model.KeyUp(engine::kKeyEnter), engine::Action::None);
        EXPECT_EQ(model.ButtonUp({engine::Element::Kind::Cell, 0}, engine::kLeftButton, 1, 1),
                  engine::Action::None);
        EXPECT_EQ(model.KeyUp(engine::kKeyApps), engine::Action::None);
    }
}

TEST(Submenus, OpenBesideTheParentOnTheSideWithRoomInsideTheWorkArea) {
    const engine::MeasureWidth measure = [](std::string_view s) { return 100.0f * s.size(); };
    const engine::MeasureFit fit = engine::FitByWidth(measure);
    std::vector<menufile::MenuItem> items(3, {"Entry", "C:\\x", "", "", "", "0"});
    const engine::Rect work{0, 0, 15000, 10000};
    struct Case {
        engine::Rect parent;
        float entryTop;
        bool leftOfIt, movedUp;
    } cases[] = {
        {{1000, 1000, 4000, 5000}, 2000, false, false},  // right of it, level with the entry
        {{11000, 1000, 14000, 5000}, 2000, true, false},  // no room on the right
        {{1000, 1000, 4000, 9900}, 9500, false, true},   // its bottom kept in the work area
    };
    for (const Case& k : cases) {
        engine::MenuModel model(items, false, 15, 200, measure,
                                {Submenu::None, Submenu::Folder, Submenu::None});
        model.LayoutSubmenu(work, k.parent, k.entryTop, measure, fit);
        // The arrow's room widens every cell of a menu with a submenu.
        EXPECT_EQ(model.CellWidth(), 500 + engine::kLargeCellExtra + engine::kArrowRoom);
        EXPECT_EQ(model.Left(), k.leftOfIt ? k.parent.Left - model.Width() : k.parent.Right);
        EXPECT_EQ(model.Top(), k.movedUp ? work.Bottom - model.Height() : k.entryTop);
        EXPECT_EQ(model.CurrentItem(), -1);
    }
}

}  // namespace
