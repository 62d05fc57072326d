// The cascade's windows: opening a level beside its entry, closing levels, and handing the
// keys the first menu gets to the level they act on.
#include "engine/popup_cascade_win.h"

#include <utility>

#include "menufile/internet_zone.h"

namespace engine {

struct PopupCascade::Level {
    SubmenuLevel data;
    std::unique_ptr<ItemFont> font;
    std::unique_ptr<MenuModel> model;
    std::unique_ptr<PopupWindow> window;
};

namespace {

unsigned MenuShowDelay() {
    UINT delay = 400;  // the system's own default
    ::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    return delay;
}

// The window's rectangle on the screen, twips.
Rect WindowTwips(HWND hwnd, int twipsPerPixel) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const auto t = static_cast<float>(twipsPerPixel);
    return {static_cast<float>(r.left) * t, static_cast<float>(r.top) * t,
            static_cast<float>(r.right) * t, static_cast<float>(r.bottom) * t};
}

}  // namespace

PopupCascade::PopupCascade(PopupWindow& root, const menufile::MenuFile& menu, HINSTANCE instance,
                           menufile::FileSystem& fs, const menufile::CodePage& codePage,
                           LoadServices services, int dpi, bool fromInternet)
    : m_root(root),
      m_menu(menu),
      m_instance(instance),
      m_fs(fs),
      m_codePage(codePage),
      m_services(std::move(services)),
      m_dpi(dpi),
      m_fromInternet(fromInternet),
      m_cascade(MenuShowDelay()) {
    m_root.JoinCascade(this, 0);
}

PopupCascade::~PopupCascade() {
    CloseDeeper(0);
}

PopupWindow& PopupCascade::WindowAt(int level) const {
    return level == 0 ? m_root : *m_levels[static_cast<std::size_t>(level - 1)]->window;
}

bool PopupCascade::Opens(int level, int cell) const {
    const std::vector<Cell>& cells = WindowAt(level).m_model.Cells();
    return cell >= 0 && static_cast<std::size_t>(cell) < cells.size() &&
           cells[static_cast<std::size_t>(cell)].Opens != Submenu::None;
}

const menufile::MenuFile& PopupCascade::MenuAt(int level) const {
    return level == 0 ? m_menu : m_levels[static_cast<std::size_t>(level - 1)]->data.Menu;
}

void PopupCascade::Prefetch(int level, int cell) {
    if (!Opens(level, cell) || m_cascade.OpenedFrom(level + 1) == cell) {
        return;
    }
    const Cell& entry = WindowAt(level).m_model.Cells()[static_cast<std::size_t>(cell)];
    if (entry.Opens != Submenu::Folder ||
        (m_prefetch && (m_prefetch->IsFor(entry.Item.Target) || !m_prefetch->Done()))) {
        return;  // never waits for a listing still running: the pointer may be passing by
    }
    m_prefetch.reset();
    m_prefetch.emplace(entry.Opens, entry.Item.Target, MenuAt(level), m_services.List);
}

void PopupCascade::KeyDown(int key) {
    const int level = m_cascade.KeyLevel();
    PopupWindow& window = WindowAt(level);
    const int current = window.m_model.CurrentItem();
    if (key == VK_RIGHT) {
        Perform(m_cascade.Right(current, Opens(level, current)));
    } else if (key == VK_LEFT) {
        Perform(m_cascade.Left());
    } else if (key != VK_ESCAPE) {  // Escape acts on its release, as in the first menu
        window.ModelKeyDown(key);
        Perform(m_cascade.KeyMoved(level, window.m_model.CurrentItem()));
        Prefetch(level, window.m_model.CurrentItem());
    }
}

void PopupCascade::KeyUp(int key) {
    if (key == VK_ESCAPE) {
        Perform(m_cascade.Escape());
        return;
    }
    WindowAt(m_cascade.KeyLevel()).ModelKeyUp(key);
}

void PopupCascade::Character(wchar_t unit) {
    PopupWindow& window = WindowAt(m_cascade.KeyLevel());
    window.ModelCharacter(unit);
    Perform(m_cascade.KeyMoved(m_cascade.KeyLevel(), window.m_model.CurrentItem()));
    Prefetch(m_cascade.KeyLevel(), window.m_model.CurrentItem());
}

void PopupCascade::Wheel(int delta) {
    // The level under the pointer scrolls, as Windows scrolls the window under it.
    POINT p{};
    ::GetCursorPos(&p);
    const HWND under = ::WindowFromPoint(p);
    int level = m_cascade.KeyLevel();
    for (int l = 0; l < m_cascade.Depth(); ++l) {
        if (WindowAt(l).Hwnd() == under) {
            level = l;
        }
    }
    WindowAt(level).ModelWheel(delta);
}

void PopupCascade::PointerOver(int level, int cell, POINT screen) {
    const auto t = static_cast<float>(m_root.m_model.TwipsPerPixel());
    m_cascade.PointerOver(level, cell, Opens(level, cell),
                          {static_cast<float>(screen.x) * t, static_cast<float>(screen.y) * t},
                          ::GetTickCount());
    Prefetch(level, cell);
    if (cell >= 0) {
        // The way back stays lit: every parent's entry of the levels the pointer is in.
        for (int l = 0; l < level; ++l) {
            WindowAt(l).SelectCell(m_cascade.OpenedFrom(l + 1), false);
        }
    }
}

