// KelSmallBlocks: small heap blocks kept for reuse by the thread that freed them. A
// transaction makes thousands of small blocks (texts, objects, row records, functors) and
// frees them all at its commit, more than the heap's own per-thread cache holds, so that
// most of them cost the heap's slow paths twice. Here a freed block goes onto its thread's
// list for its size (last in, first out: the next block handed out is the one touched
// last) and the next request of that size takes it back in a few instructions.
//
// Promises: the blocks are ordinary heap blocks of their class's size, so a block may be
// freed on any thread and a list may hand it to any later request of its class. A thread
// keeps at most keptLimit bytes; what a full list is given goes back to the heap at once,
// and a thread's lists go back to the heap when it ends. Blocks over maxBlock bytes come
// from the heap and go back to it. Built with the address sanitizer, nothing is kept, so
// that it sees every use after free.
#pragma once

#include <cstddef>

class KelSmallBlocks {
public:
    // The largest block kept (the heap's chunk of 256 bytes less its 8-byte header).
    static constexpr std::size_t maxBlock = 248;
    static constexpr std::size_t keptLimit = 4 * 1024 * 1024;

    // A block of at least bytes; throws std::bad_alloc as operator new does.
    static void* Allocate(std::size_t bytes);
    // REQUIRES: block came from Allocate(bytes), or is null.
    static void Free(void* block, std::size_t bytes) noexcept;
    // Hands the calling thread's kept blocks back to the heap.
    static void Release() noexcept;
    // Bytes the calling thread keeps (for memory accounting: kept blocks are free memory).
    static std::size_t KeptBytes() noexcept;
};

// Class-level allocation through KelSmallBlocks: a class derives from it (or declares
// the same two operators) so that new and delete of its objects use the lists. A derived
// class with a virtual destructor is freed with its own size.
struct KelSmallBlockAllocated {
    static void* operator new(std::size_t bytes) { return KelSmallBlocks::Allocate(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { KelSmallBlocks::Free(block, bytes); }
};

// The allocator of a standard container whose blocks are small and made and freed with
// their owner, such as the parameter list of every log record: through KelSmallBlocks.
template <class T>
struct KelSmallBlockAllocator {
    using value_type = T;

    KelSmallBlockAllocator() noexcept = default;
    template <class U>
    KelSmallBlockAllocator(KelSmallBlockAllocator<U> const&) noexcept
    {
    }
    T* allocate(std::size_t n) { return static_cast<T*>(KelSmallBlocks::Allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { KelSmallBlocks::Free(p, n * sizeof(T)); }

    template <class U>
    friend bool operator==(KelSmallBlockAllocator const&, KelSmallBlockAllocator<U> const&) noexcept
    {
        return true;
    }
    template <class U>
    friend bool operator!=(KelSmallBlockAllocator const&, KelSmallBlockAllocator<U> const&) noexcept
    {
        return false;
    }
};
