#include "core/ModuleHeapObject.h"

#include "platform/heap/ModuleHeap.h"

namespace tavi {

void* ModuleHeapObject::operator new(std::size_t bytes) {
    if (void* block = platform::moduleHeapAlloc(bytes)) {
        return block;
    }
    throw std::bad_alloc();
}

void* ModuleHeapObject::operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return platform::moduleHeapAlloc(bytes);
}

void ModuleHeapObject::operator delete(void* block) noexcept {
    platform::moduleHeapFree(block);
}

} // namespace tavi
