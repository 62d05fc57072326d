// Menu file reader, value conversions and record lines, against byte-exact fixtures.
#include "menufile/menu_file.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using menufile::MenuItem;
using menufile::ReadMenu;
using menufile::ReadStatus;

// A picture full of bytes that look like structure: "<", lone CR and LF, a partial marker,
// the marker with trailing text, and a quote.
using namespace std::string_literals;
const std::string kPicture =
    "BM\x36\0\0\0<\r<START\n\r\n<START TVL>x\r\n <START TVL>\r\n\"\r\xff\x00\r"s;
const std::string kHead = kPicture + "\r\n<START TVL>\r\n";

TEST(ReadMenu, UserDefinedMenuWithTrickyPictureAndRecords) {
    const std::string file = kHead +
                             "\"USERDEF\"\r\n"
                             "1,\"MS Sans Serif\",8.25,0,0\r\n"
                             "\"Letters, old and new\",\"C:\\docs\\\",\"/x \",\" \",\"\",0\r\n"
                             "\"\",\"\",\"\",\"\",\"\",\r\n"
                             "\"Paint\",\"C:\\pbrush.exe\",\"\",\"C:\\\",\"shell32.dll\",12\r\n";
    menufile::MenuFile m = ReadMenu(file);
    ASSERT_EQ(m.Status, ReadStatus::Ok);
    EXPECT_EQ(m.PrefixLength, kHead.size());
    EXPECT_EQ(m.MenuType, "USERDEF");
    EXPECT_FALSE(m.IsDirectoryPointer());
    EXPECT_EQ(m.Settings, (menufile::MenuSettings{"1", "MS Sans Serif", "8.25", "0", "0"}));
    ASSERT_EQ(m.Items.size(), 3u);
    EXPECT_EQ(m.Items[0], (MenuItem{"Letters, old and new", "C:\\docs\\", "/x ", " ", "", "0"}));
    EXPECT_TRUE(m.Items[1].IsSeparator());
    EXPECT_EQ(m.Items[1].IconIndex, "");
    EXPECT_EQ(menufile::ToInt(m.Items[1].IconIndex), 0);
    EXPECT_EQ(m.Items[2].IconFile, "shell32.dll");
    EXPECT_EQ(menufile::ToInt(m.Items[2].IconIndex), 12);
    EXPECT_FALSE(m.DirectoryPointer);
}

TEST(ReadMenu, DirectoryPointerInBothFormsWithOrWithoutFinalLineEnd) {
    const std::string head = kHead + "\"DIRPOINT\"\r\n0,\"Tahoma\",10,-1,0\r\n";
    for (std::string pointer : {"\"C:\\\",\"*.*\",1,0,0\r\n", "\"C:\\\",\"*.*\",1,0,0",
                                "\"C:\\\",\"*.*\", 1, 0, 0", "\"C:\\\",\"*.*\", 1, 0, 0\r\n"}) {
        menufile::MenuFile m = ReadMenu(head + pointer);
        ASSERT_EQ(m.Status, ReadStatus::Ok) << pointer;
        ASSERT_TRUE(m.IsDirectoryPointer());
        ASSERT_TRUE(m.DirectoryPointer);
        EXPECT_EQ(*m.DirectoryPointer, (menufile::DirectoryPointer{"C:\\", "*.*", "1", "0", "0"}));
        EXPECT_TRUE(m.Items.empty());
    }
}

TEST(ReadMenu, SettingsValuesConvert) {
    menufile::MenuFile m = ReadMenu(kHead + "\"USERDEF\"\r\n0,\"MS Sans Serif\",10,-1,0\r\n");
    ASSERT_EQ(m.Status, ReadStatus::Ok);
    EXPECT_FALSE(menufile::ToBool(m.Settings.SmallIcons));
    EXPECT_EQ(menufile::ToNumber(m.Settings.FontSize), 10.0);
    EXPECT_TRUE(menufile::ToBool(m.Settings.FontBold));
    EXPECT_FALSE(menufile::ToBool(m.Settings.FontItalic));
    EXPECT_TRUE(m.Items.empty());

    EXPECT_TRUE(menufile::ToBool("True"));
    EXPECT_TRUE(menufile::ToBool(" true "));
    EXPECT_TRUE(menufile::ToBool("#TRUE#"));
    EXPECT_TRUE(menufile::ToBool("2"));
    EXPECT_FALSE(menufile::ToBool("False"));
    EXPECT_FALSE(menufile::ToBool(""));
    EXPECT_EQ(menufile::ToNumber("8.25"), 8.25);
    EXPECT_EQ(menufile::ToNumber("+3"), 3.0);
    EXPECT_EQ(menufile::ToNumber("abc"), 0.0);
    EXPECT_EQ(menufile::ToInt("1e30"), 2147483647);
    EXPECT_EQ(menufile::ToInt("-7"), -7);
}

