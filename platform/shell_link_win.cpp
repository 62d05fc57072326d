// Shell links through IShellLinkW and IPersistFile, their identity, jump list tasks, and the
// engine's process identity. COM and the shell are bound through the system table, so the
// engine, which links this library, still imports none of their libraries.
#include "platform/shell_link_win.h"

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <objectarray.h>
#include <propsys.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace platform {
namespace {

// Not every MinGW library defines these keys, and the propsys library that does is not linked.
constexpr PROPERTYKEY kAppUserModelId = {
    {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};
constexpr PROPERTYKEY kTitle = {
    {0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}}, 2};

// What the link's string fields hold at most (the shell's own limit for arguments and
// descriptions).
constexpr std::size_t kInfoTipSize = INFOTIPSIZE;
// Room for any path the shell hands back.
constexpr DWORD kPathRoom = 32768;

template <class T>
HRESULT Create(REFCLSID clsid, ComPtr<T>& out) {
    const auto create = api::CoCreateInstance();
    if (!create || !StartCom()) {
        return REGDB_E_CLASSNOTREG;
    }
    return create(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(T), out.PutVoid());
}

// A path as a link's path fields take it: those stop at MAX_PATH, so a longer one goes in its
// short (8.3) form where the volume has one. Nothing when it has none.
std::optional<std::wstring> LinkFieldPath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH) {
        return wide;
    }
    const std::wstring full = WidePath(path);
    std::wstring shortForm(kPathRoom, L'\0');
    const DWORD length = ::GetShortPathNameW(full.c_str(), shortForm.data(), kPathRoom);
    if (length == 0 || length >= kPathRoom) {
        return std::nullopt;
    }
    shortForm.resize(length);
    if (shortForm.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        shortForm = L"\\\\" + shortForm.substr(8);
    } else if (shortForm.rfind(L"\\\\?\\", 0) == 0) {
        shortForm = shortForm.substr(4);
    }
    if (shortForm.size() >= MAX_PATH) {
        return std::nullopt;
    }
    return shortForm;
}

// The long form of a path the link holds in its short form; the path as it is otherwise.
std::string LongForm(const std::wstring& path) {
    if (path.find(L'~') == std::wstring::npos) {
        return Narrow(path);
    }
    std::wstring longForm(kPathRoom, L'\0');
    const DWORD length = ::GetLongPathNameW(path.c_str(), longForm.data(), kPathRoom);
    if (length == 0 || length >= kPathRoom) {
        return Narrow(path);
    }
    longForm.resize(length);
    if (longForm.rfind(L"\\\\?\\", 0) == 0 && path.rfind(L"\\\\?\\", 0) != 0) {
        longForm = longForm.substr(4);
    }
    return Narrow(longForm);
}

HRESULT SetStringProperty(IPropertyStore* store, const PROPERTYKEY& key, const std::wstring& text) {
    PROPVARIANT value{};
    value.vt = VT_LPWSTR;
    // The store copies the value; the text stays ours.
    value.pwszVal = const_cast<wchar_t*>(text.c_str());
    return store->SetValue(key, value);
}

std::wstring QuotedPath(const std::string& path) {
    return L"\"" + Widen(path) + L"\"";
}

}  // namespace

HRESULT PropertyStoreIdentityWriter::SetIdentity(IUnknown* link, const std::wstring& appId) {
    if (link == nullptr) {
        return E_POINTER;
    }
    ComPtr<IPropertyStore> store;
    HRESULT hr = link->QueryInterface(__uuidof(IPropertyStore), store.PutVoid());
    if (FAILED(hr)) {
        return hr;
    }
    hr = SetStringProperty(store.Get(), kAppUserModelId, appId);
    return SUCCEEDED(hr) ? store->Commit() : hr;
}

std::optional<menufile::ShortcutLink> ReadShellLink(const std::string& path) {
    const std::wstring widePath = WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        return menufile::ShortcutLink{};  // something is there that cannot be looked at
    }
    menufile::ShortcutLink link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return link;
    }
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(Create(CLSID_ShellLink, shellLink))) {
        return link;
    }
    ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
    if (!file || FAILED(file->Load(widePath.c_str(), STGM_READ))) {
        return link;
    }
    std::vector<wchar_t> text(kPathRoom, L'\0');
    const int room = static_cast<int>(text.size());
    // Expanded, as the shell starts it, whatever form the link keeps it in.
    if (SUCCEEDED(shellLink->GetPath(text.data(), room, nullptr, 0))) {
        link.Target = LongForm(text.data());
    }
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetArguments(text.data(), room))) {
        link.Arguments = Narrow(text.data());
    }
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetWorkingDirectory(text.data(), room))) {
        link.WorkingDirectory = LongForm(text.data());
    }
    text[0] = L'\0';
    int iconIndex = 0;
    if (SUCCEEDED(shellLink->GetIconLocation(text.data(), room, &iconIndex))) {
        link.IconPath = LongForm(text.data());
        link.IconIndex = iconIndex;
    }
    WORD hotKey = 0;
    if (SUCCEEDED(shellLink->GetHotkey(&hotKey))) {
        link.HotKey = hotKey;
    }
    text[0] = L'\0';
    if (SUCCEEDED(shellLink->GetDescription(text.data(), room))) {
        link.Description = Narrow(text.data());
    }
    return link;
}

