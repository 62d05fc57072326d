// Shell calls both programs use, bound on first use; text is UTF-8 here and UTF-16 to the shell.
#include "platform/shell_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

#include "menufile/internet_zone.h"
#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/typed_target_win.h"

namespace platform {
namespace {

// IID_IImageList; the interface SHGetImageList hands out is also the list's HIMAGELIST.
constexpr IID kImageListId = {
    0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
// SHGetImageList's lists (SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE, SHIL_JUMBO), growing in size.
constexpr int kSmall = 1;
constexpr int kLarge = 0;
constexpr int kExtraLarge = 2;
constexpr int kJumbo = 4;
constexpr int kShellImageLists = 4;

// An icon handle worth keeping: the extractors leave garbage or 1 in theirs on failure.
bool IsIcon(HICON icon) {
    return reinterpret_cast<INT_PTR>(icon) > 1;
}

UINT ExtractIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count) {
    const auto extract = api::ExtractIconExW();
    return extract ? extract(Widen(file).c_str(), index, large, small, count) : 0;
}

DWORD_PTR FileInfo(const std::string& path, SHFILEINFOW& info, UINT flags, DWORD attributes = 0) {
    const auto get = api::SHGetFileInfoW();
    return get ? get(Widen(path).c_str(), attributes, &info, sizeof info, flags) : 0;
}

std::string NameOf(const SHFILEINFOW& info) {
    return Narrow(std::wstring_view(info.szDisplayName,
                                    wcsnlen(info.szDisplayName, std::size(info.szDisplayName))));
}

}  // namespace

bool ExtractIconPair(const std::string& file, int index, HICON& large, HICON& small) {
    HICON l = nullptr;
    HICON s = nullptr;
    // On failure the handles may hold garbage (seen under Wine), so only a result of 2 counts.
    UINT got = ExtractIcons(file, index, &l, &s, 1);
    if (got == 0 || got == static_cast<UINT>(-1) || (l == nullptr && s == nullptr)) {
        large = small = nullptr;
        return false;
    }
    large = l;
    small = s;
    return true;
}

HICON ExtractIconAtSize(const std::string& file, int index, int size) {
    const std::wstring path = Widen(file);
    // The image of that size (else the nearest, resized by the system) of one icon.
    const auto extract = api::PrivateExtractIconsW();
    if (extract) {
        HICON icon = nullptr;
        UINT id = 0;
        const UINT got = extract(path.c_str(), index, size, size, &icon, &id, 1, LR_DEFAULTCOLOR);
        if (got != 0 && got != static_cast<UINT>(-1) && IsIcon(icon)) {
            return icon;
        }
    }
    const auto extractDefault = api::SHDefExtractIconW();
    if (extractDefault) {
        HICON icon = nullptr;
        const UINT sizes = static_cast<UINT>(size & 0xFFFF);  // large only: the low word
        if (extractDefault(path.c_str(), index, 0, &icon, nullptr, sizes) == S_OK && IsIcon(icon)) {
            return icon;
        }
    }
    return nullptr;
}

int ImageListIconSize(HIMAGELIST list) {
    const auto get = api::ImageList_GetIconSize();
    int cx = 0;
    int cy = 0;
    return list != nullptr && get && get(list, &cx, &cy) ? cx : 0;
}

ShellImageList SystemImageListFor(int size) {
    // Asked for from the smallest up, and only as far as needed: once a list exists the shell
    // adds every icon it loads to it, and a 256-pixel one costs. The lists live as long as the
    // process, so each is asked for once.
    static constexpr int kBySize[kShellImageLists] = {kSmall, kLarge, kExtraLarge, kJumbo};
    static ShellImageList known[kShellImageLists];
    static bool asked[kShellImageLists] = {};
    const auto get = api::SHGetImageList();
    ShellImageList largest;
    for (int i = 0; get && i < kShellImageLists; ++i) {
        if (!asked[i]) {
            asked[i] = true;
            void* list = nullptr;
            if (SUCCEEDED(get(kBySize[i], kImageListId, &list)) && list != nullptr) {
                const auto handle = static_cast<HIMAGELIST>(list);
                known[i] = {handle, ImageListIconSize(handle)};
            }
        }
        if (known[i].list == nullptr || known[i].size <= 0) {
            continue;
        }
        if (known[i].size >= size) {
            return known[i];
        }
        if (known[i].size > largest.size) {
            largest = known[i];
        }
    }
    return largest;
}

HICON ImageListIcon(HIMAGELIST list, int index) {
    const auto get = api::ImageList_GetIcon();
    HICON icon = get && list != nullptr ? get(list, index, ILD_TRANSPARENT) : nullptr;
    return IsIcon(icon) ? icon : nullptr;
}

int CountIcons(const std::string& file) {
    UINT count = ExtractIcons(file, -1, nullptr, nullptr, 0);
    return count == static_cast<UINT>(-1) ? 0 : static_cast<int>(count);
}

bool GetTypeShellInfo(const std::string& extension, bool smallIcon, ShellInfo& out) {
    const auto get = api::SHGetFileInfoW();
    if (!get) {
        return false;
    }
    // A made-up name of the type: the shell answers from the registry, not from the folder
    // (which costs about 10 ms a file in a folder of 10,000 under Wine).
    const std::wstring name = L"file" + Widen(extension);
    SHFILEINFOW info{};
    const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE | SHGFI_USEFILEATTRIBUTES |
                       (smallIcon ? SHGFI_SMALLICON : 0u);
    const DWORD_PTR list = get(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    return true;
}

bool GetShellInfo(const std::string& path, bool smallIcon, ShellInfo& out) {
    if (path.empty()) {
        return false;
    }
    SHFILEINFOW info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE;
    if (smallIcon) {
        flags |= SHGFI_SMALLICON;
    }
    DWORD_PTR list = FileInfo(path, info, flags);
    if (list == 0) {
        // What the user typed ("notepad", "%windir%\notepad.exe") shows what it opens; never
        // a path on another machine, which a variable may name unseen by the caller's checks.
        const std::string resolved = ResolvedPath(path);
        if (resolved.empty() || resolved == path || menufile::IsRemotePath(resolved)) {
            return false;
        }
        list = FileInfo(resolved, info, flags);
        if (list == 0) {
            return false;
        }
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    out.displayName = NameOf(info);
    return true;
}

bool GetShellIcon(const std::string& path, bool smallIcon, ShellInfo& out) {
    if (path.empty()) {
        return false;
    }
    SHFILEINFOW info{};
    const UINT flags =
        SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE | (smallIcon ? SHGFI_SMALLICON : 0u);
    const DWORD_PTR list = FileInfo(path, info, flags);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    return true;
}

ShellIconWarmUp::ShellIconWarmUp() {
    try {
        m_thread = std::thread([] {
            (void)StartCom();
            ShellInfo info;
            (void)GetTypeShellInfo(".txt", true, info);  // the registry's, no file touched
        });
    } catch (...) {
        // No thread: the first icon waits for the shell, as it would have anyway.
    }
}

ShellIconWarmUp::~ShellIconWarmUp() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool GetFolderIcon(bool open, ShellInfo& out) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES |
                       (open ? SHGFI_OPENICON : 0u);
    DWORD_PTR list = FileInfo("folder", info, flags, FILE_ATTRIBUTE_DIRECTORY);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    return true;
}

HICON ExtractOneIcon(const std::string& file, int index) {
    const auto extract = api::ExtractIconW();
    if (!extract) {
        return nullptr;
    }
    HICON icon =
        extract(::GetModuleHandleW(nullptr), Widen(file).c_str(), static_cast<UINT>(index));
    // A file that is no library answers 1 instead of an icon.
    return reinterpret_cast<INT_PTR>(icon) > 1 ? icon : nullptr;
}

std::vector<std::string> TakeDroppedPaths(HDROP drop) {
    const auto query = api::DragQueryFileW();
    const auto finish = api::DragFinish();
    std::vector<std::string> paths;
    if (!query || !finish) {
        return paths;
    }
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = query(drop, i, nullptr, 0);
        std::wstring path(length, L'\0');
        path.resize(query(drop, i, path.data(), length + 1));
        paths.push_back(Narrow(path));
    }
    finish(drop);
    return paths;
}

std::string ShellDisplayName(const std::string& path) {
    SHFILEINFOW info{};
    return FileInfo(path, info, SHGFI_DISPLAYNAME) != 0 ? NameOf(info) : std::string();
}

namespace {

// The shell's object of a folder; empty when the shell cannot bind it.
ComPtr<IShellFolder> BindFolder(const std::string& folder) {
    const auto desktopFolder = api::SHGetDesktopFolder();
    const auto parse = api::SHParseDisplayName();
    const auto free = api::CoTaskMemFree();
    ComPtr<IShellFolder> bound;
    if (!desktopFolder || !parse || !free || !StartCom()) {
        return bound;
    }
    ComPtr<IShellFolder> desktop;
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(desktopFolder(desktop.Put())) || !desktop ||
        FAILED(parse(Widen(folder).c_str(), nullptr, &pidl, 0, nullptr)) || pidl == nullptr) {
        return bound;
    }
    if (FAILED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, bound.PutVoid()))) {
        bound.Reset();
    }
    free(pidl);
    return bound;
}