TEST(ReadMenu, FieldSyntax) {
    // Unquoted values are trimmed; text after a closing quote is ignored; lone LF and CR end
    // lines like CR LF; empty lines between records are skipped.
    const std::string file = kHead +
                             "  \"USERDEF\" junk\n"
                             " 1 ,\"Arial\"x, 9.5 ,0,0\r"
                             "\r\n\r\n"
                             "\"a\",\"b\",\"c\",\"d\",\"e\",  3  \n"
                             "\r\n";
    menufile::MenuFile m = ReadMenu(file);
    ASSERT_EQ(m.Status, ReadStatus::Ok);
    EXPECT_EQ(m.MenuType, "USERDEF");
    EXPECT_EQ(m.Settings, (menufile::MenuSettings{"1", "Arial", "9.5", "0", "0"}));
    ASSERT_EQ(m.Items.size(), 1u);
    EXPECT_EQ(m.Items[0], (MenuItem{"a", "b", "c", "d", "e", "3"}));
}

TEST(ReadMenu, TellsMissingMarkerMissingSettingsAndCutRecordsApart) {
    // An old-layout file: settings and items, no picture, no marker.
    EXPECT_EQ(ReadMenu("1,\"MS Sans Serif\",8.25,0,0\r\n\"a\",\"b\",\"\",\"\",\"\",0\r\n").Status,
              ReadStatus::NoMarker);
    EXPECT_EQ(ReadMenu("").Status, ReadStatus::NoMarker);
    EXPECT_EQ(ReadMenu("<START TVL>x\r\n<START TV\r\n").Status, ReadStatus::NoMarker);
    EXPECT_EQ(ReadMenu("pic\r\n<START TVL>").Status, ReadStatus::NoSettings);
    EXPECT_EQ(ReadMenu("pic\r\n<START TVL>\r\n\r\n").Status, ReadStatus::NoSettings);
    EXPECT_EQ(ReadMenu(kHead + "\"USERDEF\"\r\n").Status, ReadStatus::NoSettings);
    EXPECT_EQ(ReadMenu(kHead + "\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0").Status,
              ReadStatus::NoSettings);
    EXPECT_EQ(ReadMenu(kHead + "\"DIRPOINT\"\r\n1,\"X\",8,0,0\r\n").Status, ReadStatus::Truncated);

    menufile::MenuFile cut = ReadMenu(kHead + "\"USERDEF\"\r\n1,\"X\",8,0,0\r\n" +
                                      "\"a\",\"b\",\"\",\"\",\"\",0\r\n\"c\",\"d\",\"e");
    EXPECT_EQ(cut.Status, ReadStatus::Truncated);
    ASSERT_EQ(cut.Items.size(), 1u) << "records before the cut are kept";
    EXPECT_EQ(cut.Items[0].Name, "a");
}

TEST(ReadMenu, RefusesValuesThatCouldNotBeWrittenBackAsRead) {
    const std::string head = kHead + "\"USERDEF\"\r\n1,\"X\",8,0,0\r\n";
    const std::string good = "\"a\",\"b\",\"\",\"\",\"\",0\r\n";
    for (std::string bad :
         {"a\"b,\"t\",\"\",\"\",\"\",0\r\n", "\"a\",\"t\",\"\",\"\",\"\",\"1,2\"\r\n",
          "\"a\",\"t\",\"\",\"\",\"\",\"0\r\n5\"\r\n"}) {
        menufile::MenuFile m = ReadMenu(head + good + bad + good);
        EXPECT_EQ(m.Status, ReadStatus::BadValue) << bad;
        EXPECT_EQ(m.Items.size(), 1u) << bad;
    }
    EXPECT_EQ(ReadMenu(kHead + "\"USERDEF\"\r\n1,X\"Y,8,0,0\r\n").Status, ReadStatus::BadValue);
    EXPECT_EQ(ReadMenu(kHead + "USER\"DEF\r\n1,\"X\",8,0,0\r\n").Status, ReadStatus::BadValue);
    // A number written in quotes is still a number.
    menufile::MenuFile quoted = ReadMenu(head + "\"a\",\"t\",\"\",\"\",\"\",\" 5 \"\r\n");
    ASSERT_EQ(quoted.Status, ReadStatus::Ok);
    EXPECT_EQ(quoted.Items[0].IconIndex, "5");
}