HRESULT WriteShellLink(const std::string& path, const menufile::ShortcutLink& link,
                       const std::string& appId, LinkIdentityWriter& identity) {
    const std::optional<std::wstring> target = LinkFieldPath(link.Target);
    if (!target) {
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    const std::wstring arguments = Widen(link.Arguments);
    if (arguments.size() >= kInfoTipSize) {
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    ComPtr<IShellLinkW> shellLink;
    HRESULT hr = Create(CLSID_ShellLink, shellLink);
    if (FAILED(hr)) {
        return hr;
    }
    hr = shellLink->SetPath(target->c_str());
    if (SUCCEEDED(hr)) {
        hr = shellLink->SetArguments(arguments.c_str());
    }
    // A folder or icon that cannot be named within the link's limit is left out: the shortcut
    // still starts the menu, from the engine's folder or with the engine's icon.
    if (SUCCEEDED(hr) && !link.WorkingDirectory.empty()) {
        if (const auto folder = LinkFieldPath(link.WorkingDirectory)) {
            hr = shellLink->SetWorkingDirectory(folder->c_str());
        }
    }
    if (SUCCEEDED(hr) && !link.IconPath.empty()) {
        if (const auto icon = LinkFieldPath(link.IconPath)) {
            hr = shellLink->SetIconLocation(icon->c_str(), link.IconIndex);
        }
    }
    if (SUCCEEDED(hr)) {
        hr = shellLink->SetHotkey(link.HotKey);
    }
    if (SUCCEEDED(hr)) {
        std::wstring description = Widen(link.Description);
        if (description.size() >= kInfoTipSize) {
            description.resize(kInfoTipSize - 1);
        }
        hr = shellLink->SetDescription(description.c_str());
    }
    if (FAILED(hr)) {
        return hr;
    }
    // The identity only groups the menu's runs on the taskbar: a system that cannot keep it
    // still gets a working shortcut.
    (void)identity.SetIdentity(shellLink.Get(), Widen(appId));
    ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
    if (!file) {
        return E_NOINTERFACE;
    }
    return file->Save(WidePath(path).c_str(), TRUE);
}

std::optional<std::string> UserFolder(int csidl, HRESULT* failure) {
    const auto get = api::SHGetFolderPathW();
    HRESULT hr = E_NOTIMPL;
    if (get) {
        wchar_t folder[MAX_PATH] = {};
        // No CSIDL_FLAG_CREATE: a folder is made only when a shortcut is written into it.
        hr = get(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
        // S_FALSE: the folder is known but not made yet; writing a shortcut makes it.
        if (SUCCEEDED(hr) && folder[0] != L'\0') {
            std::string path = Narrow(folder);
            while (path.size() > 3 && path.back() == '\\') {
                path.pop_back();
            }
            return path;
        }
        if (SUCCEEDED(hr)) {
            hr = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
    }
    if (failure != nullptr) {
        *failure = hr;
    }
    return std::nullopt;
}

void AddEditMenuTask(const std::string& appId, const std::string& editorPath,
                     const std::string& menuPath) {
    ComPtr<ICustomDestinationList> list;
    if (FAILED(Create(CLSID_DestinationList, list))) {
        return;
    }
    if (FAILED(list->SetAppID(Widen(appId).c_str()))) {
        return;
    }
    UINT slots = 0;
    ComPtr<IObjectArray> removed;
    if (FAILED(list->BeginList(&slots, __uuidof(IObjectArray), removed.PutVoid()))) {
        return;
    }
    const auto commit = [&]() -> bool {
        ComPtr<IObjectCollection> tasks;
        ComPtr<IShellLinkW> task;
        const std::optional<std::wstring> editor = LinkFieldPath(editorPath);
        const std::wstring arguments = QuotedPath(menuPath);
        if (!editor || arguments.size() >= kInfoTipSize ||
            FAILED(Create(CLSID_EnumerableObjectCollection, tasks)) ||
            FAILED(Create(CLSID_ShellLink, task)) || FAILED(task->SetPath(editor->c_str())) ||
            FAILED(task->SetArguments(arguments.c_str())) ||
            FAILED(task->SetIconLocation(editor->c_str(), 0))) {
            return false;
        }
        ComPtr<IPropertyStore> properties = task.As<IPropertyStore>();
        if (!properties || FAILED(SetStringProperty(properties.Get(), kTitle, L"Edit menu")) ||
            FAILED(properties->Commit()) || FAILED(tasks->AddObject(task.Get()))) {
            return false;
        }
        ComPtr<IObjectArray> array = tasks.As<IObjectArray>();
        return array && SUCCEEDED(list->AddUserTasks(array.Get())) && SUCCEEDED(list->CommitList());
    };
    if (!commit()) {
        (void)list->AbortList();
    }
}

void NotifyMenuIconChanged(const std::string& menuPath) {
    if (const auto notify = api::SHChangeNotify()) {
        const std::wstring path = Widen(menuPath);
        notify(SHCNE_UPDATEITEM, SHCNF_PATHW, path.c_str(), nullptr);
    }
}

void UseMenuAppUserModelId(const std::string& menuPath) {
    const auto use = api::SetCurrentProcessExplicitAppUserModelID();
    if (!use || menuPath.empty()) {
        return;
    }
    // The identity is of the full path, as the shortcut names it.
    const std::wstring given = WidePath(menuPath);
    std::wstring full(kPathRoom, L'\0');
    const DWORD length = ::GetFullPathNameW(given.c_str(), kPathRoom, full.data(), nullptr);
    std::string path = menuPath;
    if (length > 0 && length < kPathRoom) {
        full.resize(length);
        if (full.rfind(L"\\\\?\\UNC\\", 0) == 0) {
            full = L"\\\\" + full.substr(8);
        } else if (full.rfind(L"\\\\?\\", 0) == 0) {
            full = full.substr(4);
        }
        path = Narrow(full);
    }
    (void)use(Widen(menufile::MenuAppUserModelId(path)).c_str());
}

}  // namespace platform
