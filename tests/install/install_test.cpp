// The installer under Wine: silent installs per user and per machine, the files, keys and
// uninstall entry they write, menus opened through the shell, updates and removal.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "editor/ui/main_window_layout.h"
#include "menufile/menu_file.h"
#include "platform/text_win.h"
#include "winauto.h"

namespace {

using namespace winauto;
using platform::Narrow;
using platform::Widen;

const std::string kClasses = "Software\\Classes\\";
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvel";
const std::string kOwnKey = "Software\\Tarvel";
const std::string kRecordKey = kOwnKey + "\\Installed files";  // value: a path the installer wrote
constexpr char kPopupClass[] = "TarvelMenuPopup";
constexpr Millis kInstallTimeout{60000};

// The empty user-defined menu that Explorer's "New" entry copies.
const std::string kEmptyMenuTail =
    "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
const menufile::MenuItem kNotepad{"Notepad", "C:\\windows\\notepad.exe", "", "", "", "0"};

std::string StockPicture() {
    return ReadFileBytes(WinPath(STOCK_ICON)).value_or("<no stock icon>");
}

// A menu of the user's: the stock picture, so the shell shows it as the file's icon, and one item.
std::string UserMenu() {
    return StockPicture() + kEmptyMenuTail + menufile::FormatItemLine(kNotepad);
}

// Files are compared whole, and a mismatch is told by size and first difference, not dumped.
testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                   const std::optional<std::string>& expected) {
    if (!actual || !expected) {
        return testing::AssertionFailure() << (actual ? "expected file" : "file") << " missing";
    }
    if (*actual == *expected) {
        return testing::AssertionSuccess();
    }
    const auto diff =
        std::mismatch(actual->begin(), actual->end(), expected->begin(), expected->end());
    return testing::AssertionFailure()
           << actual->size() << " bytes, expected " << expected->size() << ", first difference at "
           << (diff.first - actual->begin());
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Where one kind of install puts things.
struct Layout {
    HKEY root;              // HKCU or HKLM, whose Software\Classes and uninstall entry it writes
    HKEY otherRoot;         // the one it leaves alone
    std::string dir;        // the program folder
    std::string link;       // the Start menu entry
    std::string otherLink;  // where the other kind of install puts it
    std::string switches;   // what selects it on the installer's command line
};

Layout PerUser() {
    return {HKEY_CURRENT_USER,
            HKEY_LOCAL_MACHINE,
            ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Tarvel",
            ShellFolder(CSIDL_PROGRAMS) + "\\Tarvel Edit.lnk",
            ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarvel Edit.lnk",
            ""};
}

Layout PerMachine() {
    return {HKEY_LOCAL_MACHINE,
            HKEY_CURRENT_USER,
            ShellFolder(CSIDL_PROGRAM_FILES) + "\\Tarvel",
            ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Tarvel Edit.lnk",
            ShellFolder(CSIDL_PROGRAMS) + "\\Tarvel Edit.lnk",
            " /AllUsers"};
}

const std::vector<std::string> kInstalledFiles = {"tvlengin.exe", "tvledit.exe", "template.tvl",
                                                  "uninstall.exe"};

std::vector<std::string> FolderContent(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(Widen(folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = Narrow(data.cFileName);
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The program a shortcut starts ("" when the shortcut cannot be read).
std::string LinkTarget(const std::string& link) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string target;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = Narrow(path);
            }
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return target;
}

// Saves a shortcut to `target` with `arguments`, as the editor or another program would.
bool WriteLink(const std::string& link, const std::string& target, const std::string& arguments) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->SetPath(Widen(target).c_str())) &&
            SUCCEEDED(shellLink->SetArguments(Widen(arguments).c_str())) &&
            SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(Widen(link).c_str(), TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return saved;
}

// The current user's Start menu folder of menus' shortcuts, which the editor makes.
std::string MenuShortcutsFolder() { return ShellFolder(CSIDL_PROGRAMS) + "\\Tarvel Menus"; }

// Runs the installer silently and returns its exit code (nullopt: it did not end).
std::optional<DWORD> RunSetup(const std::string& setup, const std::string& switches) {
    Process p = Start(WinPath(setup), "/S" + switches);
    if (!p) {
        return std::nullopt;
    }
    return p.WaitForExit(kInstallTimeout);
}

// The program behind a window, as a Process, so that it is ended if the test fails before it.
Process Adopt(HWND hwnd) {
    PROCESS_INFORMATION pi{};
    GetWindowThreadProcessId(hwnd, &pi.dwProcessId);
    pi.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pi.dwProcessId);
    return pi.hProcess ? Process(pi) : Process();
}

