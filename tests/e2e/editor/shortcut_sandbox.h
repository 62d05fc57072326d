// What the editor's shortcut tests share: the programs copied into a folder of their own (the
// shortcuts start the engine beside the editor that made them), the desktop moved into a
// temporary folder (a new Wine prefix's desktop is the host user's home), the shell links read
// and written as the shell does, and every link a test made removed after it.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_win.h"
#include "platform/win32_handles_win.h"
#include "winauto.h"

namespace shortcuts {

// A link's fields as the shell reads them back.
struct LinkFields {
    std::string Target;
    std::string Arguments;
    std::string WorkingDirectory;
    std::string IconPath;
    int IconIndex = -1;
    WORD HotKey = 0;
    std::string Description;
};

inline bool StartCom() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

inline std::optional<LinkFields> ReadLink(const std::string& path) {
    StartCom();
    platform::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IShellLinkW), link.PutVoid()))) {
        return std::nullopt;
    }
    const platform::ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (!file || FAILED(file->Load(platform::Widen(path).c_str(), STGM_READ))) {
        return std::nullopt;
    }
    // Room for paths past MAX_PATH: the link keeps them whole.
    std::vector<wchar_t> text(32768);
    const int room = static_cast<int>(text.size());
    LinkFields fields;
    auto take = [&](HRESULT hr) { return SUCCEEDED(hr) ? platform::Narrow(text.data()) : "<?>"; };
    text[0] = 0;
    fields.Target = take(link->GetPath(text.data(), room, nullptr, SLGP_RAWPATH));
    text[0] = 0;
    fields.Arguments = take(link->GetArguments(text.data(), room));
    text[0] = 0;
    fields.WorkingDirectory = take(link->GetWorkingDirectory(text.data(), room));
    text[0] = 0;
    fields.IconPath = take(link->GetIconLocation(text.data(), room, &fields.IconIndex));
    text[0] = 0;
    fields.Description = take(link->GetDescription(text.data(), room));
    (void)link->GetHotkey(&fields.HotKey);
    return fields;
}

// A link of another program's, as the shell would make it.
inline bool WriteLink(const std::string& path, const std::string& target,
                      const std::string& arguments) {
    StartCom();
    platform::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IShellLinkW), link.PutVoid())) ||
        FAILED(link->SetPath(platform::Widen(target).c_str())) ||
        FAILED(link->SetArguments(platform::Widen(arguments).c_str()))) {
        return false;
    }
    const platform::ComPtr<IPersistFile> file = link.As<IPersistFile>();
    return file && SUCCEEDED(file->Save(platform::Widen(path).c_str(), TRUE));
}

inline std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

inline constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The programs in a folder of their own, the desktop in another, and the links of one menu
// (`linkName`, "<name>.lnk") removed from both places when it ends, after the editor that made
// them, which runs from the folder.
class Sandbox {
public:
    Sandbox(std::string linkName, winauto::Process& editor)
        : m_linkName(std::move(linkName)), m_editor(editor) {
        auto copy = [](const char* built, const std::string& to) {
            return CopyFileW(platform::Widen(winauto::WinPath(built)).c_str(),
                             platform::Widen(to).c_str(), TRUE) != FALSE;
        };
        m_copied = copy(TVLEDIT_EXE, EditorExe()) && copy(TVLENGIN_EXE, EnginePath());
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, platform::Widen(kUserShellFolders).c_str(), 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            DWORD size = 0;
            if (RegQueryValueExW(key, L"Desktop", nullptr, &m_oldType, nullptr, &size) ==
                ERROR_SUCCESS) {
                m_oldDesktop.resize(size);
                m_hadDesktop = RegQueryValueExW(key, L"Desktop", nullptr, &m_oldType,
                                                m_oldDesktop.data(), &size) == ERROR_SUCCESS;
            }
            const std::wstring desktop = platform::Widen(m_desktop.path());
            m_redirected =
                RegSetValueExW(
                    key, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(desktop.c_str()),
                    static_cast<DWORD>((desktop.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~Sandbox() {
        m_editor.Kill();  // the program copies are in use until it ends
        for (const std::string& link : {StartMenuLink(), DesktopLink()}) {
            DeleteFileW(platform::Widen(link).c_str());
        }
        RemoveDirectoryW(platform::Widen(Folder(StartMenuLink())).c_str());  // only when empty
        HKEY key = nullptr;
        if (m_redirected &&
            RegOpenKeyExW(HKEY_CURRENT_USER, platform::Widen(kUserShellFolders).c_str(), 0,
                          KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (m_hadDesktop) {
                RegSetValueExW(key, L"Desktop", 0, m_oldType, m_oldDesktop.data(),
                               static_cast<DWORD>(m_oldDesktop.size()));
            } else {
                RegDeleteValueW(key, L"Desktop");
            }
            RegCloseKey(key);
        }
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    [[nodiscard]] bool Ready() const { return m_copied && m_redirected; }
    [[nodiscard]] std::string EditorExe() const { return m_programs.File("tvledit.exe"); }
    [[nodiscard]] std::string EnginePath() const { return m_programs.File("tvlengin.exe"); }
    [[nodiscard]] const std::string& ProgramFolder() const { return m_programs.path(); }
    [[nodiscard]] const std::string& DesktopFolder() const { return m_desktop.path(); }
    [[nodiscard]] std::string StartMenuLink() const {
        return winauto::ShellFolder(CSIDL_PROGRAMS) + "\\Tarvel Menus\\" + m_linkName;
    }
    [[nodiscard]] std::string DesktopLink() const { return m_desktop.File(m_linkName); }

private:
    std::string m_linkName;
    winauto::Process& m_editor;
    winauto::TempDir m_programs{"e2e shortcut programs "};
    winauto::TempDir m_desktop{"e2e shortcut desktop "};
    bool m_copied = false;
    bool m_redirected = false;
    bool m_hadDesktop = false;
    DWORD m_oldType = REG_EXPAND_SZ;
    std::vector<BYTE> m_oldDesktop;
};

}  // namespace shortcuts
