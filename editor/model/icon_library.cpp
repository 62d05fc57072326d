// Icon library browsing rules.
#include "editor/model/icon_library.h"

namespace editor {

std::string IconCountText(int count) {
    return std::to_string(count) + (count == 1 ? " Icon" : " Icons");
}

int ScrollMaximum(int count) {
    return count > 0 ? count - 1 : 0;
}

int StartPosition(int storedIndex, int count) {
    return storedIndex >= 0 && storedIndex < count ? storedIndex : 0;
}

std::string StoredIconFile(const std::string& library, const std::string& target) {
    return library == target ? std::string() : library;
}

}  // namespace editor
