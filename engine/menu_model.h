// The pop-up menu as a model: cells and separators laid out in twips, the current item, keyboard
// mode, scrolling and the watch rules, driven by events. The window only paints it.
//
// MenuModel's members are defined in two files: menu_model.cpp (layout, pointer navigation,
// scrolling, the watch rules) and menu_keys.cpp (keys, pages, type-ahead and the wheel).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/menu_entries.h"

namespace engine {

// Twips unless said otherwise.
inline constexpr float kSeparatorHeight = 120;
inline constexpr float kListExtra = 70;        // below the last row
inline constexpr float kCaptionRoom = 2000;    // beside a caption, against half the screen
inline constexpr float kSmallCellExtra = 700;  // cell width beyond the widest caption
inline constexpr float kLargeCellExtra = 1000;
inline constexpr float kStripHeight = 120;
inline constexpr float kStripGap = 80;  // bottom strip to the window's bottom edge
inline constexpr float kIconLeft = 120;
inline constexpr float kIconSurface = 480;  // height of the icon surface, and its width beside
                                            // large icons
// The icon square at every scale: 32 and 16 pixels at 96 dots per inch, 48 and 24 at 144.
inline constexpr float kLargeIconSquare = 480;
inline constexpr float kSmallIconSquare = 240;
inline constexpr float kSmallCaptionLeft = 500;
inline constexpr float kLargeCaptionLeft = 720;
// Beside the widest caption of a menu where some entry opens a submenu: its arrow's room.
inline constexpr float kArrowRoom = 240;
// The arrow: its height, and its right end from the cell's right edge.
inline constexpr float kArrowHeight = 105;
inline constexpr float kArrowRight = 150;
inline constexpr float kSeparatorDarkY = 50;
inline constexpr float kSeparatorLightY = 65;
inline constexpr const char* kEllipsis = "...";
// Bytes of a name a tooltip shows before its "..." (fewer where a character would be split):
// nobody reads more, and the tooltip lays out all it is given (Wine's keeps only its first 1,023
// characters, so the "..." stays in view).
inline constexpr std::size_t kTooltipLength = 1000;
// Bytes of a caption measured at once: more letters than any screen shows side by side.
// Measuring megabytes of a name would only keep the menu waiting.
inline constexpr std::size_t kMeasuredLength = 4096;

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyApps = 93;
inline constexpr int kKeyF10 = 121;
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
// Rows per wheel notch that stand for a whole page (the system's "one screen at a time").
inline constexpr int kWheelPage = -1;
// Typed characters further apart than this start a new search.
inline constexpr unsigned kTypeAheadPause = 1000;  // milliseconds

// Screen twips per pixel at `dpi`: 1440 / dpi rounded to the nearest whole number, halves up
// (15 at 96, 12 at 120, 10 at 144, 8 at 192 where 7.5 is exact): one whole factor for both
// axes and every conversion, as the stored layouts were made with. A dpi of 0 or less counts
// as 96.
[[nodiscard]] int TwipsPerPixelForDpi(int dpi);

// Width of a caption as drawn in the item font, in twips.
using MeasureWidth = std::function<float(std::string_view)>;
// How many leading bytes of a caption fit in `width` twips in the item font: the largest n whose
// first n bytes measure at most `width`, at the start of a character; 0 when none do.
using MeasureFit = std::function<std::size_t(std::string_view text, float width)>;

// Where the UTF-8 character holding byte `at` of `text` starts: `at` itself at the start of a
// character, the size of `text` at or past its end. A cut there never splits a character.
[[nodiscard]] std::size_t CharacterStart(std::string_view text, std::size_t at);

// A fit found from widths alone, halving the length: about twice the logarithm of the length
// in measurements, for callers that cannot ask for a fit in one call. Assumes a longer text is
// never narrower.
[[nodiscard]] MeasureFit FitByWidth(MeasureWidth measure);

struct Rect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

struct Cell {
    menufile::MenuItem Item;       // Name, Target, Arguments, StartIn, IconFile, IconIndex
    std::string Caption;           // the Name, shortened with "..." when too wide
    std::string Tooltip;           // the Name when the caption was shortened; a name longer than
                                   // kTooltipLength is cut there, with "..."
    float Top = 0;                 // inside the list
    float CaptionWidth = 0;        // before LayoutMenu, infinite for a caption too long to measure
    bool Highlighted = false;      // cell and caption colours
    bool IconHighlighted = false;  // the icon square's background
    Submenu Opens = Submenu::None;  // what resting on it opens beside the menu
    bool Greyed = false;            // shown, but opens nothing
};

struct Separator {
    float Top = 0;
};

// What lies under a point of the window; for cells, separators and icons, which one.
struct Element {
    enum class Kind { Outside, Window, TopStrip, BottomStrip, ListFree, Cell, CellIcon, Separator };
    Kind kind = Kind::Outside;
    int index = -1;
    bool operator==(const Element&) const = default;
};

enum class Action { None, Launch, LaunchElevated, ContextMenu, Close };

// The modifier keys held with a key or a button.
struct Modifiers {
    bool Ctrl = false;
    bool Shift = false;
};

class MenuModel {
public:
    // Cells and separators stacked in menu order. `textHeight` is the height of a caption in
    // the item font, in twips. Captions of up to kMeasuredLength bytes are measured here.
    // `submenus`, when given, holds what each entry opens beside the menu.
    MenuModel(const std::vector<menufile::MenuItem>& entries, bool smallIcons, int twipsPerPixel,
              float textHeight, const MeasureWidth& measure,
              const std::vector<Submenu>& submenus = {});

