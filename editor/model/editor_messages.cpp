// Texts of the editor's message boxes that name the menu file.
#include "editor/model/editor_messages.h"

#include "menufile/display_path.h"

namespace editor {

std::string LoadProblemText(LoadStatus status, const std::string& fullPath) {
    const std::string path = menufile::ShortenPath(fullPath);
    const std::string file = "The menu file\r" + path + "\r";
    switch (status) {
        case LoadStatus::NoPath:
            return "No menu file was given.";
        case LoadStatus::NotFound:
            return file + "does not exist.";
        case LoadStatus::Folder:
            return "The path\r" + path + "\rnames a folder, not a menu file.";
        case LoadStatus::TooLong:
            return "The path\r" + path + "\ris too long: Windows cannot open a file by it.";
        case LoadStatus::InUse:
            return file + "cannot be read: another program is using it.";
        case LoadStatus::NoPermission:
            return file + "cannot be read: you do not have permission to read it.";
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
            return file + "cannot be read.";
        case LoadStatus::OldLayout:
        case LoadStatus::Loaded:
            break;
    }
    return {};
}

std::string WriteErrorText(menufile::MenuError error, const std::string& menuPath) {
    using menufile::MenuError;
    const char* why = nullptr;
    std::string named;
    switch (error) {
        case MenuError::ForeignJournal:
            named = "\"" + menufile::ShortenPath(menufile::JournalPath(menuPath)) +
                    "\" is in the way: saving needs that name beside the menu file for a "
                    "moment. Please move or rename it.";
            why = named.c_str();
            break;
        case MenuError::UntrustedJournal:
            named = "\"" + menufile::ShortenPath(menufile::JournalPath(menuPath)) +
                    "\" belongs to another user, so nothing is saved while it lies beside the "
                    "menu file. Open the menu again to set it aside.";
            why = named.c_str();
            break;
        case MenuError::ReadOnly:
            why = "The menu file is read-only.";
            break;
        case MenuError::InUse:
            why = "Another program is using the menu file.";
            break;
        case MenuError::DiskFull:
            why = "The disk is full.";
            break;
        case MenuError::FolderReadOnly:
            why =
                "The menu file's folder does not allow new files, and saving needs to make one "
                "there for a moment.";
            break;
        case MenuError::NotFound:
            why = "The menu file no longer exists.";
            break;
        case MenuError::Changed:
            why = "The menu file was changed by another program.";
            break;
        case MenuError::NotAMenu:
            why = "The file is no longer a menu file.";
            break;
        case MenuError::Damaged:
            why = "The menu file is damaged.";
            break;
        case MenuError::BadText:
            why =
                "A text holds a character that a menu file cannot store (a double quote or a "
                "line break).";
            break;
        case MenuError::PictureHoldsMarker:
            why = "The new icon picture cannot be stored in a menu file.";
            break;
        case MenuError::None:
        case MenuError::Other:
            break;
    }
    return why != nullptr ? std::string(kWriteError) + "\r" + why : std::string(kWriteError);
}

std::string DamagedLineQuestion(const std::string& path, std::size_t line) {
    return "The menu file\r" + menufile::ShortenPath(path) + "\rhas a damaged record on line " +
           std::to_string(line) +
           ": it is cut short or holds a value that cannot be written back.\r"
           "Would you like to open the menu without that line?";
}

std::string StaleJournalText(const std::string& menuPath, const std::string& setAside) {
    return "The menu file\r" + menufile::ShortenPath(menuPath) +
           "\rwas changed after a save of it was interrupted, and is kept as it is now.\r"
           "What it held before that save is in\r" +
           menufile::ShortenPath(setAside);
}

std::string KeptJournalText(const std::string& menuPath, const std::string& setAside) {
    return "A save of the menu file\r" + menufile::ShortenPath(menuPath) +
           "\rwas interrupted, and the menu file is no longer there.\r"
           "What it held before that save is kept in\r" +
           menufile::ShortenPath(setAside);
}

std::string UntrustedJournalQuestion(const std::string& menuPath) {
    return "Beside the menu file\r" + menufile::ShortenPath(menuPath) + "\rlies\r" +
           menufile::ShortenPath(menufile::JournalPath(menuPath)) +
           "\ra journal of an interrupted save that another user made. It was not used: the "
           "menu is shown as the file holds it, and nothing can be saved while that journal "
           "lies there.\rWould you like to set it aside as\r" +
           menufile::ShortenPath(menufile::JournalPath(menuPath) + ".untrusted") + "?";
}

std::string CreateMenuQuestion(const std::string& path) {
    return "The menu file\r" + menufile::ShortenPath(path) +
           "\rdoes not exist.\rWould you like to create a new, empty menu there?";
}

std::string WriteMissingMenuQuestion(const std::string& path) {
    return "The menu file\r" + menufile::ShortenPath(path) +
           "\ris no longer there.\rWould you like to write the menu again, as the list shows it, "
           "with this item?";
}

std::string ShortcutNoFolderText(const std::string& place, const std::string& reason) {
    return "The shortcut could not be made: Windows gives no " + place + " folder." +
           (reason.empty() ? "" : "\r" + reason);
}

std::string ShortcutNotMadeText(const std::string& folder, const std::string& reason) {
    return "The shortcut could not be made in " + folder + "." +
           (reason.empty() ? "" : "\r" + reason);
}

std::string ShortcutKeyNotSetText(const std::string& folder, const std::string& reason) {
    return "The shortcut in " + folder + " could not be given the new key." +
           (reason.empty() ? "" : "\r" + reason);
}

std::string ShortcutNotRemovedText(const std::string& folder, const std::string& reason) {
    return "The shortcut could not be deleted from " + folder + "." +
           (reason.empty() ? "" : "\r" + reason);
}

std::string ShortcutForeignText(const std::string& linkPath, const std::string& target) {
    const std::string what = target.empty() ? "is not a shortcut of this menu"
                                            : "starts " + target;
    return "A shortcut of that name already exists:\r" + linkPath + "\r" + what +
           ".\rIt was kept; no shortcut of this menu was made.";
}

}  // namespace editor
