#include "platform/heap/ModuleHeap.h"

#include <cstring>
#include <memory>
#include <memory_resource>

namespace tavi::platform {

namespace {

// Each block carries its size in front of it, so that it can be returned to the pool.
constexpr std::size_t kHeaderBytes = sizeof(std::max_align_t);

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer every block comes from the ordinary heap, so that overruns are seen.
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

struct Heap {
    explicit Heap(std::size_t initialBytes)
        : arena(initialBytes), pool(std::pmr::pool_options{}, &arena),
          blocks(kPooled ? static_cast<std::pmr::memory_resource*>(&pool)
                         : std::pmr::new_delete_resource()) {}

    std::pmr::monotonic_buffer_resource arena;
    std::pmr::unsynchronized_pool_resource pool;
    std::pmr::memory_resource* blocks;
    std::size_t liveBlocks = 0;
};

std::unique_ptr<Heap>& heap() {
    static std::unique_ptr<Heap> instance;
    return instance;
}

} // namespace

bool moduleHeapCreate(std::size_t initialBytes) {
    if (heap()) {
        return false;
    }
    heap() = std::make_unique<Heap>(initialBytes);
    return true;
}

std::size_t moduleHeapDestroy() {
    const std::size_t alive = moduleHeapLiveBlocks();
    heap().reset();
    return alive;
}

bool moduleHeapExists() {
    return heap() != nullptr;
}

void* moduleHeapAlloc(std::size_t bytes) {
    Heap* current = heap().get();
    if (!current) {
        return nullptr;
    }
    try {
        auto* raw = static_cast<unsigned char*>(
            current->blocks->allocate(bytes + kHeaderBytes, alignof(std::max_align_t)));
        std::memset(raw, 0, bytes + kHeaderBytes);
        std::memcpy(raw, &bytes, sizeof bytes);
        ++current->liveBlocks;
        return raw + kHeaderBytes;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void moduleHeapFree(void* block) {
    Heap* current = heap().get();
    if (!current || !block) {
        return;
    }
    auto* raw = static_cast<unsigned char*>(block) - kHeaderBytes;
    std::size_t bytes = 0;
    std::memcpy(&bytes, raw, sizeof bytes);
    current->blocks->deallocate(raw, bytes + kHeaderBytes, alignof(std::max_align_t));
    --current->liveBlocks;
}

std::size_t moduleHeapLiveBlocks() {
    return heap() ? heap()->liveBlocks : 0;
}

} // namespace tavi::platform
