// End-to-end test driver: starts programs, finds their windows and controls, sends input.
#include "winauto.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace winauto {

namespace {

using Clock = std::chrono::steady_clock;

// Cross-process sends with a bound, so a hung program fails the test instead of blocking it.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_NORMAL, 10000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

LRESULT SendW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, 10000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// Texts are UTF-8 on the driver's side and UTF-16 on the system's.
std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::vector<std::string> ReadItems(HWND hwnd, UINT getCount, UINT getLength, UINT getText) {
    std::vector<std::string> items;
    const LRESULT count = SendW(hwnd, getCount, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendW(hwnd, getLength, i, 0);
        if (length < 0) {
            return {};
        }
        std::wstring text(length + 1, L'\0');
        const LRESULT got = SendW(hwnd, getText, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got < 0 ? 0 : got);
        items.push_back(Narrow(text));
    }
    return items;
}

bool NotifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (!parent) {
        return false;
    }
    const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(control), code);
    return Send(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control)) != -1;
}

struct WindowQuery {
    DWORD pid;
    const char* cls;
    const char* title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM lParam) {
    auto& q = *reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((q.pid && pid != q.pid) || (q.visibleOnly && !IsWindowVisible(hwnd))) {
        return TRUE;
    }
    if (q.cls && lstrcmpiA(ClassOf(hwnd).c_str(), q.cls) != 0) {
        return TRUE;
    }
    if (q.title && GetText(hwnd) != q.title) {
        return TRUE;
    }
    q.found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

bool IsExtendedKey(WORD vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_RCONTROL:
        case VK_RMENU:
            return true;
        default:
            return false;
    }
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

void SendInputs(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Wine maps an absolute coordinate back with floor(d * size / 65536); rounding up here makes the
// pointer land on the pixel asked for instead of one short.
LONG ToAbsolute(LONG value, int size) {
    return static_cast<LONG>((static_cast<long long>(value) * 65536 + size - 1) / size);
}

void SendButton(DWORD flags) {
    std::vector<INPUT> input(1);
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = flags;
    SendInputs(input);
}

// Down at from, up at to. An up sent before the program handled the down and took the capture
// would go to whatever window is under the pointer, hence the wait in between.
bool Press(POINT from, POINT to, DWORD downFlag, DWORD upFlag, bool waitForCapture) {
    if (!MoveMouse(from)) {
        return false;
    }
    const HWND under = WindowFromPoint(from);
    const DWORD tid = under ? GetWindowThreadProcessId(under, nullptr) : 0;
    SendButton(downFlag);
    bool ok = !waitForCapture || (tid && WaitForCapture(tid));
    if (to.x != from.x || to.y != from.y) {
        ok = MoveMouse(to) && ok;
    }
    SendButton(upFlag);
    return ok;
}

}  // namespace

// ---- Processes

Process::Process(const PROCESS_INFORMATION& pi)
    : m_process(pi.hProcess), m_thread(pi.hThread), m_pid(pi.dwProcessId), m_tid(pi.dwThreadId) {}

Process::~Process() {
    if (Running()) {
        Kill();
    }
}

Process::Process(Process&& other) noexcept
    : m_process(std::move(other.m_process)),
      m_thread(std::move(other.m_thread)),
      m_pid(std::exchange(other.m_pid, 0)),
      m_tid(std::exchange(other.m_tid, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (Running()) {
            Kill();
        }
        m_process = std::move(other.m_process);
        m_thread = std::move(other.m_thread);
        m_pid = std::exchange(other.m_pid, 0);
        m_tid = std::exchange(other.m_tid, 0);
    }
    return *this;
}

bool Process::Running() const {
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(Millis timeout) const {
    if (!m_process) {
        return std::nullopt;
    }
    const bool ended = WaitUntil(
        [&] { return WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0; }, timeout);
    DWORD code = 0;
    if (!ended || !GetExitCodeProcess(m_process.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void Process::Kill(UINT exitCode) {
    if (m_process) {
        TerminateProcess(m_process.get(), exitCode);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

Process Start(const std::string& exe, const std::string& args, const std::string& workDir) {
    std::string commandLine = Quote(exe);
    if (!args.empty()) {
        commandLine += " " + args;
    }
    // No standard handles: under Wine a child would otherwise keep the driver's stdout pipe open
    // after a failed test leaked it, and CTest would wait for that pipe forever.
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    const std::wstring wideDir = Widen(workDir);
    const auto create = [&] {
        std::wstring wideLine = Widen(commandLine);  // the call may write into it
        return CreateProcessW(Widen(exe).c_str(), wideLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, workDir.empty() ? nullptr : wideDir.c_str(), &si, &pi);
    };
    // Under a loaded Wine a start has been seen to fail once (in a run of some 500 tests, never
    // alone): what the tests are about is the program, so the reason is told and it is tried
    // once more.
    if (!create()) {
        std::fprintf(stderr, "winauto: starting %s failed (error %lu), trying again\n", exe.c_str(),
                     GetLastError());
        Sleep(500);
        if (!create()) {
            std::fprintf(stderr, "winauto: starting %s failed again (error %lu)\n", exe.c_str(),
                         GetLastError());
            return Process();
        }
    }
    // Returns at once for a program that exits or has no message loop.
    WaitForInputIdle(pi.hProcess, 10000);
    return Process(pi);
}

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

// ---- Waiting

bool WaitUntil(const std::function<bool()>& pred, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (pred()) {
            return true;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        const auto left = std::chrono::duration_cast<Millis>(deadline - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<long long>(left, 10)), QS_ALLINPUT);
        // Programs under test may send to the driver's windows (or broadcast); keep answering.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void Pump(Millis duration) {
    WaitUntil([] { return false; }, duration);
}

// ---- Windows

HWND FindWindowOf(DWORD pid, const char* cls, const char* title) {
    WindowQuery q{pid, cls, title, true, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&q));
    return q.found.empty() ? nullptr : q.found.front();
}

HWND WaitForWindow(DWORD pid, const char* cls, const char* title, Millis timeout) {
    HWND hwnd = nullptr;
    WaitUntil([&] { return (hwnd = FindWindowOf(pid, cls, title)) != nullptr; }, timeout);
    return hwnd;
}

std::vector<HWND> TopWindows(DWORD pid) {
    WindowQuery q{pid, nullptr, nullptr, false, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

bool WaitForWindowGone(HWND hwnd, Millis timeout) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeout);
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    const int n = GetClassNameA(hwnd, name, sizeof(name));
    return std::string(name, n > 0 ? n : 0);
}

std::string DumpChildren(HWND parent) {
    std::string out;
    for (HWND child : Descendants(parent)) {
        int depth = 0;
        for (HWND p = GetParent(child); p && p != parent; p = GetParent(p)) {
            ++depth;
        }
        char id[32];
        std::snprintf(id, sizeof(id), "%d", GetDlgCtrlID(child));
        out +=
            std::string(depth * 2, ' ') + id + " " + ClassOf(child) + " '" + GetText(child) + "'\n";
    }
    return out;
}

// ---- Controls

HWND Control(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

HWND FindChild(HWND parent, const char* cls, const char* text) {
    for (HWND child : Descendants(parent)) {
        if ((!cls || lstrcmpiA(ClassOf(child).c_str(), cls) == 0) &&
            (!text || GetText(child) == text)) {
            return child;
        }
    }
    return nullptr;
}

HWND FocusOf(HWND anyWindowOfThread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

std::string GetText(HWND hwnd) {
    const LRESULT length = SendW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    const LRESULT got = SendW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : got);
    return Narrow(text);
}

bool SetText(HWND hwnd, const std::string& text) {
    const std::wstring wide = Widen(text);
    return SendW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str())) == TRUE;
}

std::vector<std::string> ListItems(HWND list) {
    return ReadItems(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboItems(HWND combo) {
    return ReadItems(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

bool SelectListItem(HWND list, int index) {
    return Send(list, LB_SETCURSEL, index, 0) != LB_ERR && NotifyParent(list, LBN_SELCHANGE);
}

bool SelectComboItem(HWND combo, int index) {
    return Send(combo, CB_SETCURSEL, index, 0) != CB_ERR && NotifyParent(combo, CBN_SELCHANGE);
}

int ListViewCount(HWND list) {
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewSelection(HWND list) {
    return static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::optional<RECT> ListViewIconRect(HWND list, int index) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) {
        return std::nullopt;
    }
    std::optional<RECT> found;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect{LVIR_ICON, 0, 0, 0};
    SIZE_T moved = 0;
    if (remote != nullptr && WriteProcessMemory(process, remote, &rect, sizeof rect, &moved) &&
        Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) !=
            0 &&
        ReadProcessMemory(process, remote, &rect, sizeof rect, &moved)) {
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        found = rect;
    }
    if (remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return found;
}

void Click(HWND button) {
    Send(button, BM_CLICK, 0, 0);
}

void PostClick(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

POINT CenterOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ClientToScreenAt(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

// ---- Message boxes

std::string MessageBoxText(HWND box) {
    // The message static has id 0xFFFF; the icon is a Static too, but without text.
    if (HWND text = GetDlgItem(box, 0xFFFF)) {
        return GetText(text);
    }
    for (HWND child : Descendants(box)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
            std::string text = GetText(child);
            if (!text.empty()) {
                return text;
            }
        }
    }
    return {};
}

std::optional<std::string> AnswerMessageBox(DWORD pid, const char* title, int buttonId,
                                            Millis timeout) {
    const HWND box = WaitForWindow(pid, "#32770", title, timeout);
    const HWND button = box ? GetDlgItem(box, buttonId) : nullptr;
    if (!button) {
        return std::nullopt;
    }
    std::string text = MessageBoxText(box);
    // Posted: the program may open the next modal window from the same handler.
    PostClick(button);
    // Destroyed, not just hidden: Wine's dialog loop may show a box again that was answered
    // before the loop first went idle, until the loop ends.
    if (!WaitUntil([&] { return !IsWindow(box); }, timeout)) {
        return std::nullopt;
    }
    return text;
}

// ---- Keyboard

bool ForceForeground(HWND hwnd) {
    // Joining the input queues of the current foreground and of the target lifts the rules
    // that stop a background process from taking the foreground.
    const DWORD self = GetCurrentThreadId();
    const DWORD target = GetWindowThreadProcessId(hwnd, nullptr);
    const HWND current = GetForegroundWindow();
    const DWORD owner = current ? GetWindowThreadProcessId(current, nullptr) : 0;
    const bool attachedOwner = owner && owner != self && AttachThreadInput(self, owner, TRUE);
    const bool attachedTarget = target != self && AttachThreadInput(self, target, TRUE);
    if (IsIconic(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
    }
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    if (attachedTarget) {
        AttachThreadInput(self, target, FALSE);
    }
    if (attachedOwner) {
        AttachThreadInput(self, owner, FALSE);
    }
    return WaitUntil([&] { return GetForegroundWindow() == hwnd; }, Millis(5000));
}

void SendKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) {
        inputs.push_back(KeyInput(m, false));
    }
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) {
        inputs.push_back(KeyInput(*m, true));
    }
    SendInputs(inputs);
}

void TypeText(const std::string& text) {
    if (text.empty()) {
        return;
    }
    const int size = static_cast<int>(text.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    std::vector<INPUT> inputs;
    for (wchar_t c : wide) {
        for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = c;
            in.ki.dwFlags = flags;
            inputs.push_back(in);
        }
    }
    SendInputs(inputs);
}

void PostKey(HWND target, WORD vk) {
    const DWORD scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const DWORD down = 1 | (scan << 16) | (IsExtendedKey(vk) ? 1u << 24 : 0);
    const DWORD up = down | 1u << 30 | 1u << 31;  // previous state down, transition up
    PostMessageA(target, WM_KEYDOWN, vk, static_cast<LPARAM>(down));
    PostMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(up));
}

// ---- Mouse

void ParkMouse() {
    MoveMouse(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

bool MoveMouse(POINT pt) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    for (int attempt = 0; attempt < 10; ++attempt) {
        SetCursorPos(pt.x, pt.y);
        std::vector<INPUT> move(1);
        move[0].type = INPUT_MOUSE;
        move[0].mi.dx = ToAbsolute(pt.x, width);
        move[0].mi.dy = ToAbsolute(pt.y, height);
        move[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInputs(move);
        // A window that was mapped under the old X pointer position can move the cursor back
        // a few milliseconds later; only a position that holds counts.
        bool held = true;
        for (int check = 0; check < 3 && held; ++check) {
            Pump(Millis(10));
            POINT now{};
            held = GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        }
        if (held) {
            return true;
        }
    }
    return false;
}

bool WaitForCapture(DWORD tid, Millis timeout) {
    return WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return GetGUIThreadInfo(tid, &info) && info.hwndCapture != nullptr;
        },
        timeout);
}

bool LeftClickAt(POINT pt, bool waitForCapture) {
    return Press(pt, pt, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, waitForCapture);
}

bool RightClickAt(POINT pt, bool waitForCapture) {
    return Press(pt, pt, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, waitForCapture);
}

bool LeftDrag(POINT from, POINT to) {
    return Press(from, to, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, true);
}

// ---- Files

std::optional<std::string> ReadFileBytes(const std::string& path) {
    platform::UniqueHfile file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    platform::UniqueHfile file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExeDir() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

std::string WinPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        path = "Z:" + path;
    }
    return path;
}

std::string UniqueName(const std::string& prefix) {
    static LONG sequence = 0;
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    char suffix[64];
    std::snprintf(suffix, sizeof(suffix), "%llx-%ld",
                  static_cast<unsigned long long>(counter.QuadPart),
                  static_cast<long>(InterlockedIncrement(&sequence)));
    return prefix + suffix;
}

bool RemoveTree(const std::string& path) {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(Widen(path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = Narrow(found.cFileName);
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(Widen(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Widen(child).c_str());
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return RemoveDirectoryW(Widen(path).c_str()) != 0;
}

TempDir::TempDir(const std::string& prefix) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    m_path = UniqueName(Narrow(std::wstring(temp, n)) + prefix);
    CreateDirectoryW(Widen(m_path).c_str(), nullptr);
}

TempDir::~TempDir() {
    RemoveTree(m_path);
}

// ---- Screenshots and file drops

std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + size * size);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return pixels;
}

std::vector<std::uint32_t> PixelsOf(HDC dc, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<std::uint32_t> pixels;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    platform::WindowDc screen(nullptr);
    HDC from = dc != nullptr ? dc : screen.get();
    void* bits = nullptr;
    platform::UniqueHbitmap dib(CreateDIBSection(from, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::UniqueMemoryDc memory(CreateCompatibleDC(from));
    if (!dib || !memory || bits == nullptr) {
        return pixels;
    }
    {
        platform::SelectGuard select(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, width, height, from, area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels.assign(p, p + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFF;
    }
    return pixels;
}

std::vector<std::uint32_t> WindowPixels(HWND hwnd) {
    RECT r{};
    return GetWindowRect(hwnd, &r) ? PixelsOf(nullptr, r) : std::vector<std::uint32_t>{};
}

SystemColours::SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours) {
    std::vector<COLORREF> wanted;
    for (const auto& [index, colour] : colours) {
        m_indexes.push_back(index);
        m_old.push_back(GetSysColor(index));
        wanted.push_back(colour);
    }
    m_set = SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), wanted.data()) != 0;
}

SystemColours::~SystemColours() {
    if (m_set) {
        SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_old.data());
    }
}

bool SaveScreenshotBmp(const std::string& path, HWND hwnd) {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (hwnd && !GetWindowRect(hwnd, &r)) {
        return false;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as .bmp files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * height;

    // Copy from the screen, not the window: another process's window DC is not readable in Wine.
    platform::WindowDc screen(nullptr);
    void* bits = nullptr;
    platform::UniqueHbitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC memory = CreateCompatibleDC(screen.get());
    if (!bitmap || !memory) {
        if (memory) {
            DeleteDC(memory);
        }
        return false;
    }
    bool copied;
    {
        platform::SelectGuard select(memory, bitmap.get());
        copied = BitBlt(memory, 0, 0, width, height, screen.get(), r.left, r.top,
                        SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
    }
    DeleteDC(memory);
    if (!copied) {
        return false;
    }

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageSize;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    bytes.append(static_cast<const char*>(bits), imageSize);
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    if (folder != path) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return WriteFileBytes(path, bytes);
}

bool PostFileDrop(HWND target, const std::vector<std::string>& paths, POINT clientPt) {
    DROPFILES drop{};
    drop.pFiles = sizeof(DROPFILES);
    drop.pt = clientPt;
    drop.fNC = FALSE;
    drop.fWide = TRUE;  // UTF-16 names: DragQueryFileA still gets them in the code page
    std::string block(reinterpret_cast<const char*>(&drop), sizeof(drop));
    for (const std::string& p : paths) {
        const std::wstring wide = Widen(p) + L'\0';
        block.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    }
    block.append(paths.empty() ? 2 * sizeof(wchar_t) : sizeof(wchar_t), '\0');

    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    platform::UniqueHandleK process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
    if (!process) {
        return false;
    }
    // A fixed block's address is its HGLOBAL, so DragQueryFile in the target can read it.
    void* remote = VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote) {
        return false;
    }
    SIZE_T written = 0;
    if (!WriteProcessMemory(process.get(), remote, block.data(), block.size(), &written) ||
        written != block.size()) {
        VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
        return false;
    }
    return PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

// ---- Installed programs: command lines, the shell, the registry

Process StartCommandLine(const std::string& commandLine, const std::string& workDir) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;  // as in Start: no pipe of the driver's left open
    PROCESS_INFORMATION pi{};
    std::wstring wideLine = Widen(commandLine);
    const std::wstring wideDir = Widen(workDir);
    if (!CreateProcessW(nullptr, wideLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : wideDir.c_str(), &si, &pi)) {
        return Process();
    }
    WaitForInputIdle(pi.hProcess, 10000);
    return Process(pi);
}

Process ShellOpen(const std::string& file, const char* verb) {
    const std::wstring wideFile = Widen(file);
    const std::wstring wideVerb = verb ? Widen(verb) : std::wstring();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb ? wideVerb.c_str() : nullptr;
    info.lpFile = wideFile.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        return Process();
    }
    PROCESS_INFORMATION pi{};
    pi.hProcess = info.hProcess;
    pi.dwProcessId = GetProcessId(info.hProcess);
    WaitForInputIdle(pi.hProcess, 10000);
    return Process(pi);
}

std::string ProcessImagePath(DWORD pid) {
    platform::UniqueHandleK process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) {
        return {};
    }
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return {};
    }
    return Narrow(std::wstring(path, size));
}

namespace {

// The raw bytes and type of one value; nullopt when the key or the value is missing.
std::optional<std::pair<DWORD, std::string>> RegistryValue(HKEY root, const std::string& key,
                                                           const std::string& name) {
    const std::wstring wideKey = Widen(key);
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), flags, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), flags, &type, bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    bytes.resize(size);
    return std::make_pair(type, bytes);
}

}  // namespace

std::optional<std::string> RegistryText(HKEY root, const std::string& key,
                                        const std::string& name) {
    const auto value = RegistryValue(root, key, name);
    if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::wstring text(value->second.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value->second.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return Narrow(text);
}

std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const std::string& name) {
    const auto value = RegistryValue(root, key, name);
    if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    std::memcpy(&number, value->second.data(), sizeof(number));
    return number;
}

namespace {
constexpr char kPersonalizeKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
}  // namespace

DarkAppTheme::DarkAppTheme()
    : m_old(RegistryNumber(HKEY_CURRENT_USER, kPersonalizeKey, "AppsUseLightTheme")) {
    const DWORD dark = 0;
    m_set = RegSetKeyValueW(HKEY_CURRENT_USER, Widen(kPersonalizeKey).c_str(), L"AppsUseLightTheme",
                            REG_DWORD, &dark, sizeof dark) == ERROR_SUCCESS;
}

DarkAppTheme::~DarkAppTheme() {
    const std::wstring key = Widen(kPersonalizeKey);
    if (m_old) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"AppsUseLightTheme", REG_DWORD, &*m_old,
                        sizeof *m_old);
    } else if (m_set) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"AppsUseLightTheme");
    }
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

bool DeleteRegistryTree(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    const std::wstring wideKey = Widen(key);
    if (RegOpenKeyExW(root, wideKey.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &opened) ==
        ERROR_SUCCESS) {
        RegDeleteTreeW(opened, nullptr);
        RegCloseKey(opened);
        RegDeleteKeyExW(root, wideKey.c_str(), KEY_WOW64_64KEY, 0);
    }
    return !RegistryKeyExists(root, key);
}

std::string ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return Narrow(path);
}

}  // namespace winauto
