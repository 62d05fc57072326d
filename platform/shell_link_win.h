// Shell links (.lnk) through IShellLinkW and IPersistFile, the links' identity property, jump
// list tasks, and the engine's own identity.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <unknwn.h>

#include <optional>
#include <string>

#include "menufile/menu_identity.h"

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

// The link at `path`; nothing when no file is there, a link with an empty target when the file
// is not a readable link. Paths the link holds in their short form come back long.
[[nodiscard]] std::optional<menufile::ShortcutLink> ReadShellLink(const std::string& path);
// Saves the link at `path` (paths of any length, any Unicode) with its identity; S_OK or why
// not. The folder must exist. The link's path fields stop at MAX_PATH, so a longer target,
// folder or icon goes in its short (8.3) form (a folder or icon without one is left out, a
// target without one refused); the arguments keep full paths up to INFOTIPSIZE. An identity the
// writer could not set does not fail the save: the shortcut works without it.
[[nodiscard]] HRESULT WriteShellLink(const std::string& path, const menufile::ShortcutLink& link,
                                     const std::string& appId, LinkIdentityWriter& identity);

// The user's own folder (CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY...), or nothing, with why in
// `failure` when given.
[[nodiscard]] std::optional<std::string> UserFolder(int csidl, HRESULT* failure = nullptr);

// Gives the identity's jump list one task, "Edit menu", that starts the editor on the menu;
// quietly nothing where the system has no jump lists (Wine answers E_NOTIMPL).
void AddEditMenuTask(const std::string& appId, const std::string& editorPath,
                     const std::string& menuPath);

// Tells the shell that the menu file's icon changed (SHCNE_UPDATEITEM), so its shortcuts and
// their pins show the new picture.
void NotifyMenuIconChanged(const std::string& menuPath);

// The engine's process identity, set before its first window (bound on first use: a Windows
// without it just groups the runs under the program).
void UseMenuAppUserModelId(const std::string& menuPath);

}  // namespace platform
