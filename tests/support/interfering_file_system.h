// A file system that lets another writer act before each of its calls: for proving that a
// change made by another program between two file calls of a change is never lost.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "menufile/file_system.h"

namespace test_support {

class InterferingFileSystem : public menufile::FileSystem {
public:
    // `other` runs once, just before call number `call` (counted from 1 over every call of
    // this file system and its open files), on the file system underneath.
    InterferingFileSystem(menufile::FileSystem& real, int call, std::function<void()> other)
        : m_real(real), m_call(call), m_other(std::move(other)) {}

    [[nodiscard]] int Calls() const { return m_calls; }
    [[nodiscard]] bool Interfered() const { return m_done; }

    menufile::FileError ReadFile(const std::string& path, std::string& out) override {
        Tick();
        return m_real.ReadFile(path, out);
    }
    menufile::FileError OpenForUpdate(const std::string& path,
                                      std::unique_ptr<menufile::File>& out) override {
        Tick();
        return Wrap(m_real.OpenForUpdate(path, out), out);
    }
    menufile::FileError Create(const std::string& path,
                               std::unique_ptr<menufile::File>& out) override {
        Tick();
        return Wrap(m_real.Create(path, out), out);
    }
    menufile::FileError Remove(const std::string& path) override {
        Tick();
        return m_real.Remove(path);
    }
    menufile::FileError Probe(const std::string& path, menufile::PathKind& kind) override {
        Tick();
        return m_real.Probe(path, kind);
    }
    menufile::FileError Rename(const std::string& from, const std::string& to) override {
        Tick();
        return m_real.Rename(from, to);
    }
    bool OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) override {
        Tick();
        return m_real.OwnedByUserOrOwnerOf(path, other);
    }
    void NotifyChanged(const std::string& path) override { m_real.NotifyChanged(path); }

    void Tick() {
        if (++m_calls == m_call && !m_done) {
            m_done = true;
            m_other();
        }
    }

private:
    class File : public menufile::File {
    public:
        File(std::unique_ptr<menufile::File> real, InterferingFileSystem& fs)
            : m_real(std::move(real)), m_fs(fs) {}
        menufile::FileError ReadAll(std::string& out) override {
            m_fs.Tick();
            return m_real->ReadAll(out);
        }
        menufile::FileError WriteAt(std::uint64_t offset, std::string_view data) override {
            m_fs.Tick();
            return m_real->WriteAt(offset, data);
        }
        menufile::FileError SetLength(std::uint64_t length) override {
            m_fs.Tick();
            return m_real->SetLength(length);
        }
        menufile::FileError Flush() override {
            m_fs.Tick();
            return m_real->Flush();
        }

    private:
        std::unique_ptr<menufile::File> m_real;
        InterferingFileSystem& m_fs;
    };

    menufile::FileError Wrap(menufile::FileError e, std::unique_ptr<menufile::File>& out) {
        if (e == menufile::FileError::None) {
            out = std::make_unique<File>(std::move(out), *this);
        }
        return e;
    }

    menufile::FileSystem& m_real;
    int m_calls = 0;
    int m_call;
    std::function<void()> m_other;
    bool m_done = false;
};

}  // namespace test_support
