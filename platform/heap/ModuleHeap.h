#pragma once

#include <cstddef>

// The module's private heap: the Aircraft, its systems and its screens live on it. Blocks are
// zero-filled and counted, so that a block still alive when the heap is destroyed is visible.
namespace tavi::platform {

// Creates the heap; answers false when it already exists.
bool moduleHeapCreate(std::size_t initialBytes);
// Destroys the heap and every block still on it; the number of blocks that were still alive.
std::size_t moduleHeapDestroy();
bool moduleHeapExists();

// A zero-filled block of the module heap, or null when the heap is missing or exhausted.
void* moduleHeapAlloc(std::size_t bytes);
void moduleHeapFree(void* block);

// Blocks allocated and not yet freed.
std::size_t moduleHeapLiveBlocks();

} // namespace tavi::platform
