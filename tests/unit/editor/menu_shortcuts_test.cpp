// The editor's shortcuts of its menu over a store that keeps links in memory.
#include "editor/model/menu_shortcuts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using editor::MenuShortcuts;
using editor::ShortcutFailure;
using editor::ShortcutPlace;
using editor::ShortcutState;
using menufile::ShortcutLink;

constexpr const char* kStartFolder = "C:\\Users\\ann\\Start Menu\\Programs\\Tarvel Menus";
constexpr const char* kDesktopFolder = "C:\\Users\\ann\\Desktop";
constexpr const char* kProgram = "C:\\Program Files\\Tarvel";
constexpr const char* kEngine = "C:\\Program Files\\Tarvel\\tvlengin.exe";
constexpr const char* kMenu = "D:\\My Menus\\Tools.tvl";
constexpr const char* kStartLink = "C:\\Users\\ann\\Start Menu\\Programs\\Tarvel Menus\\Tools.lnk";
constexpr const char* kDesktopLink = "C:\\Users\\ann\\Desktop\\Tools.lnk";

class FakeStore : public editor::ShortcutStore {
public:
    std::optional<std::string> Folder(ShortcutPlace place, ShortcutFailure& failure) override {
        if (NoFolder.count(place) != 0) {
            failure.Reason = "The system cannot find the path specified.";
            return std::nullopt;
        }
        return place == ShortcutPlace::StartMenu ? kStartFolder : kDesktopFolder;
    }
    std::optional<ShortcutLink> Read(const std::string& linkPath) override {
        const auto it = Links.find(linkPath);
        if (it == Links.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    bool Write(const std::string& linkPath, const ShortcutLink& link, const std::string& appId,
               ShortcutFailure& failure) override {
        Writes.push_back(linkPath);
        if (!WriteFailure.empty()) {
            failure.Reason = WriteFailure;
            return false;
        }
        Links[linkPath] = link;
        AppIds[linkPath] = appId;
        return true;
    }
    bool Remove(const std::string& linkPath, ShortcutFailure& failure) override {
        Removes.push_back(linkPath);
        if (!RemoveFailure.empty()) {
            failure.Reason = RemoveFailure;
            return false;
        }
        Links.erase(linkPath);
        return true;
    }
    void AddEditTask(const std::string& appId, const std::string& editorPath,
                     const std::string& menuPath) override {
        Tasks.push_back(appId + "|" + editorPath + "|" + menuPath);
    }

    std::set<ShortcutPlace> NoFolder;
    std::map<std::string, ShortcutLink> Links;
    std::map<std::string, std::string> AppIds;
    std::vector<std::string> Writes;
    std::vector<std::string> Removes;
    std::vector<std::string> Tasks;
    std::string WriteFailure;
    std::string RemoveFailure;
};

ShortcutLink ForeignLink() {
    ShortcutLink link;
    link.Target = "C:\\Tools\\other.exe";
    link.Arguments = "\"D:\\My Menus\\Tools.tvl\"";
    return link;
}

class MenuShortcutsTest : public ::testing::Test {
protected:
    FakeStore store;
    MenuShortcuts shortcuts{store, kProgram};
};

TEST_F(MenuShortcutsTest, MakeWritesOursWithTheMenusIdentityAndItsTask) {
    const auto made = shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0x0654);
    ASSERT_TRUE(made.Done) << made.Message;
    ASSERT_EQ(store.Links.count(kStartLink), 1u);
    const ShortcutLink& link = store.Links[kStartLink];
    EXPECT_EQ(link.Target, kEngine);
    EXPECT_EQ(link.Arguments, "\"D:\\My Menus\\Tools.tvl\"");
    EXPECT_EQ(link.WorkingDirectory, "D:\\My Menus");
    EXPECT_EQ(link.IconPath, kMenu);
    EXPECT_EQ(link.HotKey, 0x0654);
    EXPECT_EQ(store.AppIds[kStartLink], menufile::MenuAppUserModelId(kMenu));
    ASSERT_EQ(store.Tasks.size(), 1u);
    EXPECT_EQ(store.Tasks[0], menufile::MenuAppUserModelId(kMenu) +
                                  "|C:\\Program Files\\Tarvel\\tvledit.exe|" + kMenu);

    const auto status = shortcuts.Status(ShortcutPlace::StartMenu, kMenu);
    EXPECT_EQ(status.State, ShortcutState::Ours);
    EXPECT_EQ(status.LinkPath, kStartLink);
    EXPECT_EQ(status.HotKey, 0x0654);
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::Desktop, kMenu).State, ShortcutState::Absent);

    // Making it again rewrites ours with the new key.
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0x0341).Done);
    EXPECT_EQ(store.Links[kStartLink].HotKey, 0x0341);
    EXPECT_EQ(store.Writes.size(), 2u);
}

