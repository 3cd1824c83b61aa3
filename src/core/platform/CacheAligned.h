#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace dwell {

inline constexpr std::size_t kCacheLine = 64;

struct CacheAlignedDelete {
    void operator()(void *storage) const noexcept
    {
        ::operator delete(storage, std::align_val_t(kCacheLine));
    }
};

template <typename T> using CacheAlignedArray = std::unique_ptr<T[], CacheAlignedDelete>;

// Storage that starts on a cache line, so that rows a whole number of lines
// long share none with their neighbours: two cores writing neighbouring rows
// would otherwise pass the shared line back and forth on every store.
template <typename T>
requires std::is_trivial_v<T> CacheAlignedArray<T> makeCacheAligned(std::size_t count)
{
    return CacheAlignedArray<T>(
        static_cast<T *>(::operator new(count * sizeof(T), std::align_val_t(kCacheLine))));
}

} // namespace dwell
