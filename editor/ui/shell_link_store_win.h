// The editor's shortcut store on the shell's links and the user's folders.
#pragma once

#include "editor/model/menu_shortcuts.h"
#include "platform/shell_link_win.h"

namespace editor {

class ShellLinkStore : public ShortcutStore {
public:
    explicit ShellLinkStore(platform::LinkIdentityWriter& identity) : m_identity(identity) {}

    [[nodiscard]] std::optional<std::string> Folder(ShortcutPlace place,
                                                    ShortcutFailure& failure) override;
    [[nodiscard]] std::optional<menufile::ShortcutLink> Read(const std::string& linkPath) override;
    [[nodiscard]] bool Write(const std::string& linkPath, const menufile::ShortcutLink& link,
                             const std::string& appId, ShortcutFailure& failure) override;
    [[nodiscard]] bool Remove(const std::string& linkPath, ShortcutFailure& failure) override;
    void AddEditTask(const std::string& appId, const std::string& editorPath,
                     const std::string& menuPath) override;

private:
    platform::LinkIdentityWriter& m_identity;
};

}  // namespace editor