TEST_F(MenuShortcutsTest, AnotherProgramsShortcutIsKeptOnMakeAndRemove) {
    store.Links[kDesktopLink] = ForeignLink();
    const auto status = shortcuts.Status(ShortcutPlace::Desktop, kMenu);
    EXPECT_EQ(status.State, ShortcutState::Foreign);
    EXPECT_EQ(status.ForeignTarget, "C:\\Tools\\other.exe");

    const auto made = shortcuts.Make(ShortcutPlace::Desktop, kMenu, 0);
    EXPECT_FALSE(made.Done);
    EXPECT_NE(made.Message.find("already exists"), std::string::npos) << made.Message;
    EXPECT_NE(made.Message.find("C:\\Tools\\other.exe"), std::string::npos) << made.Message;
    EXPECT_NE(made.Message.find("kept"), std::string::npos) << made.Message;
    EXPECT_TRUE(store.Writes.empty());
    EXPECT_TRUE(store.Tasks.empty());

    EXPECT_TRUE(shortcuts.Remove(ShortcutPlace::Desktop, kMenu).Done);
    EXPECT_TRUE(store.Removes.empty());
    EXPECT_EQ(store.Links[kDesktopLink].Target, "C:\\Tools\\other.exe");

    // The engine of another installation is someone else's shortcut too.
    ShortcutLink otherInstall = ForeignLink();
    otherInstall.Target = "C:\\Old\\Tarvel\\tvlengin.exe";
    store.Links[kStartLink] = otherInstall;
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::StartMenu, kMenu).State, ShortcutState::Foreign);
    EXPECT_FALSE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
    // So is a file of the name that is no readable shortcut (an empty target).
    store.Links[kStartLink] = ShortcutLink{};
    const auto unreadable = shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0);
    EXPECT_FALSE(unreadable.Done);
    EXPECT_NE(unreadable.Message.find(kStartLink), std::string::npos) << unreadable.Message;
    EXPECT_TRUE(store.Writes.empty());
}

TEST_F(MenuShortcutsTest, RemoveTakesOnlyOurs) {
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::Desktop, kMenu, 0).Done);
    EXPECT_TRUE(shortcuts.Remove(ShortcutPlace::StartMenu, kMenu).Done);
    EXPECT_EQ(store.Removes, std::vector<std::string>{kStartLink});
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::StartMenu, kMenu).State, ShortcutState::Absent);
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::Desktop, kMenu).State, ShortcutState::Ours);
    // Nothing there: nothing to do, nothing asked of the store.
    EXPECT_TRUE(shortcuts.Remove(ShortcutPlace::StartMenu, kMenu).Done);
    EXPECT_EQ(store.Removes.size(), 1u);
}

TEST_F(MenuShortcutsTest, KeyChangeRewritesEachOfOursButNoForeignOne) {
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::Desktop, kMenu, 0).Done);
    store.Writes.clear();
    ASSERT_TRUE(shortcuts.SetHotKey(kMenu, 0x0254).Done);
    EXPECT_EQ(store.Links[kStartLink].HotKey, 0x0254);
    EXPECT_EQ(store.Links[kDesktopLink].HotKey, 0x0254);
    EXPECT_EQ(store.Writes.size(), 2u);
    EXPECT_EQ(store.AppIds[kDesktopLink], menufile::MenuAppUserModelId(kMenu));

    store.Links[kDesktopLink] = ForeignLink();
    store.Writes.clear();
    ASSERT_TRUE(shortcuts.SetHotKey(kMenu, 0x0000).Done);
    EXPECT_EQ(store.Writes, std::vector<std::string>{kStartLink});
    EXPECT_EQ(store.Links[kStartLink].HotKey, 0);
    EXPECT_EQ(store.Links[kDesktopLink].Target, "C:\\Tools\\other.exe");
    EXPECT_EQ(store.Links[kDesktopLink].HotKey, 0);
}

