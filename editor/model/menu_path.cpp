// The default extension of a menu file's name.
#include "editor/model/menu_path.h"

namespace editor {

std::string WithDefaultExtension(std::string_view path, std::string_view extension,
                                 bool existsAsTyped) {
    const std::size_t slash = path.find_last_of("\\/:");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string result(path);
    if (name.empty() || existsAsTyped || name.find('.') != std::string_view::npos) {
        return result;
    }
    result += '.';
    result += extension;
    return result;
}

}  // namespace editor
