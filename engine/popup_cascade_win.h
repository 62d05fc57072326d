// The cascade of pop-up windows: the first menu's and one per open submenu, each with its
// level read when it opens and destroyed, icons and all, when it closes.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "engine/engine_platform_win.h"
#include "engine/menu_cascade.h"
#include "engine/menu_loading.h"
#include "engine/menu_submenus.h"
#include "engine/popup_window_win.h"
#include "menufile/file_system.h"
#include "menufile/text_encoding.h"

namespace engine {

class PopupCascade final : public CascadeHost {
public:
    // `root` shows `menu`; submenus take its scale (`dpi`) and the services that loaded it.
    PopupCascade(PopupWindow& root, const menufile::MenuFile& menu, HINSTANCE instance,
                 menufile::FileSystem& fs, const menufile::CodePage& codePage,
                 LoadServices services, int dpi, bool fromInternet);
    ~PopupCascade() override;

    void KeyDown(int key) override;
    void KeyUp(int key) override;
    void Character(wchar_t unit) override;
    void Wheel(int delta) override;
    void PointerOver(int level, int cell, POINT screen) override;
    void Tick() override;
    [[nodiscard]] Element WatchedUnder(int level, const Element& under) const override;
    [[nodiscard]] bool Owns(HWND window) const override;
    [[nodiscard]] bool Busy() const override { return m_busy; }
    void SetBusy(bool busy) override { m_busy = busy; }
    void Quiet() override;
    void End() override;

private:
    struct Level;

    [[nodiscard]] PopupWindow& WindowAt(int level) const;
    [[nodiscard]] bool Opens(int level, int cell) const;
    [[nodiscard]] const menufile::MenuFile& MenuAt(int level) const;
    // Lists the folder of the entry the highlight is on ahead, one folder at a time.
    void Prefetch(int level, int cell);
    void Perform(const CascadeStep& step);
    void CloseDeeper(int level);
    void Open(int level, int cell, bool enter);

    PopupWindow& m_root;
    const menufile::MenuFile& m_menu;
    HINSTANCE m_instance;
    menufile::FileSystem& m_fs;
    const menufile::CodePage& m_codePage;
    LoadServices m_services;
    int m_dpi;
    bool m_fromInternet;
    Cascade m_cascade;
    std::vector<std::unique_ptr<Level>> m_levels;  // level 1 first
    std::optional<SubmenuPrefetch> m_prefetch;
    bool m_busy = false;
};

}  // namespace engine
