// Which pages hold changes not yet saved, and what leaving them (Quit, closing the window, a
// change of menu type) asks first.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/model/appearance.h"
#include "menufile/menu_file.h"

namespace editor {

inline constexpr const char* kSaveAppearanceQuestion = "Save the changes to the menu's appearance?";
inline constexpr const char* kSavePointerQuestion = "Save the changes to the directory pointer?";

// What the "Appearance" tab shows: its settings, and the icon of a library shown in place of
// the menu's picture (its file and number; empty while the menu's own picture shows).
struct AppearanceShown {
    Appearance Settings;
    std::string ChosenIcon;
};

// What the directory-pointer page shows.
struct PointerShown {
    std::string Folder;
    std::string Pattern;
    bool ShowFolders = false;
    bool HideExtensions = false;
    bool ShowHidden = false;
};

// The pointer page as it shows `pointer`.
[[nodiscard]] PointerShown PointerShownOf(const menufile::DirectoryPointer& pointer);

// Whether the page shows something else than it did when it was last filled or saved
// (`settled`): what Save would write that the file does not hold yet. The settings compare as
// they are written (a size of 8.25 is 8.25 however the file spelled it); the folder with or
// without its trailing backslash, which the path box adds as it is typed.
[[nodiscard]] bool AppearanceUnsaved(const AppearanceShown& shown, const AppearanceShown& settled);
[[nodiscard]] bool PointerUnsaved(const PointerShown& shown, const PointerShown& settled);

enum class UnsavedPage { Appearance, DirectoryPointer };

// The pages holding unsaved changes, in the order they are asked about. The pointer page counts
// only while the menu is a directory pointer (else it is not shown).
[[nodiscard]] std::vector<UnsavedPage> UnsavedPages(bool appearance, bool pointer,
                                                    bool isDirectoryPointer);

// The question naming what would be lost.
[[nodiscard]] const char* SaveQuestion(UnsavedPage page);

enum class SaveAnswer { Yes, No, Cancel };

// Before leaving: asks about each page in turn; Yes saves it as its "Save Changes" does (`save`
// true when written), No leaves it unsaved. True when the editor may go on; false to stay (a
// Cancel, or a save that failed and has said why), asking nothing more.
[[nodiscard]] bool SettleUnsavedPages(const std::vector<UnsavedPage>& pages,
                                      const std::function<SaveAnswer(const char* question)>& ask,
                                      const std::function<bool(UnsavedPage page)>& save);

}  // namespace editor
