// Commits a menu file on real files and kills itself at a chosen file call, the way a crash
// or a killed process would interrupt it.
// Usage: commit_victim <menu path> <new content path> <call number at which to die>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "menufile/menu_commit.h"
#include "platform/win32_file_system_win.h"

namespace {

constexpr UINT kKilledExitCode = 99;

class Countdown {
public:
    explicit Countdown(int dieAt) : m_dieAt(dieAt) {}
    void Tick() {
        if (++m_calls == m_dieAt) {
            ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
        }
    }

private:
    int m_dieAt;
    int m_calls = 0;
};

class DyingFile : public menufile::File {
public:
    DyingFile(std::unique_ptr<menufile::File> inner, Countdown& countdown)
        : m_inner(std::move(inner)), m_countdown(countdown) {}
    menufile::FileError ReadAll(std::string& out) override {
        m_countdown.Tick();
        return m_inner->ReadAll(out);
    }
    menufile::FileError WriteAt(std::uint64_t offset, std::string_view data) override {
        m_countdown.Tick();
        return m_inner->WriteAt(offset, data);
    }
    menufile::FileError SetLength(std::uint64_t length) override {
        m_countdown.Tick();
        return m_inner->SetLength(length);
    }
    menufile::FileError Flush() override {
        m_countdown.Tick();
        return m_inner->Flush();
    }

private:
    std::unique_ptr<menufile::File> m_inner;
    Countdown& m_countdown;
};

class DyingFileSystem : public menufile::FileSystem {
public:
    explicit DyingFileSystem(int dieAt) : m_countdown(dieAt) {}
    menufile::FileError ReadFile(const std::string& path, std::string& out) override {
        m_countdown.Tick();
        return m_real.ReadFile(path, out);
    }
    menufile::FileError OpenForUpdate(const std::string& path,
                                      std::unique_ptr<menufile::File>& out) override {
        m_countdown.Tick();
        return Wrap(m_real.OpenForUpdate(path, out), out);
    }
    menufile::FileError Create(const std::string& path,
                               std::unique_ptr<menufile::File>& out) override {
        m_countdown.Tick();
        return Wrap(m_real.Create(path, out), out);
    }
    menufile::FileError Remove(const std::string& path) override {
        m_countdown.Tick();
        return m_real.Remove(path);
    }
    menufile::FileError Probe(const std::string& path, menufile::PathKind& kind) override {
        m_countdown.Tick();
        return m_real.Probe(path, kind);
    }
    menufile::FileError Rename(const std::string& from, const std::string& to) override {
        m_countdown.Tick();
        return m_real.Rename(from, to);
    }
    bool OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) override {
        m_countdown.Tick();
        return m_real.OwnedByUserOrOwnerOf(path, other);
    }
    void NotifyChanged(const std::string& path) override { m_real.NotifyChanged(path); }

private:
    menufile::FileError Wrap(menufile::FileError e, std::unique_ptr<menufile::File>& out) {
        if (e == menufile::FileError::None) {
            out = std::make_unique<DyingFile>(std::move(out), m_countdown);
        }
        return e;
    }

    platform::Win32FileSystem m_real;
    Countdown m_countdown;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DyingFileSystem fs(std::atoi(argv[3]));
    // The change is built from what the file held when the victim started.
    std::ifstream current(argv[1], std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(current)),
                          std::istreambuf_iterator<char>());
    current.close();
    return menufile::CommitMenuFile(fs, argv[1], old, content) == menufile::MenuError::None ? 0
                                                                                            : 1;
}
