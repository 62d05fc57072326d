// The menu's shortcuts as the shell sees them: links written and read back through the shell's
// own objects, their icon, their start, long and Unicode paths, and the editor's store.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include "editor/model/menu_shortcuts.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/ui/shell_link_store_win.h"
#include "menufile/menu_identity.h"
#include "platform/shell_link_win.h"
#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"
#include "winauto.h"

namespace {

using menufile::ShortcutLink;
using platform::ComPtr;
using platform::Narrow;
using platform::Widen;
using namespace winauto;

constexpr std::uint16_t kCtrlAltT = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'T';

const std::string kMenuTail =
    "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n";

std::string StockPicture() {
    return ReadFileBytes(WinPath(STOCK_ICON)).value_or("<no stock icon>");
}

// A menu whose head is an icon file, as the editor writes it.
std::string WriteMenu(const std::string& path) {
    EXPECT_TRUE(WriteFileBytes(path, StockPicture() + kMenuTail)) << path;
    return path;
}

std::string Recorder() {
    return WinPath(LAUNCH_RECORDER_EXE);
}

// What the shell's own link object reads from the file, not through the code under test.
struct RawLink {
    bool Loaded = false;
    std::wstring Target, Arguments, WorkingDirectory, IconPath, Description;
    int IconIndex = -1;
    WORD HotKey = 0;
};

RawLink ReadRaw(const std::string& path) {
    RawLink raw;
    EXPECT_TRUE(platform::StartCom());
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.PutVoid()))) {
        return raw;
    }
    ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file || FAILED(file->Load(platform::WidePath(path).c_str(), STGM_READ))) {
        return raw;
    }
    raw.Loaded = true;
    std::vector<wchar_t> text(32768, L'\0');
    const int room = static_cast<int>(text.size());
    auto take = [&](std::wstring& out) {
        out = text.data();
        text[0] = L'\0';
    };
    (void)link->GetPath(text.data(), room, nullptr, SLGP_RAWPATH);
    take(raw.Target);
    (void)link->GetArguments(text.data(), room);
    take(raw.Arguments);
    (void)link->GetWorkingDirectory(text.data(), room);
    take(raw.WorkingDirectory);
    (void)link->GetIconLocation(text.data(), room, &raw.IconIndex);
    take(raw.IconPath);
    (void)link->GetDescription(text.data(), room);
    take(raw.Description);
    (void)link->GetHotkey(&raw.HotKey);
    return raw;
}

// The long form of a path the shell may hold in its short form.
std::wstring LongForm(const std::wstring& path) {
    std::wstring out(32768, L'\0');
    const DWORD n = GetLongPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
    if (n == 0 || n >= out.size()) {
        return path;
    }
    out.resize(n);
    return out;
}

class RecordingIdentity : public platform::LinkIdentityWriter {
public:
    explicit RecordingIdentity(HRESULT answer = S_OK) : m_answer(answer) {}
    HRESULT SetIdentity(IUnknown* link, const std::wstring& appId) override {
        Calls.push_back(appId);
        // What it was handed must be the link itself: it has to answer for its property store.
        void* shellLink = nullptr;
        SawLink = link != nullptr && SUCCEEDED(link->QueryInterface(IID_IShellLinkW, &shellLink));
        if (shellLink) {
            static_cast<IUnknown*>(shellLink)->Release();
        }
        return m_answer;
    }
    std::vector<std::wstring> Calls;
    bool SawLink = false;

private:
    HRESULT m_answer;
};