// The names of the DLLs a 64-bit program imports, in lower case.
std::set<std::string> ImportedDlls(const std::string& image) {
    std::set<std::string> names;
    auto at = [&](std::size_t offset, auto& out) {
        if (offset + sizeof(out) > image.size()) {
            return false;
        }
        std::memcpy(&out, image.data() + offset, sizeof(out));
        return true;
    };
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!at(0, dos) || !at(dos.e_lfanew, nt) ||
        nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        return {"<not a 64-bit program>"};
    }
    const std::size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                 nt.FileHeader.SizeOfOptionalHeader;
    auto fileOffset = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER s{};
            if (at(sections + i * sizeof(s), s) && rva >= s.VirtualAddress &&
                rva < s.VirtualAddress + s.SizeOfRawData) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        return image.size();
    };
    const DWORD imports =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    IMAGE_IMPORT_DESCRIPTOR entry{};
    for (std::size_t offset = fileOffset(imports); at(offset, entry) && entry.Name != 0;
         offset += sizeof(entry)) {
        const std::size_t name = fileOffset(entry.Name);
        if (name < image.size()) {
            names.insert(Lower(image.c_str() + name));
        }
    }
    return names;
}

// One text of a program's version resource, in U.S. English and UTF-16 as ours are written.
std::string VersionText(const std::vector<char>& info, const char* name) {
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), Widen(path).c_str(), &value, &length) || length == 0) {
        return "<missing>";
    }
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return Narrow(text);
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParkMouse();
        ForgetInstalls();
    }
    void TearDown() override { ForgetInstalls(); }

    // Whatever an earlier (failed) test left: removed by its uninstaller, then by force.
    static void ForgetInstalls() {
        for (const Layout& l : {PerUser(), PerMachine()}) {
            if (RegistryKeyExists(l.root, kUninstallKey)) {
                (void)Uninstall(l);
            }
            DeleteRegistryTree(l.root, kClasses + "Tarvel.Menu");
            DeleteRegistryTree(l.root, kClasses + ".tvl");
            DeleteRegistryTree(l.root, kUninstallKey);
            DeleteRegistryTree(l.root, kOwnKey);
            RemoveTree(l.dir);
            DeleteFileW(Widen(l.link).c_str());
        }
        RemoveTree(MenuShortcutsFolder());
    }

    // Runs the uninstall entry's quiet command as Apps & features would. The uninstaller goes on
    // from a copy of itself in %TEMP% and deletes its entry last, so that is the end to wait for.
    [[nodiscard]] static bool Uninstall(const Layout& l) {
        const auto quiet = RegistryText(l.root, kUninstallKey, "QuietUninstallString");
        if (!quiet) {
            return false;
        }
        Process p = StartCommandLine(*quiet);
        return p && p.WaitForExit(kInstallTimeout) == 0u &&
               WaitUntil([&] { return !RegistryKeyExists(l.root, kUninstallKey); },
                         kInstallTimeout);
    }

    // What every install writes: its files, the file type, the Start menu entry and the entry in
    // Apps & features; and nothing where the other kind of install would write.
    static void ExpectInstalled(const Layout& l, const std::string& version) {
        EXPECT_EQ(FolderContent(l.dir),
                  (std::vector<std::string>{"template.tvl", "tvledit.exe", "tvlengin.exe",
                                            "uninstall.exe"}));
        EXPECT_TRUE(SameBytes(ReadFileBytes(l.dir + "\\tvlengin.exe"),
                              ReadFileBytes(WinPath(TVLENGIN_EXE))));
        EXPECT_TRUE(
            SameBytes(ReadFileBytes(l.dir + "\\tvledit.exe"), ReadFileBytes(WinPath(TVLEDIT_EXE))));
        EXPECT_TRUE(
            SameBytes(ReadFileBytes(l.dir + "\\template.tvl"), StockPicture() + kEmptyMenuTail));

        const std::string engine = Quote(l.dir + "\\tvlengin.exe") + " \"%1\"";
        const std::string editor = Quote(l.dir + "\\tvledit.exe") + " \"%1\"";
        EXPECT_EQ(RegistryText(l.root, kClasses + ".tvl"), "Tarvel.Menu");
        EXPECT_EQ(RegistryText(l.root, kClasses + ".tvl\\ShellNew", "FileName"),
                  l.dir + "\\template.tvl");
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu"), "Tarvel menu");
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\DefaultIcon"), "%1");
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell"), "open");
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell\\open\\command"), engine);
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell\\edit"), "Edit menu");
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell\\edit\\command"), editor);
        EXPECT_TRUE(FileExists(l.link)) << l.link;
        EXPECT_EQ(Lower(LinkTarget(l.link)), Lower(l.dir + "\\tvledit.exe"));

        const std::string uninstaller = Quote(l.dir + "\\uninstall.exe");
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayName"), "Tarvel Menus");
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayVersion"), version);
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "Publisher"), "Tarvel");
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayIcon"), l.dir + "\\tvledit.exe,0");
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "InstallLocation"), l.dir);
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "UninstallString"), uninstaller + l.switches);
        EXPECT_EQ(RegistryText(l.root, kUninstallKey, "QuietUninstallString"),
                  uninstaller + " /S" + l.switches);
        // In KB: about the size of the two programs and the template.
        std::size_t bytes = 0;
        for (const char* name : {"tvlengin.exe", "tvledit.exe", "template.tvl"}) {
            bytes += ReadFileBytes(l.dir + "\\" + name).value_or("").size();
        }
        const DWORD size = RegistryNumber(l.root, kUninstallKey, "EstimatedSize").value_or(0);
        EXPECT_GE(size, bytes / 1024);
        EXPECT_LE(size, bytes / 1024 + 200);

        EXPECT_FALSE(RegistryKeyExists(l.otherRoot, kClasses + "Tarvel.Menu"));
        EXPECT_FALSE(RegistryKeyExists(l.otherRoot, kClasses + ".tvl"));
        EXPECT_FALSE(RegistryKeyExists(l.otherRoot, kUninstallKey));
        EXPECT_FALSE(FileExists(l.otherLink)) << l.otherLink;
    }

    // Nothing of the program's is left: no file, key, Start menu entry or uninstall entry.
    static void ExpectRemoved(const Layout& l) {
        for (const std::string& name : kInstalledFiles) {
            EXPECT_FALSE(FileExists(l.dir + "\\" + name)) << name;
        }
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + "Tarvel.Menu"));
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + ".tvl"));
        EXPECT_FALSE(RegistryKeyExists(l.root, kUninstallKey));
        for (const std::string& name : kInstalledFiles) {
            EXPECT_FALSE(RegistryText(l.root, kRecordKey, l.dir + "\\" + name)) << name;
        }
        EXPECT_FALSE(FileExists(l.link)) << l.link;
    }

    // Runs the folder's uninstaller by hand, in place and waited for (_?= ends the command line,
    // unquoted, space and all): it removes the installed files, keys and Start menu entry.
    static void UninstallInPlace(const Layout& l) {
        Process p = StartCommandLine(Quote(l.dir + "\\uninstall.exe") + " /S _?=" + l.dir);
        ASSERT_TRUE(p);
        EXPECT_EQ(p.WaitForExit(kInstallTimeout), 0u);
        for (const char* name : {"tvlengin.exe", "tvledit.exe", "template.tvl"}) {
            EXPECT_FALSE(FileExists(l.dir + "\\" + name)) << name;
        }
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + "Tarvel.Menu"));
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + ".tvl"));
        EXPECT_FALSE(RegistryKeyExists(l.root, kUninstallKey));
        EXPECT_FALSE(FileExists(l.link));
    }

    // Opens the menu through the shell with `verb` and waits for a top-level window of `cls`
    // from the installed `program`; returns that program, ended when the test ends.
    Process OpenThroughShell(const std::string& menu, const char* verb, const char* cls,
                             const std::string& program, HWND& window) {
        Process started = ShellOpen(menu, verb);
        window = WaitForWindow(started ? started.pid() : 0, cls, nullptr);
        if (!window) {
            ADD_FAILURE() << "no " << cls << " window for " << (verb ? verb : "the default verb");
            return started;
        }
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (!started || started.pid() != pid) {
            started = Adopt(window);  // the shell gave no handle, or one of another program
        }
        EXPECT_EQ(Lower(ProcessImagePath(pid)), Lower(program));
        return started;
    }

    void Shoot(const std::string& name, HWND hwnd = nullptr) {
        Pump(Millis(200));  // let the window finish painting
        EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\" + name + ".bmp", hwnd));
    }

    TempDir m_dir{"install test "};  // the user's own folder of menus
};

