#include "alloccounter.h"

#include <cstdlib>
#include <new>

namespace korvessa_test {
std::atomic<bool> g_bCountAllocations {false};
std::atomic<std::size_t> g_uAllocationCount {0};
} // namespace korvessa_test

// Every plain and array form is replaced, so allocation and release always pair up (the
// sanitizer build checks that).
namespace {
void* countedAlloc (std::size_t size) noexcept
{
	if (korvessa_test::g_bCountAllocations)
		++korvessa_test::g_uAllocationCount;
	return std::malloc (size ? size : 1);
}
} // namespace

void* operator new (std::size_t size)
{
	if (void* p = countedAlloc (size))
		return p;
	throw std::bad_alloc ();
}
void* operator new[] (std::size_t size) { return operator new (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return countedAlloc (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return countedAlloc (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept { std::free (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept { std::free (p); }
