// Shell links (.lnk) through IShellLinkW and IPersistFile, the links' identity property, jump
// list tasks, and the engine's own identity.
#pragma once

#include <windows.h>

#include <string>

#include "editor/model/menu_shortcuts.h"

namespace platform {

// Sets the System.AppUserModel.ID of a link being written; the seam lets the tests see the
// value, which Wine does not keep in the saved file.
class LinkIdentityWriter {
public:
    virtual ~LinkIdentityWriter() = default;
    // `link` is the IShellLinkW about to be saved; S_OK or why not.
    [[nodiscard]] virtual HRESULT SetIdentity(IUnknown* link, const std::wstring& appId) = 0;
};

// Through the link's IPropertyStore.
class PropertyStoreIdentityWriter : public LinkIdentityWriter {
public:
    [[nodiscard]] HRESULT SetIdentity(IUnknown* link, const std::wstring& appId) override;
};

class ShellLinkStore : public editor::ShortcutStore {
public:
    explicit ShellLinkStore(LinkIdentityWriter& identity) : m_identity(identity) {}

    [[nodiscard]] std::optional<std::string> Folder(editor::ShortcutPlace place,
                                                    editor::ShortcutFailure& failure) override;
    [[nodiscard]] std::optional<menufile::ShortcutLink> Read(const std::string& linkPath) override;
    [[nodiscard]] bool Write(const std::string& linkPath, const menufile::ShortcutLink& link,
                             const std::string& appId, editor::ShortcutFailure& failure) override;
    [[nodiscard]] bool Remove(const std::string& linkPath, editor::ShortcutFailure& failure) override;
    void AddEditTask(const std::string& appId, const std::string& editorPath,
                     const std::string& menuPath) override;

private:
    LinkIdentityWriter& m_identity;
};

// Tells the shell that the menu file's icon changed (SHCNE_UPDATEITEM), so its shortcuts and
// their pins show the new picture.
void NotifyMenuIconChanged(const std::string& menuPath);

// The engine's process identity, set before its first window (bound on first use: a Windows
// without it just groups the runs under the program).
void UseMenuAppUserModelId(const std::string& menuPath);

}  // namespace platform