// The editor's shortcuts of menus start the engine; the uninstaller takes those of its own
// engine only, never another program's shortcut or a menu file, and the folder once empty.
TEST_F(InstallTest, UninstallRemovesOnlyTheMenuShortcutsOfItsOwnEngine) {
    for (const Layout& l : {PerUser(), PerMachine()}) {
        SCOPED_TRACE(l.dir);
        ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
        const std::string group = MenuShortcutsFolder();
        ASSERT_TRUE(CreateDirectoryW(Widen(group).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        const std::string menu = m_dir.File("My tools.tvl");
        ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));
        const std::string engine = l.dir + "\\tvlengin.exe";
        const std::string own = group + "\\My tools.lnk";
        const std::string ownUpper = group + "\\Shouted.lnk";
        const std::string foreign = group + "\\Notepad.lnk";
        const std::string otherEngine = group + "\\Built.lnk";
        const std::string keptMenu = group + "\\Kept.tvl";
        ASSERT_TRUE(WriteLink(own, engine, Quote(menu)));
        std::string upper = engine;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        ASSERT_TRUE(WriteLink(ownUpper, upper, Quote(menu)));
        ASSERT_TRUE(WriteLink(foreign, "C:\\windows\\notepad.exe", Quote(menu)));
        ASSERT_TRUE(WriteLink(otherEngine, WinPath(TVLENGIN_EXE), Quote(menu)));
        ASSERT_TRUE(WriteFileBytes(keptMenu, UserMenu()));

        ASSERT_TRUE(Uninstall(l));
        EXPECT_FALSE(FileExists(own));
        EXPECT_FALSE(FileExists(ownUpper));
        EXPECT_TRUE(FileExists(foreign));
        EXPECT_TRUE(FileExists(otherEngine)) << "the shortcut of another install's engine went";
        EXPECT_TRUE(SameBytes(ReadFileBytes(keptMenu), UserMenu()));
        EXPECT_TRUE(FileExists(group));
        EXPECT_TRUE(SameBytes(ReadFileBytes(menu), UserMenu()));

        // With only its own shortcuts in it, the folder goes too.
        ASSERT_TRUE(RemoveTree(group));
        ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
        ASSERT_TRUE(CreateDirectoryW(Widen(group).c_str(), nullptr));
        ASSERT_TRUE(WriteLink(own, engine, Quote(menu)));
        ASSERT_TRUE(Uninstall(l));
        EXPECT_FALSE(FileExists(own));
        EXPECT_FALSE(FileExists(group));
    }
}

