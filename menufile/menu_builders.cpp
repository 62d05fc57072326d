// Menu file record writers and the builders of every change.
#include <string>
#include <utility>

#include "menufile/field_text.h"
#include "menufile/menu_file.h"

namespace menufile {
namespace {

using field::FindMarkerEnd;
using field::IsLineEnd;

std::string Quoted(std::string_view value) {
    std::string s;
    s.reserve(value.size() + 2);
    s += '"';
    s += value;
    s += '"';
    return s;
}

// The picture and the marker line with its line end; a readable menu always has that end.
std::string PrefixOf(std::string_view old, const MenuFile& file) {
    return std::string(old.substr(0, file.PrefixLength));
}

// Reads back what a builder made and checks that it holds what was meant.
Built Checked(std::string content, const MenuFile& expected) {
    MenuFile back = ReadMenu(content);
    if (back.Status != ReadStatus::Ok) {
        return {MenuError::BadText, {}};
    }
    if (back.MenuType != expected.MenuType || back.Settings != expected.Settings ||
        back.Items != expected.Items || back.DirectoryPointer != expected.DirectoryPointer) {
        return {MenuError::BadText, {}};
    }
    return {MenuError::None, std::move(content)};
}

// Why a file that must be a complete menu is not one.
MenuError Usable(const MenuFile& file) {
    switch (file.Status) {
        case ReadStatus::Ok:
            return MenuError::None;
        case ReadStatus::NoMarker:
            return MenuError::NotAMenu;
        case ReadStatus::NoSettings:
        case ReadStatus::Truncated:
        case ReadStatus::BadValue:
            return MenuError::Damaged;
    }
    return MenuError::Damaged;
}

std::string Compose(std::string prefix, const MenuFile& file) {
    std::string s = std::move(prefix);
    s += FormatTypeLine(file.MenuType);
    s += FormatSettingsLine(file.Settings);
    for (const MenuItem& item : file.Items) {
        AppendItemLine(s, item);
    }
    return s;
}

std::string FormatCheckValue(int value) {
    // A value that is not negative is written with one leading space.
    return (value >= 0 ? " " : "") + std::to_string(value);
}

}  // namespace

std::string FormatTypeLine(std::string_view type) {
    return Quoted(type) + std::string(kLineEnd);
}

std::string FormatSettingsLine(const MenuSettings& s) {
    std::string line = s.SmallIcons + "," + Quoted(s.FontName) + "," + s.FontSize + "," +
                       s.FontBold + "," + s.FontItalic;
    return line + std::string(kLineEnd);
}

void AppendItemLine(std::string& out, const MenuItem& item) {
    for (const std::string* quoted :
         {&item.Name, &item.Target, &item.Arguments, &item.StartIn, &item.IconFile}) {
        out += '"';
        out += *quoted;
        out += "\",";
    }
    out += item.IconIndex;
    out += kLineEnd;
}

std::string FormatItemLine(const MenuItem& item) {
    std::string line;
    AppendItemLine(line, item);
    return line;
}

std::string FormatPointerLine(const DirectoryPointer& p) {
    return Quoted(p.Folder) + "," + Quoted(p.Pattern) + "," + p.ShowFolders + "," +
           p.HideExtensions + "," + p.ShowHidden + std::string(kLineEnd);
}

std::string FormatSavedPointer(std::string_view folder, std::string_view pattern, int showFolders,
                               int hideExtensions, int showHidden) {
    return Quoted(folder) + "," + Quoted(pattern) + "," + FormatCheckValue(showFolders) + "," +
           FormatCheckValue(hideExtensions) + "," + FormatCheckValue(showHidden);
}

Built RewriteItems(std::string_view old, const MenuFile& parsed, std::string_view type,
                   const std::vector<MenuItem>& items) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = type;
    file.Settings = parsed.Settings;
    file.Items = items;
    if (file.IsDirectoryPointer()) {
        return {MenuError::BadText, {}};  // a pointer menu holds no items
    }
    return Checked(Compose(PrefixOf(old, parsed), file), file);
}

Built ChangeToDirectoryPointer(std::string_view old, const MenuFile& parsed) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = kDirectoryPointer;
    file.Settings = parsed.Settings;
    file.DirectoryPointer = DirectoryPointer{};
    return Checked(Compose(PrefixOf(old, parsed), file) + FormatPointerLine(*file.DirectoryPointer),
                   file);
}

