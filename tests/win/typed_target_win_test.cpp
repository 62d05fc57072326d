// The system's answers about typed targets, from this machine's registry, search path and
// environment: App Paths of the user and of the machine, scheme handlers, variables.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include "platform/typed_target_win.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/shell_menu_win.h"

namespace {

// A registry key made for a test and removed with what it holds when the test ends.
class MadeKey {
public:
    MadeKey(HKEY root, const std::string& path) : m_root(root), m_path(path) {
        ::RegDeleteTreeA(root, path.c_str());
        EXPECT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &m_key,
                                    nullptr),
                  ERROR_SUCCESS)
            << path;
    }
    ~MadeKey() {
        ::RegCloseKey(m_key);
        ::RegDeleteTreeA(m_root, m_path.c_str());
    }
    void Set(const char* name, DWORD type, const std::string& value) {
        ::RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    }

private:
    HKEY m_root;
    std::string m_path;
    HKEY m_key = nullptr;
};

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::string Notepad() {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\notepad.exe";
}

TEST(Win32TargetLookup, ReadsAppPathsQuotedOrWithVariablesTheUsersFirst) {
    ::SetEnvironmentVariableA("TVL_TEST_WINDIR",
                              [] {
                                  char windows[MAX_PATH] = {};
                                  ::GetWindowsDirectoryA(windows, MAX_PATH);
                                  return std::string(windows);
                              }()
                                  .c_str());
    MadeKey quoted(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "tvlquoted.exe");
    quoted.Set(nullptr, REG_SZ, "\"" + Notepad() + "\"");
    MadeKey variable(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "tvlvariable.exe");
    variable.Set(nullptr, REG_EXPAND_SZ, "%TVL_TEST_WINDIR%\\notepad.exe");
    MadeKey machine(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "tvlboth.exe");
    machine.Set(nullptr, REG_SZ, "C:\\nowhere\\machine.exe");
    MadeKey user(HKEY_CURRENT_USER, std::string(kAppPaths) + "tvlboth.exe");
    user.Set(nullptr, REG_SZ, Notepad());

    EXPECT_EQ(platform::ResolvedPath("tvlquoted"), Notepad());
    EXPECT_EQ(platform::ResolvedPath("tvlvariable"), Notepad()) << "REG_EXPAND_SZ expanded";
    EXPECT_EQ(platform::ResolvedPath("tvlboth"), Notepad()) << "the user's registration wins";
    EXPECT_EQ(platform::ResolvedPath("tvlnowhere"), "");
    // The engine's context menu finds the same program.
    EXPECT_EQ(platform::ExistingTarget("tvlquoted"), Notepad());
    EXPECT_EQ(platform::ExistingTarget("%TVL_TEST_WINDIR%\\notepad.exe"), Notepad());
    ::SetEnvironmentVariableA("TVL_TEST_WINDIR", nullptr);
}

TEST(Win32TargetLookup, SchemesWithAHandlerAndVariables) {
    platform::Win32TargetLookup lookup;
    MadeKey scheme(HKEY_CLASSES_ROOT, "tvl-test+scheme");
    scheme.Set("URL Protocol", REG_SZ, "");
    EXPECT_TRUE(lookup.HasSchemeHandler("tvl-test+scheme"));
    EXPECT_TRUE(lookup.HasSchemeHandler("TVL-Test+Scheme")) << "schemes ignore case";
    EXPECT_FALSE(lookup.HasSchemeHandler("tvl-unregistered"));
    EXPECT_EQ(platform::ResolvedPath("tvl-test+scheme:anything"), "") << "an address, no path";

    EXPECT_EQ(lookup.ExpandVariables("no variables"), "no variables");
    EXPECT_EQ(lookup.ExpandVariables("%TVL_NO_SUCH_VARIABLE%\\x"), "%TVL_NO_SUCH_VARIABLE%\\x");
    ::SetEnvironmentVariableW(L"TVL_TEST_WIDE", L"\u65e5\u672c");
    EXPECT_EQ(lookup.ExpandVariables("a %TVL_TEST_WIDE% b"), "a \xe6\x97\xa5\xe6\x9c\xac b")
        << "names outside the code page";
    ::SetEnvironmentVariableW(L"TVL_TEST_WIDE", nullptr);
    EXPECT_FALSE(lookup.FindOnSearchPath("notepad").empty());
}

}  // namespace