TEST_F(InstallTest, SetupIsA64BitProgramThatAsksForNoAdministratorRights) {
    const std::wstring setup = Widen(WinPath(TARVEL_SETUP));
    DWORD type = 0;
    ASSERT_TRUE(GetBinaryTypeW(setup.c_str(), &type));
    EXPECT_EQ(type, static_cast<DWORD>(SCS_64BIT_BINARY));

    HMODULE image = LoadLibraryExW(setup.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
    const std::string manifest(bytes, SizeofResource(image, found));
    FreeLibrary(image);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
}

TEST_F(InstallTest, ProgramsCarryTheirVersionIconsAndFewImports) {
    for (const char* exe : {TVLENGIN_EXE, TVLEDIT_EXE}) {
        SCOPED_TRACE(exe);
        const std::wstring wide = Widen(WinPath(exe));
        std::vector<char> info(GetFileVersionInfoSizeW(wide.c_str(), nullptr));
        ASSERT_FALSE(info.empty());
        ASSERT_TRUE(
            GetFileVersionInfoW(wide.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
        EXPECT_EQ(VersionText(info, "ProductName"), "Tarvel Menus");
        EXPECT_EQ(VersionText(info, "CompanyName"), "Tarvel");
        EXPECT_EQ(VersionText(info, "FileVersion"), TARVEL_VERSION);
        EXPECT_EQ(VersionText(info, "ProductVersion"), TARVEL_VERSION);
        EXPECT_NE(VersionText(info, "FileDescription"), "<missing>");
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "%lu.%lu.%lu.%lu",
                      static_cast<unsigned long>(HIWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned long>(LOWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned long>(HIWORD(fixed->dwFileVersionLS)),
                      static_cast<unsigned long>(LOWORD(fixed->dwFileVersionLS)));
        EXPECT_EQ(std::string(numbers), TARVEL_VERSION);

        // The program's icon (group 1, the first, which the shell shows) holds
        // 16, 32, 48 and 256 pixels; the 256-pixel image is PNG-compressed.
        HMODULE image = LoadLibraryExW(wide.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(image, nullptr);
        HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(image, group)));
        const WORD count = static_cast<WORD>(dir[4] | dir[5] << 8);
        std::vector<int> sizes;
        bool pngAt256 = false;
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = dir + 6 + i * 14;  // GRPICONDIRENTRY
            const int size = entry[0] == 0 ? 256 : entry[0];
            sizes.push_back(size);
            const WORD id = static_cast<WORD>(entry[12] | entry[13] << 8);
            HRSRC icon = FindResourceW(image, MAKEINTRESOURCEW(id), RT_ICON);
            if (size == 256 && icon) {
                const char* bytes =
                    static_cast<const char*>(LockResource(LoadResource(image, icon)));
                pngAt256 = std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) == 0;
            }
        }
        FreeLibrary(image);
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
        EXPECT_TRUE(pngAt256);
    }
    EXPECT_FALSE(
        SameBytes(ReadFileBytes(WinPath(TVLENGIN_EXE)), ReadFileBytes(WinPath(TVLEDIT_EXE))));

    // The engine starts on the fewest DLLs; everything else is bound when first needed.
    const std::set<std::string> engineDlls = ImportedDlls(*ReadFileBytes(WinPath(TVLENGIN_EXE)));
    EXPECT_EQ(engineDlls,
              (std::set<std::string>{"gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"}));
}

TEST_F(InstallTest, PerUserInstallWritesItsFilesAndKeysForThisUserOnly) {
    const Layout l = PerUser();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    ExpectInstalled(l, TARVEL_VERSION);
}

TEST_F(InstallTest, PerUserUninstallRemovesEverythingItInstalled) {
    const Layout l = PerUser();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    ASSERT_TRUE(FileExists(l.dir + "\\uninstall.exe"));

    UninstallInPlace(l);

    // Again, as Apps & features runs it, which also takes the uninstaller and the folder away.
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    ASSERT_TRUE(Uninstall(l));
    ExpectRemoved(l);
    EXPECT_FALSE(RegistryKeyExists(l.root, kOwnKey));
    EXPECT_FALSE(FileExists(l.dir)) << "an empty program folder stays behind";
}

TEST_F(InstallTest, UpdateKeepsTheFolderOfTheEarlierInstall) {
    const Layout l = PerUser();
    const std::string dir = m_dir.File("own place");
    ASSERT_EQ(RunSetup(TARVEL_OLDER_SETUP, " /D=" + dir), 0u);
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayVersion"), "1.0.0.0");
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "InstallLocation"), dir);

    ASSERT_EQ(RunSetup(TARVEL_SETUP, ""), 0u);
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayVersion"), TARVEL_VERSION);
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "InstallLocation"), dir);
    EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell\\open\\command"),
              Quote(dir + "\\tvlengin.exe") + " \"%1\"");
    EXPECT_FALSE(FileExists(l.dir)) << "the update went to the default folder";
    ASSERT_TRUE(Uninstall(l));
    EXPECT_FALSE(FileExists(dir));
}

