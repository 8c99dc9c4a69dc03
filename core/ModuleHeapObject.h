#pragma once

#include <cstddef>
#include <new>

namespace tavi {

// Base of the objects that live on the module heap (the Aircraft, its systems and screens).
// The factories allocate with `new (std::nothrow)`, which answers null when the heap is full.
class ModuleHeapObject {
public:
    static void* operator new(std::size_t bytes);
    static void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept;
    static void operator delete(void* block) noexcept;
};

} // namespace tavi