std::wstring AnsiToWide(const char* text) {
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    wide.resize(static_cast<std::size_t>(units - 1));
    return wide;
}

// The text of a name the shell handed out, which is then freed.
std::string TakeName(STRRET& name, PCUITEMID_CHILD item) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::string text = name.pOleStr ? Narrow(name.pOleStr) : std::string();
            if (const auto free = api::CoTaskMemFree(); free && name.pOleStr) {
                free(name.pOleStr);
            }
            return text;
        }
        case STRRET_CSTR:
            return Narrow(AnsiToWide(name.cStr));
        case STRRET_OFFSET:
            return Narrow(AnsiToWide(reinterpret_cast<const char*>(item) + name.uOffset));
        default:
            return {};
    }
}

}  // namespace

std::string FolderDisplayNames::NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos || slash + 1 == path.size()) {
        return ShellDisplayName(path);
    }
    std::string folder = path.substr(0, slash + 1);
    if (folder != m_folder) {
        m_shellFolder = BindFolder(folder);
        m_folder = std::move(folder);
    }
    const auto free = api::CoTaskMemFree();
    std::wstring name = Widen(path.substr(slash + 1));
    PIDLIST_RELATIVE item = nullptr;
    ULONG eaten = 0;
    if (!m_shellFolder || !free ||
        FAILED(m_shellFolder->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, &item,
                                               nullptr)) ||
        item == nullptr) {
        return ShellDisplayName(path);  // the slow way, which knows no less
    }
    STRRET shown{};
    std::string text;
    const bool named = SUCCEEDED(m_shellFolder->GetDisplayNameOf(item, SHGDN_INFOLDER, &shown));
    if (named) {
        text = TakeName(shown, item);
    }
    free(item);
    return named ? text : ShellDisplayName(path);
}

