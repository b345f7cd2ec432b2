#include "tom/keltpool.hpp"

#include <sys/mman.h>

#include <mutex>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Under AddressSanitizer a block that is not handed out may not be touched: a use after
// the cache freed an entry is reported as it would be on the heap.
void Poison(void const* p, std::size_t bytes)
{
#if defined(__SANITIZE_ADDRESS__)
    __asan_poison_memory_region(p, bytes);
#else
    (void)p;
    (void)bytes;
#endif
}

void Unpoison(void const* p, std::size_t bytes)
{
#if defined(__SANITIZE_ADDRESS__)
    __asan_unpoison_memory_region(p, bytes);
#else
    (void)p;
    (void)bytes;
#endif
}

// Chunks are mapped from the system, not taken from the heap: freeing a large heap block
// makes the heap sweep its lists of small free blocks, which a cache that has just freed
// a whole transaction's objects holds by the million. Chunks that pools hand back are kept
// for the next pool, up to spareLimit bytes: their pages have been touched already.
constexpr std::size_t spareLimit = 16 * 1024 * 1024;

struct Spares {
    std::mutex lock;
    std::vector<std::pair<char*, std::size_t>> chunks;
    std::size_t bytes = 0;
};

Spares& TheSpares()
{
    static Spares* spares = new Spares;  // never destroyed: pools may outlive static destruction
    return *spares;
}

std::atomic<std::size_t> heldBytes{0};

char* TakeChunk(std::size_t bytes)
{
    {
        Spares& spares = TheSpares();
        std::lock_guard<std::mutex> guard(spares.lock);
        for (std::size_t i = spares.chunks.size(); i-- > 0;) {
            if (spares.chunks[i].second != bytes) continue;
            char* chunk = spares.chunks[i].first;
            spares.chunks.erase(spares.chunks.begin() + static_cast<std::ptrdiff_t>(i));
            spares.bytes -= bytes;
            heldBytes += bytes;
            Poison(chunk, bytes);
            return chunk;
        }
    }
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    if (bytes >= 2 * 1024 * 1024) madvise(p, bytes, MADV_HUGEPAGE);  // fewer page faults where allowed
    heldBytes += bytes;
    Poison(p, bytes);
    return static_cast<char*>(p);
}

// counted: the chunk is one of those that MappedBytes reports (one being carved from).
void GiveChunk(char* chunk, std::size_t bytes, bool counted) noexcept
{
    if (counted) heldBytes -= bytes;
    Unpoison(chunk, bytes);
    Spares& spares = TheSpares();
    {
        std::lock_guard<std::mutex> guard(spares.lock);
        if (spares.bytes + bytes <= spareLimit) {
            try {
                spares.chunks.emplace_back(chunk, bytes);
                spares.bytes += bytes;
                return;
            } catch (...) {  // no room to note it: hand it back
            }
        }
    }
    munmap(chunk, bytes);
}

}  // namespace

void KelTomBlockPool::ReleaseSpareChunks() noexcept
{
    Spares& spares = TheSpares();
    std::lock_guard<std::mutex> guard(spares.lock);
    for (auto const& chunk : spares.chunks) munmap(chunk.first, chunk.second);
    spares.chunks.clear();
    spares.bytes = 0;
}

std::size_t KelTomBlockPool::MappedBytes() { return heldBytes; }

KelTomBlockPool::~KelTomBlockPool()
{
    for (std::size_t i = 0; i < _chunks.size(); ++i) GiveChunk(_chunks[i].begin, _chunks[i].bytes, i < _used);
}

void* KelTomBlockPool::Allocate(std::size_t bytes)
{
    if (bytes == 0 || bytes > maxBlock) return ::operator new(bytes);
    std::size_t const c = ClassOf(bytes);
    if (FreeBlock* block = _free[c]) {
        Unpoison(block, (c + 1) * grain);
        _free[c] = block->next;
        ++_inUse;
        return block;
    }
    void* block = Carve((c + 1) * grain);
    ++_inUse;
    return block;
}

void* KelTomBlockPool::Carve(std::size_t size)
{
    if (static_cast<std::size_t>(_end - _next) < size) {
        if (_used < _chunks.size()) {
            heldBytes += _chunks[_used].bytes;  // a chunk kept from an earlier transaction
        } else {
            // Each chunk twice the one before, up to maxChunk: small caches stay small.
            std::size_t const bytes = _chunks.empty() ? firstChunk : std::min(2 * _chunks.back().bytes, maxChunk);
            _chunks.reserve(_chunks.size() + 1);
            _chunks.push_back(Chunk{TakeChunk(bytes), bytes});
        }
        Chunk const& chunk = _chunks[_used++];
        _next = chunk.begin;
        _end = _next + chunk.bytes;
    }
    void* block = _next;
    _next += size;
    Unpoison(block, size);
    return block;
}

void KelTomBlockPool::Deallocate(void* p, std::size_t bytes) noexcept
{
    if (!p) return;
    if (bytes == 0 || bytes > maxBlock) return ::operator delete(p);
    std::size_t const c = ClassOf(bytes);
    FreeBlock* block = static_cast<FreeBlock*>(p);
    block->next = _free[c];
    _free[c] = block;
    Poison(block, (c + 1) * grain);
    --_inUse;
}

void KelTomBlockPool::Reset() noexcept
{
    // Nothing carved since the last Reset (or ever): the free lists are empty already.
    if (_inUse != 0 || _used == 0) return;
    // The chunks up to keptBytes stay mapped for the next transaction, whose blocks then
    // land on pages touched before; the rest goes back. Kept chunks count as held again
    // once blocks are carved from them.
    std::size_t kept = 0, total = 0;
    while (kept < _chunks.size() && total + _chunks[kept].bytes <= keptBytes) total += _chunks[kept++].bytes;
    if (kept == 0) kept = 1;
    for (std::size_t i = 0; i < _chunks.size(); ++i) {
        if (i >= kept)
            GiveChunk(_chunks[i].begin, _chunks[i].bytes, i < _used);
        else if (i < _used)
            heldBytes -= _chunks[i].bytes;
    }
    _chunks.resize(kept);
    for (FreeBlock*& head : _free) head = nullptr;
    for (Chunk const& chunk : _chunks) Poison(chunk.begin, chunk.bytes);
    _used = 0;
    _next = _end = nullptr;
}
