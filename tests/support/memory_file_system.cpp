// In-memory file system with injected failures, crashes and power losses.
#include "tests/support/memory_file_system.h"

#include <algorithm>

namespace platform {

class MemoryFile : public File {
public:
    MemoryFile(MemoryFileSystem& fs, std::string path, bool exclusive)
        : m_fs(fs), m_path(std::move(path)), m_exclusive(exclusive) {}
    ~MemoryFile() override { m_fs.Close(m_path, m_exclusive); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    FileError ReadAll(std::string& out) override { return m_fs.ReadAll(m_path, out); }
    FileError WriteAt(std::uint64_t offset, std::string_view data) override {
        return m_fs.Write(m_path, offset, data);
    }
    FileError SetLength(std::uint64_t length) override { return m_fs.Resize(m_path, length); }
    FileError Flush() override { return m_fs.Flush(m_path); }

private:
    MemoryFileSystem& m_fs;
    std::string m_path;
    bool m_exclusive;
};

void MemoryFileSystem::Close(const std::string& path, bool exclusive) {
    Node& node = m_nodes[path];
    node.writers = std::max(0, node.writers - 1);
    if (exclusive) {
        node.exclusive = false;
    }
}

FileError MemoryFileSystem::Enter(bool isWrite) {
    ++m_calls;
    if (m_calls == m_crashAt) {
        if (isWrite && m_tornWrite) {
            m_tearThisWrite = true;  // Write stores half, then throws
            return FileError::None;
        }
        throw SimulatedCrash{};
    }
    if (m_failAt > 0 && (m_calls == m_failAt || (m_failFromThenOn && m_calls > m_failAt))) {
        return m_failError;
    }
    return FileError::None;
}

std::size_t MemoryFileSystem::UsedBytes() const {
    std::size_t used = 0;
    for (const auto& [path, node] : m_nodes) {
        used += node.exists ? node.data.size() : 0;
    }
    return used;
}

FileError MemoryFileSystem::ReadFile(const std::string& path, std::string& out) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    auto it = m_nodes.find(path);
    if (it == m_nodes.end() || !it->second.exists || it->second.folder) {
        return FileError::NotFound;
    }
    if (it->second.exclusive) {
        return FileError::InUse;
    }
    out = it->second.data;
    return FileError::None;
}

FileError MemoryFileSystem::OpenForUpdate(const std::string& path, std::unique_ptr<File>& out) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    auto it = m_nodes.find(path);
    if (it == m_nodes.end() || !it->second.exists || it->second.folder) {
        return FileError::NotFound;
    }
    if (it->second.readOnly) {
        return FileError::ReadOnly;
    }
    if (it->second.inUse || it->second.writers > 0) {
        return FileError::InUse;
    }
    ++it->second.writers;
    out = std::make_unique<MemoryFile>(*this, path, false);
    return FileError::None;
}

FileError MemoryFileSystem::Create(const std::string& path, std::unique_ptr<File>& out) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    Node& node = m_nodes[path];
    if (node.exists) {
        return FileError::AlreadyExists;  // never emptied or replaced
    }
    // A read-only name that does not exist yet stands for a folder that takes no new files.
    if (node.readOnly) {
        return FileError::ReadOnly;
    }
    node.exists = true;
    node.data.clear();
    node.owner = m_user;
    ++node.writers;
    node.exclusive = true;
    out = std::make_unique<MemoryFile>(*this, path, true);
    return FileError::None;
}

FileError MemoryFileSystem::Remove(const std::string& path) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    auto it = m_nodes.find(path);
    if (it == m_nodes.end() || !it->second.exists || it->second.folder) {
        return FileError::NotFound;
    }
    if (it->second.readOnly || it->second.inUse || it->second.writers > 0) {
        return it->second.readOnly ? FileError::ReadOnly : FileError::InUse;
    }
    it->second.exists = false;
    it->second.data.clear();
    return FileError::None;
}

FileError MemoryFileSystem::Probe(const std::string& path, PathKind& kind) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    auto it = m_nodes.find(path);
    kind = it == m_nodes.end() || !it->second.exists ? PathKind::Missing
           : it->second.folder                       ? PathKind::Folder
                                                     : PathKind::File;
    return FileError::None;
}

FileError MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    auto it = m_nodes.find(from);
    if (it == m_nodes.end() || !it->second.exists || it->second.folder) {
        return FileError::NotFound;
    }
    if (it->second.writers > 0 || it->second.inUse) {
        return FileError::InUse;
    }
    Node& target = m_nodes[to];
    if (target.exists) {
        return FileError::AlreadyExists;
    }
    Node& source = it->second;
    // The name changes durably in one step; the content is as durable as it was.
    target = source;
    source.exists = source.durableExists = false;
    source.data.clear();
    source.durable.clear();
    return FileError::None;
}

bool MemoryFileSystem::OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) {
    if (Enter() != FileError::None) {
        return false;  // an owner that cannot be learnt is not trusted
    }
    auto it = m_nodes.find(path);
    if (it == m_nodes.end() || !it->second.exists) {
        return false;
    }
    const std::string& owner = it->second.owner;
    auto reference = m_nodes.find(other);
    return owner.empty() || owner == m_user ||
           (reference != m_nodes.end() && reference->second.exists &&
            owner == reference->second.owner);
}