void DrawShellImage(HIMAGELIST list, int index, HDC dc, int x, int y) {
    const auto draw = api::ImageList_Draw();
    if (draw) {
        draw(list, index, dc, x, y, ILD_TRANSPARENT);
    }
}

void RegisterTooltipClass() {
    const auto init = api::InitCommonControlsEx();
    if (init) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        init(&controls);
    }
}

bool ShellOpen(HWND owner, const std::string& target, const std::string& arguments,
               const std::string& startIn, DWORD* error, const char* verb) {
    const auto execute = api::ShellExecuteExW();
    if (error != nullptr) {
        *error = ERROR_SUCCESS;
    }
    if (!execute) {
        if (error != nullptr) {
            *error = ERROR_PROC_NOT_FOUND;
        }
        return false;
    }
    const std::wstring file = Widen(target);
    const std::wstring parameters = Widen(arguments);
    const std::wstring directory = Widen(startIn);
    const std::wstring verbText = Widen(verb != nullptr ? verb : "Open");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No message box of the shell's own: the caller says what went wrong.
    // Variables in the target and the start-in folder expanded ("%windir%\notepad.exe"), as
    // the Run box does: without the flag Windows takes them literally. The arguments are the
    // program's to read.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_DOENVSUBST;
    info.hwnd = owner;
    info.lpVerb = verbText.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (execute(&info)) {
        return true;
    }
    if (error != nullptr) {
        *error = ::GetLastError();
    }
    return false;
}

void NotifyShellChanged(const std::string& path) {
    const auto notify = api::SHChangeNotify();
    if (notify) {
        const std::wstring wide = Widen(path);
        notify(SHCNE_UPDATEITEM, SHCNF_PATHW, wide.c_str(), nullptr);
    }
}

}  // namespace platform