    // Nothing to show: no cell, or one cell without a caption.
    [[nodiscard]] bool IsEmpty() const;

    // Places the window at the pointer and sizes it: shortens wide captions, keeps the window
    // inside `monitor` (the work area of the monitor under the pointer) and opens it upward or
    // leftward where it would not fit. Then sets up the scroll strips; no item is current.
    // A caption is shortened with one fit (of at most kMeasuredLength bytes, unless that many
    // fit) and one measurement, whatever its length.
    void LayoutMenu(const Rect& monitor, float pointerX, float pointerY,
                    const MeasureWidth& measure, const MeasureFit& fit);
    // The same with the fit found by FitByWidth.
    void LayoutMenu(const Rect& monitor, float pointerX, float pointerY,
                    const MeasureWidth& measure);

    // Sizes a submenu as LayoutMenu does and places it beside its parent's window (screen
    // twips): right of it, or left where `monitor` has no room, its first cell level with
    // `entryTop`, moved up as far as its bottom needs.
    void LayoutSubmenu(const Rect& monitor, const Rect& parent, float entryTop,
                       const MeasureWidth& measure, const MeasureFit& fit);

    // Every cell greyed: shown, never opened.
    void GreyAll();
    // Cell `i` becomes the current one, scrolled into view.
    void Select(int i);

    // Client coordinates, twips. Strips lie above the list.
    [[nodiscard]] Element HitTest(float x, float y) const;
    // Top-left corner of an element in client coordinates.
    [[nodiscard]] std::pair<float, float> Origin(const Element& e) const;
    // Cells and separators that overlap the client rows [0, clientHeight).
    [[nodiscard]] std::pair<std::size_t, std::size_t> VisibleCells(float clientHeight) const;
    [[nodiscard]] std::pair<std::size_t, std::size_t> VisibleSeparators(float clientHeight) const;

    // Events; coordinates are local to `target` (the element under the pointer, or the one
    // that holds the pointer capture).
    void PointerMove(const Element& target, float x, float y);
    // A left release opens the cell (Ctrl+Shift: as administrator); a right release asks for
    // its context menu.
    [[nodiscard]] Action ButtonUp(const Element& target, int button, float x, float y,
                                  Modifiers modifiers = {});
    // Up and Down step (and wrap); Home, End, Page Up and Page Down move the highlight and
    // scroll it into view.
    void KeyDown(int key, Modifiers modifiers = {});
    // Enter opens the current cell (Ctrl+Shift: as administrator), Escape closes, the Apps key
    // or Shift+F10 asks for the current cell's context menu.
    [[nodiscard]] Action KeyUp(int key, Modifiers modifiers = {});
    // One typed character (UTF-8) at `timeMs` (any clock in milliseconds; it may wrap): the
    // highlight goes to the next cell whose Name starts with the text typed so far, without
    // regard to case, and is scrolled into view. Characters less than kTypeAheadPause apart
    // extend the text; one character typed again goes on to its next match. Control
    // characters and a text no Name starts with change nothing.
    void TypeCharacter(std::string_view character, unsigned timeMs);
    // Scrolls by `rowsPerNotch` cell heights per notch (kWheelPage: the window's height in
    // whole rows), toward the top for positive `notches`, never past either end. The
    // highlight stays where it is.
    void Wheel(int notches, int rowsPerNotch);
    void ScrollTick();
    [[nodiscard]] Action WatchTick(bool foregroundIsSelf, const Element& underPointer);

