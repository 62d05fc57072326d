// tvlengin.exe as a screen reader sees it under Wine: the accessible menu read from this
// process, its default action, the window's title and the events a WinEvent hook receives; and
// the same object in this process, outliving its window.
#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/menu_model.h"
#include "engine/popup_accessible_win.h"
#include "menufile/menu_file.h"
#include "platform/text_win.h"
#include "winauto.h"

namespace {

using namespace winauto;

constexpr char kPopupClass[] = "TarvelMenuPopup";
constexpr int kLargeCellPx = 40;  // 32-pixel icon + 120 twips, 8-point text
constexpr int kSeparatorPx = 8;   // 120 twips

std::string MenuBytes(const std::vector<menufile::MenuItem>& items) {
    std::string s = "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n";
    s += menufile::FormatSettingsLine({"0", "MS Sans Serif", "8.25", "0", "0"});
    for (const auto& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

VARIANT Child(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A VT_I4 answer as a number; -1 for anything else.
long IdOf(const VARIANT& v) {
    return v.vt == VT_I4 ? v.lVal : -1;
}

std::string Take(BSTR text) {
    std::string s = text ? platform::Narrow(std::wstring_view(text, ::SysStringLen(text))) : "";
    ::SysFreeString(text);
    return s;
}

std::string NameOf(IAccessible* acc, long id) {
    BSTR name = nullptr;
    return SUCCEEDED(acc->get_accName(Child(id), &name)) ? Take(name) : "<failed>";
}

long RoleOf(IAccessible* acc, long id) {
    VARIANT role;
    ::VariantInit(&role);
    return SUCCEEDED(acc->get_accRole(Child(id), &role)) ? IdOf(role) : -1;
}

long StateOf(IAccessible* acc, long id) {
    VARIANT state;
    ::VariantInit(&state);
    return SUCCEEDED(acc->get_accState(Child(id), &state)) ? IdOf(state) : -1;
}

long FocusOf(IAccessible* acc) {
    VARIANT focus;
    ::VariantInit(&focus);
    return SUCCEEDED(acc->get_accFocus(&focus)) ? IdOf(focus) : -1;
}

std::string WideTitle(HWND hwnd) {
    wchar_t text[512] = {};
    const int n = ::GetWindowTextW(hwnd, text, 512);
    return platform::Narrow(std::wstring_view(text, static_cast<std::size_t>(std::max(n, 0))));
}

// What an out-of-context WinEvent hook saw; the hook calls back on this thread while it pumps.
struct SeenEvent {
    DWORD event;
    HWND hwnd;
    LONG object;
    LONG child;
};
std::vector<SeenEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
    g_events.push_back({event, hwnd, object, child});
}

class AccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_marker = m_dir.File("launched.txt");
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", m_marker.c_str());
        ParkMouse();
    }
    void TearDown() override {
        if (m_hook) {
            ::UnhookWinEvent(m_hook);
        }
        g_events.clear();
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", nullptr);
        ::CoUninitialize();
    }

    std::vector<menufile::MenuItem> RecorderItems(int count) {
        std::vector<menufile::MenuItem> items;
        for (int i = 0; i < count; ++i) {
            items.push_back({"Item " + std::to_string(i), ExeDir() + "launch_recorder.exe",
                             "item" + std::to_string(i), m_dir.path(), "", "0"});
        }
        return items;
    }

    // Writes the menu as `fileName` in the test folder and starts the engine on it.
    HWND Open(const std::string& bytes, const std::string& fileName = "my menu.tvl") {
        const std::string menu = m_dir.File(fileName);
        EXPECT_TRUE(WriteFileBytes(menu, bytes));
        EXPECT_TRUE(MoveMouse({150, 120}));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(menu), m_dir.path());
        EXPECT_TRUE(m_engine);
        HWND popup = WaitForWindow(m_engine.pid(), kPopupClass, nullptr);
        ParkMouse();
        return popup;
    }