void PopupCascade::Tick() {
    Perform(m_cascade.Tick(::GetTickCount()));
}

Element PopupCascade::WatchedUnder(int level, const Element& under) const {
    return m_cascade.WatchedUnder(level, under);
}

bool PopupCascade::Owns(HWND window) const {
    for (HWND w = window; w != nullptr; w = ::GetWindow(w, GW_OWNER)) {
        for (int l = 0; l < m_cascade.Depth(); ++l) {
            if (WindowAt(l).Hwnd() == w) {
                return true;
            }
        }
    }
    return false;
}

void PopupCascade::Quiet() {
    for (int l = m_cascade.Depth() - 1; l >= 0; --l) {
        PopupWindow& window = WindowAt(l);
        window.StopTimers();
        ::ShowWindow(window.Hwnd(), SW_HIDE);
        window.m_tooltip.Hide();
    }
}

void PopupCascade::End() {
    // The submenus go with the window that owns them; their objects stay until the cascade
    // goes, since this may be called from one of them.
    ::DestroyWindow(m_root.Hwnd());
}

void PopupCascade::Perform(const CascadeStep& step) {
    switch (step.kind) {
        case CascadeStep::Kind::None:
            return;
        case CascadeStep::Kind::Open:
            Open(step.level, step.cell, step.enter);
            return;
        case CascadeStep::Kind::Enter:
            WindowAt(step.level).SelectCell(0, true);
            return;
        case CascadeStep::Kind::CloseDeeper:
            CloseDeeper(step.level);
            return;
        case CascadeStep::Kind::End:
            End();
            return;
    }
}

void PopupCascade::CloseDeeper(int level) {
    // The deepest first, so each closes with its own pop-up end event.
    while (static_cast<int>(m_levels.size()) > level) {
        m_levels.pop_back();
    }
    m_cascade.Closed(level);
}

void PopupCascade::Open(int level, int cell, bool enter) {
    CloseDeeper(level);
    PopupWindow& parent = WindowAt(level);
    const MenuModel& parentModel = parent.m_model;
    const Cell& entry = parentModel.Cells()[static_cast<std::size_t>(cell)];
    auto next = std::make_unique<Level>();
    const bool listedAhead = m_prefetch && m_prefetch->IsFor(entry.Item.Target);
    next->data = LoadSubmenu(entry.Opens, entry.Item.Target, MenuAt(level), m_fs, m_codePage,
                             listedAhead ? m_prefetch->Serving(m_services) : m_services);
    if (listedAhead) {
        m_prefetch.reset();  // a later opening lists the folder as it is then
    }
    const int twipsPerPixel = parentModel.TwipsPerPixel();
    next->font = std::make_unique<ItemFont>(next->data.Menu.Settings, twipsPerPixel, m_dpi);
    const ItemFont& font = *next->font;
    const MeasureWidth measure = [&font](std::string_view s) { return font.Width(s); };
    const MeasureFit fit = [&font](std::string_view s, float width) { return font.Fit(s, width); };
    next->model = std::make_unique<MenuModel>(
        next->data.Items, menufile::ToBool(next->data.Menu.Settings.SmallIcons), twipsPerPixel,
        font.Height(), measure, next->data.Submenus);
    if (next->data.Empty) {
        next->model->GreyAll();
    }

    // The entry's top on the screen, less the parent's frame, so the first rows line up.
    const auto [x, y] = parentModel.Origin({Element::Kind::Cell, cell});
    POINT entryPixel{0, parent.Px(y)};
    ::ClientToScreen(parent.Hwnd(), &entryPixel);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(parent.Hwnd(), &clientOrigin);
    const Rect parentRect = WindowTwips(parent.Hwnd(), twipsPerPixel);
    const float entryTop = static_cast<float>(entryPixel.y) * static_cast<float>(twipsPerPixel) -
                           (static_cast<float>(clientOrigin.y) * static_cast<float>(twipsPerPixel) -
                            parentRect.Top);
    next->model->LayoutSubmenu(WorkAreaAround(entryPixel, twipsPerPixel), parentRect, entryTop,
                               measure, fit);

    const bool fromInternet =
        m_fromInternet ||
        (entry.Opens == Submenu::Menu && menufile::CameFromInternet(m_fs, entry.Item.Target));
    next->window =
        std::make_unique<PopupWindow>(*next->model, font.get(), entry.Item.Name, fromInternet);
    next->window->JoinCascade(this, level + 1);
    if (!next->window->Show(m_instance, m_root.Hwnd())) {
        return;
    }
    const Rect shown = WindowTwips(next->window->Hwnd(), twipsPerPixel);
    m_levels.push_back(std::move(next));
    m_cascade.Opened(level, cell, shown, enter);
    if (enter) {
        m_levels.back()->window->SelectCell(0, true);
        Prefetch(level + 1, 0);
    }
}

}  // namespace engine
