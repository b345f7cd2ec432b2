// The block pool behind the caches' dictionaries.
#include "objects/kelasyss.hpp"
#include "tom/keldtom.hpp"
#include "tom/keltpool.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

TEST(BlockPool, HandsOutDisjointBlocksReusesFreedOnesAccountsForItsChunksAndIsNotCopied)
{
    std::size_t const before = KelTomBlockPool::MappedBytes();
    {
        KelTomBlockPool pool;
        std::vector<char*> blocks;
        for (int i = 0; i < 5000; ++i) {  // several chunks of two size classes
            std::size_t const size = i % 2 ? 48 : 64;
            char* block = static_cast<char*>(pool.Allocate(size));
            std::memset(block, i & 0xFF, size);
            blocks.push_back(block);
        }
        EXPECT_EQ(std::set<char*>(blocks.begin(), blocks.end()).size(), blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i][i % 2 ? 47 : 63], static_cast<char>(i & 0xFF)) << "block " << i << " was overwritten";
        EXPECT_GT(KelTomBlockPool::MappedBytes(), before);

        pool.Deallocate(blocks[10], 64);
        EXPECT_EQ(pool.Allocate(64), blocks[10]);
        void* large = pool.Allocate(4096);  // beyond the pool's sizes: the heap's
        pool.Deallocate(large, 4096);

        pool.Reset();  // blocks still in use: nothing may move
        EXPECT_EQ(pool.BlocksInUse(), blocks.size());
        EXPECT_EQ(blocks[4999][47], static_cast<char>(4999 & 0xFF));
        for (std::size_t i = 0; i < blocks.size(); ++i) pool.Deallocate(blocks[i], i % 2 ? 48 : 64);
        pool.Reset();
        EXPECT_EQ(pool.BlocksInUse(), 0u);
        EXPECT_EQ(pool.Allocate(64), blocks[0]) << "a reset pool starts again at its first chunk";
        pool.Deallocate(blocks[0], 64);
    }
    EXPECT_EQ(KelTomBlockPool::MappedBytes(), before);

    // A copied dictionary takes its nodes from the heap.
    auto pool = std::make_unique<KelTomBlockPool>();
    KelTomDictionary<KelSystemState> dict(pool.get());
    dict.emplace(KelOID::Generate(), nullptr);
    KelTomDictionary<KelSystemState> const copy(dict);
    EXPECT_EQ(dict.Pool(), pool.get());
    EXPECT_EQ(copy.Pool(), nullptr);
    dict.clear();
    pool.reset();  // the copy's nodes must not have been the pool's
    EXPECT_EQ(copy.size(), 1u);
}
