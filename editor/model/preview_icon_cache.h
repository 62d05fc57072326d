// A few item icons, extracted when a row's preview needs one and destroyed when they leave:
// the list itself never holds icons, so a menu of any size costs a bounded number of handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

namespace editor {

// An icon handle, opaque to the core (a HICON in the Windows build); 0 for none.
using IconHandle = std::uintptr_t;

// Where icons come from, and how one is given back.
class IconSource {
public:
    virtual ~IconSource() = default;
    // Icon number `index` of `file` at the preview's size; 0 when the file has no such icon.
    [[nodiscard]] virtual IconHandle Extract(const std::string& file, int index) = 0;
    virtual void Destroy(IconHandle icon) = 0;
};

class PreviewIconCache {
public:
    inline static constexpr std::size_t kCapacity = 8;

    explicit PreviewIconCache(IconSource& source, std::size_t capacity = kCapacity);
    ~PreviewIconCache();
    PreviewIconCache(const PreviewIconCache&) = delete;
    PreviewIconCache& operator=(const PreviewIconCache&) = delete;

    // Icon number `index` of `file`, extracted on the first request; 0 when there is none.
    // Borrowed: valid until a later Get or Put of another icon evicts it, which never happens
    // to the one most recently asked for.
    [[nodiscard]] IconHandle Get(const std::string& file, int index);
    // Takes `icon` (0 allowed) as icon number `index` of `file`, replacing what was kept.
    void Put(const std::string& file, int index, IconHandle icon);
    // Gives back an icon that is not kept (0 allowed).
    void Discard(IconHandle icon);
    [[nodiscard]] std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        std::string File;
        int Index = 0;
        IconHandle Icon = 0;
    };
    IconHandle Keep(Entry entry);

    IconSource& m_source;
    std::size_t m_capacity;
    std::list<Entry> m_entries;  // most recently used first
};

}  // namespace editor
