// The worker that looks up a pop-up's first icons: what it hands the window, and when.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/icon_loader_win.h"
#include "winauto.h"

namespace {

using engine::IconLoader;
using engine::kIconsFound;
using winauto::TempDir;
using winauto::WriteFileBytes;

menufile::MenuItem Item(const std::string& target) {
    menufile::MenuItem item;
    item.Name = "item";
    item.Target = target;
    return item;
}

// A window of the test's own thread that counts the loader's posts.
class Receiver {
public:
    Receiver() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"IconLoaderTestReceiver";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
    }
    ~Receiver() { ::DestroyWindow(m_hwnd); }
    [[nodiscard]] HWND Hwnd() const { return m_hwnd; }

    // Handles the posts until `done` holds or ten seconds pass; the posts seen.
    int PumpUntil(const std::function<bool()>& done) {
        const ULONGLONG deadline = ::GetTickCount64() + 10000;
        int posts = 0;
        while (!done() && ::GetTickCount64() < deadline) {
            MSG msg;
            while (::PeekMessageW(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
                posts += msg.message == kIconsFound ? 1 : 0;
            }
            ::Sleep(1);
        }
        MSG msg;
        while (::PeekMessageW(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
            posts += msg.message == kIconsFound ? 1 : 0;
        }
        return posts;
    }

private:
    HWND m_hwnd = nullptr;
};

TEST(IconLoader, HandsOverEachRowInTurnAsAnIconOfItsOwnAndTellsTheWindow) {
    TempDir dir("icon loader ");
    const std::string document = dir.File("notes.txt");
    ASSERT_TRUE(WriteFileBytes(document, "text"));
    const std::string program = winauto::WinPath(TVL_PROGRAM_DIR) + "\\tvlengin.exe";

    Receiver receiver;
    IconLoader loader;
    // A program (its own icon), a document (its type's, an image of the shell's list), a
    // folder, and a target that is not there.
    ASSERT_TRUE(loader.Start({{3, Item(program)},
                              {5, Item(document)},
                              {6, Item(dir.path())},
                              {9, Item(dir.File("missing.exe"))}},
                             32, false, false));
    loader.NotifyTo(receiver.Hwnd());

    std::vector<IconLoader::Found> found;
    const int posts = receiver.PumpUntil([&] {
        for (IconLoader::Found& f : loader.TakeFound()) {
            found.push_back(std::move(f));
        }
        return !loader.Busy();
    });
    for (IconLoader::Found& f : loader.TakeFound()) {
        found.push_back(std::move(f));
    }
    EXPECT_GE(posts, 1);
    ASSERT_EQ(found.size(), 4u);
    const std::size_t cells[] = {3, 5, 6, 9};
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].cell, cells[i]);
        // Never borrowed from a list the worker may still be adding to.
        EXPECT_EQ(found[i].icon.imageList, nullptr) << i;
    }
    EXPECT_TRUE(found[0].icon.icon) << "the program's own icon";
    EXPECT_TRUE(found[1].icon.icon) << "the document type's icon";
    EXPECT_TRUE(found[2].icon.icon) << "the folder's icon";
}

TEST(IconLoader, AWindowNamedAfterTheWorkIsDoneIsToldAtOnce) {
    IconLoader loader;
    ASSERT_TRUE(loader.Start({}, 32, false, false));
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (loader.Busy() && ::GetTickCount64() < deadline) {
        ::Sleep(1);
    }
    ASSERT_FALSE(loader.Busy());
    Receiver receiver;
    loader.NotifyTo(receiver.Hwnd());
    EXPECT_EQ(receiver.PumpUntil([] { return true; }), 1);
    EXPECT_TRUE(loader.TakeFound().empty());
}

TEST(IconLoader, GoneBeforeItsWorkerIsDonePostsToNoWindow) {
    TempDir dir("icon loader ");
    std::vector<IconLoader::Row> rows;
    for (std::size_t i = 0; i < 200; ++i) {
        const std::string file = dir.File("file " + std::to_string(i) + ".txt");
        ASSERT_TRUE(WriteFileBytes(file, ""));
        rows.push_back({i, Item(file)});
    }
    Receiver receiver;
    {
        IconLoader loader;
        ASSERT_TRUE(loader.Start(std::move(rows), 32, false, false));
        loader.NotifyTo(receiver.Hwnd());
        while (receiver.PumpUntil([] { return true; }) == 0) {
            ::Sleep(1);  // until the worker is under way
        }
    }
    // The worker stops at its next row; nothing is posted to the window after the loader went.
    ::Sleep(500);
    EXPECT_EQ(receiver.PumpUntil([] { return true; }), 0);
}

}  // namespace
