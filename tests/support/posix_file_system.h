// The file-system seam on POSIX files, for benchmarks and tests that use real temporary folders.
#pragma once

#include "menufile/file_system.h"

namespace test_support {

class PosixFileSystem : public menufile::FileSystem {
public:
    menufile::FileError ReadFile(const std::string& path, std::string& out) override;
    menufile::FileError OpenForUpdate(const std::string& path,
                                      std::unique_ptr<menufile::File>& out) override;
    menufile::FileError Create(const std::string& path,
                               std::unique_ptr<menufile::File>& out) override;
    menufile::FileError Remove(const std::string& path) override;
    menufile::FileError Probe(const std::string& path, menufile::PathKind& kind) override;
    menufile::FileError Rename(const std::string& from, const std::string& to) override;
    bool OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) override;
    void NotifyChanged(const std::string&) override {}
};

}  // namespace test_support
