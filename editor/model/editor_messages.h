// The texts and titles of the editor's message boxes.
#pragma once

#include <string>

#include "editor/model/menu_editor.h"

namespace editor {

inline constexpr const char* kQueryTitle = "Query?";
inline constexpr const char* kErrorTitle = "Error!";
inline constexpr const char* kWriteError = "Error writing to file.";
inline constexpr const char* kUpgradeQuestion =
    "The menu file is invalid or a previous version.\rWould you like to update the file?";
inline constexpr const char* kTypeChangeQuestion =
    "Changing menu type will lose existing data.\rDo you wish to continue?";
inline constexpr const char* kChangedElsewhere =
    "The menu file was changed by another program.\rThe list now shows what the file holds; "
    "nothing was written.";
inline constexpr const char* kQuoteInPointer =
    "The folder and the file pattern cannot contain a double quote (\").";
inline constexpr const char* kRefreshDesktopMessage =
    "You might have to refresh the desktop for the new icon to show.";
inline constexpr const char* kNothingToUndo = "Nothing to undo";
inline constexpr const char* kOpenTitle = "Open or Create a Menu File";
inline constexpr const char* kOpenFilter = "Menu Files (*.tvl)|*.tvl|All files|*.*";

// "Error writing to file." with, on a second line, why: what the commit told apart. The menu
// file's path names what is in the way of a save.
[[nodiscard]] std::string WriteErrorText(menufile::MenuError error,
                                         const std::string& menuPath = {});
// After an interrupted save the file held something else, and was kept: said once, since the
// journal is then kept under `setAside`.
[[nodiscard]] std::string StaleJournalText(const std::string& menuPath,
                                           const std::string& setAside);
// A journal of a save lay beside a menu file that is missing or a folder: kept under `setAside`.
[[nodiscard]] std::string KeptJournalText(const std::string& menuPath, const std::string& setAside);
// A journal another user owns lies beside the menu: the offer to set it aside.
[[nodiscard]] std::string UntrustedJournalQuestion(const std::string& menuPath);

// Why the file cannot be shown, for every status but Loaded, OldLayout and NotFound (which
// ask a question instead).
[[nodiscard]] std::string LoadProblemText(LoadStatus status, const std::string& path);
// The offer to open a menu without the line whose record is damaged.
[[nodiscard]] std::string DamagedLineQuestion(const std::string& path, std::size_t line);
// The offer to make a new, empty menu at a path where there is no file.
[[nodiscard]] std::string CreateMenuQuestion(const std::string& path);
// The menu file went away while the wizard was open: the offer to write it again from the list
// shown, with the new or edited item.
[[nodiscard]] std::string WriteMissingMenuQuestion(const std::string& path);

// The shortcuts of the menu. `place` is how the user knows the folder ("Start menu",
// "desktop"); `reason` the system's words.
[[nodiscard]] std::string ShortcutNoFolderText(const std::string& place, const std::string& reason);
[[nodiscard]] std::string ShortcutNotMadeText(const std::string& folder, const std::string& reason);
[[nodiscard]] std::string ShortcutKeyNotSetText(const std::string& folder,
                                                const std::string& reason);
[[nodiscard]] std::string ShortcutNotRemovedText(const std::string& folder,
                                                 const std::string& reason);
// A shortcut of the menu's name that starts something else (`target`; empty when the file is no
// readable shortcut) was kept.
[[nodiscard]] std::string ShortcutForeignText(const std::string& linkPath,
                                              const std::string& target);

}  // namespace editor
