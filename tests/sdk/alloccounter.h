// Counts global operator new calls while a scope is armed, for the "no allocation" checks.
#pragma once

#include <atomic>
#include <cstddef>

namespace korvessa_test {

extern std::atomic<bool> g_bCountAllocations;
extern std::atomic<std::size_t> g_uAllocationCount;

/** Counts allocations made on any thread from construction to count(). */
class AllocationScope
{
public:
	AllocationScope ()
	{
		g_uAllocationCount = 0;
		g_bCountAllocations = true;
	}
	~AllocationScope () { g_bCountAllocations = false; }
	std::size_t count () const { return g_uAllocationCount.load (); }
};

} // namespace korvessa_test
