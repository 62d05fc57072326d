// The file-system seam on POSIX files, for benchmarks and tests that use real temporary folders.
#pragma once

#include "menufile/file_system.h"

namespace test_support {

class PosixFileSystem : public platform::FileSystem {
public:
    platform::FileError ReadFile(const std::string& path, std::string& out) override;
    platform::FileError OpenForUpdate(const std::string& path,
                                      std::unique_ptr<platform::File>& out) override;
    platform::FileError Create(const std::string& path,
                               std::unique_ptr<platform::File>& out) override;
    platform::FileError Remove(const std::string& path) override;
    platform::FileError Probe(const std::string& path, platform::PathKind& kind) override;
    platform::FileError Rename(const std::string& from, const std::string& to) override;
    void NotifyChanged(const std::string&) override {}
};

}  // namespace test_support
