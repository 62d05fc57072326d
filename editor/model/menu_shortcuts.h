// The editor's shortcuts of the menu it edits, in the Start menu and on the desktop: what is
// there, and making, removing and rewriting them without ever touching a shortcut of the same
// name that belongs to something else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "menufile/menu_identity.h"

namespace editor {

enum class ShortcutPlace { StartMenu, Desktop };

// Why a shortcut could not be read, written or removed, in the system's words.
struct ShortcutFailure {
    std::string Reason;
};

// The seam to the shell's links (editor/ui/shell_link_store_win.h on Windows; a fake in the
// tests).
class ShortcutStore {
public:
    virtual ~ShortcutStore() = default;
    // The folder the place's shortcuts go in ("...\Programs\Tarvel Menus" for the Start menu,
    // made when missing only by Write), or a failure when the system has none.
    [[nodiscard]] virtual std::optional<std::string> Folder(ShortcutPlace place,
                                                            ShortcutFailure& failure) = 0;
    // Nothing when no file is at `linkPath`; a link with an empty target when a file is there
    // that is not a readable link.
    [[nodiscard]] virtual std::optional<menufile::ShortcutLink> Read(const std::string& linkPath) = 0;
    // Writes the link, its folder made when missing, with `appId` as its
    // System.AppUserModel.ID. False with the reason when it could not be written.
    [[nodiscard]] virtual bool Write(const std::string& linkPath, const menufile::ShortcutLink& link,
                                     const std::string& appId, ShortcutFailure& failure) = 0;
    // Deletes the link (and the Start menu's folder when that leaves it empty).
    [[nodiscard]] virtual bool Remove(const std::string& linkPath, ShortcutFailure& failure) = 0;
    // Gives the identity's jump list the task "Edit menu"; quietly nothing where the system has
    // no jump lists.
    virtual void AddEditTask(const std::string& appId, const std::string& editorPath,
                             const std::string& menuPath) = 0;
};

enum class ShortcutState {
    Absent,   // no file of that name
    Ours,     // starts this engine on this menu
    Foreign,  // a file of that name that starts something else (or is no link)
};

struct ShortcutStatus {
    ShortcutState State = ShortcutState::Absent;
    std::string LinkPath;       // empty when the place has no folder
    std::string ForeignTarget;  // what the foreign shortcut starts ("" when unreadable)
    std::uint16_t HotKey = 0;   // of ours
};

// What a change did: done, or a message for "Error!".
struct ShortcutResult {
    bool Done = false;
    std::string Message;
};

class MenuShortcuts {
public:
    // `programFolder`: the folder the running editor was started from; the engine beside it is
    // what the shortcuts start, and the editor what their "Edit menu" task starts.
    MenuShortcuts(ShortcutStore& store, std::string programFolder);

    [[nodiscard]] ShortcutStatus Status(ShortcutPlace place, const std::string& menuPath);
    // Makes the place's shortcut of the menu with the key; a foreign one is kept and said.
    [[nodiscard]] ShortcutResult Make(ShortcutPlace place, const std::string& menuPath,
                                      std::uint16_t hotKey);
    // Removes ours; a foreign one is kept.
    [[nodiscard]] ShortcutResult Remove(ShortcutPlace place, const std::string& menuPath);
    // Rewrites every shortcut of ours of the menu with the new key.
    [[nodiscard]] ShortcutResult SetHotKey(const std::string& menuPath, std::uint16_t hotKey);

    [[nodiscard]] std::string EnginePath() const;
    [[nodiscard]] std::string EditorPath() const;

private:
    ShortcutStore& m_store;
    std::string m_programFolder;
};

}  // namespace editor
