// Counts calls of the global operator new (replaced in this test program) while armed. The
// module loaded with dlopen binds to the program's operator new, so its allocations count too.
#pragma once

#include <atomic>
#include <cstddef>

namespace hosttest {

extern std::atomic<bool> g_bCounting;
extern std::atomic<std::size_t> g_uCount;

class CAllocationCounter
{
public:
	CAllocationCounter()
	{
		g_uCount = 0;
		g_bCounting = true;
	}
	~CAllocationCounter() { g_bCounting = false; }
	std::size_t count() const { return g_uCount.load(); }
};

} // namespace hosttest
