// The main window's title.
#include "editor/model/window_title.h"

#include "menufile/display_path.h"

namespace editor {

std::string MainWindowTitle(std::string_view path, std::string_view displayName) {
    if (path.empty()) {
        return kMainTitle;
    }
    std::string name(displayName.empty() ? menufile::LastPathPart(path) : displayName);
    return name + " - " + kMainTitle;
}

}  // namespace editor
