// Item icons for the preview, taken from their files by the system.
#include "editor/ui/win32_icon_source_win.h"

#include <windows.h>

#include "platform/shell_win.h"
#include "platform/win32_handles_win.h"

namespace editor {

IconHandle Win32IconSource::Extract(const std::string& file, int index) {
    HICON large = nullptr;
    HICON small = nullptr;
    if (!platform::ExtractIconPair(file, index, large, small)) {
        return 0;
    }
    platform::UniqueHicon smallOwner(small);  // only the 32x32 icon is shown
    return reinterpret_cast<IconHandle>(large);
}

void Win32IconSource::Destroy(IconHandle icon) {
    ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace editor
