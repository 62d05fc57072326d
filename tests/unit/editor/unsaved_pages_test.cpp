// Which pages hold unsaved changes, and what leaving them asks and saves.
#include "editor/model/unsaved_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using editor::AppearanceShown;
using editor::PointerShown;
using editor::SaveAnswer;
using editor::UnsavedPage;

TEST(UnsavedPages, AppearanceCountsWhatSaveWouldWriteDifferently) {
    menufile::MenuSettings stored{"1", "Tahoma", "8.250", "-1", "0"};
    const AppearanceShown settled{editor::AppearanceOf(stored), {}};
    // The same settings spelled as the file spelled them, or as the page writes them.
    stored.FontSize = "8.25";
    EXPECT_FALSE(editor::AppearanceUnsaved({editor::AppearanceOf(stored), {}}, settled));

    auto changed = [&](auto change) {
        AppearanceShown shown = settled;
        change(shown);
        return editor::AppearanceUnsaved(shown, settled);
    };
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.Settings.FontName = "Arial"; }));
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.Settings.FontSize = 9.0f; }));
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.Settings.FontBold = false; }));
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.Settings.FontItalic = true; }));
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.Settings.SmallIcons = false; }));
    EXPECT_TRUE(changed([](AppearanceShown& s) { s.ChosenIcon = "C:\\icons.dll,3"; }));
    // Another icon of the library chosen after the first was saved.
    AppearanceShown saved = settled;
    saved.ChosenIcon = "C:\\icons.dll,3";
    AppearanceShown browsed = saved;
    EXPECT_FALSE(editor::AppearanceUnsaved(browsed, saved));
    browsed.ChosenIcon = "C:\\icons.dll,4";
    EXPECT_TRUE(editor::AppearanceUnsaved(browsed, saved));
}

TEST(UnsavedPages, PointerCountsEachFieldButNotTheTrailingBackslash) {
    const PointerShown settled = editor::PointerShownOf({"D:\\Music", "*.mp3", "1", "0", " 1"});
    EXPECT_TRUE(settled.ShowFolders && !settled.HideExtensions && settled.ShowHidden);
    PointerShown shown = settled;
    shown.Folder = "D:\\Music\\";  // what the path box makes of it
    EXPECT_FALSE(editor::PointerUnsaved(shown, settled));

    auto changed = [&](auto change) {
        PointerShown s = settled;
        change(s);
        return editor::PointerUnsaved(s, settled);
    };
    EXPECT_TRUE(changed([](PointerShown& s) { s.Folder = "D:\\Music\\Old\\"; }));
    EXPECT_TRUE(changed([](PointerShown& s) { s.Folder = ""; }));
    EXPECT_TRUE(changed([](PointerShown& s) { s.Pattern = "*.MP3"; }));
    EXPECT_TRUE(changed([](PointerShown& s) { s.ShowFolders = false; }));
    EXPECT_TRUE(changed([](PointerShown& s) { s.HideExtensions = true; }));
    EXPECT_TRUE(changed([](PointerShown& s) { s.ShowHidden = false; }));

    // Only a pointer menu shows the pointer page; the appearance is asked about first.
    EXPECT_EQ(editor::UnsavedPages(true, true, false),
              std::vector<UnsavedPage>{UnsavedPage::Appearance});
    EXPECT_EQ(editor::UnsavedPages(true, true, true),
              (std::vector<UnsavedPage>{UnsavedPage::Appearance, UnsavedPage::DirectoryPointer}));
    EXPECT_TRUE(editor::UnsavedPages(false, false, true).empty());
}

// Asks through scripted answers and records what was asked and saved.
struct Leaving {
    explicit Leaving(std::vector<SaveAnswer> answers = {}, bool saveWorks = true)
        : Answers(std::move(answers)), SaveWorks(saveWorks) {}

    std::vector<SaveAnswer> Answers;
    bool SaveWorks;
    std::vector<std::string> Asked;
    std::vector<UnsavedPage> Saved;

    bool Run(const std::vector<UnsavedPage>& pages) {
        return editor::SettleUnsavedPages(
            pages,
            [&](const char* question) {
                Asked.emplace_back(question);
                return Answers.at(Asked.size() - 1);
            },
            [&](UnsavedPage page) {
                Saved.push_back(page);
                return SaveWorks;
            });
    }
};

TEST(UnsavedPages, LeavingAsksAboutEachPageAndDoesWhatTheAnswerSays) {
    const std::vector<UnsavedPage> both{UnsavedPage::Appearance, UnsavedPage::DirectoryPointer};
    {
        Leaving nothing;
        EXPECT_TRUE(nothing.Run({})) << "nothing unsaved: go on without asking";
        EXPECT_TRUE(nothing.Asked.empty());
    }
    {
        Leaving yes({SaveAnswer::Yes, SaveAnswer::Yes});
        EXPECT_TRUE(yes.Run(both));
        EXPECT_EQ(yes.Asked,
                  (std::vector<std::string>{"Save the changes to the menu's appearance?",
                                            "Save the changes to the directory pointer?"}));
        EXPECT_EQ(yes.Saved, both);
    }
    {
        Leaving no({SaveAnswer::No, SaveAnswer::Yes});
        EXPECT_TRUE(no.Run(both));
        EXPECT_EQ(no.Saved, std::vector<UnsavedPage>{UnsavedPage::DirectoryPointer});
    }
    {
        Leaving cancel({SaveAnswer::Cancel});
        EXPECT_FALSE(cancel.Run(both)) << "Cancel stays";
        EXPECT_EQ(cancel.Asked.size(), 1u) << "and asks nothing more";
        EXPECT_TRUE(cancel.Saved.empty());
    }
    {
        Leaving laterCancel({SaveAnswer::Yes, SaveAnswer::Cancel});
        EXPECT_FALSE(laterCancel.Run(both));
        EXPECT_EQ(laterCancel.Saved, std::vector<UnsavedPage>{UnsavedPage::Appearance});
    }
    {
        Leaving failed({SaveAnswer::Yes, SaveAnswer::Yes}, false);
        EXPECT_FALSE(failed.Run(both)) << "a save that failed stays";
        EXPECT_EQ(failed.Asked.size(), 1u);
    }
}

}  // namespace
