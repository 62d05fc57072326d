// A test that starts tvledit.exe (TVLEDIT_EXE) on a menu file in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/ui/main_window_layout.h"
#include "winauto.h"

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture(const char* folderPrefix, const char* menuName)
        : m_dir(folderPrefix), m_menu(m_dir.File(menuName)) {}

    void SetUp() override { winauto::ParkMouse(); }

    // Writes the menu file, starts the editor on it and waits for its main window, found by
    // class alone since the title names the menu.
    HWND Open(const std::string& bytes) {
        EXPECT_TRUE(winauto::WriteFileBytes(m_menu, bytes));
        Launch(winauto::Quote(m_menu));
        m_main = m_editor
                     ? winauto::WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr)
                     : nullptr;
        EXPECT_NE(m_main, nullptr);
        return m_main;
    }
    void Launch(const std::string& args) {
        m_editor = winauto::Start(m_editorExe, args, m_dir.path());
        EXPECT_TRUE(m_editor) << "CreateProcess failed";
    }
    [[nodiscard]] HWND Item(int id) const { return winauto::Control(m_main, id); }
    [[nodiscard]] std::string File() const {
        return winauto::ReadFileBytes(m_menu).value_or("<missing>");
    }

    winauto::TempDir m_dir;  // first: removed after the editor has ended
    std::string m_menu;
    std::string m_editorExe = winauto::WinPath(TVLEDIT_EXE);  // the program Launch starts
    winauto::Process m_editor;
    HWND m_main = nullptr;
};
