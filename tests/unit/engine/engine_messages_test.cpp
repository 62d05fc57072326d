// What the engine says instead of showing a menu, and how it shortens the path it names.
#include "engine/engine_messages.h"

#include <gtest/gtest.h>

#include "menufile/text_encoding.h"

namespace {

using engine::MenuProblem;
using menufile::FileError;
using menufile::PathKind;

TEST(ReadProblem, SaysWhatIsWrongWithThePath) {
    const std::string path = "C:\\Menus\\Tools.tvl";
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, path),
              MenuProblem::Missing);
    // A folder cannot be opened as a file: Windows says access denied.
    EXPECT_EQ(engine::ReadProblem(FileError::ReadOnly, PathKind::Folder, path),
              MenuProblem::Folder);
    EXPECT_EQ(engine::ReadProblem(FileError::ReadOnly, PathKind::File, path),
              MenuProblem::Unreadable);
    EXPECT_EQ(engine::ReadProblem(FileError::InUse, PathKind::File, path), MenuProblem::Unreadable);
    EXPECT_EQ(engine::ReadProblem(FileError::Other, PathKind::File, path), MenuProblem::Unreadable);
    EXPECT_EQ(engine::ReadProblem(FileError::PathTooLong, PathKind::Missing, path),
              MenuProblem::TooLong);
    // Windows also says "not found" of a path longer than it takes.
    const std::string longest = "C:\\" + std::string(engine::kLongestPath - 3, 'a');
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, longest),
              MenuProblem::Missing);
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, longest + "a"),
              MenuProblem::TooLong);

    // Windows counts UTF-16 units, not bytes: a Cyrillic letter is one, an emoji two.
    std::string cyrillic = "C:\\";
    for (std::size_t i = 3; i < engine::kLongestPath; ++i) {
        cyrillic += "Ж";
    }
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, cyrillic),
              MenuProblem::Missing)
        << cyrillic.size() << " bytes";
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, cyrillic + "Ж"),
              MenuProblem::TooLong);
    const auto emoji = [](std::size_t count) {
        std::string path = "C:\\";
        for (std::size_t i = 0; i < count; ++i) {
            path += "😀";
        }
        return path;
    };
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, emoji(128)),
              MenuProblem::Missing)
        << "3 units and 256";
    EXPECT_EQ(engine::ReadProblem(FileError::NotFound, PathKind::Missing, emoji(129)),
              MenuProblem::TooLong);
    EXPECT_NE(engine::ProblemMessage(MenuProblem::TooLong, cyrillic + "Ж").find("(260 characters)"),
              std::string::npos);
}

TEST(ProblemMessage, NamesThePathAndWhatIsWrong) {
    const std::string path = "C:\\Menus\\Tools.tvl";
    struct Case {
        MenuProblem problem;
        const char* says;
    };
    const Case cases[] = {
        {MenuProblem::Folder, "names a folder, not a menu file"},
        {MenuProblem::Missing, "does not exist"},
        {MenuProblem::Unreadable, "cannot be read"},
        {MenuProblem::TooLong, "too long"},
    };
    for (const Case& c : cases) {
        const std::string text = engine::ProblemMessage(c.problem, path);
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        EXPECT_NE(text.find("\n" + path), std::string::npos) << "the path on a line of its own";
    }
    EXPECT_NE(engine::ProblemMessage(MenuProblem::Unreadable, path).find("locked"),
              std::string::npos);
    EXPECT_EQ(engine::ProblemMessage(MenuProblem::Empty, path),
              "Menu is empty.\rPlease run the Menu Editor.");

    // A long path is named shortened, and its length is told.
    const std::string deep = "C:\\" + std::string(2000, 'd') + "\\Tools.tvl";
    const std::string text = engine::ProblemMessage(MenuProblem::TooLong, deep);
    EXPECT_NE(text.find(menufile::ShortenPath(deep)), std::string::npos) << text;
    EXPECT_NE(text.find("2013 characters"), std::string::npos) << text;
    EXPECT_LT(text.size(), 200u);
}

TEST(LaunchFailedMessage, NamesTheTargetAndTheSystemsReason) {
    EXPECT_EQ(engine::LaunchFailedMessage("C:\\Tools\\gone.exe",
                                          "The system cannot find the file specified.\r\n"),
              "This item cannot be opened:\nC:\\Tools\\gone.exe\n"
              "The system cannot find the file specified.");
    EXPECT_EQ(engine::LaunchFailedMessage("https://example.com/", ""),
              "This item cannot be opened:\nhttps://example.com/\nWindows gave no reason.");
    // A target of any length still fits a message box; its file name stays readable.
    const std::string longTarget =
        "C:\\" + std::string(5000, 'd') + "\\Zeitplan f\xc3\xbcr 2027.exe";
    const std::string message = engine::LaunchFailedMessage(longTarget, "Access is denied.");
    EXPECT_LT(message.size(), 600u);
    EXPECT_NE(message.find("Zeitplan f\xc3\xbcr 2027.exe\nAccess is denied."), std::string::npos);
}

TEST(ShortenPath, KeepsTheStartAndTheFileNameWithinTheLimit) {
    EXPECT_EQ(menufile::ShortenPath("C:\\Menus\\Tools.tvl"), "C:\\Menus\\Tools.tvl");
    const std::string exact = "C:\\" + std::string(menufile::kShownPathLength - 3, 'x');
    EXPECT_EQ(menufile::ShortenPath(exact), exact);

    std::string deep = "C:\\Users\\Somebody";
    while (deep.size() < 2000) {
        deep += "\\folder " + std::to_string(deep.size());
    }
    deep += "\\Quick Tools.tvl";
    const std::string shown = menufile::ShortenPath(deep);
    EXPECT_EQ(shown.size(), menufile::kShownPathLength);
    EXPECT_EQ(shown.rfind("C:\\Users\\Somebody", 0), 0u) << shown;
    const std::string tail = "...\\Quick Tools.tvl";
    EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail) << shown;

    // A file name too long for the limit keeps its end, after the start of the path.
    const std::string longName = "C:\\Menus\\" + std::string(300, 'n') + "Tools.tvl";
    const std::string cut = menufile::ShortenPath(longName, 30);
    EXPECT_EQ(cut.size(), 30u);
    EXPECT_EQ(cut.rfind("C:\\Men", 0), 0u) << cut;
    EXPECT_EQ(cut.substr(cut.size() - 9), "Tools.tvl") << cut;
    EXPECT_NE(cut.find("..."), std::string::npos) << cut;

    EXPECT_EQ(menufile::ShortenPath(std::string(100, 'p'), 20),
              std::string(5, 'p') + "..." + std::string(12, 'p'))
        << "no folder at all";
}

}  // namespace

namespace {

TEST(ShortenPath, NeverCutsInsideACharacter) {
    // Cyrillic letters are two bytes, Japanese ones three: every limit gives whole characters.
    const std::string path = "C:\\\xd0\x9c\xd0\xb5\xd0\xbd\xd1\x8e\\" + std::string(300, 'x') +
                             "\\\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.tvl";
    for (std::size_t limit = 10; limit < 90; ++limit) {
        const std::string shown = menufile::ShortenPath(path, limit);
        EXPECT_LE(shown.size(), limit);
        EXPECT_TRUE(menufile::IsValidUtf8(shown)) << limit;
    }
}

}  // namespace