TEST_F(InstallTest, PerMachineInstallWritesItsFilesAndKeysForEveryUser) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    ExpectInstalled(l, TARVEL_VERSION);
    // The machine's classes are what HKEY_CLASSES_ROOT shows.
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".tvl"), "Tarvel.Menu");
}

TEST_F(InstallTest, OpeningAMenuFilePopsTheMenuUp) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    const std::string menu = m_dir.File("My tools.tvl");
    ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));

    // The shell knows the type by the name the installer gave it.
    SHFILEINFOW info{};
    ASSERT_NE(SHGetFileInfoW(Widen(menu).c_str(), 0, &info, sizeof info, SHGFI_TYPENAME), 0u);
    EXPECT_EQ(Narrow(info.szTypeName), "Tarvel menu");

    // The default verb (a double click) and "open" by name both run the engine on the file.
    for (const char* verb : {static_cast<const char*>(nullptr), "open"}) {
        SCOPED_TRACE(verb ? verb : "default verb");
        HWND popup = nullptr;
        Process engine = OpenThroughShell(menu, verb, kPopupClass, l.dir + "\\tvlengin.exe", popup);
        ASSERT_NE(popup, nullptr);
        if (!verb) {
            Shoot("install-open-verb", popup);
        }
        PostKey(popup, VK_ESCAPE);
        EXPECT_TRUE(WaitForWindowGone(popup));
        EXPECT_TRUE(engine.WaitForExit().has_value());
    }
    EXPECT_TRUE(SameBytes(ReadFileBytes(menu), UserMenu()));
}

