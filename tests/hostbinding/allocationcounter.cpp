#include "allocationcounter.h"

#include <cstdlib>
#include <new>

namespace hosttest {
std::atomic<bool> g_bCounting{false};
std::atomic<std::size_t> g_uCount{0};
} // namespace hosttest

namespace {
void* allocate(std::size_t uSize)
{
	if (hosttest::g_bCounting.load(std::memory_order_relaxed))
		hosttest::g_uCount.fetch_add(1, std::memory_order_relaxed);
	void* p = std::malloc(uSize ? uSize : 1);
	if (!p)
		throw std::bad_alloc();
	return p;
}
} // namespace

void* operator new(std::size_t uSize) { return allocate(uSize); }
void* operator new[](std::size_t uSize) { return allocate(uSize); }
void* operator new(std::size_t uSize, const std::nothrow_t&) noexcept
{
	try { return allocate(uSize); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t uSize, const std::nothrow_t&) noexcept
{
	try { return allocate(uSize); } catch (...) { return nullptr; }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