// Points one of the user's shell folders at a folder of the test's while it lives; Wine's
// desktop folder is otherwise the host user's home.
class ShellFolderRedirect {
public:
    ShellFolderRedirect(const wchar_t* name, const std::string& folder) : m_name(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &m_key, nullptr);
        std::vector<wchar_t> old(32768, L'\0');
        DWORD bytes = static_cast<DWORD>(old.size() * sizeof(wchar_t));
        m_had = RegQueryValueExW(m_key, m_name, nullptr, &m_type,
                                 reinterpret_cast<BYTE*>(old.data()), &bytes) == ERROR_SUCCESS;
        if (m_had) {
            m_old.assign(old.data(), bytes / sizeof(wchar_t));
        }
        const std::wstring value = Widen(folder);
        RegSetValueExW(m_key, m_name, 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ~ShellFolderRedirect() {
        if (m_had) {
            RegSetValueExW(m_key, m_name, 0, m_type, reinterpret_cast<const BYTE*>(m_old.data()),
                           static_cast<DWORD>(m_old.size() * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(m_key, m_name);
        }
        RegCloseKey(m_key);
    }
    ShellFolderRedirect(const ShellFolderRedirect&) = delete;
    ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;

private:
    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const wchar_t* m_name;
    HKEY m_key = nullptr;
    bool m_had = false;
    DWORD m_type = REG_EXPAND_SZ;
    std::wstring m_old;
};

bool MakeFolderW(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// A folder under `base` whose full path is longer than MAX_PATH, made through "\\?\" paths.
std::string DeepFolder(const std::string& base) {
    std::wstring path = L"\\\\?\\" + Widen(base);
    while (path.size() < MAX_PATH + 60) {
        path += L"\\a rather long folder name";
        EXPECT_TRUE(MakeFolderW(path)) << Narrow(path);
    }
    return Narrow(path.substr(4));
}

TEST(ShellLink, WritesEveryFieldAndReadsItBackThroughTheShell) {
    TempDir dir("tvl links");
    const std::string menu = WriteMenu(dir.File("My tools.tvl"));
    const std::string linkPath = dir.File("My tools.lnk");
    const ShortcutLink link = menufile::MenuShortcut(Recorder(), menu, kCtrlAltT);
    RecordingIdentity identity;
    ASSERT_EQ(platform::WriteShellLink(linkPath, link, "Tarvel.Menu.0123", identity), S_OK);

    const RawLink raw = ReadRaw(linkPath);
    ASSERT_TRUE(raw.Loaded);
    EXPECT_EQ(Narrow(raw.Target), Recorder());
    EXPECT_EQ(Narrow(raw.Arguments), "\"" + menu + "\"");
    EXPECT_EQ(Narrow(raw.WorkingDirectory), dir.path());
    EXPECT_EQ(Narrow(raw.IconPath), menu);
    EXPECT_EQ(raw.IconIndex, 0);
    EXPECT_EQ(raw.HotKey, kCtrlAltT);
    EXPECT_EQ(Narrow(raw.Description), "Tarvel menu");

    const auto read = platform::ReadShellLink(linkPath);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Target, link.Target);
    EXPECT_EQ(read->Arguments, link.Arguments);
    EXPECT_EQ(read->WorkingDirectory, link.WorkingDirectory);
    EXPECT_EQ(read->IconPath, link.IconPath);
    EXPECT_EQ(read->IconIndex, 0);
    EXPECT_EQ(read->HotKey, kCtrlAltT);
    EXPECT_EQ(read->Description, "Tarvel menu");
    EXPECT_TRUE(menufile::IsShortcutOf(*read, Recorder(), menu));

    // Rewritten in place with another key; the key cleared.
    ShortcutLink changed = link;
    changed.HotKey = 0;
    ASSERT_EQ(platform::WriteShellLink(linkPath, changed, "Tarvel.Menu.0123", identity), S_OK);
    EXPECT_EQ(ReadRaw(linkPath).HotKey, 0);
}

TEST(ShellLink, TellsNoFileFromAFileThatIsNoLink) {
    TempDir dir("tvl links");
    EXPECT_FALSE(platform::ReadShellLink(dir.File("none.lnk")));
    EXPECT_FALSE(platform::ReadShellLink(dir.File("no folder\\none.lnk")));
    ASSERT_TRUE(WriteFileBytes(dir.File("text.lnk"), "not a shell link at all"));
    const auto text = platform::ReadShellLink(dir.File("text.lnk"));
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->Target.empty());
    ASSERT_TRUE(CreateDirectoryW(Widen(dir.File("folder.lnk")).c_str(), nullptr));
    const auto folder = platform::ReadShellLink(dir.File("folder.lnk"));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->Target.empty());
    // A link cannot be saved where its folder is missing: the failure is told, nothing made.
    RecordingIdentity identity;
    const ShortcutLink link = menufile::MenuShortcut(Recorder(), dir.File("a.tvl"), 0);
    EXPECT_TRUE(FAILED(platform::WriteShellLink(dir.File("missing\\a.lnk"), link, "x", identity)));
}

TEST(ShellLink, KeepsUnicodeNamesWhole) {
    TempDir dir("tvl links");
    const std::string folder = dir.File("Ünïcode 文件 Ωμέγα");
    ASSERT_TRUE(MakeFolderW(Widen(folder)));
    const std::string menu = WriteMenu(folder + "\\Ménu 日本語 Ёж 😀.tvl");
    const std::string linkPath = folder + "\\" + menufile::ShortcutFileName(menu);
    EXPECT_EQ(menufile::ShortcutFileName(menu), "Ménu 日本語 Ёж 😀.lnk");
    RecordingIdentity identity;
    ASSERT_EQ(platform::WriteShellLink(linkPath, menufile::MenuShortcut(Recorder(), menu, 0),
                                       menufile::MenuAppUserModelId(menu), identity),
              S_OK);
    EXPECT_TRUE(FileExists(linkPath));
    const RawLink raw = ReadRaw(linkPath);
    EXPECT_EQ(Narrow(raw.Arguments), "\"" + menu + "\"");
    EXPECT_EQ(Narrow(raw.WorkingDirectory), folder);
    EXPECT_EQ(Narrow(raw.IconPath), menu);
    const auto read = platform::ReadShellLink(linkPath);
    ASSERT_TRUE(read);
    EXPECT_TRUE(menufile::IsShortcutOf(*read, Recorder(), menu));
}

TEST(ShellLink, AMenuDeeperThanMaxPathGetsAWorkingShortcut) {
    TempDir dir("tvl long");
    const std::string deep = DeepFolder(dir.path());
    ASSERT_GT(deep.size(), static_cast<std::size_t>(MAX_PATH));
    const std::string menu = deep + "\\Tools.tvl";
    ASSERT_TRUE(WriteFileBytes("\\\\?\\" + menu, StockPicture() + kMenuTail));
    const ShortcutLink link = menufile::MenuShortcut(Recorder(), menu, kCtrlAltT);
    RecordingIdentity identity;

    // The link beside the menu, on a long path itself, and one in a short folder.
    for (const std::string& linkPath : {deep + "\\Tools.lnk", dir.File("Tools.lnk")}) {
        SCOPED_TRACE(linkPath);
        ASSERT_EQ(platform::WriteShellLink(linkPath, link, "Tarvel.Menu.1", identity), S_OK);
        const RawLink raw = ReadRaw(linkPath);
        ASSERT_TRUE(raw.Loaded);
        // The argument is the engine's: the full path, not a short form.
        EXPECT_EQ(Narrow(raw.Arguments), "\"" + menu + "\"");
        // The path fields stop at MAX_PATH: the shell holds the folder and icon in short form.
        EXPECT_LT(raw.WorkingDirectory.size(), static_cast<std::size_t>(MAX_PATH));
        EXPECT_EQ(Narrow(LongForm(raw.WorkingDirectory)), deep);
        EXPECT_EQ(Narrow(LongForm(raw.IconPath)), menu);
        const auto read = platform::ReadShellLink(linkPath);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->WorkingDirectory, deep);
        EXPECT_EQ(read->IconPath, menu);
        EXPECT_TRUE(menufile::IsShortcutOf(*read, Recorder(), menu));
    }
    // Arguments past the shell's limit cannot be kept whole: refused, not cut.
    ShortcutLink tooLong = link;
    tooLong.Arguments = "\"" + std::string(INFOTIPSIZE, 'x') + "\"";
    EXPECT_EQ(platform::WriteShellLink(dir.File("too long.lnk"), tooLong, "x", identity),
              HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(FileExists(dir.File("too long.lnk")));
}

TEST(ShellLink, TheIdentityIsSetOnTheLinkButNeverFailsTheShortcut) {
    TempDir dir("tvl links");
    const std::string menu = WriteMenu(dir.File("Tools.tvl"));
    const ShortcutLink link = menufile::MenuShortcut(Recorder(), menu, 0);
    const std::string appId = menufile::MenuAppUserModelId(menu);

    RecordingIdentity recording;
    ASSERT_EQ(platform::WriteShellLink(dir.File("a.lnk"), link, appId, recording), S_OK);
    ASSERT_EQ(recording.Calls.size(), 1u);
    EXPECT_EQ(Narrow(recording.Calls[0]), appId);
    EXPECT_TRUE(recording.SawLink);

    RecordingIdentity refusing(E_NOTIMPL);
    EXPECT_EQ(platform::WriteShellLink(dir.File("b.lnk"), link, appId, refusing), S_OK);
    EXPECT_TRUE(FileExists(dir.File("b.lnk")));

    // The real writer on the real link object.
    platform::PropertyStoreIdentityWriter real;
    EXPECT_EQ(platform::WriteShellLink(dir.File("c.lnk"), link, appId, real), S_OK);
    EXPECT_TRUE(FileExists(dir.File("c.lnk")));
    ComPtr<IShellLinkW> shellLink;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, shellLink.PutVoid())));
    EXPECT_EQ(real.SetIdentity(shellLink.Get(), Widen(appId)), S_OK);
    EXPECT_EQ(real.SetIdentity(nullptr, Widen(appId)), E_POINTER);
}