TEST(ReadMenu, EveryPrefixOfAMenuReadsWithoutRunningPastTheEnd) {
    const std::string file = kHead + "\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0,0\r\n" +
                             "\"a,b\",\"c\",\"\",\"\",\"\",0\r\n\"\",\"\",\"\",\"\",\"\",\r\n";
    for (std::size_t n = 0; n <= file.size(); ++n) {
        // A heap copy of exactly n bytes, so the sanitizer sees any read past the end.
        std::unique_ptr<char[]> bytes(new char[n == 0 ? 1 : n]);
        std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n), bytes.get());
        menufile::MenuFile m = ReadMenu(std::string_view(bytes.get(), n));
        if (n >= file.size() - 2) {
            EXPECT_EQ(m.Status, ReadStatus::Ok) << n;
        }
    }
}

TEST(RecordLines, AreWrittenByteForByte) {
    EXPECT_EQ(menufile::FormatTypeLine("USERDEF"), "\"USERDEF\"\r\n");
    EXPECT_EQ(menufile::FormatSettingsLine({"1", "MS Sans Serif", "8.25", "0", "0"}),
              "1,\"MS Sans Serif\",8.25,0,0\r\n");
    EXPECT_EQ(menufile::FormatItemLine({"Letters, old", "C:\\a b\\x.exe", "-v", "C:\\", "", "0"}),
              "\"Letters, old\",\"C:\\a b\\x.exe\",\"-v\",\"C:\\\",\"\",0\r\n");
    EXPECT_EQ(menufile::FormatItemLine(MenuItem::Separator()), "\"\",\"\",\"\",\"\",\"\",\r\n");
    EXPECT_EQ(menufile::FormatPointerLine({}), "\"C:\\\",\"*.*\",1,0,0\r\n");
    EXPECT_EQ(menufile::FormatSavedPointer("D:\\Music\\", "*.mp3", 1, 0, 1),
              "\"D:\\Music\\\",\"*.mp3\", 1, 0, 1");
    EXPECT_EQ(menufile::FormatSavedPointer("C:\\", "*.*", -1, 2, 0), "\"C:\\\",\"*.*\",-1, 2, 0");
}

// The standard library's shortest round-trip conversions are the reference: stored files were
// written by them, and the programs must read and write numbers exactly as before.
TEST(RecordLines, NumbersReadAndWriteAsTheStandardConversionsDo) {
    auto reference = [](float value) {
        std::array<char, 64> buffer{};
        auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        return std::string(buffer.data(), end);
    };
    std::vector<float> values = {
        0.0f,          -0.0f,           1.0f,      -1.0f,      8.25f,       9.75f, 0.1f,
        1e-4f,         1e-5f,           123456.0f, 1234567.0f, 12345678.0f, 1e8f,  1e10f,
        3.4028235e38f, 1.17549435e-38f, 1.4e-45f,  0.3f,       2.0f / 3.0f, 72.0f, 6.0f};
    for (int tenths = 0; tenths <= 2000; ++tenths) {
        values.push_back(static_cast<float>(tenths) / 10.0f);
        values.push_back(static_cast<float>(tenths) * 0.25f);
    }
    std::uint32_t bits = 12345;
    for (int k = 0; k < 20000; ++k) {
        bits = bits * 1664525u + 1013904223u;
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (float value : values) {
        ASSERT_EQ(menufile::FormatNumber(value), reference(value)) << value;
    }

    auto referenceRead = [](std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        }
        if (!text.empty() && text.front() == '+') {
            text.remove_prefix(1);
        }
        double result = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
        return ec != std::errc() || !std::isfinite(result) ? 0.0 : result;
    };
    for (const char* text : {"8.25",
                             " 9.75 ",
                             "+3",
                             "-2.5",
                             "12abc",
                             ".5",
                             "5.",
                             "-.5",
                             "1e3",
                             "1E+3",
                             "2e-2x",
                             "1e",
                             "1e+",
                             "3.e1",
                             ".",
                             "-",
                             "+",
                             "",
                             "abc",
                             "0x10",
                             "inf",
                             "-nan",
                             "1e999",
                             "-1e999",
                             "1e-400",
                             "+-1",
                             "- 1",
                             "00012.500",
                             "1.7976931348623157e308",
                             "123456789012345678901",
                             "4.9e-324"}) {
        EXPECT_EQ(menufile::ToNumber(text), referenceRead(text)) << '"' << text << '"';
    }
    for (float value : values) {
        EXPECT_EQ(static_cast<float>(menufile::ToNumber(menufile::FormatNumber(value))), value)
            << "reads back: " << value;
    }
}

