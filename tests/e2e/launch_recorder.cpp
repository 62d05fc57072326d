// Launch target for tests: records its command line, argv and working folder in the file named by
// the LAUNCH_RECORDER_MARKER environment variable (inherited from whoever launched it).
//
// The marker holds "cmdline=", "cwd=", "argc=" and one "argv=" line per argument, LF-terminated,
// in UTF-8 of the wide command line and folder: a name outside the ANSI code page comes through
// as it was given. It is written under a temporary name and renamed, so a reader never sees half
// of it. Exit code: 0 recorded, 1 write failed, 2 no marker variable.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.pop_back();  // the closing null
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, char*, int) {
    wchar_t marker[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"LAUNCH_RECORDER_MARKER", marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return 2;
    }
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);

    std::string record = "cmdline=" + Utf8(GetCommandLineW()) + "\n";
    record += "cwd=" + Utf8(cwd) + "\n";
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    record += "argc=" + std::to_string(argv ? argc : 0) + "\n";
    for (int i = 0; argv && i < argc; ++i) {
        record += "argv=" + Utf8(argv[i]) + "\n";
    }
    LocalFree(argv);

    // Unique per launch: two launches in a row must not share the temporary file.
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::wstring temp =
        std::wstring(marker) + L"." + std::to_wstring(counter.QuadPart) + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size();
    CloseHandle(file);
    if (!ok || !MoveFileExW(temp.c_str(), marker, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temp.c_str());
        return 1;
    }
    return 0;
}