Built ChangeToUserDefined(std::string_view old, const MenuFile& parsed) {
    return RewriteItems(old, parsed, kUserDefined, {});
}

Built SaveDirectoryPointer(std::string_view old, const MenuFile& parsed, std::string_view folder,
                           std::string_view pattern, int showFolders, int hideExtensions,
                           int showHidden) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = kDirectoryPointer;
    file.Settings = parsed.Settings;
    file.DirectoryPointer =
        DirectoryPointer{std::string(folder), std::string(pattern), std::to_string(showFolders),
                         std::to_string(hideExtensions), std::to_string(showHidden)};
    return Checked(Compose(PrefixOf(old, parsed), file) +
                       FormatSavedPointer(folder, pattern, showFolders, hideExtensions, showHidden),
                   file);
}

Built SaveAppearance(std::string_view old, const MenuFile& parsed, const std::string* picture,
                     const MenuSettings& settings) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    std::string prefix;
    if (picture == nullptr) {
        prefix = PrefixOf(old, parsed);  // the picture the menu has, byte for byte
    } else {
        prefix = *picture;
        prefix += kLineEnd;
        prefix += kMarker;
        prefix += kLineEnd;
        if (FindMarkerEnd(prefix) != prefix.size()) {
            return {MenuError::PictureHoldsMarker, {}};
        }
    }
    MenuFile file = parsed;
    file.Settings = settings;
    std::string content;
    if (file.IsDirectoryPointer()) {
        // The pointer record is kept byte for byte, in whichever of its forms it was written.
        content = Compose(std::move(prefix), file) + std::string(old.substr(file.RecordsOffset));
    } else {
        file.MenuType = kUserDefined;
        content = Compose(std::move(prefix), file);
    }
    return Checked(std::move(content), file);
}

Built AppendItem(std::string_view old, const MenuFile& parsed, const MenuItem& item) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    if (parsed.IsDirectoryPointer()) {
        return {MenuError::BadText, {}};
    }
    std::string content(old);
    // Without a line end the new record would run into the last field of the file.
    if (content.empty() || !IsLineEnd(content.back())) {
        content += kLineEnd;
    }
    content += FormatItemLine(item);
    MenuFile file = parsed;
    file.Items.push_back(item);
    return Checked(std::move(content), file);
}

Built RewriteItems(std::string_view old, std::string_view type,
                   const std::vector<MenuItem>& items) {
    return RewriteItems(old, ReadMenu(old), type, items);
}

Built ChangeToDirectoryPointer(std::string_view old) {
    return ChangeToDirectoryPointer(old, ReadMenu(old));
}

Built ChangeToUserDefined(std::string_view old) {
    return ChangeToUserDefined(old, ReadMenu(old));
}

Built SaveDirectoryPointer(std::string_view old, std::string_view folder, std::string_view pattern,
                           int showFolders, int hideExtensions, int showHidden) {
    return SaveDirectoryPointer(old, ReadMenu(old), folder, pattern, showFolders, hideExtensions,
                                showHidden);
}

Built SaveAppearance(std::string_view old, std::string_view picture, const MenuSettings& settings) {
    const std::string copy(picture);
    return SaveAppearance(old, ReadMenu(old), &copy, settings);
}

Built AppendItem(std::string_view old, const MenuItem& item) {
    return AppendItem(old, ReadMenu(old), item);
}

Built UpgradeMenuFile(std::string_view old, std::string_view stockPicture) {
    std::string content(stockPicture);
    content += kLineEnd;
    content += kMarker;
    content += kLineEnd;
    std::size_t prefixLength = content.size();
    content += FormatTypeLine(kUserDefined);
    content += old;
    MenuFile back = ReadMenu(content);
    if (back.PrefixLength != prefixLength) {
        return {back.Status == ReadStatus::NoMarker ? MenuError::NotAMenu
                                                    : MenuError::PictureHoldsMarker,
                {}};
    }
    if (back.Status != ReadStatus::Ok) {
        return {MenuError::Damaged, {}};
    }
    return {MenuError::None, std::move(content)};
}

}  // namespace menufile