    // The pop-up's accessible object, as a screen reader in another process gets it.
    IAccessible* AccessibleOf(HWND popup) {
        IAccessible* acc = nullptr;
        const HRESULT hr =
            ::AccessibleObjectFromWindow(popup, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
        EXPECT_EQ(hr, S_OK);
        return SUCCEEDED(hr) ? acc : nullptr;
    }

    void HookEvents() {
        m_hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, OnWinEvent, 0, 0,
                                   WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        ASSERT_NE(m_hook, nullptr);
    }

    // The focus events on the pop-up's client so far, as child numbers.
    static std::vector<LONG> FocusEvents(HWND popup) {
        std::vector<LONG> ids;
        for (const SeenEvent& e : g_events) {
            if (e.event == EVENT_OBJECT_FOCUS && e.hwnd == popup && e.object == OBJID_CLIENT) {
                ids.push_back(e.child);
            }
        }
        return ids;
    }

    static bool Saw(DWORD event, HWND popup) {
        return std::any_of(g_events.begin(), g_events.end(),
                           [&](const SeenEvent& e) { return e.event == event && e.hwnd == popup; });
    }

    TempDir m_dir{"engine access "};
    std::string m_marker;
    Process m_engine;
    HWINEVENTHOOK m_hook = nullptr;
};

TEST_F(AccessTest, AnotherProcessReadsAPopupMenuOfNamedItemsAndSeparators) {
    auto items = RecorderItems(4);
    items[1].Name = "Größe – 日本語のメモ";
    // Far wider than half the screen: drawn shortened, read whole.
    items[3].Name = std::string(300, 'w') + " end";
    items.insert(items.begin() + 2, menufile::MenuItem::Separator());
    HWND popup = Open(MenuBytes(items), "Tools.tvl");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WideTitle(popup), "Tools.tvl");

    IAccessible* acc = AccessibleOf(popup);
    ASSERT_NE(acc, nullptr);
    EXPECT_EQ(RoleOf(acc, CHILDID_SELF), ROLE_SYSTEM_MENUPOPUP);
    EXPECT_EQ(NameOf(acc, CHILDID_SELF), "Tools.tvl");
    long count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 5);

    struct Expected {
        long role;
        std::string name;
    };
    const Expected expected[] = {
        {ROLE_SYSTEM_MENUITEM, "Item 0"},      {ROLE_SYSTEM_MENUITEM, "Größe – 日本語のメモ"},
        {ROLE_SYSTEM_SEPARATOR, ""},           {ROLE_SYSTEM_MENUITEM, "Item 2"},
        {ROLE_SYSTEM_MENUITEM, items[4].Name},
    };
    POINT origin{0, 0};
    ::ClientToScreen(popup, &origin);
    int top = origin.y;
    for (long id = 1; id <= 5; ++id) {
        const Expected& e = expected[id - 1];
        EXPECT_EQ(RoleOf(acc, id), e.role) << id;
        EXPECT_EQ(NameOf(acc, id), e.name) << id;
        const long state = StateOf(acc, id);
        EXPECT_EQ(state & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_OFFSCREEN),
                  0)
            << id;
        EXPECT_EQ((state & STATE_SYSTEM_FOCUSABLE) != 0, e.role == ROLE_SYSTEM_MENUITEM) << id;
        long x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, Child(id)), S_OK) << id;
        const int height = e.role == ROLE_SYSTEM_SEPARATOR ? kSeparatorPx : kLargeCellPx;
        EXPECT_EQ(x, origin.x) << id;
        EXPECT_EQ(y, top) << id;
        EXPECT_EQ(h, height) << id;
        EXPECT_GT(w, 0) << id;
        // The middle of each row is that row.
        VARIANT hit;
        ::VariantInit(&hit);
        EXPECT_EQ(acc->accHitTest(x + 10, y + h / 2, &hit), S_OK) << id;
        EXPECT_EQ(IdOf(hit), id);
        top += height;
    }
    BSTR action = nullptr;
    ASSERT_EQ(acc->get_accDefaultAction(Child(1), &action), S_OK);
    EXPECT_EQ(Take(action), "Open");
    EXPECT_EQ(acc->get_accName(Child(6), &action), E_INVALIDARG);

    VARIANT to;
    ::VariantInit(&to);
    EXPECT_EQ(acc->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(IdOf(to), 1);
    EXPECT_EQ(acc->accNavigate(NAVDIR_LASTCHILD, Child(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(IdOf(to), 5);
    EXPECT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(2), &to), S_OK);
    EXPECT_EQ(IdOf(to), 3);
    EXPECT_EQ(acc->accNavigate(NAVDIR_PREVIOUS, Child(2), &to), S_OK);
    EXPECT_EQ(IdOf(to), 1);
    EXPECT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(5), &to), S_FALSE);
    EXPECT_EQ(acc->accNavigate(NAVDIR_PREVIOUS, Child(1), &to), S_FALSE);

    // The highlight is the focus: the second item, then past the separator to the third.
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(acc) == 2; }));
    EXPECT_EQ(StateOf(acc, 2) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED),
              STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED);
    EXPECT_EQ(StateOf(acc, 1) & STATE_SYSTEM_FOCUSED, 0);
    PostKey(popup, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(acc) == 4; }));
    EXPECT_EQ(StateOf(acc, 2) & STATE_SYSTEM_FOCUSED, 0);

    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    long after = 0;
    EXPECT_TRUE(FAILED(acc->get_accChildCount(&after)));
    acc->Release();
    EXPECT_FALSE(FileExists(m_marker));
}

