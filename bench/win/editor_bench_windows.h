// What the editor benchmark asks of the programs it starts: their windows' text, whether all
// is painted, their memory, and their start and end.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <psapi.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "winauto.h"

namespace bench {

using winauto::Millis;
using winauto::Process;

inline constexpr DWORD kSendTimeoutMs = 60000;

struct BenchError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, out.data(), n);
    return out;
}

inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// A bounded send: a busy program answers late, a hung one fails the run instead of blocking it.
inline bool SendW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &answer)) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

inline LRESULT SendW(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    LRESULT result = -1;
    return SendW(hwnd, msg, wParam, lParam, result) ? result : -1;
}

// Read with the W messages, which Wine marshals across processes for lists with strings.
inline std::wstring ListText(HWND list, int index) {
    const LRESULT length = SendW(list, LB_GETTEXTLEN, index);
    if (length < 0) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    const LRESULT got = SendW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : got);
    return text;
}

inline BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

inline std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

// At any depth, so the benchmark does not care whether the list sits on a page window.
inline HWND ControlById(HWND parent, int id, const char* cls) {
    for (HWND child : Descendants(parent)) {
        if (::GetDlgCtrlID(child) == id &&
            (!cls || ::lstrcmpiA(winauto::ClassOf(child).c_str(), cls) == 0)) {
            return child;
        }
    }
    return nullptr;
}

inline bool HasPendingPaint(HWND hwnd) {
    return ::IsWindowVisible(hwnd) && ::GetUpdateRect(hwnd, nullptr, FALSE);
}

// When the tree was painted, once it is (0 while not): no visible window of it has an update
// region left, before and after a WM_NULL round trip. The round trip returns only once the
// program's thread is back in its message loop, so a WM_PAINT whose BeginPaint already emptied
// the region has also reached EndPaint: its return is when all was painted. The second look
// only confirms; what it costs this side, 3 to 50 ms over 47 controls as the machine's load
// goes, is not the program's.
inline double PaintedAt(HWND top) {
    const auto clean = [top] {
        if (HasPendingPaint(top)) {
            return false;
        }
        const std::vector<HWND> children = Descendants(top);
        return std::none_of(children.begin(), children.end(), HasPendingPaint);
    };
    LRESULT ignored = 0;
    if (!clean() || !SendW(top, WM_NULL, 0, 0, ignored)) {
        return 0;
    }
    const double at = Now();
    return clean() ? at : 0;
}

inline bool Painted(HWND top) {
    return PaintedAt(top) > 0;
}
// The floor's client corner shows the menu colour, as the engine benchmark checks it.
inline bool FloorColour(HWND hwnd) {
    const POINT p = winauto::ClientToScreenAt(hwnd, 2, 2);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return colour == ::GetSysColor(COLOR_MENU);
}

inline double PeakMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        return 0;
    }
    const SIZE_T peak = std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage);
    return static_cast<double>(peak) / (1024.0 * 1024.0);
}

// Like winauto::Start, but with the wide call and no wait for input idle, which would only
// block inside the timed span.
inline Process StartProgram(const std::wstring& exe, const std::wstring& args,
                            const std::string& dir) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) {
        commandLine += L" " + args;
    }
    // No standard handles: an editor left behind must not hold the caller's pipe open.
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    const std::wstring wideDir = Widen(dir);
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          wideDir.empty() ? nullptr : wideDir.c_str(), &si, &pi)) {
        throw BenchError("cannot start " + Narrow(exe));
    }
    return Process(pi);
}

struct Totals {
    int closed = 0;
    int killed = 0;
    int leftovers = 0;  // files besides the menu in a run's folder once the editor has ended
};

// Ends the program as a user would and waits; kills it when it does not go in time.
inline void Close(Process& p, HWND window, Totals& totals) {
    if (window && ::IsWindow(window)) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (p.WaitForExit(Millis(20000))) {
        ++totals.closed;
    } else {
        ++totals.killed;
        p.Kill();
        (void)p.WaitForExit();
    }
}

inline int FilesBesides(const std::string& folder, const std::string& keep) {
    int count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        const std::string name = found.cFileName;
        count += name != "." && name != ".." && name != keep;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return count;
}

}  // namespace bench
