// The unsaved-changes rule of the Appearance and directory-pointer pages.
#include "editor/model/unsaved_pages.h"

#include "editor/model/folder_list.h"

namespace editor {

PointerShown PointerShownOf(const menufile::DirectoryPointer& pointer) {
    return {pointer.Folder, pointer.Pattern, menufile::ToInt(pointer.ShowFolders) != 0,
            menufile::ToInt(pointer.HideExtensions) != 0, menufile::ToInt(pointer.ShowHidden) != 0};
}

bool AppearanceUnsaved(const AppearanceShown& shown, const AppearanceShown& settled) {
    return shown.ChosenIcon != settled.ChosenIcon ||
           !(SettingsOf(shown.Settings) == SettingsOf(settled.Settings));
}

bool PointerUnsaved(const PointerShown& shown, const PointerShown& settled) {
    return WithTrailingBackslash(shown.Folder) != WithTrailingBackslash(settled.Folder) ||
           shown.Pattern != settled.Pattern || shown.ShowFolders != settled.ShowFolders ||
           shown.HideExtensions != settled.HideExtensions || shown.ShowHidden != settled.ShowHidden;
}

std::vector<UnsavedPage> UnsavedPages(bool appearance, bool pointer, bool isDirectoryPointer) {
    std::vector<UnsavedPage> pages;
    if (appearance) {
        pages.push_back(UnsavedPage::Appearance);
    }
    if (pointer && isDirectoryPointer) {
        pages.push_back(UnsavedPage::DirectoryPointer);
    }
    return pages;
}

const char* SaveQuestion(UnsavedPage page) {
    return page == UnsavedPage::Appearance ? kSaveAppearanceQuestion : kSavePointerQuestion;
}

bool SettleUnsavedPages(const std::vector<UnsavedPage>& pages,
                        const std::function<SaveAnswer(const char* question)>& ask,
                        const std::function<bool(UnsavedPage page)>& save) {
    for (UnsavedPage page : pages) {
        switch (ask(SaveQuestion(page))) {
            case SaveAnswer::Yes:
                if (!save(page)) {
                    return false;
                }
                break;
            case SaveAnswer::No:
                break;
            case SaveAnswer::Cancel:
                return false;
        }
    }
    return true;
}

}  // namespace editor
