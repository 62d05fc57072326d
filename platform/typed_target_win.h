// The system's answers about typed targets: files, variables, the search path, App Paths and
// the handlers of address schemes.
#pragma once

#include <string>

#include "menufile/typed_target.h"

namespace platform {

class Win32TargetLookup : public menufile::TargetLookup {
public:
    bool Exists(const std::string& path) override;
    std::string ExpandVariables(const std::string& text) override;
    std::string FindOnSearchPath(const std::string& name) override;
    std::string AppPath(const std::string& file) override;
    bool HasSchemeHandler(const std::string& scheme) override;
};

// `text` with its environment variables expanded (unchanged when it names none).
[[nodiscard]] std::string ExpandVariables(const std::string& text);

// The existing file or folder a typed target opens ("notepad", "%windir%\notepad.exe"); empty
// for an address or when there is none.
[[nodiscard]] std::string ResolvedPath(const std::string& typed);

}  // namespace platform