TEST_F(AccessTest, RowsScrolledOutOfViewAreOffscreenAndTheDefaultActionOpensTheItem) {
    // Taller than the screen: the last rows start out of view.
    HWND popup = Open(MenuBytes(RecorderItems(40)));
    ASSERT_NE(popup, nullptr);
    IAccessible* acc = AccessibleOf(popup);
    ASSERT_NE(acc, nullptr);
    EXPECT_EQ(StateOf(acc, 1) & STATE_SYSTEM_OFFSCREEN, 0);
    EXPECT_EQ(StateOf(acc, 40) & STATE_SYSTEM_OFFSCREEN, STATE_SYSTEM_OFFSCREEN);

    // Even an item out of view opens, as Enter on it would.
    EXPECT_EQ(acc->accDoDefaultAction(Child(37)), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(m_marker); }));
    const auto launched = ReadFileBytes(m_marker);
    ASSERT_TRUE(launched.has_value());
    EXPECT_NE(launched->find("argv=item36\n"), std::string::npos) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    acc->Release();
}

TEST_F(AccessTest, AWinEventHookSeesTheMenuOpenItsHighlightMoveAndTheMenuClose) {
    HookEvents();
    auto items = RecorderItems(3);
    items.insert(items.begin() + 2, menufile::MenuItem::Separator());
    HWND popup = Open(MenuBytes(items));
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Saw(EVENT_SYSTEM_MENUPOPUPSTART, popup); }));

    // Down three times: the first two items, then the third past the separator (child 4).
    for (int i = 0; i < 3; ++i) {
        PostKey(popup, VK_DOWN);
    }
    EXPECT_TRUE(WaitUntil([&] { return FocusEvents(popup).size() >= 3; }));
    EXPECT_EQ(FocusEvents(popup), (std::vector<LONG>{1, 2, 4}));
    PostKey(popup, VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return FocusEvents(popup).size() >= 4; }));
    EXPECT_EQ(FocusEvents(popup).back(), 2);

    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Saw(EVENT_SYSTEM_MENUPOPUPEND, popup); }));
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(AccessTest, ASubmenuIsAPopupMenuOfItsOwnWithItsEventsAndItsEntryHasAPopup) {
    HookEvents();
    const std::string tools = m_dir.File("tools.tvl");
    ASSERT_TRUE(WriteFileBytes(tools, MenuBytes(RecorderItems(2))));
    auto items = RecorderItems(1);
    items.push_back({"Tools", tools, "", "", "", "0"});
    HWND popup = Open(MenuBytes(items));
    ASSERT_NE(popup, nullptr);
    IAccessible* first = AccessibleOf(popup);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(StateOf(first, 1) & STATE_SYSTEM_HASPOPUP, 0);
    EXPECT_NE(StateOf(first, 2) & STATE_SYSTEM_HASPOPUP, 0);

    PostKey(popup, VK_END);
    PostKey(popup, VK_RIGHT);
    HWND sub = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND w : TopWindows(m_engine.pid())) {
            if (w != popup && ClassOf(w) == kPopupClass && ::IsWindowVisible(w)) {
                sub = w;
            }
        }
        return sub != nullptr && Saw(EVENT_SYSTEM_MENUPOPUPSTART, sub);
    }));
    IAccessible* second = AccessibleOf(sub);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(RoleOf(second, CHILDID_SELF), ROLE_SYSTEM_MENUPOPUP);
    EXPECT_EQ(NameOf(second, 2), "Item 1");
    // Its first entry is highlighted, and the focus event says so on the submenu's object.
    EXPECT_TRUE(WaitUntil([&] { return !FocusEvents(sub).empty(); }));
    EXPECT_EQ(FocusEvents(sub).back(), 1);
    EXPECT_EQ(FocusOf(second), 1);
    PostKey(popup, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return FocusEvents(sub).size() >= 2; }));
    EXPECT_EQ(FocusEvents(sub).back(), 2);

    PostKey(popup, VK_LEFT);
    EXPECT_TRUE(WaitUntil([&] { return Saw(EVENT_SYSTEM_MENUPOPUPEND, sub); }));
    EXPECT_FALSE(Saw(EVENT_SYSTEM_MENUPOPUPEND, popup));
    second->Release();
    first->Release();
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

