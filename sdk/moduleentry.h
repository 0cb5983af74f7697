// The Linux module entry: hosts call ModuleEntry right after dlopen and ModuleExit right before
// dlclose. The first entry keeps the module handle and the directory of the module's file (with
// its trailing '/'), which the editor needs to find its resources.
//
// Link moduleentry.cpp into the module as an object file (CMake target korvessa_sdkentry, an
// OBJECT library), so the two exports cannot be dropped by the linker.
#pragma once

#include <string>

extern "C" {
/** Counts entries; the first keeps the handle and directory. Always true. */
__attribute__ ((visibility ("default"))) bool ModuleEntry (void* sharedLibraryHandle);
/** Undoes one ModuleEntry; the last one forgets handle and directory. False without an entry. */
__attribute__ ((visibility ("default"))) bool ModuleExit ();
}

namespace Steinberg {

/** The handle ModuleEntry was given, null outside ModuleEntry/ModuleExit. */
void* getModuleHandle ();
/** The absolute directory of the file holding this code, ending in '/'. Kept by ModuleEntry;
    found on demand when the module was entered some other way (tests, static linking). */
std::string getModuleDirectory ();

} // namespace Steinberg
