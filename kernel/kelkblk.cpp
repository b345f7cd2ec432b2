#include "kernel/kelkblk.hpp"

#include <new>

namespace {

// Class c holds blocks of 16c + 8 bytes: the heap's own size steps (a chunk of 16c + 16
// bytes with its 8-byte header), so that rounding a request up costs no memory.
constexpr std::size_t classes = KelSmallBlocks::maxBlock / 16 + 1;
std::size_t ClassOf(std::size_t bytes) { return (bytes + 7) / 16; }
std::size_t SizeOf(std::size_t c) { return 16 * c + 8; }

struct FreeBlock {
    FreeBlock* next;
};

// The calling thread's lists. Plain data, so that reaching it costs no initialization
// check; the owner below frees the blocks when the thread ends. In the static TLS block of
// the process (initial-exec), so that reaching it is one load from the thread pointer and
// not a call for the library's dynamic TLS block at every allocation; the lists take a few
// hundred bytes of the room the C library keeps for libraries loaded later.
struct Lists {
    FreeBlock* head[classes];
    std::size_t kept;
    bool owned;   // the owner has been made and not yet run: the lists are freed at thread exit
    bool closed;  // the thread is ending: keep nothing more
};
thread_local Lists lists __attribute__((tls_model("initial-exec")));

void FreeAll(Lists& l) noexcept
{
    for (std::size_t c = 0; c < classes; ++c) {
        while (FreeBlock* block = l.head[c]) {
            l.head[c] = block->next;
            ::operator delete(block);
        }
    }
    l.kept = 0;
}

struct ListsOwner {
    bool made = false;
    ~ListsOwner()
    {
        FreeAll(lists);
        lists.owned = false;
        lists.closed = true;
    }
};
thread_local ListsOwner owner;

// Whether blocks may be kept: not under the address sanitizer, which must see each free.
constexpr bool keeping =
#if defined(__SANITIZE_ADDRESS__)
    false;
#else
    true;
#endif

}  // namespace

void* KelSmallBlocks::Allocate(std::size_t bytes)
{
    if (bytes > maxBlock) return ::operator new(bytes);
    std::size_t const c = ClassOf(bytes);
    Lists& l = lists;
    if (FreeBlock* block = l.head[c]) {
        l.head[c] = block->next;
        l.kept -= SizeOf(c);
        return block;
    }
    return ::operator new(SizeOf(c));
}

namespace {

// Keeps block on the list of class c.
inline void Push(Lists& l, void* block, std::size_t c) noexcept
{
    FreeBlock* freed = static_cast<FreeBlock*>(block);
    freed->next = l.head[c];
    l.head[c] = freed;
    l.kept += SizeOf(c);
}

// Free's rare paths, out of line so that its common one needs no stack frame: the first block
// a thread keeps (its lists are then freed when it ends), and every block that goes back to
// the heap.
[[gnu::noinline]] void FreeRarely(void* block, std::size_t bytes) noexcept
{
    if (!block) return;
    Lists& l = lists;
    std::size_t const c = ClassOf(bytes);
    if (!keeping || bytes > KelSmallBlocks::maxBlock || l.closed || l.kept + SizeOf(c) > KelSmallBlocks::keptLimit)
        return ::operator delete(block);
    l.owned = true;
    owner.made = true;  // made now: frees the lists when the thread ends
    Push(l, block, c);
}

}  // namespace

void KelSmallBlocks::Free(void* block, std::size_t bytes) noexcept
{
    std::size_t const c = ClassOf(bytes);
    Lists& l = lists;
    // Owned lists are not closed: the owner clears the flag when it frees them.
    if (keeping && block && bytes <= maxBlock && l.owned) {
        // Over the limit (the commit of a large transaction): straight back to the heap.
        if (l.kept + SizeOf(c) > keptLimit) return ::operator delete(block);
        return Push(l, block, c);
    }
    FreeRarely(block, bytes);
}

void KelSmallBlocks::Release() noexcept { FreeAll(lists); }

std::size_t KelSmallBlocks::KeptBytes() noexcept { return lists.kept; }
