// The editor's list state and the changes it writes to the menu file.
#include "editor/model/menu_editor.h"

#include <algorithm>
#include <utility>

#include "menufile/internet_zone.h"

namespace editor {
namespace {

using menufile::Built;
using menufile::MenuError;
using menufile::MenuFile;
using menufile::MenuItem;
using menufile::ReadStatus;
using Kind = ListChange::Kind;
using menufile::TextEncoding;

// A user-defined menu with the records `each` hands to its argument, in order: the picture and
// marker of `old`, the type line, the settings as the list holds them. What the list holds was
// read from the file, so it reads back as itself; only records a change brings in are checked.
bool Ascii(const MenuItem& item) {
    return menufile::IsAscii(item.Name) && menufile::IsAscii(item.Target) &&
           menufile::IsAscii(item.Arguments) && menufile::IsAscii(item.StartIn) &&
           menufile::IsAscii(item.IconFile) && menufile::IsAscii(item.IconIndex);
}

// The text is written in `encoding`; a record that does not fit it gives nothing (no content).
template <class Each>
Built ComposeItems(std::string_view old, const MenuFile& header,
                   const menufile::MenuSettings& settings, TextEncoding encoding,
                   const menufile::CodePage& codePage, Each&& each) {
    const std::optional<menufile::MenuSettings> encoded =
        menufile::EncodeSettings(settings, encoding, codePage);
    if (!encoded) {
        return {MenuError::BadText, {}};
    }
    std::string content;
    content.reserve(old.size() + 256);
    content.append(old.substr(0, header.PrefixLength));
    content += menufile::FormatTypeLine(menufile::kUserDefined);
    content += menufile::FormatSettingsLine(*encoded);
    bool fits = true;
    each([&](const MenuItem& item) {
        if (!fits) {
            return;
        }
        if (encoding == TextEncoding::Utf8 || Ascii(item)) {
            menufile::AppendItemLine(content, item);  // the text as it is held
        } else if (std::optional<MenuItem> bytes = menufile::EncodeItem(item, encoding, codePage)) {
            menufile::AppendItemLine(content, *bytes);
        } else {
            fits = false;
        }
    });
    if (!fits) {
        return {MenuError::BadText, {}};
    }
    return {MenuError::None, std::move(content)};
}

// The first encoding of the file's own, then UTF-8, in which `build` gives content: a file keeps
// its encoding while every text fits it, and becomes UTF-8 when one does not.
template <class BuildIn>
Built InFittingEncoding(TextEncoding own, TextEncoding& used, BuildIn&& build) {
    Built built = build(own);
    used = own;
    if (built.Error == MenuError::BadText && own != TextEncoding::Utf8) {
        Built utf8 = build(TextEncoding::Utf8);
        if (utf8.Error != MenuError::BadText) {
            used = TextEncoding::Utf8;
            return utf8;
        }
    }
    return built;
}

// The row a change touched, as the list was before it and as it left it.
int RowBefore(const ListChange& change, int selection) {
    switch (change.What) {
        case Kind::Removed:
        case Kind::Inserted:
        case Kind::Replaced:
            return change.Index;
        case Kind::Swapped:
            return selection == change.Index ? change.Index + 1 : change.Index;
        case Kind::Moved:
            return change.Index;
        default:
            return -1;
    }
}

int RowAfter(const ListChange& change, int selection) {
    switch (change.What) {
        case Kind::Inserted:
        case Kind::Replaced:
        case Kind::Appended:
            return change.Index;
        case Kind::Swapped:
            return selection;
        case Kind::Moved:
            return change.Count;
        default:
            return -1;
    }
}

// How a step names an item: its name, or what a separator is.
std::string Named(const std::string& verb, const MenuItem& item) {
    return verb + " \"" + (item.Name.empty() ? std::string("Separator") : item.Name) + "\"";
}

EditResult Unchanged(int selection) {
    return {EditStatus::Unchanged, MenuError::None, selection, {}};
}

}  // namespace

ListRow RowOf(const MenuItem& item) {
    return {item.Name.empty() ? kSeparatorText : item.Name, item.Target};
}

MenuEditor::MenuEditor(menufile::FileSystem& fs, IconSource& icons,
                       const menufile::CodePage& codePage)
    : m_fs(fs), m_icons(icons), m_codePage(codePage) {}

bool MenuEditor::Agrees(const MenuFile& file) const {
    return file.IsDirectoryPointer() == m_isDirectoryPointer && file.Settings == m_settings &&
           file.Items == m_records &&
           file.DirectoryPointer.value_or(menufile::DirectoryPointer{}) == m_directoryPointer;
}

std::optional<MenuFile> MenuEditor::Known(const MenuFile& header, TextEncoding encoding) const {
    MenuFile file = header;
    std::optional<menufile::MenuSettings> settings =
        menufile::EncodeSettings(m_settings, encoding, m_codePage);
    if (!settings) {
        return std::nullopt;
    }
    file.Settings = std::move(*settings);
    file.Items.reserve(m_records.size());
    for (const MenuItem& item : m_records) {
        std::optional<MenuItem> bytes = menufile::EncodeItem(item, encoding, m_codePage);
        if (!bytes) {
            return std::nullopt;
        }
        file.Items.push_back(std::move(*bytes));
    }
    if (m_isDirectoryPointer) {
        file.DirectoryPointer = menufile::EncodePointer(m_directoryPointer, encoding, m_codePage);
        if (!file.DirectoryPointer) {
            return std::nullopt;
        }
    }
    return file;
}

template <class Each>
Built MenuEditor::Compose(std::string_view old, const MenuFile& header, Each&& each) {
    return InFittingEncoding(m_encoding, m_written, [&](TextEncoding encoding) {
        return ComposeItems(old, header, m_settings, encoding, m_codePage, each);
    });
}

EditResult MenuEditor::Rewrite(int selection, ListChange change, std::string description,
                               const Build& build) {
    if (!m_loaded) {
        return Unchanged(selection);
    }
    std::string committed;
    std::string before;
    MenuError e = menufile::ChangeMenuFile(
        m_fs, m_path,
        [&](std::string_view old) {
            before.assign(old);
            // Bytes that are what the list was read from or last wrote need no parse; others
            // must still read as what the list shows.
            if (old != m_bytes) {
                MenuFile file = menufile::ReadMenu(old);
                menufile::DecodeMenu(old, file, m_codePage);
                if (file.Status != ReadStatus::Ok) {
                    return Built{MenuError::Damaged, {}};  // replaced by something that is no menu
                }
                if (!Agrees(file)) {
                    return Built{MenuError::Changed, {}};
                }
            }
            const MenuFile header = menufile::ReadMenuHeader(old);
            if (header.Status != ReadStatus::Ok) {
                return Built{MenuError::Damaged, {}};
            }
            return build(old, header);
        },
        &committed);
    if (e == MenuError::None) {
        if (m_dropping && m_dropStarted) {
            m_history.Extend(committed);
        } else {
            m_history.Record({std::move(before), committed, RowBefore(change, selection),
                              RowAfter(change, selection), std::move(description)});
            m_dropStarted = m_dropping;
        }
        m_bytes = std::move(committed);
        m_encoding = m_written;
        return {EditStatus::Written, MenuError::None, selection, change};
    }
    Reload();
    const ListChange all{Kind::Reloaded, 0, 0};
    if (e == MenuError::Changed) {
        m_history.Clear();  // its bytes are no longer what the file holds
        return {EditStatus::Reloaded, MenuError::None, -1, all};
    }
    return {EditStatus::Failed, e, -1, all};
}

EditResult MenuEditor::Delete(int selected) {
    const int count = static_cast<int>(m_rows.size());
    if (m_isDirectoryPointer || selected < 0 || selected >= count) {
        return Unchanged(selected);
    }
    const auto k = static_cast<std::size_t>(selected);
    EditResult result = Rewrite(-1, {Kind::Removed, selected, 1}, Named("Delete", m_records[k]),
                                [&](std::string_view old, const MenuFile& header) {
                                    return Compose(old, header, [&](auto add) {
                                        for (std::size_t i = 0; i < m_records.size(); ++i) {
                                            if (i != k) {
                                                add(m_records[i]);
                                            }
                                        }
                                    });
                                });
    if (result.Status == EditStatus::Written) {
        m_rows.erase(m_rows.begin() + selected);
        m_records.erase(m_records.begin() + selected);
    }
    return result;
}

EditResult MenuEditor::MoveUp(int selected) {
    const int count = static_cast<int>(m_rows.size());
    if (m_isDirectoryPointer || selected < 1 || selected >= count) {
        return Unchanged(selected);
    }
    return Swap(selected - 1, selected - 1, "Move Up");
}

EditResult MenuEditor::MoveDown(int selected) {
    const int count = static_cast<int>(m_rows.size());
    if (m_isDirectoryPointer || selected < 0 || selected >= count - 1) {
        return Unchanged(selected);
    }
    return Swap(selected, selected + 1, "Move Down");
}

EditResult MenuEditor::Swap(int upper, int selection, const char* verb) {
    const auto a = static_cast<std::size_t>(upper);
    const std::size_t moved = selection == upper ? a + 1 : a;
    EditResult result = Rewrite(selection, {Kind::Swapped, upper, 2}, Named(verb, m_records[moved]),
                                [&](std::string_view old, const MenuFile& header) {
                                    return Compose(old, header, [&](auto add) {
                                        for (std::size_t i = 0; i < m_records.size(); ++i) {
                                            add(m_records[i == a ? a + 1 : i == a + 1 ? a : i]);
                                        }
                                    });
                                });
    if (result.Status == EditStatus::Written) {
        std::swap(m_rows[a], m_rows[a + 1]);
        std::swap(m_records[a], m_records[a + 1]);
    }
    return result;
}

EditResult MenuEditor::MoveItem(int from, int gap) {
    const int count = static_cast<int>(m_rows.size());
    const int to = gap > from ? gap - 1 : gap;  // its row once it is out of the way
    if (m_isDirectoryPointer || from < 0 || from >= count || gap < 0 || gap > count || to == from) {
        return Unchanged(from);
    }
    std::vector<MenuItem> records = m_records;
    const auto rotate = [from, to](auto& v) {
        if (from < to) {
            std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        } else {
            std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
        }
    };
    rotate(records);
    EditResult result = Rewrite(to, {Kind::Moved, from, to},
                                Named("Move", m_records[static_cast<std::size_t>(from)]),
                                [&](std::string_view old, const MenuFile& header) {
                                    return Compose(old, header, [&](auto add) {
                                        for (const MenuItem& record : records) {
                                            add(record);
                                        }
                                    });
                                });
    if (result.Status == EditStatus::Written) {
        rotate(m_rows);
        m_records = std::move(records);
    }
    return result;
}

EditResult MenuEditor::Separator(int selected) {
    const int count = static_cast<int>(m_rows.size());
    if (m_isDirectoryPointer || selected < 0 || selected >= count) {
        return Unchanged(selected);
    }
    const auto k = static_cast<std::size_t>(selected);
    EditResult result = Rewrite(-1, {Kind::Inserted, selected, 1}, "Separator",
                                [&](std::string_view old, const MenuFile& header) {
                                    return Compose(old, header, [&](auto add) {
                                        for (std::size_t i = 0; i < m_records.size(); ++i) {
                                            if (i == k) {
                                                add(MenuItem::Separator());
                                            }
                                            add(m_records[i]);
                                        }
                                    });
                                });
    if (result.Status == EditStatus::Written) {
        m_rows.insert(m_rows.begin() + selected, RowOf(MenuItem::Separator()));
        m_records.insert(m_records.begin() + selected, MenuItem::Separator());
    }
    return result;
}

DropResult MenuEditor::DropFiles(const std::vector<DroppedFile>& files) {
    DropResult result;
    if (m_isDirectoryPointer) {
        return result;  // the list is not shown for a directory pointer
    }
    const int first = static_cast<int>(m_rows.size());
    // One drop is one step of the history, however many commits it takes.
    m_dropping = true;
    m_dropStarted = false;
    for (const DroppedFile& dropped : files) {
        MenuItem item{dropped.Name, dropped.Path, "", "", "", "0"};
        EditResult one = Append(item, -1, "Drop");
        if (one.Status != EditStatus::Written) {
            result.Status = one.Status;
            result.Error = one.Error;
            result.Change = one.Change;
            break;
        }
        ++result.Added;
        result.Status = EditStatus::Written;
        result.Change = {Kind::Appended, first, result.Added};
    }
    m_dropping = false;
    if (result.Added > 1 && m_dropStarted) {
        m_history.Retitle("Drop " + std::to_string(result.Added) + " items");
    }
    return result;
}

EditResult MenuEditor::Append(const MenuItem& item, int selection, const char* verb) {
    const int at = static_cast<int>(m_rows.size());
    EditResult result = Rewrite(selection, {Kind::Appended, at, 1}, Named(verb, item),
                                [&](std::string_view old, const MenuFile& header) {
                                    if (!menufile::ReadsBackAsWritten(item)) {
                                        return Built{MenuError::BadText, {}};
                                    }
                                    const std::optional<MenuItem> bytes =
                                        menufile::EncodeItem(item, m_encoding, m_codePage);
                                    if (!bytes) {
                                        // Text the file's code page cannot hold: the whole
                                        // file becomes UTF-8, this record with it.
                                        return Compose(old, header, [&](auto add) {
                                            for (const MenuItem& record : m_records) {
                                                add(record);
                                            }
                                            add(item);
                                        });
                                    }
                                    m_written = m_encoding;
                                    std::string content;
                                    content.reserve(old.size() + 256);
                                    content = old;
                                    // Without a line end the record would run into the last
                                    // field of the file.
                                    if (content.back() != '\n' && content.back() != '\r') {
                                        content += menufile::kLineEnd;
                                    }
                                    menufile::AppendItemLine(content, *bytes);
                                    return Built{MenuError::None, std::move(content)};
                                });
    if (result.Status == EditStatus::Written) {
        m_rows.push_back(RowOf(item));
        m_records.push_back(item);
    }
    return result;
}

EditResult MenuEditor::AddItem(const MenuItem& item, int selection) {
    if (m_isDirectoryPointer) {
        return Unchanged(selection);
    }
    return Append(item, selection, "Add");
}

EditResult MenuEditor::ReplaceRecord(int index, const MenuItem& item, int selection,
                                     const char* verb) {
    const auto k = static_cast<std::size_t>(index);
    EditResult result = Rewrite(selection, {Kind::Replaced, index, 1}, Named(verb, item),
                                [&](std::string_view old, const MenuFile& header) {
                                    if (!menufile::ReadsBackAsWritten(item)) {
                                        return Built{MenuError::BadText, {}};
                                    }
                                    return Compose(old, header, [&](auto add) {
                                        for (std::size_t i = 0; i < m_records.size(); ++i) {
                                            add(i == k ? item : m_records[i]);
                                        }
                                    });
                                });
    if (result.Status == EditStatus::Written) {
        m_rows[k] = RowOf(item);
        m_records[k] = item;
    }
    return result;
}

EditResult MenuEditor::EditItem(int index, const MenuItem& item, int selection) {
    if (m_isDirectoryPointer || index < 0 || index >= static_cast<int>(m_rows.size())) {
        return Unchanged(selection);
    }
    return ReplaceRecord(index, item, selection, "Edit");
}

EditResult MenuEditor::SetItemIcon(int index, const std::string& iconFile, int iconIndex,
                                   IconHandle preview) {
    if (m_isDirectoryPointer || index < 0 || index >= static_cast<int>(m_rows.size())) {
        m_icons.Discard(preview);
        return Unchanged(index);
    }
    MenuItem item = m_records[static_cast<std::size_t>(index)];
    item.IconFile = iconFile;
    item.IconIndex = std::to_string(iconIndex);
    EditResult result = ReplaceRecord(index, item, index, "Change Icon");
    const menufile::ItemIcon source = menufile::ItemIconOf(item);
    if (result.Status == EditStatus::Written && !source.File.empty()) {
        // The chooser already extracted the icon the row now shows.
        m_icons.Put(source.File, source.Index, preview);
    } else {
        m_icons.Discard(preview);
    }
    return result;
}

EditResult MenuEditor::SaveAppearance(const std::string* picture,
                                      const menufile::MenuSettings& settings) {
    EditResult result =
        Rewrite(-1, {}, "Appearance", [&](std::string_view old, const MenuFile& header) {
            return InFittingEncoding(m_encoding, m_written, [&](TextEncoding encoding) {
                std::optional<MenuFile> file = Known(header, encoding);
                std::optional<menufile::MenuSettings> bytes =
                    menufile::EncodeSettings(settings, encoding, m_codePage);
                if (!file || !bytes) {
                    return Built{MenuError::BadText, {}};
                }
                if (encoding != m_encoding && m_isDirectoryPointer) {
                    // The pointer record is kept as written: in the new encoding it is written anew
                    // from what it holds.
                    std::string converted(old.substr(0, header.RecordsOffset));
                    converted += menufile::FormatPointerLine(*file->DirectoryPointer);
                    return menufile::SaveAppearance(converted, *file, picture, *bytes);
                }
                return menufile::SaveAppearance(old, *file, picture, *bytes);
            });
        });
    if (result.Status == EditStatus::Written) {
        m_settings = settings;
        if (picture != nullptr) {
            m_picture = *picture;
        }
    }
    return result;
}

const MenuItem* MenuEditor::Record(int index) const {
    return index >= 0 && index < static_cast<int>(m_records.size())
               ? &m_records[static_cast<std::size_t>(index)]
               : nullptr;
}

IconHandle MenuEditor::PreviewIcon(int index) {
    const MenuItem* record = Record(index);
    if (record == nullptr) {
        return 0;
    }
    const menufile::ItemIcon source = menufile::ItemIconFor(*record, m_fromInternet);
    return source.File.empty() ? 0 : m_icons.Get(source.File, source.Index);
}

EditResult MenuEditor::ChangeToDirectoryPointer() {
    if (m_isDirectoryPointer) {
        return Unchanged(-1);
    }
    EditResult result =
        Rewrite(-1, {Kind::Reloaded, 0, 0}, "Change Menu Type",
                [&](std::string_view old, const MenuFile& header) {
                    return InFittingEncoding(m_encoding, m_written, [&](TextEncoding encoding) {
                        std::optional<MenuFile> file = Known(header, encoding);
                        return file ? menufile::ChangeToDirectoryPointer(old, *file)
                                    : Built{MenuError::BadText, {}};
                    });
                });
    if (result.Status == EditStatus::Written) {
        m_rows.clear();
        m_records.clear();
        m_isDirectoryPointer = true;
        m_directoryPointer = menufile::DirectoryPointer{};
    }
    return result;
}

EditResult MenuEditor::ChangeToUserDefined() {
    if (!m_isDirectoryPointer) {
        return Unchanged(-1);
    }
    EditResult result =
        Rewrite(-1, {Kind::Reloaded, 0, 0}, "Change Menu Type",
                [&](std::string_view old, const MenuFile& header) {
                    return InFittingEncoding(m_encoding, m_written, [&](TextEncoding encoding) {
                        std::optional<MenuFile> file = Known(header, encoding);
                        return file ? menufile::ChangeToUserDefined(old, *file)
                                    : Built{MenuError::BadText, {}};
                    });
                });
    if (result.Status == EditStatus::Written) {
        m_isDirectoryPointer = false;
        m_directoryPointer = menufile::DirectoryPointer{};
    }
    return result;
}

EditResult MenuEditor::SaveDirectoryPointer(const std::string& folder, const std::string& pattern,
                                            int showFolders, int hideExtensions, int showHidden) {
    if (!m_isDirectoryPointer) {
        return Unchanged(-1);
    }
    EditResult result =
        Rewrite(-1, {}, "Directory Pointer", [&](std::string_view old, const MenuFile& header) {
            return InFittingEncoding(m_encoding, m_written, [&](TextEncoding encoding) {
                std::optional<MenuFile> file = Known(header, encoding);
                const std::optional<menufile::DirectoryPointer> typed =
                    menufile::EncodePointer({folder, pattern, "0", "0", "0"}, encoding, m_codePage);
                if (!file || !typed) {
                    return Built{MenuError::BadText, {}};
                }
                return menufile::SaveDirectoryPointer(old, *file, typed->Folder, typed->Pattern,
                                                      showFolders, hideExtensions, showHidden);
            });
        });
    if (result.Status == EditStatus::Written) {
        m_directoryPointer = {folder, pattern, std::to_string(showFolders),
                              std::to_string(hideExtensions), std::to_string(showHidden)};
    }
    return result;
}

}  // namespace editor
