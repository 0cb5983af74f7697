#include "alloccounter.h"

#include <cstdlib>
#include <new>

namespace korvessa_test {
std::atomic<bool> g_bCountAllocations {false};
std::atomic<std::size_t> g_uAllocationCount {0};
} // namespace korvessa_test

void* operator new (std::size_t size)
{
	if (korvessa_test::g_bCountAllocations)
		++korvessa_test::g_uAllocationCount;
	if (void* p = std::malloc (size ? size : 1))
		return p;
	throw std::bad_alloc ();
}

void operator delete (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
