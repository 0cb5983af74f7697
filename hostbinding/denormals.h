// Flushes denormal floats to zero for the lifetime of the guard and restores the caller's
// floating-point control register afterwards. Hosts call process on their own audio thread, so
// the setting made where the plug-in was created does not reach it. x86 only; elsewhere nothing.
#pragma once

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64)
#include <xmmintrin.h>
#define KORVESSA_HAS_MXCSR 1
#endif

namespace Zaze2VST3 {

class CDenormalGuard
{
public:
#ifdef KORVESSA_HAS_MXCSR
	CDenormalGuard()
	: m_uSavedCsr(_mm_getcsr())
	{
		_mm_setcsr(m_uSavedCsr | kFlushToZero | kDenormalsAreZero);
	}
	~CDenormalGuard() { _mm_setcsr(m_uSavedCsr); }
#else
	CDenormalGuard() = default;
#endif
	CDenormalGuard(const CDenormalGuard&) = delete;
	CDenormalGuard& operator=(const CDenormalGuard&) = delete;

private:
#ifdef KORVESSA_HAS_MXCSR
	static constexpr unsigned int kFlushToZero = 0x8000;      // MXCSR FTZ
	static constexpr unsigned int kDenormalsAreZero = 0x0040; // MXCSR DAZ
	unsigned int m_uSavedCsr;                                 // caller's MXCSR
#endif
};

} // namespace Zaze2VST3
