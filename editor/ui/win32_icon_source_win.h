// Item icons for the preview, taken from their files by the system.
#pragma once

#include <string>

#include "editor/model/preview_icon_cache.h"

namespace editor {

// Item icons for the preview, at its 32-pixel size.
class Win32IconSource : public IconSource {
public:
    IconHandle Extract(const std::string& file, int index) override;
    void Destroy(IconHandle icon) override;
};

}  // namespace editor
