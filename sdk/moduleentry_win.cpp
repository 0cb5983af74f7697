// The Windows module entry: on process attach the DLL keeps its instance handle and the
// directory of its file (as GetModuleFileNameW gives it, at most 260 characters, cut after the
// last backslash, the backslash kept). Detach does nothing; the entry always reports success.
#include "moduleentry.h"

#include "utf16.h"

#include <windows.h>

namespace {

constexpr DWORD kMaxModulePath = 260;      // characters, terminator included
HINSTANCE g_hModuleInstance = nullptr;     // as given to DllMain on process attach
wchar_t g_szModuleDirectory[kMaxModulePath] = {}; // with its trailing backslash

void keepModuleDirectory (HINSTANCE hInstance)
{
	wchar_t szPath[kMaxModulePath] = {};
	const DWORD nLength = GetModuleFileNameW (hInstance, szPath, kMaxModulePath);
	// A path longer than the buffer is cut by the call and terminated from Windows Vista on;
	// terminate it here too so the search below never runs past the buffer.
	szPath[nLength < kMaxModulePath ? nLength : kMaxModulePath - 1] = 0;
	int nCut = -1;
	for (int i = 0; szPath[i]; ++i)
		if (szPath[i] == L'\\')
			nCut = i;
	for (int i = 0; i <= nCut; ++i)
		g_szModuleDirectory[i] = szPath[i];
	g_szModuleDirectory[nCut + 1] = 0;
}

} // namespace

extern "C" BOOL WINAPI DllMain (HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		g_hModuleInstance = hInstance;
		keepModuleDirectory (hInstance);
	}
	return TRUE;
}

namespace Steinberg {

void* getModuleHandle ()
{
	return g_hModuleInstance;
}

std::string getModuleDirectory ()
{
	std::u16string wide;
	for (const wchar_t* p = g_szModuleDirectory; *p; ++p)
		wide += static_cast<char16_t> (*p);
	return Utf16::toUtf8String (reinterpret_cast<const char16*> (wide.c_str ()), wide.size ());
}

} // namespace Steinberg
