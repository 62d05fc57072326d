// The cascade of open menus: which submenus are open, which level the keys act on, and when
// resting on an entry opens its submenu or closes another, as the system's menus do.
#pragma once

#include <optional>
#include <vector>

#include "engine/menu_model.h"

namespace engine {

// A point on the screen, twips.
struct Point {
    float X = 0;
    float Y = 0;
};

// What the windows are to do next.
struct CascadeStep {
    enum class Kind { None, Open, Enter, CloseDeeper, End };
    Kind kind = Kind::None;
    // Open: every level deeper than `level` closes, and its entry `cell` opens its submenu
    // (the new level is level + 1), with its first entry highlighted when `enter`. Enter: the
    // open level `level` gets the keys, its first entry highlighted. CloseDeeper: every level
    // deeper than `level` closes.
    int level = 0;
    int cell = -1;
    bool enter = false;
    bool operator==(const CascadeStep&) const = default;
};

class Cascade {
public:
    // More levels are not opened: a menu that names itself, or a folder link that loops, is
    // read only as deep as the user goes, and no one goes this deep.
    static constexpr int kMaxDepth = 32;

    // `delayMs`: how long the pointer rests before a submenu opens or closes (the system's
    // menu show delay).
    explicit Cascade(unsigned delayMs);

    // Levels open, the first menu counting.
    [[nodiscard]] int Depth() const { return static_cast<int>(m_levels.size()); }
    // The entry of level - 1 that opened `level`; -1 for the first menu.
    [[nodiscard]] int OpenedFrom(int level) const;
    // The level the keys act on.
    [[nodiscard]] int KeyLevel() const { return m_keyLevel; }

    // The pointer moved to `at` over entry `cell` of `level` (-1: over no entry of it);
    // `opens` tells whether that entry has a submenu. Resting there opens it, and closes a
    // submenu of another entry; moving into a submenu keeps it open, also across the parent's
    // other entries on the way (the triangle from the last point to the submenu's near edge).
    void PointerOver(int level, int cell, bool opens, Point at, unsigned nowMs);
    // What the rest of the pointer has come to by `nowMs` (any clock that may wrap).
    [[nodiscard]] CascadeStep Tick(unsigned nowMs);

    // Right on the key level's `cell`: opens its submenu and enters it (only enters it when
    // it is open already).
    [[nodiscard]] CascadeStep Right(int cell, bool opens);
    // Left and Escape: the deepest submenu closes (its entry keeps the highlight). On the
    // first menu Left does nothing and Escape ends the cascade.
    [[nodiscard]] CascadeStep Left() const;
    [[nodiscard]] CascadeStep Escape() const;
    // A key moved the highlight of `level`: submenus of its other entries close at once.
    [[nodiscard]] CascadeStep KeyMoved(int level, int cell) const;

    // The windows did it: level + 1 is open beside entry `cell`, at `window` (screen twips).
    void Opened(int level, int cell, const Rect& window, bool entered);
    // Every level deeper than `level` is gone; the keys act on `level`.
    void Closed(int level);

    // The watch rule across levels: what the watch of `level` counts as under the pointer. A
    // level with a submenu open keeps its entry highlighted wherever the pointer goes.
    [[nodiscard]] Element WatchedUnder(int level, const Element& under) const;

private:
    struct Level {
        int openedFrom = -1;  // entry of the level above
        Rect window;          // screen twips
    };
    struct Pending {
        int level = 0;
        int cell = -1;
        bool opens = false;
        unsigned due = 0;
    };
    [[nodiscard]] bool InGrace(int level, Point at) const;

    unsigned m_delay;
    std::vector<Level> m_levels;
    std::vector<std::optional<Point>> m_lastPoint;  // per level
    std::optional<Pending> m_pending;
    int m_keyLevel = 0;
};

}  // namespace engine
