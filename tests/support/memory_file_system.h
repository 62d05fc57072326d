// In-memory file system for tests: every call can be failed or crashed, and a power loss can
// be simulated by listing every disk state that unflushed writes could leave behind. Open files
// share as Win32 files do: a file open for writing keeps other writers out (but not readers),
// and a created file keeps everybody out until it is closed.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "menufile/file_system.h"

namespace platform {

// The seam is the core's; its implementations here use its names as their own.
using menufile::File;
using menufile::FileError;
using menufile::FileSystem;
using menufile::PathKind;

class MemoryFileSystem : public FileSystem {
public:
    // Thrown by the call at which a crash was asked for; nothing after it runs.
    struct SimulatedCrash {};

    FileError ReadFile(const std::string& path, std::string& out) override;
    FileError OpenForUpdate(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Create(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Remove(const std::string& path) override;
    FileError Probe(const std::string& path, PathKind& kind) override;
    FileError Rename(const std::string& from, const std::string& to) override;
    bool OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) override;
    void NotifyChanged(const std::string& path) override;

    // A file as if it had been on the disk for long: its content is durable.
    void Put(const std::string& path, std::string content);
    // A folder at the path: no file can be made there.
    void MakeFolder(const std::string& path);
    [[nodiscard]] std::optional<std::string> Get(const std::string& path) const;
    [[nodiscard]] std::vector<std::string> Paths() const;
    // On a path where no file is, Create is refused: a folder that takes no new files.
    void SetReadOnly(const std::string& path, bool readOnly);
    void SetInUse(const std::string& path, bool inUse);
    // Files made from now on (Put, Create) are owned by `user`; "" stands for a file system
    // that keeps no owners. Owner checks compare with the current user.
    void SetCurrentUser(std::string user) { m_user = std::move(user); }
    void SetOwner(const std::string& path, std::string owner) { m_nodes[path].owner = owner; }
    // Total bytes all files may hold; writes beyond it fail with DiskFull.
    void SetCapacity(std::size_t bytes) { m_capacity = bytes; }

    // Call numbers count from 1 over every call of this file system and its open files.
    void FailAt(int call, bool fromThenOn, FileError error = FileError::Other);
    // The call throws SimulatedCrash; a torn write stores the first half of its data first.
    void CrashAt(int call, bool tornWrite = false);
    void ClearFaults();
    [[nodiscard]] int Calls() const { return m_calls; }
    [[nodiscard]] int Notifications() const { return m_notifications; }

    // Every state a power loss now could leave: for each file with unflushed changes, those
    // changes kept, reverted, or (for written data) turned into zeros.
    [[nodiscard]] std::vector<MemoryFileSystem> PowerLossStates() const;

private:
    friend class MemoryFile;
    struct Node {
        std::string data;
        std::string durable;
        bool exists = false;
        bool durableExists = false;
        bool readOnly = false;
        bool inUse = false;
        bool folder = false;
        int writers = 0;         // open for writing (OpenForUpdate or Create)
        bool exclusive = false;  // open through Create, which shares with nobody
        std::string owner;       // "" when the file system keeps none
    };

    void Close(const std::string& path, bool exclusive);
    // Counts the call; returns the injected failure, or throws the injected crash.
    FileError Enter(bool isWrite = false);
    [[nodiscard]] std::size_t UsedBytes() const;
    FileError Write(const std::string& path, std::uint64_t offset, std::string_view data);
    FileError Resize(const std::string& path, std::uint64_t length);
    FileError Flush(const std::string& path);
    FileError ReadAll(const std::string& path, std::string& out);

    std::map<std::string, Node> m_nodes;
    std::string m_user = "user";
    std::size_t m_capacity = static_cast<std::size_t>(-1);
    int m_calls = 0;
    int m_notifications = 0;
    int m_failAt = 0;
    bool m_failFromThenOn = false;
    FileError m_failError = FileError::Other;
    int m_crashAt = 0;
    bool m_tornWrite = false;
    bool m_tearThisWrite = false;
};

}  // namespace platform