TEST(ShellLink, TheShellShowsTheMenusOwnPicture) {
    TempDir dir("tvl icon");
    const std::string menu = WriteMenu(dir.File("Pictured.tvl"));
    const std::string linkPath = dir.File("Pictured.lnk");
    RecordingIdentity identity;
    ASSERT_EQ(platform::WriteShellLink(linkPath, menufile::MenuShortcut(Recorder(), menu, 0), "x",
                                       identity),
              S_OK);
    // The icon of the link is the menu's, not the recorder's.
    HICON own = static_cast<HICON>(LoadImageW(nullptr, Widen(WinPath(STOCK_ICON)).c_str(),
                                              IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    ASSERT_NE(own, nullptr);
    const auto expected = IconPixels(own, 32);
    DestroyIcon(own);

    // The large icon is read through the system image list: Wine's SHGFI_ICON of a link can give
    // another large icon than the one the link names.
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        Widen(linkPath).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    ASSERT_NE(list, nullptr);
    HICON shown = ImageList_GetIcon(list, info.iIcon, ILD_NORMAL);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(IconPixels(shown, 32), expected);
    DestroyIcon(shown);

    HICON recorder = ExtractIconW(nullptr, Widen(Recorder()).c_str(), 0);
    if (recorder != nullptr && recorder != reinterpret_cast<HICON>(1)) {
        EXPECT_NE(IconPixels(recorder, 32), expected);
        DestroyIcon(recorder);
    }
    // Telling the shell the picture changed is taken quietly.
    platform::NotifyMenuIconChanged(menu);
}

TEST(ShellLink, StartingTheShortcutStartsItsTargetOnTheMenu) {
    TempDir dir("tvl start");
    const std::string folder = dir.File("Menus, mine");
    ASSERT_TRUE(MakeFolderW(Widen(folder)));
    const std::string menu = WriteMenu(folder + "\\Tools ünï.tvl");
    const std::string linkPath = dir.File("Tools.lnk");
    RecordingIdentity identity;
    ASSERT_EQ(platform::WriteShellLink(linkPath, menufile::MenuShortcut(Recorder(), menu, 0), "x",
                                       identity),
              S_OK);
    const std::string marker = dir.File("marker.txt");
    ASSERT_TRUE(SetEnvironmentVariableW(L"LAUNCH_RECORDER_MARKER", Widen(marker).c_str()));

    const std::wstring file = Widen(linkPath);
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpFile = file.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&run)) << GetLastError();
    platform::UniqueHandleK process(run.hProcess);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(marker); }, Millis{20000}));
    SetEnvironmentVariableW(L"LAUNCH_RECORDER_MARKER", nullptr);
    const std::string record = ReadFileBytes(marker).value_or("");
    EXPECT_NE(record.find("argv=" + menu + "\n"), std::string::npos) << record;
    EXPECT_NE(record.find("argc=2\n"), std::string::npos) << record;
    EXPECT_NE(record.find("cwd=" + folder + "\n"), std::string::npos) << record;
    if (process) {
        WaitForSingleObject(process.get(), 10000);
    }
}

