// The file-system seam on real Win32 files.
#pragma once

#include "platform/file_system.h"

namespace platform {

class Win32FileSystem : public FileSystem {
public:
    FileError ReadFile(const std::string& path, std::string& out) override;
    FileError OpenForUpdate(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Create(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Remove(const std::string& path) override;
    FileError Exists(const std::string& path, bool& exists) override;
    void NotifyChanged(const std::string& path) override;
};

}  // namespace platform