// The shell shows each menu under its own picture (an icon file at the head of the menu), at
// the small and the large size, and tells two menus apart by it.
TEST_F(InstallTest, EachMenuShowsItsOwnPictureAsItsIcon) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    std::vector<std::vector<std::uint32_t>> largeShown;
    for (const char* picture : {STOCK_ICON, EDITOR_ICON}) {
        SCOPED_TRACE(picture);
        const auto bytes = ReadFileBytes(WinPath(picture));
        ASSERT_TRUE(bytes);
        const std::string menu =
            m_dir.File(Lower(picture).find("stock") != std::string::npos ? "Stock picture.tvl"
                                                                         : "Own picture.tvl");
        ASSERT_TRUE(WriteFileBytes(menu, *bytes + kEmptyMenuTail));
        for (const auto& [flag, size] : {std::pair{SHGFI_LARGEICON, 32}, {SHGFI_SMALLICON, 16}}) {
            SHFILEINFOW shown{};
            ASSERT_NE(
                SHGetFileInfoW(Widen(menu).c_str(), 0, &shown, sizeof shown, SHGFI_ICON | flag),
                0u);
            HICON own = static_cast<HICON>(LoadImageW(nullptr, Widen(WinPath(picture)).c_str(),
                                                      IMAGE_ICON, size, size, LR_LOADFROMFILE));
            ASSERT_NE(own, nullptr);
            const auto pixels = IconPixels(shown.hIcon, size);
            EXPECT_EQ(pixels, IconPixels(own, size)) << size << " pixels";
            if (size == 32) {
                largeShown.push_back(pixels);
            }
            DestroyIcon(shown.hIcon);
            DestroyIcon(own);
        }
    }
    ASSERT_EQ(largeShown.size(), 2u);
    EXPECT_NE(largeShown[0], largeShown[1]);
}

