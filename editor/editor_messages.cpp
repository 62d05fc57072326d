// Texts of the editor's message boxes that name the menu file.
#include "editor/editor_messages.h"

namespace editor {

std::string LoadProblemText(LoadStatus status, const std::string& path) {
    const std::string file = "The menu file\r" + path + "\r";
    switch (status) {
        case LoadStatus::NoPath:
            return "No menu file was given.";
        case LoadStatus::NotFound:
            return file + "does not exist.";
        case LoadStatus::Empty:
            return file + "is empty: it holds no menu.";
        case LoadStatus::NotAMenu:
            return "The file\r" + path + "\ris not a menu file.";
        case LoadStatus::NoSettings:
            return file + "has no settings line and cannot be opened.";
        case LoadStatus::Damaged:
            return file +
                   "is damaged: a record is cut short or holds a value that cannot be written "
                   "back.";
        case LoadStatus::Unreadable:
            return file +
                   "cannot be read. Another program may have locked it, or you may not "
                   "have permission to read it.";
        case LoadStatus::OldLayout:
        case LoadStatus::Loaded:
            break;
    }
    return {};
}

std::string CreateMenuQuestion(const std::string& path) {
    return "The menu file\r" + path +
           "\rdoes not exist.\rWould you like to create a new, empty menu there?";
}

}  // namespace editor
