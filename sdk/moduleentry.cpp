#include "moduleentry.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_EntryMutex;
int g_nEntryCount = 0;             // ModuleEntry calls not yet matched by ModuleExit
void* g_pModuleHandle = nullptr;   // as given to the first ModuleEntry
std::string g_szModuleDirectory;   // absolute, with trailing '/'

/** The directory of the file holding this function, resolved to an absolute path. */
std::string findModuleDirectory ()
{
	Dl_info info {};
	if (dladdr (reinterpret_cast<void*> (&findModuleDirectory), &info) == 0 || !info.dli_fname)
		return {};
	std::string path = info.dli_fname;
	if (char* resolved = realpath (info.dli_fname, nullptr))
	{
		path = resolved;
		std::free (resolved);
	}
	const auto slash = path.rfind ('/');
	if (slash == std::string::npos)
		return {};
	return path.substr (0, slash + 1);
}

} // namespace

extern "C" {

bool ModuleEntry (void* sharedLibraryHandle)
{
	std::lock_guard<std::mutex> lock (g_EntryMutex);
	if (g_nEntryCount++ == 0)
	{
		g_pModuleHandle = sharedLibraryHandle;
		g_szModuleDirectory = findModuleDirectory ();
	}
	return true;
}

bool ModuleExit ()
{
	std::lock_guard<std::mutex> lock (g_EntryMutex);
	if (g_nEntryCount == 0)
		return false;
	if (--g_nEntryCount == 0)
	{
		g_pModuleHandle = nullptr;
		g_szModuleDirectory.clear ();
	}
	return true;
}

} // extern "C"

namespace Steinberg {

void* getModuleHandle ()
{
	std::lock_guard<std::mutex> lock (g_EntryMutex);
	return g_pModuleHandle;
}

std::string getModuleDirectory ()
{
	std::lock_guard<std::mutex> lock (g_EntryMutex);
	if (g_nEntryCount > 0)
		return g_szModuleDirectory;
	return findModuleDirectory ();
}

} // namespace Steinberg
