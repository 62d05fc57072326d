// Browsing the icons of a library (an icon file, a program or a DLL): the count label, the
// scroll range, where browsing starts, and what the item's record keeps.
#pragma once

#include <string>

namespace editor {

inline constexpr const char* kChooserTitle = "Select Icon";
inline constexpr const char* kLibraryDialogTitle = "Select a DLL or EXE which includes Icons";
inline constexpr const char* kLibraryFilter =
    "Icon Files (*.ico;*.exe;*.dll)|*.ico;*.exe;*.dll|All files|*.*";
inline constexpr const char* kNoIconsMessage = "No Icons found in this file!";

// "1 Icon", "7 Icons", "0 Icons".
[[nodiscard]] std::string IconCountText(int count);
// The scroll bar runs from 0 to this.
[[nodiscard]] int ScrollMaximum(int count);
// Where browsing starts for a stored index: that icon, or the first when the library no
// longer has it.
[[nodiscard]] int StartPosition(int storedIndex, int count);
// The record's IconFile after choosing `library`: empty when it is the item's own target, whose
// icons the engine uses when IconFile is empty.
[[nodiscard]] std::string StoredIconFile(const std::string& library, const std::string& target);

}  // namespace editor
