#include "allocationcount.h"

#include <cstdlib>
#include <new>

std::atomic<bool> g_bCountingAllocations{false};
std::atomic<std::size_t> g_uAllocations{0};

void* operator new(std::size_t size)
{
    if (g_bCountingAllocations)
        ++g_uAllocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
