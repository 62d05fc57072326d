// The add/edit item wizard's decisions: which paths it takes, its two pages and their buttons,
// the name it proposes, and the record text it refuses.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "menufile/menu_file.h"
#include "menufile/typed_target.h"

namespace editor {

inline constexpr const char* kWizardTitle = "New Shortcut";
inline constexpr const char* kPathInstruction =
    "Type the full path of the item you want to create a shortcut to. Or search for the item by "
    "clicking Browse.";
inline constexpr const char* kNameInstruction = "Type a friendly name for your shortcut.";
inline constexpr const char* kBrowseTitle = "Select Program";
inline constexpr const char* kBrowseFilter = "Program Files|*.com;*.exe;*.bat|All files|*.*";

// An internet address: one of six prefixes, compared exactly (capitals are not addresses).
[[nodiscard]] bool IsInternetAddress(std::string_view path);

// "File <path> cannot be accessed. Please check the path."
[[nodiscard]] std::string RefusedPathMessage(const std::string& path);

// The record format cannot hold a double quote or a line break; names the first field that
// holds one, or nothing when all four can be written.
[[nodiscard]] std::optional<std::string> UnwritableTextMessage(const menufile::MenuItem& item);

// Does a file or folder exist at the path (hidden and system ones included)?
using PathExists = std::function<bool(const std::string& path)>;
// The shell's display name for the path; empty when it knows none.
using DisplayNameOf = std::function<std::string(const std::string& path)>;

class ItemWizard {
public:
    enum class Page { Path, Name };

    // A new item (all boxes empty), or an edit of `item`.
    ItemWizard() = default;
    explicit ItemWizard(const menufile::MenuItem& item);

    [[nodiscard]] Page CurrentPage() const { return m_page; }

    // The four boxes: the path, the arguments, the start-in folder and the name.
    std::string Target;
    std::string Arguments;
    std::string StartIn;
    std::string Name;

    // Buttons, following the boxes' texts.
    [[nodiscard]] bool BackEnabled() const { return m_page == Page::Name; }
    [[nodiscard]] bool NextVisible() const { return m_page == Page::Path; }
    [[nodiscard]] bool NextEnabled() const { return !Target.empty(); }
    [[nodiscard]] bool FinishVisible() const { return m_page == Page::Name; }
    [[nodiscard]] bool FinishEnabled() const { return !Name.empty(); }
    [[nodiscard]] const char* Instruction() const;

    // "Next >": the path is checked; on refusal the message to show and the page stays.
    // Taken as the Run box takes it: one of the six address prefixes, an existing path with its
    // variables expanded, an address of a scheme with a handler, or a program found by name.
    // The path box keeps what was typed; a new item's name becomes the shell's display name of
    // what it resolves to (empty when none).
    [[nodiscard]] std::optional<std::string> Next(menufile::TargetLookup& lookup,
                                                  const DisplayNameOf& displayName);
    // The same with nothing but existing paths and the six prefixes.
    [[nodiscard]] std::optional<std::string> Next(const PathExists& exists,
                                                  const DisplayNameOf& displayName);
    // "< Back": the boxes keep their texts.
    void Back();

    // The record "Finish" writes: a new item gets no icon file and index 0; an edit keeps the
    // icon of `old`.
    [[nodiscard]] menufile::MenuItem Record(const menufile::MenuItem& old = {}) const;

private:
    bool m_edit = false;
    Page m_page = Page::Path;
};

}  // namespace editor
