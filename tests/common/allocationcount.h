// Counts global operator new calls while armed, for the checks that the per-sample operations
// allocate nothing.
#pragma once

#include <atomic>
#include <cstddef>

extern std::atomic<bool> g_bCountingAllocations;
extern std::atomic<std::size_t> g_uAllocations;

class CAllocationCount
{
public:
    CAllocationCount()
    {
        g_uAllocations = 0;
        g_bCountingAllocations = true;
    }
    ~CAllocationCount() { g_bCountingAllocations = false; }
    std::size_t count() const { return g_uAllocations.load(); }
};
