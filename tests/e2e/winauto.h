// End-to-end test driver: starts programs, finds their windows and controls, sends input.
// Texts, paths and command lines are UTF-8 unless a function says otherwise.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32_handles_win.h"

namespace winauto {

using Millis = std::chrono::milliseconds;
inline constexpr Millis kTimeout{10000};

// A started program. Destroying (or reassigning) it terminates the program if it still runs, so
// a failed test leaves nothing on the desktop for the next one.
class Process {
public:
    Process() = default;
    explicit Process(const PROCESS_INFORMATION& pi);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    explicit operator bool() const { return static_cast<bool>(m_process); }
    [[nodiscard]] HANDLE handle() const { return m_process.get(); }
    [[nodiscard]] DWORD pid() const { return m_pid; }
    [[nodiscard]] DWORD tid() const { return m_tid; }  // main thread

    [[nodiscard]] bool Running() const;
    // The full 32-bit exit code, once the program has ended within the timeout.
    [[nodiscard]] std::optional<DWORD> WaitForExit(Millis timeout = kTimeout) const;
    void Kill(UINT exitCode = 0xDEAD);

private:
    platform::UniqueHandleK m_process;
    platform::UniqueHandleK m_thread;
    DWORD m_pid = 0;
    DWORD m_tid = 0;
};

// Runs exe with the command line `"exe" args` in workDir (empty: the driver's own) and waits
// until it is idle for input. An empty Process means CreateProcess failed.
[[nodiscard]] Process Start(const std::string& exe, const std::string& args = {},
                            const std::string& workDir = {});
[[nodiscard]] std::string Quote(const std::string& text);

// Polls pred until it holds, pumping this thread's messages in between; false on timeout.
bool WaitUntil(const std::function<bool()>& pred, Millis timeout = kTimeout);
// Pumps this thread's messages for a fixed time; for settle checks, never to wait for state.
void Pump(Millis duration);

// Top-level windows. Process 0 means any process; a null class or title matches any.
[[nodiscard]] HWND FindWindowOf(DWORD pid, const char* cls, const char* title);  // visible only
[[nodiscard]] HWND WaitForWindow(DWORD pid, const char* cls, const char* title,
                                 Millis timeout = kTimeout);
[[nodiscard]] std::vector<HWND> TopWindows(DWORD pid);  // hidden ones too
bool WaitForWindowGone(HWND hwnd, Millis timeout = kTimeout);
[[nodiscard]] std::string ClassOf(HWND hwnd);
// One "id class 'text'" line per descendant, indented by depth; for finding control ids.
[[nodiscard]] std::string DumpChildren(HWND parent);

// Controls.
[[nodiscard]] HWND Control(HWND parent, int id);
[[nodiscard]] HWND FindChild(HWND parent, const char* cls, const char* text);  // any depth
[[nodiscard]] HWND FocusOf(HWND anyWindowOfThread);
[[nodiscard]] std::string GetText(HWND hwnd);
bool SetText(HWND hwnd, const std::string& text);
// Item texts; read with the W messages, since Wine answers the A ones across processes in UTF-16.
[[nodiscard]] std::vector<std::string> ListItems(HWND list);
[[nodiscard]] std::vector<std::string> ComboItems(HWND combo);
// Select, then notify the parent as a user's selection would (LB_SETCURSEL alone does not).
bool SelectListItem(HWND list, int index);
bool SelectComboItem(HWND combo, int index);
// List views of another process: their count, the selected item (-1 for none), and an item's
// icon in screen coordinates (asked through memory of the list's process).
[[nodiscard]] int ListViewCount(HWND list);
[[nodiscard]] int ListViewSelection(HWND list);
[[nodiscard]] std::optional<RECT> ListViewIconRect(HWND list, int index);
void Click(HWND button);                  // returns after the click handler has run
void PostClick(HWND button);              // for handlers that open a modal window
[[nodiscard]] POINT CenterOf(HWND hwnd);  // screen coordinates
[[nodiscard]] POINT ClientToScreenAt(HWND hwnd, int x, int y);  // client to screen

// Message boxes and dialogs (class #32770).
[[nodiscard]] std::string MessageBoxText(HWND box);
// Waits for the box, reads its text, clicks buttonId (IDYES, IDNO...) and waits until the box is
// destroyed; nullopt if there was no such box or it stayed.
std::optional<std::string> AnswerMessageBox(DWORD pid, const char* title, int buttonId,
                                            Millis timeout = kTimeout);

// Keyboard. SendInput goes to the foreground window's focus, so call ForceForeground first.
bool ForceForeground(HWND hwnd);
void SendKey(WORD vk, std::initializer_list<WORD> modifiers = {});
void TypeText(const std::string& text);  // ANSI text, typed as Unicode characters
// Posted WM_KEYDOWN/WM_KEYUP: reaches the window without focus or foreground.
void PostKey(HWND target, WORD vk);

// Mouse, in screen coordinates.
void ParkMouse();  // bottom-right corner, away from where windows open
bool MoveMouse(POINT pt);
bool WaitForCapture(DWORD tid, Millis timeout = kTimeout);
// Down, then (if asked) wait until the window under the pointer took the capture, then up; false
// if the pointer could not be placed or the capture never came.
bool LeftClickAt(POINT pt, bool waitForCapture = true);
bool RightClickAt(POINT pt, bool waitForCapture = false);
// Down at from, wait for the capture, move to to, up there.
bool LeftDrag(POINT from, POINT to);

// Files and folders.
[[nodiscard]] std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
[[nodiscard]] bool FileExists(const std::string& path);
[[nodiscard]] std::string ExeDir();  // the driver's folder, with a trailing backslash
// A path of the Linux build tree as Wine sees it, on drive Z:; other paths are kept.
[[nodiscard]] std::string WinPath(std::string path);
// prefix plus a counter that is unique across runs; Wine reuses process ids, so not the pid.
[[nodiscard]] std::string UniqueName(const std::string& prefix);
bool RemoveTree(const std::string& path);

// A fresh folder under %TEMP%, removed with its contents on destruction.
class TempDir {
public:
    explicit TempDir(const std::string& prefix);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::string& path() const { return m_path; }  // no trailing backslash
    [[nodiscard]] std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Screen pixels of the window's rectangle (the whole screen for null) as a 24-bit .bmp; creates
// the file's folder when missing.
bool SaveScreenshotBmp(const std::string& path, HWND hwnd = nullptr);
// An icon as drawn on white at size x size pixels: what a user sees of it, to compare.
[[nodiscard]] std::vector<std::uint32_t> IconPixels(HICON icon, int size = 32);
// The pixels of a rectangle of a device context (the screen's for null) as 0xRRGGBB, row by row
// from the top; empty if they cannot be read.
[[nodiscard]] std::vector<std::uint32_t> PixelsOf(HDC dc, const RECT& area);
// What the screen shows over a window's rectangle.
[[nodiscard]] std::vector<std::uint32_t> WindowPixels(HWND hwnd);

// System colours set for the whole session while it lives, the earlier ones put back after.
class SystemColours {
public:
    SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours);
    ~SystemColours();
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;
    [[nodiscard]] bool Set() const { return m_set; }

private:
    std::vector<INT> m_indexes;
    std::vector<COLORREF> m_old;
    bool m_set = false;
};

// Runs an exact command line, its first token naming the program, as the shell runs a
// registered one (an uninstall string, say).
[[nodiscard]] Process StartCommandLine(const std::string& commandLine,
                                       const std::string& workDir = {});
// Opens a file through the shell with a verb of its type (null: the type's default verb). The
// Process is empty when the shell failed, and when it gave no handle of the program it started.
[[nodiscard]] Process ShellOpen(const std::string& file, const char* verb = nullptr);
// The full path of a running program's executable; empty if unknown.
[[nodiscard]] std::string ProcessImagePath(DWORD pid);

// The registry, in the 64-bit view. Text values come back in UTF-8, nullopt when the key
// or the value is missing or of another type; an empty name is the key's default value.
[[nodiscard]] std::optional<std::string> RegistryText(HKEY root, const std::string& key,
                                                      const std::string& name = {});
[[nodiscard]] std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key,
                                                  const std::string& name);
[[nodiscard]] bool RegistryKeyExists(HKEY root, const std::string& key);
bool DeleteRegistryTree(HKEY root, const std::string& key);  // true when the key is gone

// The user's app theme (Windows 10 and later) dark while it lives; the earlier value put back
// after, or none where there was none.
class DarkAppTheme {
public:
    DarkAppTheme();
    ~DarkAppTheme();
    DarkAppTheme(const DarkAppTheme&) = delete;
    DarkAppTheme& operator=(const DarkAppTheme&) = delete;
    [[nodiscard]] bool Set() const { return m_set; }

private:
    std::optional<DWORD> m_old;
    bool m_set = false;
};

// A shell folder (CSIDL_PROGRAMS, CSIDL_LOCAL_APPDATA...), without a trailing backslash.
[[nodiscard]] std::string ShellFolder(int csidl);

// Delivers WM_DROPFILES with these paths to a window of another process that called
// DragAcceptFiles. The DROPFILES block is written into the target, since an HGLOBAL is only
// valid in its own process. Relies on Wine accepting that block in DragFinish.
bool PostFileDrop(HWND target, const std::vector<std::string>& paths, POINT clientPt = {10, 10});

}  // namespace winauto