TEST(ShellLink, TheEditTaskNeitherFailsNorHangsWithoutJumpLists) {
    const auto start = std::chrono::steady_clock::now();
    platform::AddEditMenuTask(menufile::MenuAppUserModelId("C:\\Menus\\Tools.tvl"), Recorder(),
                              "C:\\Menus\\Tools.tvl");
    platform::AddEditMenuTask("", "", "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // The engine's own identity is set quietly as well.
    platform::UseMenuAppUserModelId("C:\\Menus\\Tools.tvl");
    platform::UseMenuAppUserModelId("");
}

TEST(ShellLink, UserFoldersAreTheShellsWithoutMakingThem) {
    TempDir dir("tvl folders");
    const std::string programs = dir.File("Programs");
    ShellFolderRedirect redirect(L"Programs", programs);
    // A folder the user does not have is not made by asking for it.
    HRESULT why = S_OK;
    const auto missing = platform::UserFolder(CSIDL_PROGRAMS, &why);
    EXPECT_FALSE(FileExists(programs)) << "asking for the folder made it";
    if (!missing) {
        EXPECT_TRUE(FAILED(why));
    }
    ASSERT_TRUE(MakeFolderW(Widen(programs)));
    const auto folder = platform::UserFolder(CSIDL_PROGRAMS);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(menufile::SamePath(*folder, programs)) << *folder;
}

class ShellLinkStoreTest : public ::testing::Test {
protected:
    TempDir dir{"tvl store"};
    std::string programs = dir.File("Programs");
    std::string desktop = dir.File("Desktop");
    ShellFolderRedirect programsRedirect{L"Programs", programs};
    ShellFolderRedirect desktopRedirect{L"Desktop", desktop};
    RecordingIdentity identity;
    editor::ShellLinkStore store{identity};
    std::string menu = WriteMenu(dir.File("Tools.tvl"));

    void SetUp() override {
        ASSERT_TRUE(MakeFolderW(Widen(programs)));
        ASSERT_TRUE(MakeFolderW(Widen(desktop)));
    }
};

TEST_F(ShellLinkStoreTest, MakesTheFolderAndRemovesItOnlyWhenEmpty) {
    const std::string group = programs + "\\Tarvel Menus";
    ASSERT_FALSE(FileExists(group));
    editor::ShortcutFailure failure;
    const ShortcutLink link = menufile::MenuShortcut(Recorder(), menu, 0);
    ASSERT_TRUE(store.Write(group + "\\Tools.lnk", link, "a", failure)) << failure.Reason;
    ASSERT_TRUE(store.Write(group + "\\Other.lnk", link, "b", failure)) << failure.Reason;
    EXPECT_EQ(identity.Calls.size(), 2u);

    ASSERT_TRUE(store.Remove(group + "\\Tools.lnk", failure)) << failure.Reason;
    EXPECT_FALSE(FileExists(group + "\\Tools.lnk"));
    EXPECT_TRUE(FileExists(group + "\\Other.lnk"));
    EXPECT_TRUE(FileExists(group)) << "a folder with a shortcut in it was taken away";
    ASSERT_TRUE(store.Remove(group + "\\Other.lnk", failure)) << failure.Reason;
    EXPECT_FALSE(FileExists(group));
    EXPECT_TRUE(FileExists(programs));

    // The desktop stays, empty or not; a link already gone is no failure.
    ASSERT_TRUE(store.Write(desktop + "\\Tools.lnk", link, "a", failure)) << failure.Reason;
    ASSERT_TRUE(store.Remove(desktop + "\\Tools.lnk", failure)) << failure.Reason;
    EXPECT_TRUE(FileExists(desktop));
    EXPECT_TRUE(store.Remove(desktop + "\\Tools.lnk", failure)) << failure.Reason;
}

TEST_F(ShellLinkStoreTest, AFolderThatCannotBeMadeGivesTheSystemsReason) {
    // A file where the group's folder would go.
    ASSERT_TRUE(WriteFileBytes(programs + "\\Tarvel Menus", "in the way"));
    editor::MenuShortcuts shortcuts(store, WinPath(TVL_PROGRAM_DIR));
    const auto made = shortcuts.Make(editor::ShortcutPlace::StartMenu, menu, 0);
    EXPECT_FALSE(made.Done);
    EXPECT_EQ(made.Message.rfind("The shortcut could not be made in ", 0), 0u) << made.Message;
    const std::size_t line = made.Message.find('\r');
    ASSERT_NE(line, std::string::npos) << made.Message;
    EXPECT_GT(made.Message.size(), line + 1) << "no reason given";
    EXPECT_EQ(ReadFileBytes(programs + "\\Tarvel Menus"), "in the way");
}

TEST_F(ShellLinkStoreTest, TheEditorsShortcutsThroughTheShell) {
    editor::MenuShortcuts shortcuts(store, WinPath(TVL_PROGRAM_DIR));
    ASSERT_TRUE(shortcuts.Make(editor::ShortcutPlace::StartMenu, menu, kCtrlAltT).Done);
    ASSERT_TRUE(shortcuts.Make(editor::ShortcutPlace::Desktop, menu, kCtrlAltT).Done);
    // The Start menu's group and the desktop, as the shell names them.
    const auto start = shortcuts.Status(editor::ShortcutPlace::StartMenu, menu);
    EXPECT_TRUE(menufile::SamePath(start.LinkPath, programs + "\\Tarvel Menus\\Tools.lnk"))
        << start.LinkPath;
    EXPECT_EQ(start.State, editor::ShortcutState::Ours);
    EXPECT_EQ(start.HotKey, kCtrlAltT);
    const RawLink raw = ReadRaw(start.LinkPath);
    EXPECT_TRUE(menufile::SamePath(Narrow(raw.Target), shortcuts.EnginePath()));
    EXPECT_EQ(Narrow(raw.Arguments), "\"" + menu + "\"");
    ASSERT_EQ(identity.Calls.size(), 2u);
    EXPECT_EQ(Narrow(identity.Calls[1]), menufile::MenuAppUserModelId(menu));

    // A foreign shortcut of the name is kept, and said.
    const std::string foreignPath = desktop + "\\Tools.lnk";
    ASSERT_TRUE(DeleteFileW(Widen(foreignPath).c_str()));
    ASSERT_EQ(platform::WriteShellLink(foreignPath, menufile::MenuShortcut(Recorder(), menu, 0),
                                       "x", identity),
              S_OK);
    const auto made = shortcuts.Make(editor::ShortcutPlace::Desktop, menu, 0);
    EXPECT_FALSE(made.Done);
    EXPECT_NE(made.Message.find(Recorder()), std::string::npos) << made.Message;
    EXPECT_TRUE(shortcuts.Remove(editor::ShortcutPlace::Desktop, menu).Done);
    EXPECT_TRUE(FileExists(foreignPath));
    EXPECT_TRUE(menufile::SamePath(Narrow(ReadRaw(foreignPath).Target), Recorder()));

    ASSERT_TRUE(shortcuts.Remove(editor::ShortcutPlace::StartMenu, menu).Done);
    EXPECT_EQ(shortcuts.Status(editor::ShortcutPlace::StartMenu, menu).State,
              editor::ShortcutState::Absent);
    EXPECT_FALSE(FileExists(programs + "\\Tarvel Menus"));
}

}  // namespace
