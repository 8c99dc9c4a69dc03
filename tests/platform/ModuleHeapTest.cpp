#include "platform/heap/ModuleHeap.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tavi::platform {
namespace {

class ModuleHeap : public ::testing::Test {
protected:
    void TearDown() override { moduleHeapDestroy(); }
};

TEST_F(ModuleHeap, ExistsBetweenCreateAndDestroy) {
    EXPECT_FALSE(moduleHeapExists());
    EXPECT_EQ(moduleHeapAlloc(16), nullptr);
    EXPECT_TRUE(moduleHeapCreate(8u << 20));
    EXPECT_TRUE(moduleHeapExists());
    EXPECT_FALSE(moduleHeapCreate(8u << 20));
    moduleHeapDestroy();
    EXPECT_FALSE(moduleHeapExists());
    EXPECT_EQ(moduleHeapLiveBlocks(), 0u);
}

TEST_F(ModuleHeap, BlocksAreZeroedAlignedAndCounted) {
    ASSERT_TRUE(moduleHeapCreate(0));
    std::vector<unsigned char*> blocks;
    for (std::size_t bytes : {std::size_t{0}, std::size_t{1}, std::size_t{24}, std::size_t{4096},
                              std::size_t{1} << 20}) {
        auto* block = static_cast<unsigned char*>(moduleHeapAlloc(bytes));
        ASSERT_NE(block, nullptr) << bytes;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        for (std::size_t i = 0; i < bytes; ++i) {
            ASSERT_EQ(block[i], 0) << bytes << " at " << i;
        }
        std::fill(block, block + bytes, 0xAB);
        blocks.push_back(block);
    }
    EXPECT_EQ(moduleHeapLiveBlocks(), blocks.size());

    moduleHeapFree(blocks[2]);
    moduleHeapFree(nullptr);
    EXPECT_EQ(moduleHeapLiveBlocks(), blocks.size() - 1);
    // A block given back and taken again is zero once more.
    auto* again = static_cast<unsigned char*>(moduleHeapAlloc(24));
    ASSERT_NE(again, nullptr);
    for (std::size_t i = 0; i < 24; ++i) {
        EXPECT_EQ(again[i], 0);
    }
}

TEST_F(ModuleHeap, SizesThatCannotBeAllocatedAnswerNull) {
    ASSERT_TRUE(moduleHeapCreate(1024));
    const std::size_t largest = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(moduleHeapAlloc(largest), nullptr);
    EXPECT_EQ(moduleHeapAlloc(largest - 1), nullptr);
    EXPECT_EQ(moduleHeapLiveBlocks(), 0u);
}

// Destroying the heap frees the blocks still on it: the sanitizer build reports any left.
TEST_F(ModuleHeap, DestroyFreesTheBlocksStillAlive) {
    ASSERT_TRUE(moduleHeapCreate(1024));
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(moduleHeapAlloc(static_cast<std::size_t>(100 * i + 8)), nullptr);
    }
    EXPECT_EQ(moduleHeapLiveBlocks(), 10u);
    moduleHeapDestroy();
    EXPECT_EQ(moduleHeapLiveBlocks(), 0u);

    ASSERT_TRUE(moduleHeapCreate(1024));
    EXPECT_EQ(moduleHeapLiveBlocks(), 0u);
    EXPECT_NE(moduleHeapAlloc(8), nullptr);
}

} // namespace
} // namespace tavi::platform