TEST(RecordLines, FontSizeUsesAPointInEveryLocale) {
    // Sizes the font dialog gives (whole points and pixel-rounded fractions).
    EXPECT_EQ(menufile::FormatNumber(8.25f), "8.25");
    EXPECT_EQ(menufile::FormatNumber(9.75f), "9.75");
    EXPECT_EQ(menufile::FormatNumber(10.0f), "10");
    EXPECT_EQ(menufile::FormatNumber(13.5f), "13.5");
    for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            EXPECT_EQ(menufile::FormatNumber(8.25f), "8.25") << name;
            EXPECT_EQ(menufile::ToNumber("8.25"), 8.25) << name;
        }
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace

namespace {

TEST(ItemIconOf, IconFileThenTargetWithAPositiveIndexElseTheShell) {
    using menufile::ItemIconOf;
    const menufile::MenuItem fromFile{"A", "a.exe", "", "", "C:\\icons.dll", "0"};
    EXPECT_EQ(ItemIconOf(fromFile).File, "C:\\icons.dll") << "an icon file wins, even at 0";
    EXPECT_EQ(ItemIconOf(fromFile).Index, 0);
    const menufile::MenuItem fromTarget{"B", "b.exe", "", "", "", "3"};
    EXPECT_EQ(ItemIconOf(fromTarget).File, "b.exe");
    EXPECT_EQ(ItemIconOf(fromTarget).Index, 3);
    for (const char* index : {"0", "", "-2", "x"}) {
        const menufile::MenuItem shell{"C", "c.exe", "", "", "", index};
        EXPECT_TRUE(ItemIconOf(shell).File.empty()) << "'" << index << "': the shell's icon";
    }
    EXPECT_TRUE(ItemIconOf(menufile::MenuItem::Separator()).File.empty());
}

TEST(MenuFontOf, KeepsSizesThatCanBeShownAndReadAndMendsTheRest) {
    auto points = [](const char* size) {
        menufile::MenuSettings s;
        s.FontSize = size;
        return menufile::MenuFontOf(s).Points;
    };
    EXPECT_FLOAT_EQ(points("8.25"), 8.25f);
    EXPECT_FLOAT_EQ(points("12"), 12.0f);
    EXPECT_FLOAT_EQ(points("1e300"), menufile::kLargestFontPoints);
    EXPECT_FLOAT_EQ(points("5000"), menufile::kLargestFontPoints);
    EXPECT_FLOAT_EQ(points("1"), menufile::kSmallestFontPoints);
    for (const char* unusable : {"0", "-9", "", "abc", "nan", "inf"}) {
        EXPECT_FLOAT_EQ(points(unusable), menufile::kDefaultFontPoints) << unusable;
    }
    menufile::MenuSettings s{"1", "Tahoma", "9.75", "-1", "True"};
    const menufile::MenuFont font = menufile::MenuFontOf(s);
    EXPECT_EQ(font.Name, "Tahoma");
    EXPECT_TRUE(font.Bold);
    EXPECT_TRUE(font.Italic);
    // The height both programs ask for: 8.25 points is 11 pixels at 96 dpi, 17 at 144.
    EXPECT_EQ(menufile::FontHeightPixels(8.25f, 96), -11);
    EXPECT_EQ(menufile::FontHeightPixels(8.25f, 144), -17);
    EXPECT_EQ(menufile::FontHeightPixels(72.0f, 192), -192);
}

TEST(PictureOf, IsWhatComesBeforeTheLineEndBeforeTheMarker) {
    auto picture = [](const std::string& bytes) {
        return std::string(menufile::PictureOf(bytes, menufile::ReadMenu(bytes)));
    };
    const std::string rest = "<START TVL>\r\n\"USERDEF\"\r\n0,\"A\",8,0,0\r\n";
    EXPECT_EQ(picture("ICON\r\n" + rest), "ICON");
    EXPECT_EQ(picture("ICON\n" + rest), "ICON");
    EXPECT_EQ(picture("ICON\r\n\r\n" + rest), "ICON\r\n") << "the picture's own line end stays";
    EXPECT_EQ(picture(rest), "");
    EXPECT_EQ(picture("x\r\n<START TVL> \r\n<START\r\n" + rest), "x\r\n<START TVL> \r\n<START");
}

}  // namespace

