#include "platform/heap/ModuleHeap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <memory_resource>
#include <unordered_map>

namespace tavi::platform {

namespace {

// Each block carries its size in front of it, so that it can be returned to the pool.
constexpr std::size_t kHeaderBytes = sizeof(std::max_align_t);

#if defined(__SANITIZE_ADDRESS__)
#define TAVI_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVI_HEAP_SANITIZED 1
#endif
#endif

#if defined(TAVI_HEAP_SANITIZED)
// Under AddressSanitizer every block comes from the ordinary heap, so that overruns are seen.
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

struct Heap {
    explicit Heap(std::size_t initialBytes)
        : arena(std::max<std::size_t>(initialBytes, 1)), pool(std::pmr::pool_options{}, &arena),
          blocks(kPooled ? static_cast<std::pmr::memory_resource*>(&pool)
                         : std::pmr::new_delete_resource()) {}
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;

    // The pool gives its blocks back when it goes; blocks from the ordinary heap are given back
    // one by one, so that destroying the heap frees every block in both builds.
    ~Heap() {
        for (auto [raw, bytes] : unpooled) {
            blocks->deallocate(raw, bytes, alignof(std::max_align_t));
        }
    }

    std::pmr::monotonic_buffer_resource arena;
    std::pmr::unsynchronized_pool_resource pool;
    std::pmr::memory_resource* blocks;
    std::unordered_map<void*, std::size_t> unpooled;
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
    if (bytes > std::numeric_limits<std::size_t>::max() - kHeaderBytes) {
        return nullptr;
    }
    try {
        auto* raw = static_cast<unsigned char*>(
            current->blocks->allocate(bytes + kHeaderBytes, alignof(std::max_align_t)));
        if (!kPooled) {
            current->unpooled.emplace(raw, bytes + kHeaderBytes);
        }
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
    if (!kPooled) {
        current->unpooled.erase(raw);
    }
    current->blocks->deallocate(raw, bytes + kHeaderBytes, alignof(std::max_align_t));
    --current->liveBlocks;
}

std::size_t moduleHeapLiveBlocks() {
    return heap() ? heap()->liveBlocks : 0;
}

} // namespace tavi::platform
