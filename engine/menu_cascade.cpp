// When submenus open and close: the pointer's rest, the keys, and the way into a submenu.
#include "engine/menu_cascade.h"

#include <algorithm>

namespace engine {
namespace {

// Which side of the line from `a` to `b` the point `p` lies on (the sign), twice the area.
float Side(Point a, Point b, Point p) {
    return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
}

bool InTriangle(Point p, Point a, Point b, Point c) {
    const float ab = Side(a, b, p);
    const float bc = Side(b, c, p);
    const float ca = Side(c, a, p);
    const bool anyBelow = ab < 0 || bc < 0 || ca < 0;
    const bool anyAbove = ab > 0 || bc > 0 || ca > 0;
    return !(anyBelow && anyAbove);
}

// True once `nowMs` has reached `dueMs` on a clock that may wrap.
bool Reached(unsigned nowMs, unsigned dueMs) {
    return static_cast<int>(nowMs - dueMs) >= 0;
}

}  // namespace

Cascade::Cascade(unsigned delayMs) : m_delay(delayMs), m_levels(1), m_lastPoint(1) {}

int Cascade::OpenedFrom(int level) const {
    return level > 0 && level < Depth() ? m_levels[static_cast<std::size_t>(level)].openedFrom
                                         : -1;
}

bool Cascade::InGrace(int level, Point at) const {
    const auto above = static_cast<std::size_t>(level);
    if (level + 1 >= Depth() || !m_lastPoint[above]) {
        return false;
    }
    const Point from = *m_lastPoint[above];
    const Rect& child = m_levels[above + 1].window;
    // The submenu's edge that faces the parent.
    const float edge = child.Left >= from.X ? child.Left : child.Right;
    return InTriangle(at, from, {edge, child.Top}, {edge, child.Bottom});
}

void Cascade::PointerOver(int level, int cell, bool opens, Point at, unsigned nowMs) {
    if (level < 0 || level >= Depth()) {
        return;
    }
    const bool grace = InGrace(level, at);
    m_lastPoint[static_cast<std::size_t>(level)] = at;
    if (m_pending && m_pending->level < level) {
        m_pending.reset();  // back inside a submenu whose parent's other entry was passed
    }
    if (cell < 0) {
        return;
    }
    m_keyLevel = level;
    const bool deepest = level == Depth() - 1;
    if (!deepest && cell == OpenedFrom(level + 1)) {
        m_pending.reset();  // back on the entry whose submenu is open
        return;
    }
    if (deepest && !opens) {
        m_pending.reset();
        return;
    }
    if (m_pending && m_pending->level == level && m_pending->cell == cell) {
        if (grace) {
            m_pending->due = nowMs + m_delay;  // still on the way into the submenu
        }
        return;
    }
    m_pending = Pending{level, cell, opens, nowMs + m_delay};
}

CascadeStep Cascade::Tick(unsigned nowMs) {
    if (!m_pending || !Reached(nowMs, m_pending->due)) {
        return {};
    }
    const Pending p = *m_pending;
    m_pending.reset();
    if (p.level >= Depth()) {
        return {};
    }
    if (p.opens && p.level + 1 < kMaxDepth) {
        return {CascadeStep::Kind::Open, p.level, p.cell, false};
    }
    return p.level < Depth() - 1 ? CascadeStep{CascadeStep::Kind::CloseDeeper, p.level}
                                 : CascadeStep{};
}

CascadeStep Cascade::Right(int cell, bool opens) {
    if (cell < 0 || !opens) {
        return {};
    }
    m_pending.reset();
    if (m_keyLevel + 1 < Depth() && OpenedFrom(m_keyLevel + 1) == cell) {
        ++m_keyLevel;
        return {CascadeStep::Kind::Enter, m_keyLevel};
    }
    if (m_keyLevel + 1 >= kMaxDepth) {
        return {};
    }
    return {CascadeStep::Kind::Open, m_keyLevel, cell, true};
}

CascadeStep Cascade::Left() const {
    return Depth() > 1 ? CascadeStep{CascadeStep::Kind::CloseDeeper, Depth() - 2}
                       : CascadeStep{};
}

CascadeStep Cascade::Escape() const {
    return Depth() > 1 ? Left() : CascadeStep{CascadeStep::Kind::End};
}

CascadeStep Cascade::KeyMoved(int level, int cell) const {
    if (level + 1 < Depth() && OpenedFrom(level + 1) != cell) {
        return {CascadeStep::Kind::CloseDeeper, level};
    }
    return {};
}

void Cascade::Opened(int level, int cell, const Rect& window, bool entered) {
    if (level < 0 || level >= Depth() || level + 1 >= kMaxDepth) {
        return;
    }
    m_levels.resize(static_cast<std::size_t>(level) + 1);
    m_levels.push_back({cell, window});
    m_lastPoint.resize(m_levels.size());
    m_lastPoint.back().reset();
    m_pending.reset();
    if (entered) {
        m_keyLevel = level + 1;
    } else if (m_keyLevel > level) {
        m_keyLevel = level;
    }
}

void Cascade::Closed(int level) {
    if (level < 0 || level >= Depth()) {
        return;
    }
    m_levels.resize(static_cast<std::size_t>(level) + 1);
    m_lastPoint.resize(m_levels.size());
    if (m_pending && m_pending->level > level) {
        m_pending.reset();
    }
    m_keyLevel = std::min(m_keyLevel, level);
}

Element Cascade::WatchedUnder(int level, const Element& under) const {
    if (level >= 0 && level + 1 < Depth()) {
        return {Element::Kind::Cell, OpenedFrom(level + 1)};
    }
    return under;
}

}  // namespace engine
