// The file-system seam on real Win32 files.
#pragma once

#include "menufile/file_system.h"

namespace platform {

// The seam is the core's; its implementations here use its names as their own.
using menufile::File;
using menufile::FileError;
using menufile::FileSystem;
using menufile::PathKind;

class Win32FileSystem : public FileSystem {
public:
    FileError ReadFile(const std::string& path, std::string& out) override;
    FileError OpenForUpdate(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Create(const std::string& path, std::unique_ptr<File>& out) override;
    FileError Remove(const std::string& path) override;
    FileError Probe(const std::string& path, PathKind& kind) override;
    FileError Rename(const std::string& from, const std::string& to) override;
    bool OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) override;
    void NotifyChanged(const std::string& path) override;
};

}  // namespace platform
