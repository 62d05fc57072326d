// Real Win32 files: commits, the errors users meet, and commits killed at every file call.
#include <aclapi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "menufile/internet_zone.h"
#include "menufile/menu_commit.h"
#include "menufile/menu_file.h"
#include "menufile/menu_journal.h"
#include "platform/win32_file_system_win.h"
#include "platform/win32_handles_win.h"

namespace {

using menufile::MenuError;

const std::string kOld =
    std::string("BM\0\0<\r\n", 7) +
    "\r\n<START TVL>\r\n\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n"
    "\"Letters, 2026\",\"C:\\docs\\\",\"\",\"\",\"\",0\r\n";
const std::string kNew =
    std::string("BM\0\0<\r\n", 7) +
    "\r\n<START TVL>\r\n\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Letters, 2026\",\"C:\\docs\\\",\"\",\"\",\"\",0\r\n";

// A fresh folder on the C: drive.
std::string NewFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    std::string folder = std::string(temp) + "tvl commit " + std::to_string(now.QuadPart) + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

TEST(Win32FileSystem, CommitsInPlaceOnTheCDrive) {
    const std::string path = NewFolder() + "My Menu, one.tvl";
    WriteBytes(path, kOld);
    platform::Win32FileSystem fs;
    ASSERT_EQ(menufile::CommitMenuFile(fs, path, kOld, kNew), MenuError::None);
    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_FALSE(FileExists(menufile::JournalPath(path)));

    std::string read;
    ASSERT_EQ(menufile::ReadCommittedMenu(fs, path, read), menufile::FileError::None);
    EXPECT_EQ(read, kNew);
}

TEST(Win32FileSystem, ReportsReadOnlyLockedAndMissingFilesWithoutTouchingThem) {
    const std::string folder = NewFolder();
    platform::Win32FileSystem fs;

    const std::string readOnly = folder + "read only.tvl";
    WriteBytes(readOnly, kOld);
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(menufile::CommitMenuFile(fs, readOnly, kOld, kNew), MenuError::ReadOnly);
    EXPECT_EQ(ReadBytes(readOnly), kOld);
    EXPECT_FALSE(FileExists(menufile::JournalPath(readOnly)));
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string locked = folder + "locked.tvl";
    WriteBytes(locked, kOld);
    {
        platform::UniqueHfile holder(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(menufile::CommitMenuFile(fs, locked, kOld, kNew), MenuError::InUse);
        EXPECT_FALSE(FileExists(menufile::JournalPath(locked)));
    }
    EXPECT_EQ(ReadBytes(locked), kOld);

    // A reader sharing the file (the engine) does not stop a commit.
    {
        platform::UniqueHfile reader(::CreateFileA(
            locked.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_EQ(menufile::CommitMenuFile(fs, locked, kOld, kNew), MenuError::None);
    }
    EXPECT_EQ(ReadBytes(locked), kNew);

    const std::string missing = folder + "missing.tvl";
    EXPECT_EQ(menufile::CommitMenuFile(fs, missing, kOld, kNew), MenuError::NotFound);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(menufile::JournalPath(missing)));
}

// Runs commit_victim, which dies at file call `dieAt`; returns its exit code.
DWORD RunVictim(const std::string& menu, const std::string& content, int dieAt) {
    std::string commandLine = "\"" + ExeFolder() + "commit_victim.exe\" \"" + menu + "\" \"" +
                              content + "\" " + std::to_string(dieAt);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &si, &pi)) {
        return 1000;
    }
    platform::UniqueHandleK process(pi.hProcess);
    platform::UniqueHandleK thread(pi.hThread);
    if (::WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 1);
        return 1001;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

TEST(Win32FileSystem, AProcessKilledAtAnyFileCallLeavesTheMenuIntactAfterRecovery) {
    const std::string folder = NewFolder();
    const std::string menu = folder + "killed.tvl";
    const std::string content = folder + "new content.bin";
    platform::Win32FileSystem fs;
    int kills = 0;
    for (const auto& [from, to] : {std::pair{kOld, kNew}, std::pair{kNew, kOld}}) {
        WriteBytes(content, to);
        for (int dieAt = 1; dieAt < 50; ++dieAt) {
            WriteBytes(menu, from);
            const DWORD code = RunVictim(menu, content, dieAt);
            ASSERT_TRUE(code == 0 || code == 99) << "exit code " << code << " at call " << dieAt;
            std::string seen;
            ASSERT_EQ(menufile::ReadCommittedMenu(fs, menu, seen), menufile::FileError::None);
            EXPECT_TRUE(seen == from || seen == to) << "reader view at call " << dieAt;
            ASSERT_EQ(menufile::RecoverMenuFile(fs, menu), MenuError::None) << dieAt;
            const std::string after = ReadBytes(menu);
            EXPECT_TRUE(after == from || after == to) << "killed at call " << dieAt;
            EXPECT_FALSE(FileExists(menufile::JournalPath(menu))) << dieAt;
            if (code == 0) {
                EXPECT_EQ(after, to);
                break;
            }
            ++kills;
        }
    }
    std::printf("killed commits: %d, all recovered\n", kills);
    EXPECT_GE(kills, 20);
}

// Owners through the real security calls: a file this user made is trusted, a missing one is
// not. Where the system lets the test give the journal another owner (Windows with the restore
// privilege, or Wine where it keeps owners), that journal is never applied.
TEST(Win32FileSystem, AJournalIsTrustedOnlyFromTheUserOrTheMenusOwner) {
    const std::string folder = NewFolder();
    const std::string menu = folder + "Shared.tvl";
    const std::string journal = menufile::JournalPath(menu);
    WriteBytes(menu, kOld);
    WriteBytes(journal, menufile::EncodeJournal(kNew, kOld + "x"));
    platform::Win32FileSystem fs;
    EXPECT_TRUE(fs.OwnedByUserOrOwnerOf(journal, menu));
    EXPECT_TRUE(fs.OwnedByUserOrOwnerOf(journal, folder + "missing.tvl"));
    EXPECT_FALSE(fs.OwnedByUserOrOwnerOf(folder + "missing.journal", menu));

    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof sid;
    ASSERT_TRUE(::CreateWellKnownSid(WinLocalSystemSid, nullptr, sid, &size));
    std::wstring wide(journal.begin(), journal.end());
    const DWORD set = ::SetNamedSecurityInfoW(
        wide.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, sid, nullptr, nullptr, nullptr);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool kept =
        set == ERROR_SUCCESS &&
        ::GetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
        owner != nullptr && ::EqualSid(owner, sid);
    ::LocalFree(descriptor);
    if (!kept) {
        GTEST_SKIP() << "this system does not let the test give a file another owner (" << set
                     << ")";
    }
    EXPECT_FALSE(fs.OwnedByUserOrOwnerOf(journal, menu));
    std::string seen;
    ASSERT_EQ(menufile::ReadCommittedMenu(fs, menu, seen), menufile::FileError::None);
    EXPECT_EQ(seen, kOld);
    EXPECT_EQ(menufile::RecoverMenuFile(fs, menu), MenuError::UntrustedJournal);
    EXPECT_EQ(ReadBytes(menu), kOld);
}

// The download mark is read from the file's Zone.Identifier stream, where the file system has
// streams (Wine's may not).
TEST(Win32FileSystem, TheInternetZoneMarkIsReadFromTheStream) {
    const std::string menu = NewFolder() + "Downloaded.tvl";
    WriteBytes(menu, kOld);
    platform::Win32FileSystem fs;
    EXPECT_FALSE(menufile::CameFromInternet(fs, menu));
    const std::wstring stream = std::wstring(menu.begin(), menu.end()) + L":Zone.Identifier";
    platform::UniqueHfile h(::CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) {
        GTEST_SKIP() << "no alternate data streams here (" << ::GetLastError() << ")";
    }
    const char mark[] = "[ZoneTransfer]\r\nZoneId=3\r\n";
    DWORD wrote = 0;
    ASSERT_TRUE(::WriteFile(h.get(), mark, sizeof mark - 1, &wrote, nullptr));
    h.reset();
    EXPECT_TRUE(menufile::CameFromInternet(fs, menu));
    EXPECT_EQ(ReadBytes(menu), kOld) << "the stream is not the file's content";
}

}  // namespace
