#pragma once

#include <atomic>

namespace dwell {

// A field that workers read without the lock while the main thread may write
// it. Relaxed order is enough: the lock orders everything that matters, and a
// stale read only feeds a line that a later pass overwrites.
template <typename T> class Relaxed {
public:
    Relaxed() = default;
    Relaxed(T value) : m_value(value) {}
    Relaxed(const Relaxed &) = delete;

    operator T() const { return m_value.load(std::memory_order_relaxed); }
    Relaxed &operator=(T value)
    {
        m_value.store(value, std::memory_order_relaxed);
        return *this;
    }
    Relaxed &operator=(const Relaxed &other) { return *this = T(other); }

private:
    std::atomic<T> m_value{};
};

} // namespace dwell
