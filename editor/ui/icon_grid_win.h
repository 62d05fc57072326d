// A library's icons as a grid: a list view of large icons, all of them at once, chosen by a
// click or the arrow keys, with the count above it. The icon chooser browses this way.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <string>
#include <vector>

namespace editor {

class IconGrid {
public:
    // `list` is a list view in icon mode that owns its image list.
    IconGrid(HWND countLabel, HWND list) : m_label(countLabel), m_list(list) {}

    // The library an item came with: its icons shown at `size` pixels with `position` chosen
    // when it holds any, else only remembered (the grid empty, the count not shown).
    void Activate(const std::string& library, int position, int size);
    // Shows the library's icons at `size` pixels, the one at `position` chosen (kept inside
    // the range); returns the count.
    int Open(const std::string& library, int position, int size);
    // The library chosen with the Open dialog, its first icon chosen; false when the user
    // cancelled. Says so when the file holds no icon.
    bool ChooseLibrary(HWND owner);
    // The same icons again at another size (the window's scale changed); the choice stays.
    void Resize(int size);
    // A list view notification and what to answer it; `activated` tells an item's activation
    // (a double click).
    LRESULT OnNotify(NMHDR& header, bool& activated);

    [[nodiscard]] const std::string& Library() const { return m_library; }
    // The chosen icon's number: the last one chosen, 0 when there was none.
    [[nodiscard]] int Position() const { return m_position; }
    [[nodiscard]] int Count() const { return m_count; }

private:
    void Fill();
    void Choose(int position);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    // The image of icon `index`, taken from the library the first time the grid shows it.
    int ImageOf(int index);

    HWND m_label;
    HWND m_list;
    std::string m_library;
    int m_count = 0;
    int m_position = 0;
    int m_size = 32;
    HIMAGELIST m_images = nullptr;  // borrowed: the list view owns it
    std::vector<int> m_imageOf;     // per icon: its image, I_IMAGENONE, or not taken yet
};

}  // namespace editor
