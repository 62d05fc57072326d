// Small GUI program the driver's own tests steer; it appends what it receives to the file named
// by its (optionally quoted) command-line argument, one "name=value" line per event.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char kClassName[] = "SampleAppWindow";
constexpr char kTitle[] = "Sample App";
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 280;
constexpr RECT kRedSquare{330, 200, 370, 240};  // client coordinates; screenshots look for it

enum ControlId {
    kEdit = 101,
    kList = 102,
    kCombo = 103,
    kAskButton = 104,
    kCountButton = 105,
};

class SampleApp {
public:
    explicit SampleApp(std::string logPath) : m_logPath(std::move(logPath)) {}

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // One open-append-close per line: the driver reads the file while the program runs.
    void Log(const std::string& line) const {
        if (m_logPath.empty()) {
            return;
        }
        if (FILE* f = std::fopen(m_logPath.c_str(), "ab")) {
            std::fwrite(line.data(), 1, line.size(), f);
            std::fputc('\n', f);
            std::fclose(f);
        }
    }

private:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCreate(HWND hwnd);
    void OnCommand(int id, int code);
    void OnPaint();
    void OnDropFiles(HDROP drop);
    void OnDestroy();
    std::string TextOf(HWND hwnd) const;
    std::string ListContents() const;

    std::string m_logPath;
    HWND m_hwnd = nullptr;
    HWND m_edit = nullptr;
    HWND m_list = nullptr;
    HWND m_combo = nullptr;
    WNDPROC m_listProc = nullptr;
    int m_count = 0;
};

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%x", value);
    return text;
}

std::string Coordinates(LPARAM lParam) {
    // Sign-extended like GET_X_LPARAM, for clicks left of or above the client area.
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    return std::to_string(x) + "," + std::to_string(y);
}

LRESULT CALLBACK SampleApp::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SampleApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->HandleMessage(hwnd, msg, wParam, lParam)
                : DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The list box class ignores WM_DROPFILES, so the list is subclassed to take the drop itself.
LRESULT CALLBACK SampleApp::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SampleApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_DROPFILES) {
        self->OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return CallWindowProcA(self->m_listProc, hwnd, msg, wParam, lParam);
}

LRESULT SampleApp::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate(hwnd);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_KEYDOWN:
            Log("keydown=" + Hex(static_cast<unsigned>(wParam)));
            return 0;
        case WM_KEYUP:
            Log("keyup=" + Hex(static_cast<unsigned>(wParam)));
            return 0;
        case WM_CHAR:
            Log("char=" + std::string(1, static_cast<char>(wParam)));
            return 0;
        case WM_LBUTTONDOWN:
            // Captured, like a button: the up arrives here wherever the pointer was released.
            SetCapture(hwnd);
            Log("ldown=" + Coordinates(lParam));
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            Log("lclick=" + Coordinates(lParam));
            return 0;
        case WM_RBUTTONUP:
            Log("rclick=" + Coordinates(lParam));
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void SampleApp::OnCreate(HWND hwnd) {
    m_hwnd = hwnd;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto child = [&](DWORD exStyle, const char* cls, const char* text, DWORD style, int x,
                           int y, int w, int h, int id) {
        return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                               nullptr);
    };
    m_edit =
        child(WS_EX_CLIENTEDGE, "Edit", "", WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 200, 24, kEdit);
    m_list = child(WS_EX_CLIENTEDGE, "ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 10, 44,
                   200, 140, kList);
    m_combo = child(0, "ComboBox", "", WS_TABSTOP | CBS_DROPDOWNLIST, 220, 10, 150, 120, kCombo);
    child(0, "Button", "Ask", WS_TABSTOP | BS_PUSHBUTTON, 220, 44, 80, 26, kAskButton);
    child(0, "Button", "Count", WS_TABSTOP | BS_PUSHBUTTON, 220, 76, 80, 26, kCountButton);
    for (const char* item : {"alpha", "beta", "gamma"}) {
        SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    for (const char* item : {"red", "green", "blue"}) {
        SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SetWindowLongPtrA(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    DragAcceptFiles(m_list, TRUE);
}

void SampleApp::OnCommand(int id, int code) {
    if (id == kEdit && code == EN_CHANGE) {
        Log("edit=" + TextOf(m_edit));
    } else if (id == kList && code == LBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageA(m_list, LB_GETCURSEL, 0, 0));
        std::string text(SendMessageA(m_list, LB_GETTEXTLEN, index, 0) + 1, '\0');
        text.resize(SendMessageA(m_list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())));
        Log("select=" + std::to_string(index) + ":" + text);
    } else if (id == kCombo && code == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageA(m_combo, CB_GETCURSEL, 0, 0));
        Log("combo=" + std::to_string(index) + ":" + TextOf(m_combo));
    } else if (id == kAskButton && code == BN_CLICKED) {
        const int answer =
            MessageBoxA(m_hwnd, "Proceed with the query?", "Query?", MB_YESNO | MB_ICONQUESTION);
        Log(answer == IDYES ? "query=yes" : answer == IDNO ? "query=no" : "query=other");
    } else if (id == kCountButton && code == BN_CLICKED) {
        Log("count=" + std::to_string(++m_count));
    }
}

void SampleApp::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hwnd, &ps);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &kRedSquare, red);
    DeleteObject(red);
    EndPaint(m_hwnd, &ps);
}

void SampleApp::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::string line = "drop=" + std::to_string(count);
    for (UINT i = 0; i < count; ++i) {
        std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
        line += "|" + path;
        SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    POINT pt{};
    DragQueryPoint(drop, &pt);
    DragFinish(drop);
    Log(line);
    Log("droppoint=" + std::to_string(pt.x) + "," + std::to_string(pt.y));
    Log("list=" + ListContents());
}

void SampleApp::OnDestroy() {
    // The exit code is whatever number the edit box holds, so tests can pick it.
    const unsigned code = std::strtoul(TextOf(m_edit).c_str(), nullptr, 0);
    Log("exit=" + std::to_string(code));
    PostQuitMessage(static_cast<int>(code));
}

std::string SampleApp::TextOf(HWND hwnd) const {
    std::string text(GetWindowTextLengthA(hwnd) + 1, '\0');
    text.resize(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

std::string SampleApp::ListContents() const {
    std::string joined;
    const int count = static_cast<int>(SendMessageA(m_list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(SendMessageA(m_list, LB_GETTEXTLEN, i, 0) + 1, '\0');
        text.resize(SendMessageA(m_list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        joined += (i ? "|" : "") + text;
    }
    return joined;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show) {
    std::string path = cmdLine;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    SampleApp app(path);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(cwd), cwd);
    app.Log(std::string("cmdline=") + cmdLine);
    app.Log("path=" + path);
    app.Log(std::string("cwd=") + cwd);

    WNDCLASSA wc{};
    wc.lpfnWndProc = SampleApp::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) {
        return 1;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    // A fixed place keeps screenshots and click positions reproducible.
    HWND hwnd = CreateWindowExA(0, kClassName, kTitle, style, 100, 100, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, &app);
    if (!hwnd) {
        return 1;
    }
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    app.Log("ready");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
