// The block pool behind placed objects and their placement records: aligned,
// never overlapping, freed blocks handed out again by size class, chunks of
// 2 MB taken only when the current one is used up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Pool.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"

namespace {

bool Aligned(const void* p) {
    return reinterpret_cast<uintptr_t>(p) % 64 == 0;
}

TEST(Pool, BlocksOfEverySizeAreAlignedAndKeepTheirBytes) {
    qv::BlockPool pool;
    const size_t sizes[] = {0, 1, 63, 64, 65, 1000, 4096, 4097, 10000};
    std::vector<std::pair<unsigned char*, size_t>> blocks;
    for (int round = 0; round < 3; ++round)
        for (size_t size : sizes) {
            auto* p = static_cast<unsigned char*>(pool.Allocate(size));
            ASSERT_TRUE(Aligned(p)) << size;
            std::memset(p, static_cast<int>(blocks.size() + 1), size);
            blocks.emplace_back(p, size);
        }
    // Every block still holds its own byte: none overlaps another.
    for (size_t k = 0; k < blocks.size(); ++k) {
        const auto [p, size] = blocks[k];
        EXPECT_TRUE(std::all_of(p, p + size, [&](unsigned char c) { return c == k + 1; })) << k;
    }
    for (const auto& [p, size] : blocks) pool.Free(p, size);
    // Only blocks of 4,096 bytes and less come from the pool's chunk.
    EXPECT_EQ(pool.ChunkCount(), 1u);
}

TEST(Pool, AFreedBlockGoesToTheNextRequestOfItsClass) {
    qv::BlockPool pool;
    // 100 and 128 bytes are both two lines; 129 is three.
    void* a = pool.Allocate(100);
    void* b = pool.Allocate(100);
    pool.Free(a, 100);
    pool.Free(b, 100);
    void* three = pool.Allocate(129);
    EXPECT_NE(three, a);
    EXPECT_NE(three, b);
    EXPECT_EQ(pool.Allocate(128), b);  // the last freed first
    EXPECT_EQ(pool.Allocate(65), a);
    // A zero-byte block is a one-line block.
    void* z = pool.Allocate(0);
    pool.Free(z, 0);
    EXPECT_EQ(pool.Allocate(64), z);
}

TEST(Pool, AChunkIsTakenOnlyWhenTheLastIsUsedUp) {
    qv::BlockPool pool;
    // 2 MB holds 512 blocks of 4,096 bytes exactly.
    for (int k = 0; k < 512; ++k) pool.Allocate(4096);
    EXPECT_EQ(pool.ChunkCount(), 1u);
    pool.Allocate(4096);
    EXPECT_EQ(pool.ChunkCount(), 2u);
    // 32,768 lines of 64 bytes in the next chunk, less the 64 lines taken.
    for (int k = 0; k < 32704; ++k) pool.Allocate(64);
    EXPECT_EQ(pool.ChunkCount(), 2u);
    pool.Allocate(64);
    EXPECT_EQ(pool.ChunkCount(), 3u);
}

TEST(Pool, ThreadsNeverGetTheSameBlock) {
    qv::BlockPool pool;
    constexpr int kThreads = 4;
    constexpr int kEach = 2000;
    std::vector<std::vector<void*>> got(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&pool, &mine = got[static_cast<size_t>(t)]] {
            for (int k = 0; k < kEach; ++k) {
                mine.push_back(pool.Allocate(200));
                if (k % 3 == 2) {  // give one back now and then
                    pool.Free(mine.back(), 200);
                    mine.pop_back();
                }
            }
        });
    for (auto& t : threads) t.join();
    std::vector<void*> all;
    for (const auto& mine : got) all.insert(all.end(), mine.begin(), mine.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * (kEach - kEach / 3)));
}

TEST(Pool, ObjectsAndHoldersStartOnALine) {
    auto object = std::make_unique<Object>();
    auto holder = std::make_unique<ObjectHolder>(Position(1, 2), object.get());
    EXPECT_TRUE(Aligned(object.get()));
    EXPECT_TRUE(Aligned(holder.get()));
    // Deleted through its base, a derived object frees the size it took.
    std::unique_ptr<qv::Persistent> base = std::make_unique<Object>("Second");
    EXPECT_TRUE(Aligned(base.get()));
    base.reset();
    holder.reset();
}

}  // namespace
