// Launch target for tests: records its command line, argv and working folder in the file named by
// the LAUNCH_RECORDER_MARKER environment variable (inherited from whoever launched it).
//
// The marker holds "cmdline=", "cwd=", "argc=" and one "argv=" line per argument, LF-terminated.
// It is written under a temporary name and renamed, so a reader never sees half of it.
// Exit code: 0 recorded, 1 write failed, 2 no marker variable.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char marker[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", marker, sizeof(marker));
    if (n == 0 || n >= sizeof(marker)) {
        return 2;
    }
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(cwd), cwd);

    std::string record = std::string("cmdline=") + GetCommandLineA() + "\n";
    record += std::string("cwd=") + cwd + "\n";
    record += "argc=" + std::to_string(__argc) + "\n";
    for (int i = 0; i < __argc; ++i) {
        record += std::string("argv=") + __argv[i] + "\n";
    }

    // Unique per launch: two launches in a row must not share the temporary file.
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::string temp = std::string(marker) + "." + std::to_string(counter.QuadPart) + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size();
    CloseHandle(file);
    if (!ok || !MoveFileExA(temp.c_str(), marker, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        return 1;
    }
    return 0;
}
