// The icons of a pop-up's first screen, looked up on a worker thread while the window is made
// and first painted: the shell's first answer, which sets up its libraries and image lists, is
// most of what a small menu waits for.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "engine/icon_drawing_win.h"
#include "menufile/menu_file.h"

namespace engine {

// Posted to the window each time icons have been found since it last took them, and once when
// the worker is done.
inline constexpr UINT kIconsFound = WM_APP + 0x4A2;

class IconLoader {
public:
    struct Row {
        std::size_t cell;
        menufile::MenuItem item;
    };
    struct Found {
        std::size_t cell;
        CellIcon icon;  // an icon of its own: never borrowed from an image list
    };

    IconLoader() = default;
    IconLoader(const IconLoader&) = delete;
    IconLoader& operator=(const IconLoader&) = delete;
    // Does not wait: a worker held up by a slow share keeps the menu from nothing, and what it
    // finds after is destroyed with the state it shares.
    ~IconLoader();

    // Looks up the rows' icons, in their order, at `size` pixels. False when no thread could
    // be had: the window then looks them up itself.
    bool Start(std::vector<Row> rows, int size, bool smallIcons, bool fromInternet);
    // Where kIconsFound goes; posted at once when some were found before.
    void NotifyTo(HWND window);
    // The icons found since the last call.
    [[nodiscard]] std::vector<Found> TakeFound();
    // True while the worker has rows left. The window then looks up no icon itself, so that
    // only the worker touches the shell's image lists.
    [[nodiscard]] bool Busy() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

}  // namespace engine
