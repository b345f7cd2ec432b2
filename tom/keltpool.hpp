// KelTomBlockPool: the memory of one cache's small, fixed-size blocks (dictionary nodes
// and entries). Blocks are carved from chunks one after the other, so a cache's nodes and
// entries lie close together, and a freed block is reused for the next one of its size.
// When the cache has been emptied, Reset hands every chunk but the first back at once
// instead of block by block, keeping a few for the next transaction. Blocks over maxBlock
// bytes come from the global heap. Chunks a pool hands back are kept, up to 16 MiB in the
// process, for the next pool that needs one.
//
// Owned by one cache and used by the thread that uses the cache; nothing is locked.
// KelTomPoolAllocator<U> lets a standard container take its nodes from a pool (or from
// the global heap when it has none). Chunks are mapped from the system, in sizes that
// double from 64 KiB to 4 MiB.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <new>
#include <vector>

class KelTomBlockPool {
public:
    static constexpr std::size_t maxBlock = 128;

    KelTomBlockPool() = default;
    ~KelTomBlockPool();
    KelTomBlockPool(KelTomBlockPool const&) = delete;
    KelTomBlockPool& operator=(KelTomBlockPool const&) = delete;

    void* Allocate(std::size_t bytes);
    // REQUIRES: p came from Allocate(bytes) of this pool.
    void Deallocate(void* p, std::size_t bytes) noexcept;
    // Makes every block free again, keeps the first chunks (up to 4 MiB) for the next
    // transaction and hands the others back; does nothing while a block is in use.
    void Reset() noexcept;
    std::size_t BlocksInUse() const { return _inUse; }
    // Bytes of the chunks that the pools of the process are carving blocks from (for memory
    // accounting: chunks kept empty for later count as free memory, as the heap's do).
    static std::size_t MappedBytes();
    // Hands the chunks kept for later pools back to the system.
    static void ReleaseSpareChunks() noexcept;

private:
    static constexpr std::size_t grain = 16;
    static constexpr std::size_t firstChunk = 64 * 1024;
    static constexpr std::size_t maxChunk = 4 * 1024 * 1024;
    static constexpr std::size_t keptBytes = 4 * 1024 * 1024;
    struct FreeBlock {
        FreeBlock* next;
    };
    static std::size_t ClassOf(std::size_t bytes) { return (bytes + grain - 1) / grain - 1; }
    void* Carve(std::size_t size);

    FreeBlock* _free[maxBlock / grain] = {};
    struct Chunk {
        char* begin;
        std::size_t bytes;
    };
    std::vector<Chunk> _chunks;
    std::size_t _used = 0;  // chunks carved from since the last Reset; the last is being carved
    char* _next = nullptr;
    char* _end = nullptr;
    std::size_t _inUse = 0;
};

template <class U>
class KelTomPoolAllocator {
public:
    using value_type = U;

    KelTomPoolAllocator() noexcept = default;
    explicit KelTomPoolAllocator(KelTomBlockPool* pool) noexcept : _pool(pool) {}
    template <class V>
    KelTomPoolAllocator(KelTomPoolAllocator<V> const& other) noexcept : _pool(other.Pool())
    {
    }

    U* allocate(std::size_t n)
    {
        if (_pool && n == 1) return static_cast<U*>(_pool->Allocate(sizeof(U)));
        return static_cast<U*>(::operator new(n * sizeof(U)));
    }
    void deallocate(U* p, std::size_t n) noexcept
    {
        if (_pool && n == 1)
            _pool->Deallocate(p, sizeof(U));
        else
            ::operator delete(p);
    }
    KelTomBlockPool* Pool() const noexcept { return _pool; }
    // A copy of a container takes its nodes from the heap: it may outlive the pool.
    KelTomPoolAllocator select_on_container_copy_construction() const noexcept { return KelTomPoolAllocator(); }

    template <class V>
    friend bool operator==(KelTomPoolAllocator const& a, KelTomPoolAllocator<V> const& b) noexcept
    {
        return a.Pool() == b.Pool();
    }
    template <class V>
    friend bool operator!=(KelTomPoolAllocator const& a, KelTomPoolAllocator<V> const& b) noexcept
    {
        return a.Pool() != b.Pool();
    }

private:
    KelTomBlockPool* _pool = nullptr;
};
