// The text encoding of menu data: what is detected, what is read, and the code page's limits.
#include <gtest/gtest.h>

#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"
#include "tests/support/windows_1252.h"

namespace {

using menufile::TextEncoding;
using test_support::Windows1252;

const std::string kHead = "\xff\xfe picture \xe9\r\n<START TVL>\r\n\"USERDEF\"\r\n";

TEST(DetectEncoding, Utf8OnlyWhenValidWithAMultiByteSequence) {
    EXPECT_EQ(menufile::DetectEncoding("plain ASCII, every menu of old"), TextEncoding::Ansi);
    EXPECT_EQ(menufile::DetectEncoding("Caf\xe9"), TextEncoding::Ansi) << "Windows-1252 bytes";
    EXPECT_EQ(menufile::DetectEncoding("Caf\xc3\xa9"), TextEncoding::Utf8);
    EXPECT_EQ(menufile::DetectEncoding("\xe6\x97\xa5\xe6\x9c\xac"), TextEncoding::Utf8);
    EXPECT_EQ(menufile::DetectEncoding("\xf0\x9f\x98\x80 smile"), TextEncoding::Utf8);
    // Not UTF-8: a lead byte without its follower, an overlong form, a surrogate, a byte that
    // is never UTF-8. These are read in the code page.
    for (const char* bad : {"Caf\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xc3\xa9 and \xe9",
                            "\xf5\x80\x80\x80"}) {
        EXPECT_EQ(menufile::DetectEncoding(bad), TextEncoding::Ansi) << bad;
    }
}

TEST(DecodeMenu, GivesUtf8TextWhateverTheFileHoldsAndLeavesThePicture) {
    const std::string ansi = kHead + "0,\"Sch\xf6n\",8,0,0\r\n\"Caf\xe9 \x80\",\"C:\\\xc4\\x.exe\","
                             "\"\",\"\",\"\",0\r\n";
    menufile::MenuFile file = menufile::ReadMenu(ansi);
    menufile::DecodeMenu(ansi, file, Windows1252());
    EXPECT_EQ(file.Encoding, TextEncoding::Ansi);
    EXPECT_EQ(file.Settings.FontName, "Sch\xc3\xb6n");
    EXPECT_EQ(file.Items[0].Name, "Caf\xc3\xa9 \xe2\x82\xac") << "0x80 is the euro sign";
    EXPECT_EQ(file.Items[0].Target, "C:\\\xc3\x84\\x.exe");
    EXPECT_EQ(menufile::PictureOf(ansi, file), "\xff\xfe picture \xe9") << "bytes, never decoded";

    const std::string utf8 = kHead + "0,\"Sch\xc3\xb6n\",8,0,0\r\n\"\xe6\x97\xa5\",\"a.exe\","
                             "\"\",\"\",\"\",0\r\n";
    file = menufile::ReadMenu(utf8);
    menufile::DecodeMenu(utf8, file, Windows1252());
    EXPECT_EQ(file.Encoding, TextEncoding::Utf8);
    EXPECT_EQ(file.Items[0].Name, "\xe6\x97\xa5");
    EXPECT_EQ(file.Settings.FontName, "Sch\xc3\xb6n");
}

TEST(EncodeItem, TheCodePageTakesOnlyWhatItHoldsExactly) {
    const menufile::MenuItem cafe{"Caf\xc3\xa9", "C:\\\xc3\x84\\x.exe", "", "", "", "0"};
    const auto bytes = menufile::EncodeItem(cafe, TextEncoding::Ansi, Windows1252());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->Name, "Caf\xe9");
    EXPECT_EQ(menufile::EncodeItem(cafe, TextEncoding::Utf8, Windows1252())->Name, cafe.Name);
    // Japanese, Greek, an emoji: no exact byte, so no ANSI form at all (never "?").
    for (const char* name : {"\xe6\x97\xa5\xe6\x9c\xac", "\xce\x95\xce\xbb", "\xf0\x9f\x98\x80"}) {
        EXPECT_FALSE(menufile::EncodeItem({name, "a.exe", "", "", "", "0"}, TextEncoding::Ansi,
                                          Windows1252()))
            << name;
    }
    // Every byte of the code page comes back as itself.
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Windows1252().FromUtf8(Windows1252().ToUtf8(all)), all);
}

}  // namespace

namespace {

// Every text read is decoded, the settings' unquoted values too: encoding them back for a write
// gives the bytes read, so a stray high byte there cannot turn an ANSI menu into UTF-8.
TEST(DecodeMenu, EveryTextEncodesBackAsRead) {
    const std::string ansi = kHead +
                             "\xe9,\"Arial\",8\xb5,\xff,0\r\n\"Caf\xe9\",\"a.exe\",\"\","
                             "\"\",\"\",\xe9\r\n";
    const menufile::MenuFile raw = menufile::ReadMenu(ansi);
    menufile::MenuFile file = raw;
    menufile::DecodeMenu(ansi, file, Windows1252());
    ASSERT_EQ(file.Encoding, TextEncoding::Ansi);
    EXPECT_EQ(file.Settings.SmallIcons, "\xc3\xa9");
    EXPECT_EQ(menufile::EncodeSettings(file.Settings, TextEncoding::Ansi, Windows1252()),
              raw.Settings);
    EXPECT_EQ(menufile::EncodeItem(file.Items[0], TextEncoding::Ansi, Windows1252()), raw.Items[0]);
}

}  // namespace
