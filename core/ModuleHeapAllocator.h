#pragma once

#include "platform/heap/ModuleHeap.h"

#include <cstddef>
#include <new>

namespace tavi {

// Places a container's nodes on the module heap, beside the systems that own them.
template <typename T>
class ModuleHeapAllocator {
public:
    using value_type = T;

    ModuleHeapAllocator() = default;
    template <typename U>
    ModuleHeapAllocator(const ModuleHeapAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        if (void* block = platform::moduleHeapAlloc(count * sizeof(T))) {
            return static_cast<T*>(block);
        }
        throw std::bad_alloc();
    }

    void deallocate(T* block, std::size_t) noexcept { platform::moduleHeapFree(block); }

    template <typename U>
    bool operator==(const ModuleHeapAllocator<U>&) const noexcept {
        return true;
    }
};

} // namespace tavi
