// The bounded cache of item icons.
#include "editor/model/preview_icon_cache.h"

#include <algorithm>

namespace editor {

PreviewIconCache::PreviewIconCache(IconSource& source, std::size_t capacity)
    : m_source(source), m_capacity(std::max<std::size_t>(capacity, 1)) {}

PreviewIconCache::~PreviewIconCache() {
    for (const Entry& entry : m_entries) {
        if (entry.Icon != 0) {
            m_source.Destroy(entry.Icon);
        }
    }
}

IconHandle PreviewIconCache::Get(const std::string& file, int index) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const Entry& e) { return e.Index == index && e.File == file; });
    if (it != m_entries.end()) {
        m_entries.splice(m_entries.begin(), m_entries, it);
        return it->Icon;
    }
    // A file without that icon is remembered too, so it is not asked again and again.
    return Keep({file, index, m_source.Extract(file, index)});
}

void PreviewIconCache::Put(const std::string& file, int index, IconHandle icon) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const Entry& e) { return e.Index == index && e.File == file; });
    if (it != m_entries.end()) {
        if (it->Icon != 0 && it->Icon != icon) {
            m_source.Destroy(it->Icon);
        }
        m_entries.erase(it);
    }
    (void)Keep({file, index, icon});
}

void PreviewIconCache::Discard(IconHandle icon) {
    if (icon != 0) {
        m_source.Destroy(icon);
    }
}

IconHandle PreviewIconCache::Keep(Entry entry) {
    m_entries.push_front(std::move(entry));
    while (m_entries.size() > m_capacity) {
        if (m_entries.back().Icon != 0) {
            m_source.Destroy(m_entries.back().Icon);
        }
        m_entries.pop_back();
    }
    return m_entries.front().Icon;
}

}  // namespace editor
