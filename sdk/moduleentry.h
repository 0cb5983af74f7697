// The module entry. On Linux hosts call ModuleEntry right after dlopen and ModuleExit right
// before dlclose; the first entry keeps the module handle and the directory of the module's file
// (with its trailing '/'). On Windows DllMain keeps the instance handle and the directory (with
// its trailing '\') on process attach (moduleentry_win.cpp). The editor needs both to find its
// resources.
//
// Link the entry into the module as an object file (CMake target korvessa_sdkentry, an OBJECT
// library), so the exports cannot be dropped by the linker.
#pragma once

#include <string>

#if !defined(_WIN32)
extern "C" {
/** Counts entries; the first keeps the handle and directory. Always true. */
__attribute__ ((visibility ("default"))) bool ModuleEntry (void* sharedLibraryHandle);
/** Undoes one ModuleEntry; the last one forgets handle and directory. False without an entry. */
__attribute__ ((visibility ("default"))) bool ModuleExit ();
}
#endif

namespace Steinberg {

/** The module's handle: on Linux the one ModuleEntry was given (null outside
    ModuleEntry/ModuleExit), on Windows the DLL's instance handle. */
void* getModuleHandle ();
/** The absolute directory of the file holding this code, ending in the platform's separator.
    On Linux kept by ModuleEntry, or found on demand when the module was entered some other way
    (tests, static linking); on Windows kept by DllMain, in UTF-8. */
std::string getModuleDirectory ();

} // namespace Steinberg