    [[nodiscard]] const Cell& LaunchCell() const { return m_cells[m_launch]; }

    // Read-only state for painting and tests.
    [[nodiscard]] const std::vector<Cell>& Cells() const { return m_cells; }
    [[nodiscard]] const std::vector<Separator>& Separators() const { return m_separators; }
    [[nodiscard]] bool SmallIcons() const { return m_smallIcons; }
    [[nodiscard]] int TwipsPerPixel() const { return m_twipsPerPixel; }
    [[nodiscard]] float CellHeight() const { return m_cellHeight; }
    [[nodiscard]] float IconTop() const { return m_iconTop; }
    [[nodiscard]] float TextTop() const { return m_textTop; }
    // The icon square (twips): kLargeIconSquare, or kSmallIconSquare with SmallIcons.
    [[nodiscard]] float IconSquare() const;
    // The square in whole pixels: icons are taken and drawn at this size.
    [[nodiscard]] float IconSize() const;
    // Width of the icon surface (twips): the square's beside small icons, else kIconSurface.
    [[nodiscard]] float IconWidth() const;
    [[nodiscard]] float CaptionLeft() const;
    [[nodiscard]] float CellWidth() const { return m_cellWidth; }
    [[nodiscard]] float Left() const { return m_left; }
    [[nodiscard]] float Top() const { return m_top; }
    [[nodiscard]] float Width() const { return m_width; }
    [[nodiscard]] float Height() const { return m_height; }
    [[nodiscard]] float ListTop() const { return m_listTop; }
    [[nodiscard]] float ListHeight() const { return m_listHeight; }
    [[nodiscard]] bool TopStripVisible() const { return m_topStrip; }
    [[nodiscard]] bool BottomStripVisible() const { return m_bottomStrip; }
    [[nodiscard]] bool ScrollTimerEnabled() const { return m_scrollTimer; }
    [[nodiscard]] int CurrentItem() const { return m_current; }
    [[nodiscard]] bool KeyboardMode() const { return m_keyboardMode != 0; }
    [[nodiscard]] bool ScrollingUp() const { return m_scrollingUp == 1; }
    [[nodiscard]] bool ScrollingDown() const { return m_scrollingDown == 1; }

private:
    void HighlightItem(int i);
    void UnhighlightItem(int i);
    // Makes cell `i` the current one and scrolls it wholly into view, clear of the strips; the
    // first and the last cell with whatever lies above or below them.
    void MoveHighlightTo(int i);
    void SetListTop(float listTop);
    // Cell `i` wholly inside the window and clear of the strips at the present offset.
    [[nodiscard]] bool WhollyVisible(std::size_t i) const;
    [[nodiscard]] int PageTarget(bool down) const;
    [[nodiscard]] bool InsideCell(float x, float y) const;
    [[nodiscard]] float BottomStripTop() const { return m_height - kStripHeight - kStripGap; }

    std::vector<Cell> m_cells;
    std::vector<Separator> m_separators;
    bool m_smallIcons;
    int m_twipsPerPixel;
    float m_textHeight;
    float m_cellHeight = 0;
    float m_iconTop = 0;
    float m_textTop = 0;
    float m_cellWidth = 0;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    float m_listTop = 0;  // the list's offset: 0, or negative when scrolled down
    float m_listHeight = 0;
    bool m_topStrip = false;
    bool m_bottomStrip = false;
    bool m_scrollTimer = false;
    int m_current = -1;
    int m_keyboardMode = 0;
    int m_scrollingUp = 0;
    int m_scrollingDown = 0;
    std::size_t m_launch = 0;
    std::string m_typed;  // the type-ahead text, UTF-8
    unsigned m_typedAt = 0;
};

}  // namespace engine
