// The worker that looks up the first screen's icons.
#include "engine/icon_loader_win.h"

#include <mutex>
#include <thread>

#include "platform/system_api_win.h"

namespace engine {

struct IconLoader::Shared {
    std::mutex lock;
    std::vector<Found> found;
    HWND window = nullptr;
    bool posted = false;  // a kIconsFound not yet answered by TakeFound
    bool busy = true;
    bool abandoned = false;  // the loader is gone: the rest is not looked up

    // Under the lock.
    void Post() {
        if (window != nullptr && !posted) {
            posted = ::PostMessageW(window, kIconsFound, 0, 0) != FALSE;
        }
    }
};

IconLoader::~IconLoader() {
    if (m_shared) {
        const std::lock_guard<std::mutex> hold(m_shared->lock);
        m_shared->window = nullptr;  // the window is going: nothing more is posted to it
        m_shared->abandoned = true;
    }
}

bool IconLoader::Start(std::vector<Row> rows, int size, bool smallIcons, bool fromInternet) {
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, rows = std::move(rows), size, smallIcons, fromInternet] {
            platform::StartCom();  // the shell's answers for shortcuts and the like need it
            CellIconSource source(fromInternet);
            for (const Row& row : rows) {
                {
                    const std::lock_guard<std::mutex> hold(shared->lock);
                    if (shared->abandoned) {
                        return;
                    }
                }
                CellIcon icon = source.ResolveOwned(row.item, size, smallIcons);
                const std::lock_guard<std::mutex> hold(shared->lock);
                shared->found.push_back({row.cell, std::move(icon)});
                shared->Post();
            }
            const std::lock_guard<std::mutex> hold(shared->lock);
            shared->busy = false;
            shared->posted = false;  // the last word always goes
            shared->Post();
        }).detach();
    } catch (const std::exception&) {
        return false;  // no thread to be had
    }
    m_shared = std::move(shared);
    return true;
}

void IconLoader::NotifyTo(HWND window) {
    if (!m_shared) {
        return;
    }
    const std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->window = window;
    if (!m_shared->found.empty() || !m_shared->busy) {
        m_shared->Post();
    }
}

std::vector<IconLoader::Found> IconLoader::TakeFound() {
    if (!m_shared) {
        return {};
    }
    const std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->posted = false;
    return std::exchange(m_shared->found, {});
}

bool IconLoader::Busy() const {
    if (!m_shared) {
        return false;
    }
    const std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->busy;
}

}  // namespace engine
