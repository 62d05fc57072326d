// Menu files, a counting icon source and agreement checks shared by the editor's unit tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/model/menu_editor.h"
#include "menufile/file_system.h"
#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"

namespace editor_test {

using namespace std::string_literals;

// A picture full of things a careless prefix copy would break: NUL, "<", CR and LF, a line
// that starts like the marker, and the marker inside a longer line.
inline const std::string kPicture = "BM\0\0<\r\n<START\r\nTVL>\"\r<START TVL> \n\xff"s;
inline const std::string kHead = kPicture + "\r\n<START TVL>\r\n";
inline const std::string kUserType = "\"USERDEF\"\r\n";
inline const std::string kPointerType = "\"DIRPOINT\"\r\n";
inline const std::string kSettings = "1,\"MS Sans Serif\",8.25,0,0\r\n";
inline const std::string kNotepad = "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n";
inline const std::string kSeparator = "\"\",\"\",\"\",\"\",\"\",\r\n";
inline const std::string kLetters =
    "\"Letters, 2026\",\"C:\\docs\\\",\"\",\"C:\\docs\\\",\"C:\\icons.dll\",3\r\n";
inline const std::string kLast = "\"Last\",\"C:\\tools\\last.exe\",\"-q\",\"\",\"\",2\r\n";
inline const std::string kPointerLine = "\"C:\\\",\"*.*\",1,0,0\r\n";
inline const std::string kSavedPointer = "\"D:\\My Music, old\\\",\"*.mp3\", 1, 0, 1";

inline std::string UserMenu(const std::vector<std::string>& lines) {
    std::string s = kHead + kUserType + kSettings;
    for (const std::string& line : lines) {
        s += line;
    }
    return s;
}

inline std::string PointerMenu(const std::string& pointer) {
    return kHead + kPointerType + kSettings + pointer;
}

// Hands out numbered icons and keeps count of the live ones, so leaks and double frees show.
class FakeIcons : public editor::IconSource {
public:
    editor::IconHandle Extract(const std::string& file, int index) override {
        Requests.emplace_back(file, index);
        if (file.find("noicon") != std::string::npos) {
            return 0;
        }
        editor::IconHandle icon = ++m_next;
        Live[icon] = file + "#" + std::to_string(index);
        return icon;
    }
    void Destroy(editor::IconHandle icon) override {
        EXPECT_EQ(Live.erase(icon), 1u) << "icon " << icon << " destroyed twice or never made";
    }

    std::vector<std::pair<std::string, int>> Requests;
    std::map<editor::IconHandle, std::string> Live;  // handle -> "file#index"

private:
    editor::IconHandle m_next = 100;
};

// The list shows exactly the records of the committed file, in order.
inline ::testing::AssertionResult ListAgreesWithFile(const editor::MenuEditor& editor,
                                                     menufile::FileSystem& fs) {
    std::string bytes;
    if (menufile::ReadCommittedMenu(fs, editor.Path(), bytes) != menufile::FileError::None) {
        return ::testing::AssertionFailure() << "the file cannot be read";
    }
    menufile::MenuFile file = menufile::ReadMenu(bytes);
    if (file.Status != menufile::ReadStatus::Ok) {
        return ::testing::AssertionFailure() << "the file is not a readable menu";
    }
    if (file.IsDirectoryPointer() != editor.IsDirectoryPointer()) {
        return ::testing::AssertionFailure() << "the menu type differs";
    }
    if (file.IsDirectoryPointer() && *file.DirectoryPointer != editor.DirectoryPointer()) {
        return ::testing::AssertionFailure() << "the pointer differs";
    }
    const auto& entries = editor.Rows();
    if (entries.size() != file.Items.size()) {
        return ::testing::AssertionFailure()
               << entries.size() << " entries for " << file.Items.size() << " records";
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const menufile::MenuItem& item = file.Items[i];
        const std::string text = item.Name.empty() ? std::string(87, '-') : item.Name;
        if (entries[i].Text != text || entries[i].Target != item.Target) {
            return ::testing::AssertionFailure() << "entry " << i << " shows '" << entries[i].Text
                                                 << "' for record '" << item.Name << "'";
        }
    }
    return ::testing::AssertionSuccess();
}

inline std::vector<std::string> Texts(const editor::MenuEditor& editor) {
    std::vector<std::string> texts;
    for (const editor::ListRow& entry : editor.Rows()) {
        texts.push_back(entry.Text);
    }
    return texts;
}

}  // namespace editor_test
