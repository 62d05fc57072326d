// Move-only owner of one handle; Traits says what the empty value is and how to release it.
#pragma once

#include <utility>

namespace platform {

// Traits: `using Handle = ...; static Handle Invalid(); static void Close(Handle);`
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_handle(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    [[nodiscard]] Handle get() const { return m_handle; }
    [[nodiscard]] Handle release() { return std::exchange(m_handle, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(m_handle, h);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }
    explicit operator bool() const { return m_handle != Traits::Invalid(); }

private:
    Handle m_handle = Traits::Invalid();
};

}  // namespace platform
