#include "bench/support/HeapCount.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

void* allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    const std::size_t live = g_liveBytes += malloc_usable_size(block);
    std::size_t peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void release(void* block) noexcept
{
    if (block != nullptr) {
        g_liveBytes -= malloc_usable_size(block);
        std::free(block);
    }
}

} // namespace

namespace quorvex::bench {

std::size_t liveHeapBytes()
{
    return g_liveBytes.load();
}

std::size_t restartHeapPeak()
{
    const std::size_t live = g_liveBytes.load();
    g_peakBytes = live;
    return live;
}

std::size_t heapPeakBytes()
{
    return g_peakBytes.load();
}

} // namespace quorvex::bench

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void* block) noexcept
{
    release(block);
}
void operator delete[](void* block) noexcept
{
    release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    release(block);
}