TEST_F(MenuShortcutsTest, WriteFailuresSayWhereAndWhy) {
    store.WriteFailure = "Access is denied.";
    const auto made = shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0);
    EXPECT_FALSE(made.Done);
    EXPECT_EQ(made.Message, std::string("The shortcut could not be made in ") + kStartFolder +
                                ".\rAccess is denied.");
    EXPECT_TRUE(store.Tasks.empty());

    store.WriteFailure.clear();
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::Desktop, kMenu, 0).Done);
    store.WriteFailure = "The disk is full.";
    const auto key = shortcuts.SetHotKey(kMenu, 0x0254);
    EXPECT_FALSE(key.Done);
    EXPECT_NE(key.Message.find(kStartFolder), std::string::npos) << key.Message;
    EXPECT_NE(key.Message.find(kDesktopFolder), std::string::npos) << key.Message;
    EXPECT_NE(key.Message.find("The disk is full."), std::string::npos) << key.Message;

    store.RemoveFailure = "The process cannot access the file because it is being used.";
    const auto removed = shortcuts.Remove(ShortcutPlace::Desktop, kMenu);
    EXPECT_FALSE(removed.Done);
    EXPECT_NE(removed.Message.find(kDesktopFolder), std::string::npos) << removed.Message;
    EXPECT_NE(removed.Message.find(store.RemoveFailure), std::string::npos) << removed.Message;
}

TEST_F(MenuShortcutsTest, APlaceWithoutAFolderIsAbsentAndCannotBeMade) {
    store.NoFolder.insert(ShortcutPlace::Desktop);
    const auto status = shortcuts.Status(ShortcutPlace::Desktop, kMenu);
    EXPECT_EQ(status.State, ShortcutState::Absent);
    EXPECT_TRUE(status.LinkPath.empty());
    const auto made = shortcuts.Make(ShortcutPlace::Desktop, kMenu, 0);
    EXPECT_FALSE(made.Done);
    EXPECT_NE(made.Message.find("desktop"), std::string::npos) << made.Message;
    EXPECT_NE(made.Message.find("cannot find the path"), std::string::npos) << made.Message;
    EXPECT_TRUE(store.Writes.empty());
    // The Start menu still works.
    EXPECT_TRUE(shortcuts.SetHotKey(kMenu, 0x0254).Done);
    EXPECT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
}

TEST_F(MenuShortcutsTest, ARenamedOrMovedMenuHasNoShortcutUntilOneIsMade) {
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, kMenu, 0).Done);
    // Moved: the link of the same name starts the old path.
    const std::string moved = "E:\\Elsewhere\\Tools.tvl";
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::StartMenu, moved).State, ShortcutState::Foreign);
    // Renamed: no link of the new name.
    const std::string renamed = "D:\\My Menus\\Utilities.tvl";
    const auto status = shortcuts.Status(ShortcutPlace::StartMenu, renamed);
    EXPECT_EQ(status.State, ShortcutState::Absent);
    EXPECT_EQ(status.LinkPath, std::string(kStartFolder) + "\\Utilities.lnk");
    ASSERT_TRUE(shortcuts.Make(ShortcutPlace::StartMenu, renamed, 0).Done);
    EXPECT_EQ(store.AppIds[status.LinkPath], menufile::MenuAppUserModelId(renamed));
    EXPECT_NE(store.AppIds[status.LinkPath], store.AppIds[kStartLink]);
    // The same menu spelt in another case is still ours.
    EXPECT_EQ(shortcuts.Status(ShortcutPlace::StartMenu, "d:\\my menus\\Tools.TVL").State,
              ShortcutState::Ours);
}

}  // namespace