TEST_F(InstallTest, EditVerbOpensTheMenuInTheEditor) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    const std::string menu = m_dir.File("My tools.tvl");
    ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));

    HWND main = nullptr;
    Process editor =
        OpenThroughShell(menu, "edit", editor::kMainWindowClass, l.dir + "\\tvledit.exe", main);
    ASSERT_NE(main, nullptr);
    // The menu's name as the shell shows it (with or without ".tvl"), then the program's.
    const std::string title = GetText(main);
    EXPECT_EQ(title.rfind("My tools", 0), 0u) << title;
    EXPECT_TRUE(title.ends_with(std::string(" - ") + editor::kMainTitle)) << title;
    EXPECT_TRUE(WaitUntil([&] {
        return ListItems(Control(main, editor::kItemList)) == std::vector<std::string>{"Notepad"};
    }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(editor.WaitForExit().has_value());
    EXPECT_TRUE(SameBytes(ReadFileBytes(menu), UserMenu()));
}

TEST_F(InstallTest, NewEntryMakesAMenuThatTheEditorOpensWithoutAQuestion) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    const auto shellNew = RegistryText(HKEY_CLASSES_ROOT, ".tvl\\ShellNew", "FileName");
    ASSERT_TRUE(shellNew);
    const auto tvl = ReadFileBytes(*shellNew);
    ASSERT_TRUE(tvl);
    EXPECT_TRUE(SameBytes(tvl, StockPicture() + kEmptyMenuTail));

    // What Explorer's New > Tarvel menu does: a copy of the template named after the type.
    const std::string menu = m_dir.File("New Tarvel menu.tvl");
    ASSERT_TRUE(CopyFileW(Widen(*shellNew).c_str(), Widen(menu).c_str(), TRUE));
    HWND main = nullptr;
    Process editor =
        OpenThroughShell(menu, "edit", editor::kMainWindowClass, l.dir + "\\tvledit.exe", main);
    ASSERT_NE(main, nullptr);
    Pump(Millis(500));  // a question would come up about now
    EXPECT_EQ(FindWindowOf(editor.pid(), "#32770", nullptr), nullptr)
        << MessageBoxText(FindWindowOf(editor.pid(), "#32770", nullptr));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(ListItems(Control(main, editor::kItemList)).empty());
    Shoot("install-new-menu", main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(editor.WaitForExit().has_value());
    EXPECT_TRUE(SameBytes(ReadFileBytes(menu), *tvl));
}

TEST_F(InstallTest, PerMachineUninstallKeepsOnlyTheUsersMenus) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    const std::string menu = m_dir.File("My tools.tvl");
    const std::string saved = l.dir + "\\Saved here.tvl";  // a menu the user saved beside them
    ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));
    ASSERT_TRUE(WriteFileBytes(saved, UserMenu()));

    ASSERT_TRUE(Uninstall(l));
    ExpectRemoved(l);
    EXPECT_EQ(FolderContent(l.dir), std::vector<std::string>{"Saved here.tvl"});
    EXPECT_TRUE(SameBytes(ReadFileBytes(saved), UserMenu()));
    EXPECT_TRUE(SameBytes(ReadFileBytes(menu), UserMenu()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "Tarvel.Menu"));
}

TEST_F(InstallTest, UninstallerStartedByHandKnowsAMachineInstall) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);

    // No /AllUsers: the machine's uninstall entry names this folder.
    UninstallInPlace(l);
}

TEST_F(InstallTest, UpdateKeepsTheAssociationAndTheUsersMenus) {
    const Layout l = PerMachine();
    ASSERT_EQ(RunSetup(TARVEL_OLDER_SETUP, l.switches), 0u);
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayVersion"), "1.0.0.0");
    const std::string menu = m_dir.File("My tools.tvl");
    const std::string saved = l.dir + "\\Saved here.tvl";
    ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));
    ASSERT_TRUE(WriteFileBytes(saved, UserMenu()));

    ASSERT_EQ(RunSetup(TARVEL_SETUP, l.switches), 0u);
    EXPECT_EQ(RegistryText(l.root, kUninstallKey, "DisplayVersion"), TARVEL_VERSION);
    EXPECT_TRUE(SameBytes(ReadFileBytes(saved), UserMenu()));
    EXPECT_TRUE(SameBytes(ReadFileBytes(menu), UserMenu()));
    ASSERT_TRUE(DeleteFileW(Widen(saved).c_str()));
    ExpectInstalled(l, TARVEL_VERSION);

    HWND popup = nullptr;
    Process engine = OpenThroughShell(menu, nullptr, kPopupClass, l.dir + "\\tvlengin.exe", popup);
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(engine.WaitForExit().has_value());
}

// Two installs in two folders: the later one owns the file type, the Start menu entry and the
// uninstall entry, and the first folder's uninstaller, started by hand, takes only its own files.
TEST_F(InstallTest, UninstallingTheFirstFolderLeavesTheLaterInstallWorking) {
    for (const Layout& first : {PerUser(), PerMachine()}) {
        const bool machine = first.root == HKEY_LOCAL_MACHINE;
        SCOPED_TRACE(machine ? "per machine" : "per user");
        Layout later = first;
        later.dir = m_dir.File(machine ? "machine copy" : "user copy");
        ASSERT_EQ(RunSetup(TARVEL_OLDER_SETUP, first.switches), 0u);
        ASSERT_EQ(RunSetup(TARVEL_SETUP, first.switches + " /D=" + later.dir), 0u);
        ExpectInstalled(later, TARVEL_VERSION);

        // The switches the first folder's uninstall entry gave before the later install.
        Process p = StartCommandLine(Quote(first.dir + "\\uninstall.exe") + " /S" + first.switches +
                                     " _?=" + first.dir);
        ASSERT_TRUE(p);
        EXPECT_EQ(p.WaitForExit(kInstallTimeout), 0u);
        for (const char* name : {"tvlengin.exe", "tvledit.exe", "template.tvl"}) {
            EXPECT_FALSE(FileExists(first.dir + "\\" + name)) << name;
        }
        ExpectInstalled(later, TARVEL_VERSION);

        // Wine's shell reads only the machine's classes (HKEY_CLASSES_ROOT).
        if (machine) {
            const std::string menu = m_dir.File("My tools.tvl");
            ASSERT_TRUE(WriteFileBytes(menu, UserMenu()));
            HWND popup = nullptr;
            Process engine =
                OpenThroughShell(menu, nullptr, kPopupClass, later.dir + "\\tvlengin.exe", popup);
            ASSERT_NE(popup, nullptr);
            PostKey(popup, VK_ESCAPE);
            EXPECT_TRUE(engine.WaitForExit().has_value());
        }
        ASSERT_TRUE(Uninstall(later));
        ExpectRemoved(later);
        RemoveTree(first.dir);  // the uninstaller run in place is still there
    }
}

