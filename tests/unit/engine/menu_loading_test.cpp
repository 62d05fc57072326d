// Loading a menu for showing: read problems, the listing run ahead, and what it throws.
#include "engine/menu_loading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <thread>

#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using engine::ListedFile;
using engine::ListingFailure;

const std::string kHead = std::string("BM\0\0<\r\n", 7) + "\r\n<START TVL>\r\n";
const std::string kSettings = "1,\"MS Sans Serif\",8.25,0,0\r\n";
const std::string kPath = "C:\\Menus\\Music.tvl";

std::string PointerMenu(const std::string& hideExtensions) {
    return kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\Music\\\",\"*.*\",0," + hideExtensions +
           ",0\r\n";
}

std::vector<std::string> Names(const std::vector<menufile::MenuItem>& items) {
    std::vector<std::string> names;
    for (const auto& item : items) {
        names.push_back(item.Name);
    }
    return names;
}

// Lists two files, telling which thread it ran on.
struct RecordingLister {
    std::atomic<int> calls{0};
    std::atomic<bool> onCaller{false};
    std::thread::id caller = std::this_thread::get_id();

    engine::FolderLister Lister() {
        return [this](const std::string&, const std::string&) {
            ++calls;
            onCaller = onCaller || std::this_thread::get_id() == caller;
            return std::vector<ListedFile>{{"b.mp3"}, {"a.mp3"}};
        };
    }
};

engine::LoadServices Services(engine::FolderLister list) {
    return {std::move(list), [](const std::string&) { return std::string(); },
            engine::LessWithoutCase, {}};
}

TEST(MenuLoading, ListsTheFolderAheadOnAnotherThreadWithEitherExtensionRule) {
    for (const char* hide : {"0", "1"}) {
        SCOPED_TRACE(hide);
        platform::MemoryFileSystem fs;
        fs.Put(kPath, PointerMenu(hide));
        RecordingLister lister;
        std::vector<std::string> named;
        engine::LoadServices services = Services(lister.Lister());
        services.DisplayName = [&](const std::string& path) {
            named.push_back(path);  // the caller's thread only: a plain vector is safe
            // The name without its extension: the type's extensions are hidden.
            const std::string name = path.substr(path.find_last_of('\\') + 1);
            return name.substr(0, name.find('.'));
        };
        engine::MenuLoad load =
            engine::LoadMenuForShowing(fs, kPath, test_support::Windows1252(), services);
        ASSERT_FALSE(load.Problem());
        EXPECT_TRUE(load.Menu().IsDirectoryPointer());
        const engine::ShownItems shown = load.Items();
        EXPECT_EQ(shown.Failure, ListingFailure::None);
        EXPECT_EQ(Names(shown.Items), std::string(hide) == "1"
                                          ? (std::vector<std::string>{"a", "b"})
                                          : (std::vector<std::string>{"a.mp3", "b.mp3"}));
        EXPECT_EQ(lister.calls, 1) << "the listing made ahead is the one used";
        EXPECT_FALSE(lister.onCaller);
        EXPECT_EQ(named.size(), std::string(hide) == "1" ? 1u : 0u) << "one probe per type";
    }
}

TEST(MenuLoading, WhatTheListingThrowsIsToldNotThrown) {
    struct Case {
        const char* name;
        engine::FolderLister list;
        ListingFailure expected;
    };
    const Case cases[] = {
        {"bad_alloc",
         [](const std::string&, const std::string&) -> std::vector<ListedFile> {
             throw std::bad_alloc();
         },
         ListingFailure::OutOfMemory},
        {"length_error",
         [](const std::string&, const std::string&) -> std::vector<ListedFile> {
             throw std::length_error("names");
         },
         ListingFailure::OutOfMemory},
        {"other",
         [](const std::string&, const std::string&) -> std::vector<ListedFile> { throw 7; },
         ListingFailure::Failed},
    };
    for (const Case& c : cases) {
        for (const char* hide : {"0", "1"}) {
            SCOPED_TRACE(std::string(c.name) + " " + hide);
            platform::MemoryFileSystem fs;
            fs.Put(kPath, PointerMenu(hide));
            engine::MenuLoad load = engine::LoadMenuForShowing(
                fs, kPath, test_support::Windows1252(), Services(c.list));
            ASSERT_FALSE(load.Problem());
            engine::ShownItems shown;
            EXPECT_NO_THROW(shown = load.Items());
            EXPECT_EQ(shown.Failure, c.expected);
            EXPECT_TRUE(shown.Items.empty());
        }
    }
}

TEST(MenuLoading, AMenuThatCannotBeShownListsNothing) {
    RecordingLister lister;
    platform::MemoryFileSystem fs;
    engine::MenuLoad missing = engine::LoadMenuForShowing(fs, kPath, test_support::Windows1252(),
                                                          Services(lister.Lister()));
    EXPECT_EQ(missing.Problem(), engine::MenuProblem::Missing);

    fs.MakeFolder(kPath);
    EXPECT_EQ(engine::LoadMenuForShowing(fs, kPath, test_support::Windows1252(),
                                         Services(lister.Lister()))
                  .Problem(),
              engine::MenuProblem::Folder);

    platform::MemoryFileSystem other;
    other.Put(kPath, "not a menu");
    EXPECT_EQ(engine::LoadMenuForShowing(other, kPath, test_support::Windows1252(),
                                         Services(lister.Lister()))
                  .Problem(),
              engine::MenuProblem::Empty);
    EXPECT_EQ(lister.calls, 0);

    // A user-defined menu lists no folder; its records are its items, decoded to UTF-8.
    other.Put(kPath, kHead + "\"USERDEF\"\r\n" + kSettings +
                         "\"Caf\xE9\",\"C:\\cafe.exe\",\"\",\"\",\"\",0\r\n");
    engine::MenuLoad user = engine::LoadMenuForShowing(other, kPath, test_support::Windows1252(),
                                                       Services(lister.Lister()));
    ASSERT_FALSE(user.Problem());
    EXPECT_EQ(Names(user.Items().Items), (std::vector<std::string>{"Caf\xC3\xA9"}));
    EXPECT_EQ(lister.calls, 0);
}

}  // namespace
