#include "tom/keltpool.hpp"

#include <sys/mman.h>

namespace {

std::atomic<std::size_t> mappedBytes{0};

// Chunks are mapped from the system, not taken from the heap: freeing a large heap block
// makes the heap sweep its lists of small free blocks, which a cache that has just freed
// a whole transaction's objects holds by the million.
char* MapChunk(std::size_t bytes)
{
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    mappedBytes += bytes;
    if (bytes >= 2 * 1024 * 1024) madvise(p, bytes, MADV_HUGEPAGE);  // fewer page faults where allowed
    return static_cast<char*>(p);
}

void UnmapChunk(char* begin, std::size_t bytes) noexcept
{
    munmap(begin, bytes);
    mappedBytes -= bytes;
}

}  // namespace

std::size_t KelTomBlockPool::MappedBytes() { return mappedBytes; }

KelTomBlockPool::~KelTomBlockPool()
{
    for (Chunk const& chunk : _chunks) UnmapChunk(chunk.begin, chunk.bytes);
}

void* KelTomBlockPool::Allocate(std::size_t bytes)
{
    if (bytes == 0 || bytes > maxBlock) return ::operator new(bytes);
    std::size_t const c = ClassOf(bytes);
    if (FreeBlock* block = _free[c]) {
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
        // Each chunk twice the one before, up to maxChunk: small caches stay small.
        std::size_t const bytes = _chunks.empty() ? firstChunk : std::min(2 * _chunks.back().bytes, maxChunk);
        _chunks.reserve(_chunks.size() + 1);
        _chunks.push_back(Chunk{MapChunk(bytes), bytes});
        _next = _chunks.back().begin;
        _end = _next + bytes;
    }
    void* block = _next;
    _next += size;
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
    --_inUse;
}

void KelTomBlockPool::Reset() noexcept
{
    if (_inUse != 0 || _chunks.empty()) return;
    for (std::size_t i = 1; i < _chunks.size(); ++i) UnmapChunk(_chunks[i].begin, _chunks[i].bytes);
    _chunks.resize(1);
    for (FreeBlock*& head : _free) head = nullptr;
    _next = _chunks.front().begin;
    _end = _next + _chunks.front().bytes;
}