namespace {

// What the editor checks of a record it brings into a file, instead of reading the file back.
TEST(ReadsBackAsWritten, RefusesRecordsThatWouldReadBackAsOthers) {
    using menufile::MenuItem;
    using menufile::ReadsBackAsWritten;
    EXPECT_TRUE(ReadsBackAsWritten({"Letters, 2026", "C:\\docs\\", "-x", "", "", "3"}));
    EXPECT_TRUE(ReadsBackAsWritten(MenuItem::Separator()));
    EXPECT_FALSE(ReadsBackAsWritten({"Say \"hi\"", "a.exe", "", "", "", "0"}));
    EXPECT_FALSE(ReadsBackAsWritten({"a", "a.exe", "", "", "x\"y", "0"}));
    EXPECT_FALSE(ReadsBackAsWritten({"a", "a.exe", "", "", "", " 7"})) << "trimmed on reading";
    EXPECT_FALSE(ReadsBackAsWritten({"a", "a.exe", "", "", "", "1,2"}));
    EXPECT_FALSE(ReadsBackAsWritten({"a", "a.exe", "", "", "", "\"7\""}));
}

}  // namespace

namespace {

TEST(ReadMenu, SaysWhereTheFirstDamagedRecordIsAndCanReadOnAfterIt) {
    const std::string head = "pic\r\nture\r\n<START TVL>\r\n\"USERDEF\"\r\n1,\"X\",8,0,0\r\n";
    const std::string a = "\"a\",\"a.exe\",\"\",\"\",\"\",0\r\n";
    const std::string bad = "b\"x,\"b.exe\",\"\",\"\",\"\",0\r\n";  // a quote in a name
    const std::string c = "\"c\",\"c.exe\",\"\",\"\",\"\",0\r\n";
    const std::string cut = "\"d\",\"d.exe\",\"";
    const std::string bytes = head + a + bad + c + cut;

    const menufile::MenuFile first = ReadMenu(bytes);
    EXPECT_EQ(first.Status, ReadStatus::BadValue);
    EXPECT_EQ(first.Items.size(), 1u) << "the plain reader stops at the damage";
    EXPECT_EQ(first.DamagedLine, 7u) << "picture lines count too";
    EXPECT_EQ(bytes.substr(first.DamageOffset, first.DamageEnd - first.DamageOffset), bad);

    const menufile::MenuFile every = menufile::ReadEveryRecord(bytes);
    EXPECT_EQ(every.Status, ReadStatus::BadValue) << "the first damage is the one told";
    EXPECT_EQ(every.DamagedLine, 7u);
    ASSERT_EQ(every.Items.size(), 2u);
    EXPECT_EQ(every.Items[1].Name, "c");

    // A last record cut short: everything from its line on is the damage.
    const menufile::MenuFile end = ReadMenu(head + a + cut);
    EXPECT_EQ(end.Status, ReadStatus::Truncated);
    EXPECT_EQ(end.DamagedLine, 7u);
    EXPECT_EQ(end.DamageEnd, (head + a + cut).size());
    EXPECT_EQ(ReadMenu(head + a).DamagedLine, 0u);
}

}  // namespace