// The pop-up's accessible object on a bare window of this process, so its answers come
// unmarshalled and its window can go while the object is still held.
constexpr UINT kLaunch = WM_APP + 7;
engine::PopupAccessibility* g_accessibility = nullptr;

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETOBJECT) {
        if (const LRESULT answer = g_accessibility->OnGetObject(hwnd, wParam, lParam)) {
            return answer;
        }
    } else if (msg == WM_DESTROY) {
        g_accessibility->Closing(hwnd);
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(PopupAccessibleObject, OutlivesItsWindowDisconnectedAndPostsItsDefaultAction) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::vector<menufile::MenuItem> entries = {
        {"first", "C:\\a.exe", "", "", "", "0"},
        menufile::MenuItem::Separator(),
        {"second", "C:\\b.exe", "", "", "", "0"},
    };
    const engine::MeasureWidth measure = [](std::string_view t) {
        return static_cast<float>(t.size()) * 100.0f;
    };
    engine::MenuModel model(entries, false, 15, 195, measure);
    model.LayoutMenu({0, 0, 1024 * 15, 768 * 15}, 1500, 1500, measure);
    engine::PopupAccessibility accessibility(model, kLaunch);
    g_accessibility = &accessibility;

    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProcedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AccessibleHost";
    ::RegisterClassW(&wc);
    HWND host = ::CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP, 0, 0, 200, 200, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
    // Only the client is answered; the frame stays the system's.
    EXPECT_EQ(::SendMessageW(host, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);

    IAccessible* acc = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(host, static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
              S_OK);
    long count = 0;
    EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(acc->get_accRole(Child(1), nullptr), E_POINTER);
    VARIANT role;
    ::VariantInit(&role);
    EXPECT_EQ(acc->get_accRole(Child(4), &role), E_INVALIDARG);
    EXPECT_EQ(acc->get_accRole(Child(-1), &role), E_INVALIDARG);

    // A separator and the menu itself have no action; an item's posts its cell's index.
    EXPECT_EQ(acc->accDoDefaultAction(Child(2)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(acc->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, host, kLaunch, kLaunch, PM_REMOVE));
    EXPECT_EQ(acc->accDoDefaultAction(Child(3)), S_OK);
    ASSERT_TRUE(::PeekMessageW(&msg, host, kLaunch, kLaunch, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);

    ::DestroyWindow(host);
    // Held past its window: every call fails as a vanished server's would.
    EXPECT_EQ(acc->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(Child(1), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(acc->accDoDefaultAction(Child(3)), RPC_E_DISCONNECTED);
    EXPECT_EQ(acc->get_accRole(Child(1), &role), RPC_E_DISCONNECTED);
    long x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(acc->accLocation(&x, &y, &w, &h, Child(1)), RPC_E_DISCONNECTED);
    EXPECT_EQ(acc->Release(), 0u);
    g_accessibility = nullptr;
    ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
    ::CoUninitialize();
}

}  // namespace
