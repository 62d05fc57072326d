// A file system that lets another writer act before each of its calls: for proving that a
// change made by another program between two file calls of a change is never lost.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "menufile/file_system.h"

namespace test_support {

class InterferingFileSystem : public platform::FileSystem {
public:
    // `other` runs once, just before call number `call` (counted from 1 over every call of
    // this file system and its open files), on the file system underneath.
    InterferingFileSystem(platform::FileSystem& real, int call, std::function<void()> other)
        : m_real(real), m_call(call), m_other(std::move(other)) {}

    [[nodiscard]] int Calls() const { return m_calls; }
    [[nodiscard]] bool Interfered() const { return m_done; }

    platform::FileError ReadFile(const std::string& path, std::string& out) override {
        Tick();
        return m_real.ReadFile(path, out);
    }
    platform::FileError OpenForUpdate(const std::string& path,
                                      std::unique_ptr<platform::File>& out) override {
        Tick();
        return Wrap(m_real.OpenForUpdate(path, out), out);
    }
    platform::FileError Create(const std::string& path,
                               std::unique_ptr<platform::File>& out) override {
        Tick();
        return Wrap(m_real.Create(path, out), out);
    }
    platform::FileError Remove(const std::string& path) override {
        Tick();
        return m_real.Remove(path);
    }
    platform::FileError Probe(const std::string& path, platform::PathKind& kind) override {
        Tick();
        return m_real.Probe(path, kind);
    }
    platform::FileError Rename(const std::string& from, const std::string& to) override {
        Tick();
        return m_real.Rename(from, to);
    }
    void NotifyChanged(const std::string& path) override { m_real.NotifyChanged(path); }

    void Tick() {
        if (++m_calls == m_call && !m_done) {
            m_done = true;
            m_other();
        }
    }

private:
    class File : public platform::File {
    public:
        File(std::unique_ptr<platform::File> real, InterferingFileSystem& fs)
            : m_real(std::move(real)), m_fs(fs) {}
        platform::FileError ReadAll(std::string& out) override {
            m_fs.Tick();
            return m_real->ReadAll(out);
        }
        platform::FileError WriteAt(std::uint64_t offset, std::string_view data) override {
            m_fs.Tick();
            return m_real->WriteAt(offset, data);
        }
        platform::FileError SetLength(std::uint64_t length) override {
            m_fs.Tick();
            return m_real->SetLength(length);
        }
        platform::FileError Flush() override {
            m_fs.Tick();
            return m_real->Flush();
        }

    private:
        std::unique_ptr<platform::File> m_real;
        InterferingFileSystem& m_fs;
    };

    platform::FileError Wrap(platform::FileError e, std::unique_ptr<platform::File>& out) {
        if (e == platform::FileError::None) {
            out = std::make_unique<File>(std::move(out), *this);
        }
        return e;
    }

    platform::FileSystem& m_real;
    int m_calls = 0;
    int m_call;
    std::function<void()> m_other;
    bool m_done = false;
};

}  // namespace test_support
