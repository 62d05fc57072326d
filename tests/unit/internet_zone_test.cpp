// The Internet zone mark, the paths that name another machine, and the icons that follow.
#include "menufile/internet_zone.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"

namespace {

TEST(InternetZone, OnlyTheInternetAndRestrictedZonesOfTheTransferSectionCount) {
    using namespace std::string_literals;
    for (
        const std::string& text :
        {"[ZoneTransfer]\r\nZoneId=3\r\n"s, "[ZoneTransfer]\r\nReferrerUrl=x\r\nZoneId=4"s,
         " [zonetransfer] \nzoneid = 3 \n"s, "\xEF\xBB\xBF[ZoneTransfer]\r\nZoneId=3\r\n"s,
         "\xFF\xFE[\0Z\0o\0n\0e\0T\0r\0a\0n\0s\0f\0e\0r\0]\0\r\0\n\0Z\0o\0n\0e\0I\0d\0=\0003\0"s}) {
        EXPECT_TRUE(menufile::IsInternetZone(text)) << text;
    }
    for (const std::string& text :
         {""s, "[ZoneTransfer]\r\nZoneId=0\r\n"s, "[ZoneTransfer]\r\nZoneId=2\r\n"s,
          "[ZoneTransfer]\r\nZoneId=33\r\n"s, "[Other]\r\nZoneId=3\r\n"s,
          "ZoneId=3\r\n[ZoneTransfer]\r\n"s, "[ZoneTransferX]\r\nZoneId=3\r\n"s,
          "[ZoneTransfer]\r\nZoneIdX=3\r\n"s}) {
        EXPECT_FALSE(menufile::IsInternetZone(text)) << text;
    }
}

TEST(InternetZone, RemotePathsAreUncWebDavAndAddresses) {
    for (const char* path :
         {"\\\\host\\share\\icons.dll", "//host/share/a.exe", "\\\\?\\UNC\\host\\share\\a.ico",
          "\\\\?\\unc\\host\\s", "\\\\.\\UNC\\host\\s", "\\\\host@SSL\\DavWWWRoot\\a.ico",
          "\\\\host@8080\\dav\\a.exe", "http://host/a.ico", "HTTPS://host/a.exe",
          "file://host/share/a.ico", " \"\\\\host\\s\\a.exe\"", "\\/host\\s"}) {
        EXPECT_TRUE(menufile::IsRemotePath(path)) << path;
    }
    for (const char* path : {"C:\\Windows\\notepad.exe", "c:/tools/a.ico", "\\\\?\\C:\\long\\a",
                             "\\\\.\\C:", "icons.dll", "..\\icons\\a.ico", "\\tools\\a.exe", "",
                             "file:///C:/tools/a.ico", "D:relative.exe"}) {
        EXPECT_FALSE(menufile::IsRemotePath(path)) << path;
    }
}

TEST(InternetZone, AMenuFromTheInternetTakesNoIconFromAnotherMachine) {
    const menufile::MenuItem remoteIcon{"A", "C:\\a.exe", "", "", "\\\\evil\\s\\i.dll", "2"};
    const menufile::MenuItem remoteTarget{"B", "\\\\evil\\s\\b.exe", "", "", "", "1"};
    const menufile::MenuItem local{"C", "C:\\c.exe", "", "", "C:\\icons.dll", "3"};
    for (bool internet : {false, true}) {
        SCOPED_TRACE(internet ? "from the Internet" : "local");
        EXPECT_EQ(menufile::ItemIconFor(remoteIcon, internet).File,
                  internet ? "" : "\\\\evil\\s\\i.dll");
        EXPECT_EQ(menufile::ItemIconFor(remoteTarget, internet).File,
                  internet ? "" : "\\\\evil\\s\\b.exe");
        EXPECT_EQ(menufile::MayTakeIconFrom(remoteTarget.Target, internet), !internet);
        EXPECT_EQ(menufile::ItemIconFor(local, internet).File, "C:\\icons.dll");
        EXPECT_EQ(menufile::ItemIconFor(local, internet).Index, 3);
    }

    platform::MemoryFileSystem fs;
    fs.Put("D:\\m.tvl", "menu");
    EXPECT_FALSE(menufile::CameFromInternet(fs, "D:\\m.tvl"));
    fs.Put("D:\\m.tvl:Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
    EXPECT_TRUE(menufile::CameFromInternet(fs, "D:\\m.tvl"));
}

}  // namespace