void MemoryFileSystem::MakeFolder(const std::string& path) {
    Node& node = m_nodes[path];
    node = {};
    node.exists = node.durableExists = true;
    node.folder = true;
}

void MemoryFileSystem::NotifyChanged(const std::string&) { ++m_notifications; }

FileError MemoryFileSystem::Write(const std::string& path, std::uint64_t offset,
                                  std::string_view data) {
    if (FileError e = Enter(true); e != FileError::None) {
        return e;
    }
    Node& node = m_nodes[path];
    std::size_t end = static_cast<std::size_t>(offset) + data.size();
    if (end > node.data.size() && UsedBytes() + (end - node.data.size()) > m_capacity) {
        if (m_tearThisWrite) {
            m_tearThisWrite = false;
            throw SimulatedCrash{};
        }
        return FileError::DiskFull;
    }
    if (m_tearThisWrite) {
        m_tearThisWrite = false;
        data = data.substr(0, data.size() / 2);
        end = static_cast<std::size_t>(offset) + data.size();
    }
    if (node.data.size() < end) {
        node.data.resize(end, '\0');
    }
    std::copy(data.begin(), data.end(), node.data.begin() + static_cast<std::ptrdiff_t>(offset));
    if (m_calls == m_crashAt) {
        throw SimulatedCrash{};
    }
    return FileError::None;
}

FileError MemoryFileSystem::Resize(const std::string& path, std::uint64_t length) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    Node& node = m_nodes[path];
    if (length > node.data.size() && UsedBytes() + (length - node.data.size()) > m_capacity) {
        return FileError::DiskFull;
    }
    node.data.resize(static_cast<std::size_t>(length), '\0');
    return FileError::None;
}

FileError MemoryFileSystem::Flush(const std::string& path) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    Node& node = m_nodes[path];
    node.durable = node.data;
    node.durableExists = node.exists;
    return FileError::None;
}

FileError MemoryFileSystem::ReadAll(const std::string& path, std::string& out) {
    if (FileError e = Enter(); e != FileError::None) {
        return e;
    }
    out = m_nodes[path].data;
    return FileError::None;
}

void MemoryFileSystem::Put(const std::string& path, std::string content) {
    Node& node = m_nodes[path];
    node.data = content;
    node.durable = std::move(content);
    if (!node.exists) {
        node.owner = m_user;
    }
    node.exists = node.durableExists = true;
}

std::optional<std::string> MemoryFileSystem::Get(const std::string& path) const {
    auto it = m_nodes.find(path);
    if (it == m_nodes.end() || !it->second.exists) {
        return std::nullopt;
    }
    return it->second.data;
}

std::vector<std::string> MemoryFileSystem::Paths() const {
    std::vector<std::string> paths;
    for (const auto& [path, node] : m_nodes) {
        if (node.exists && !node.folder) {
            paths.push_back(path);
        }
    }
    return paths;
}

void MemoryFileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    m_nodes[path].readOnly = readOnly;
}

void MemoryFileSystem::SetInUse(const std::string& path, bool inUse) {
    m_nodes[path].inUse = inUse;
}

void MemoryFileSystem::FailAt(int call, bool fromThenOn, FileError error) {
    m_failAt = call;
    m_failFromThenOn = fromThenOn;
    m_failError = error;
}

void MemoryFileSystem::CrashAt(int call, bool tornWrite) {
    m_crashAt = call;
    m_tornWrite = tornWrite;
}

void MemoryFileSystem::ClearFaults() {
    m_failAt = 0;
    m_crashAt = 0;
    m_tornWrite = false;
    m_tearThisWrite = false;
}

std::vector<MemoryFileSystem> MemoryFileSystem::PowerLossStates() const {
    MemoryFileSystem settled = *this;
    settled.ClearFaults();
    settled.m_calls = 0;
    std::vector<MemoryFileSystem> states{settled};
    for (const auto& [path, node] : m_nodes) {
        if (node.data == node.durable && node.exists == node.durableExists) {
            continue;
        }
        std::vector<Node> variants;
        Node kept = node;
        kept.durable = kept.data;
        kept.durableExists = kept.exists;
        variants.push_back(kept);
        Node reverted = node;
        reverted.data = reverted.durable;
        reverted.exists = reverted.durableExists;
        variants.push_back(reverted);
        if (node.exists) {
            Node zeroed = kept;
            for (std::size_t i = 0; i < zeroed.data.size(); ++i) {
                if (i >= node.durable.size() || node.durable[i] != node.data[i]) {
                    zeroed.data[i] = '\0';
                }
            }
            zeroed.durable = zeroed.data;
            if (zeroed.data != kept.data) {
                variants.push_back(zeroed);
            }
        }
        std::vector<MemoryFileSystem> next;
        for (const MemoryFileSystem& state : states) {
            for (const Node& variant : variants) {
                MemoryFileSystem s = state;
                s.m_nodes[path] = variant;
                next.push_back(std::move(s));
            }
        }
        states = std::move(next);
    }
    for (MemoryFileSystem& s : states) {
        for (auto& [path, node] : s.m_nodes) {
            node.writers = 0;  // a power loss closes every file
            node.exclusive = false;
            node.data = node.exists ? node.data : std::string();
            node.durable = node.data;
            node.durableExists = node.exists;
        }
    }
    return states;
}

}  // namespace platform
