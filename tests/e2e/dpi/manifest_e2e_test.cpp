// Both programs start with their manifest in force: today's common controls and awareness of
// each monitor's scale.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>
#include <psapi.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "editor/ui/main_window_layout.h"
#include "platform/text_win.h"
#include "winauto.h"

namespace {

using namespace winauto;

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

// The paths of every comctl32.dll the process has loaded.
std::vector<std::string> CommonControlsOf(HANDLE process) {
    std::vector<std::string> found;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!::EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        return found;
    }
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        wchar_t path[MAX_PATH];
        if (::GetModuleFileNameExW(process, modules[i], path, MAX_PATH) != 0) {
            const std::string p = Lower(platform::Narrow(path));
            if (p.ends_with("\\comctl32.dll")) {
                found.push_back(p);
            }
        }
    }
    return found;
}

// What the window's thread was made aware of, as the DPI_AWARENESS enumeration names it.
int AwarenessOf(HWND hwnd) {
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    if (context == nullptr || awareness == nullptr) {
        return -2;
    }
    return static_cast<int>(awareness(context(hwnd)));
}

struct Program {
    const char* exe;
    const char* cls;
    bool showsCommonControls;  // the engine loads them only for a tooltip or a context menu
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.exe;
}

class ManifestTest : public ::testing::TestWithParam<Program> {
protected:
    void SetUp() override {
        m_dir = std::make_unique<TempDir>("manifest");
        const std::string menu = m_dir->File("manifest.tvl");
        ASSERT_TRUE(WriteFileBytes(menu,
                                   "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n"
                                   "0,\"MS Sans Serif\",8.25,0,0\r\n"
                                   "\"Notes\",\"C:\\notes.txt\",\"\",\"\",\"\",0\r\n"));
        ParkMouse();
        m_program = Start(WinPath(GetParam().exe), Quote(menu), m_dir->path());
        ASSERT_TRUE(m_program);
        m_window = WaitForWindow(m_program.pid(), GetParam().cls, nullptr);
        ASSERT_NE(m_window, nullptr);
    }

    std::unique_ptr<TempDir> m_dir;
    Process m_program;
    HWND m_window = nullptr;
};

TEST_P(ManifestTest, LoadsTheCommonControlsOfVersion6AndIsAwareOfEachMonitorsScale) {
    const auto controls = CommonControlsOf(m_program.handle());
    EXPECT_EQ(!controls.empty(), GetParam().showsCommonControls);
    for (const auto& path : controls) {
        // Version 6 lives in the side-by-side store; system32 holds version 5.
        EXPECT_NE(path.find("\\winsxs\\"), std::string::npos) << path;
    }
    EXPECT_EQ(AwarenessOf(m_window), static_cast<int>(DPI_AWARENESS_PER_MONITOR_AWARE));
}

INSTANTIATE_TEST_SUITE_P(Programs, ManifestTest,
                         ::testing::Values(Program{TVLENGIN_EXE, "TarvelMenuPopup", false},
                                           Program{TVLEDIT_EXE, editor::kMainWindowClass, true}),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "Engine" : "Editor");
                         });

}  // namespace
