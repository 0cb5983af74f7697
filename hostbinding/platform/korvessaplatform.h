// What differs between the platforms the module is built for, in one place: how a function is
// exported from the module, and the processor's floating-point control (flushing denormals).
// Free of plug-in-format headers, so the effect and the host binding can both include it.
#pragma once

#if defined(_WIN32)
#define KORVESSA_EXPORT extern "C" __declspec(dllexport)
#else
#define KORVESSA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#include <xmmintrin.h>
#define KORVESSA_HAS_MXCSR 1
#endif

namespace korvessa {
namespace platform {

constexpr unsigned int kFlushToZero = 0x8000;      // MXCSR FTZ: denormal results become 0
constexpr unsigned int kDenormalsAreZero = 0x0040; // MXCSR DAZ: denormal inputs read as 0

// The calling thread's floating-point control word (MXCSR); 0 where there is none.
inline unsigned int floatControl()
{
#ifdef KORVESSA_HAS_MXCSR
	return _mm_getcsr();
#else
	return 0;
#endif
}

inline void setFloatControl(unsigned int uControl)
{
#ifdef KORVESSA_HAS_MXCSR
	_mm_setcsr(uControl);
#else
	(void)uControl;
#endif
}

// Flushes denormals on the calling thread from now on, leaving the other bits as they are.
inline void flushDenormals()
{
	setFloatControl(floatControl() | kFlushToZero | kDenormalsAreZero);
}

// Flushes denormals for its lifetime and restores the caller's control word afterwards. Hosts
// call process on their own audio thread, so a setting made where the plug-in was created does
// not reach it, and the host's own setting must survive the call.
class CDenormalGuard
{
public:
	CDenormalGuard()
	: m_uSavedControl(floatControl())
	{
		flushDenormals();
	}
	~CDenormalGuard() { setFloatControl(m_uSavedControl); }
	CDenormalGuard(const CDenormalGuard&) = delete;
	CDenormalGuard& operator=(const CDenormalGuard&) = delete;

private:
	unsigned int m_uSavedControl; // the caller's MXCSR
};

} // namespace platform
} // namespace korvessa
