#include "allocationcount.h"

#include <cstdlib>
#include <new>

std::atomic<bool> g_bCountingAllocations{false};
std::atomic<std::size_t> g_uAllocations{0};

// Every plain and array form is replaced, so allocation and release always pair up (the
// sanitizer build checks that). A module loaded with dlopen binds to these too.
namespace {
void* countedAlloc(std::size_t size) noexcept
{
    if (g_bCountingAllocations)
        ++g_uAllocations;
    return std::malloc(size != 0 ? size : 1);
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* p = countedAlloc(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return countedAlloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return countedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