// A template.tvl of the user's in the chosen folder is not the installer's to replace, nor the
// uninstaller's to delete; the programs are installed and updated beside it.
TEST_F(InstallTest, UsersOwnTemplateInTheFolderOutlivesInstallUpdateAndUninstall) {
    Layout l = PerUser();
    l.dir = m_dir.File("shared folder");
    ASSERT_TRUE(CreateDirectoryW(Widen(l.dir).c_str(), nullptr));
    const std::string ownTemplate = l.dir + "\\template.tvl";
    ASSERT_TRUE(WriteFileBytes(ownTemplate, UserMenu()));

    for (const char* setup : {TARVEL_OLDER_SETUP, TARVEL_SETUP}) {
        SCOPED_TRACE(setup);
        ASSERT_EQ(RunSetup(setup, " /D=" + l.dir), 0u);
        EXPECT_TRUE(SameBytes(ReadFileBytes(ownTemplate), UserMenu()));
        EXPECT_TRUE(SameBytes(ReadFileBytes(l.dir + "\\tvlengin.exe"),
                              ReadFileBytes(WinPath(TVLENGIN_EXE))));
        EXPECT_EQ(RegistryText(l.root, kClasses + "Tarvel.Menu\\shell\\open\\command"),
                  Quote(l.dir + "\\tvlengin.exe") + " \"%1\"");
        // Explorer's New entry would copy the user's file.
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + ".tvl\\ShellNew"));
    }

    ASSERT_TRUE(Uninstall(l));
    EXPECT_EQ(FolderContent(l.dir), std::vector<std::string>{"template.tvl"});
    EXPECT_TRUE(SameBytes(ReadFileBytes(ownTemplate), UserMenu()));
    EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + "Tarvel.Menu"));
    EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + ".tvl"));
    EXPECT_FALSE(RegistryKeyExists(l.root, kOwnKey));
}

// A folder holding a program of another product under one of our names is refused whole: no
// file of it is replaced and nothing is registered.
TEST_F(InstallTest, InstallRefusesAFolderHoldingAnotherProgramsFile) {
    const Layout l = PerUser();
    for (const char* name : {"tvlengin.exe", "tvledit.exe", "uninstall.exe"}) {
        SCOPED_TRACE(name);
        const std::string dir = m_dir.File(std::string("beside ") + name);
        ASSERT_TRUE(CreateDirectoryW(Widen(dir).c_str(), nullptr));
        const std::string other = "MZ another product's program";
        ASSERT_TRUE(WriteFileBytes(dir + "\\" + name, other));

        const auto rc = RunSetup(TARVEL_SETUP, " /D=" + dir);
        ASSERT_TRUE(rc.has_value());
        EXPECT_EQ(*rc, 2u);  // aborted by the installer
        EXPECT_EQ(FolderContent(dir), std::vector<std::string>{name});
        EXPECT_TRUE(SameBytes(ReadFileBytes(dir + "\\" + name), other));
        EXPECT_FALSE(RegistryKeyExists(l.root, kClasses + "Tarvel.Menu"));
        EXPECT_FALSE(RegistryKeyExists(l.root, kUninstallKey));
        EXPECT_FALSE(RegistryKeyExists(l.root, kOwnKey));
        EXPECT_FALSE(FileExists(l.link));
    }
}

}  // namespace
