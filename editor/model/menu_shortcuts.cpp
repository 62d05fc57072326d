// The editor's shortcuts of its menu: what is there, and changes that never touch another
// program's shortcut.
#include "editor/model/menu_shortcuts.h"

#include <utility>

#include "editor/model/editor_messages.h"

namespace editor {
namespace {

constexpr ShortcutPlace kPlaces[] = {ShortcutPlace::StartMenu, ShortcutPlace::Desktop};

std::string PlaceName(ShortcutPlace place) {
    return place == ShortcutPlace::StartMenu ? "Start menu" : "desktop";
}

std::string FolderOf(const std::string& linkPath) {
    const std::size_t slash = linkPath.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : linkPath.substr(0, slash);
}

ShortcutResult Failed(std::string message) {
    return {false, std::move(message)};
}

}  // namespace

MenuShortcuts::MenuShortcuts(ShortcutStore& store, std::string programFolder)
    : m_store(store), m_programFolder(std::move(programFolder)) {
    while (!m_programFolder.empty() &&
           (m_programFolder.back() == '\\' || m_programFolder.back() == '/')) {
        m_programFolder.pop_back();
    }
}

std::string MenuShortcuts::EnginePath() const {
    return m_programFolder + "\\tvlengin.exe";
}

std::string MenuShortcuts::EditorPath() const {
    return m_programFolder + "\\tvledit.exe";
}

ShortcutStatus MenuShortcuts::Status(ShortcutPlace place, const std::string& menuPath) {
    ShortcutStatus status;
    ShortcutFailure failure;
    const std::optional<std::string> folder = m_store.Folder(place, failure);
    if (!folder) {
        return status;
    }
    status.LinkPath = *folder + "\\" + menufile::ShortcutFileName(menuPath);
    const std::optional<menufile::ShortcutLink> link = m_store.Read(status.LinkPath);
    if (!link) {
        return status;
    }
    if (menufile::IsShortcutOf(*link, EnginePath(), menuPath)) {
        status.State = ShortcutState::Ours;
        status.HotKey = link->HotKey;
    } else {
        status.State = ShortcutState::Foreign;
        status.ForeignTarget = link->Target;
    }
    return status;
}

ShortcutResult MenuShortcuts::Make(ShortcutPlace place, const std::string& menuPath,
                                   std::uint16_t hotKey) {
    ShortcutFailure failure;
    if (!m_store.Folder(place, failure)) {
        return Failed(ShortcutNoFolderText(PlaceName(place), failure.Reason));
    }
    const ShortcutStatus status = Status(place, menuPath);
    if (status.State == ShortcutState::Foreign) {
        return Failed(ShortcutForeignText(status.LinkPath, status.ForeignTarget));
    }
    const std::string appId = menufile::MenuAppUserModelId(menuPath);
    if (!m_store.Write(status.LinkPath, menufile::MenuShortcut(EnginePath(), menuPath, hotKey),
                       appId, failure)) {
        return Failed(ShortcutNotMadeText(FolderOf(status.LinkPath), failure.Reason));
    }
    if (status.State == ShortcutState::Absent) {
        m_store.AddEditTask(appId, EditorPath(), menuPath);
    }
    return {true, {}};
}

ShortcutResult MenuShortcuts::Remove(ShortcutPlace place, const std::string& menuPath) {
    const ShortcutStatus status = Status(place, menuPath);
    if (status.State != ShortcutState::Ours) {
        return {true, {}};  // nothing of ours there; another program's shortcut stays
    }
    ShortcutFailure failure;
    if (!m_store.Remove(status.LinkPath, failure)) {
        return Failed(ShortcutNotRemovedText(FolderOf(status.LinkPath), failure.Reason));
    }
    return {true, {}};
}

ShortcutResult MenuShortcuts::SetHotKey(const std::string& menuPath, std::uint16_t hotKey) {
    ShortcutResult result{true, {}};
    const std::string appId = menufile::MenuAppUserModelId(menuPath);
    for (const ShortcutPlace place : kPlaces) {
        const ShortcutStatus status = Status(place, menuPath);
        if (status.State != ShortcutState::Ours || status.HotKey == hotKey) {
            continue;
        }
        ShortcutFailure failure;
        if (!m_store.Write(status.LinkPath, menufile::MenuShortcut(EnginePath(), menuPath, hotKey),
                           appId, failure)) {
            // The other place is still tried: each shortcut is a file of its own.
            result.Done = false;
            result.Message += (result.Message.empty() ? "" : "\r") +
                              ShortcutKeyNotSetText(FolderOf(status.LinkPath), failure.Reason);
        }
    }
    return result;
}

}  // namespace editor