namespace {

// A hand edit that loses one quote damages that record alone: a quoted text ends with its line,
// so the quotes of every later line pair up as they were written.
TEST(ReadMenu, AMissingQuoteDamagesOnlyItsOwnRecord) {
    const std::string head = "pic\r\nture\r\n<START TVL>\r\n\"USERDEF\"\r\n1,\"X\",8,0,0\r\n";
    const std::vector<MenuItem> kept = {
        {"One", "C:\\one.exe", "-a", "C:\\", "", "0"},
        {"Three, with a comma", "C:\\three.exe", "", "", "shell32.dll", "4"},
        MenuItem::Separator(),
        {"Five", "http://example.invalid/", "", "", "", ""},
    };
    const std::string second = "\"Two\",\"C:\\two.exe\",\"\",\"C:\\\",\"two.ico\",1";
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        for (std::size_t quote = second.find('"'); quote != std::string::npos;
             quote = second.find('"', quote + 1)) {
            std::string damaged = second;
            damaged.erase(quote, 1);
            const std::string line = damaged + end;
            std::string bytes = head + menufile::FormatItemLine(kept[0]) + line;
            for (std::size_t k = 1; k < kept.size(); ++k) {
                bytes += menufile::FormatItemLine(kept[k]);
            }
            const std::string label = line + " with the line end " + std::to_string(end.size());

            const menufile::MenuFile every = menufile::ReadEveryRecord(bytes);
            EXPECT_EQ(every.Status, ReadStatus::BadValue) << label;
            EXPECT_EQ(every.Items, kept) << label;
            EXPECT_EQ(every.DamagedLine, 7u) << label;
            EXPECT_EQ(bytes.substr(every.DamageOffset, every.DamageEnd - every.DamageOffset), line)
                << label;

            const menufile::MenuFile first = ReadMenu(bytes);
            EXPECT_EQ(first.Status, ReadStatus::BadValue) << label;
            EXPECT_EQ(first.Items, std::vector<MenuItem>{kept[0]}) << label;
            EXPECT_EQ(first.DamagedLine, 7u) << label;
        }
    }
}

// The type, the settings and the pointer are read by the same rule: a lost quote there makes no
// menu of shifted values.
TEST(ReadMenu, AMissingQuoteInTheTypeSettingsOrPointerLineIsDamage) {
    const std::string item = "\"a\",\"a.exe\",\"\",\"\",\"\",0\r\n";
    for (const std::string head :
         {"\"USERDEF\r\n1,\"X\",8,0,0\r\n", "USERDEF\"\r\n1,\"X\",8,0,0\r\n",
          "\"USERDEF\"\r\n1,\"X,8,0,0\r\n", "\"USERDEF\"\r\n1,X\",8,0,0\r\n"}) {
        const menufile::MenuFile m = menufile::ReadEveryRecord(kHead + head + item + item);
        EXPECT_EQ(m.Status, ReadStatus::BadValue) << head;
        EXPECT_TRUE(m.Items.empty()) << head;
    }
    const std::string pointerHead = kHead + "\"DIRPOINT\"\r\n1,\"X\",8,0,0\r\n";
    for (const std::string pointer : {"\"C:\\,\"*.*\",1,0,0\r\n", "\"C:\\\",\"*.*,1,0,0\r\n"}) {
        const menufile::MenuFile m = ReadMenu(pointerHead + pointer + item);
        EXPECT_EQ(m.Status, ReadStatus::BadValue) << pointer;
        EXPECT_FALSE(m.DirectoryPointer) << pointer;
    }
    // The last text of a file cut short has no line end to stop at: it is what is left.
    const menufile::MenuFile cut = ReadMenu(pointerHead + "\"C:\\\",\"*.*\",1,0,\"0");
    ASSERT_EQ(cut.Status, ReadStatus::Ok);
    EXPECT_EQ(cut.DirectoryPointer->ShowHidden, "0");
}

TEST(ReadMenu, ARecordWhoseFieldsGoOnOverALineEndStillReadsAsOne) {
    const menufile::MenuFile m = ReadMenu(kHead + "\"USERDEF\"\r\n1,\"X\"\r\n8,0,0\r\n" +
                                          "\"a\",\"a.exe\"\r\n\"-x\",\"\"\n\"\",3\r\n");
    ASSERT_EQ(m.Status, ReadStatus::Ok);
    EXPECT_EQ(m.Settings, (menufile::MenuSettings{"1", "X", "8", "0", "0"}));
    EXPECT_EQ(m.Items, (std::vector<MenuItem>{{"a", "a.exe", "-x", "", "", "3"}}));
}

TEST(ReadsBackAsWritten, RefusesALineEndInAQuotedText) {
    for (const char* text : {"two\r\nlines", "a lone\nline feed", "a lone\rreturn", "end\r\n"}) {
        EXPECT_FALSE(menufile::ReadsBackAsWritten({text, "a.exe", "", "", "", "0"})) << text;
        EXPECT_FALSE(menufile::ReadsBackAsWritten({"a", "a.exe", "", "", text, "0"})) << text;
    }
}

}  // namespace
