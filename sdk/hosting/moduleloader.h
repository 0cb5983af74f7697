// Loading a VST 3 module as a host does, for every host of ours (the renderer, the test hosts):
// open the library, run the platform's entry (ModuleEntry on Linux, InitDll on Windows), get the
// factory; on unload release the factory, run the matching exit and close the library.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <string>

namespace Steinberg {
namespace Vst {

class ModuleLoader
{
public:
	ModuleLoader () = default;
	~ModuleLoader () { unload (); }
	ModuleLoader (const ModuleLoader&) = delete;
	ModuleLoader& operator= (const ModuleLoader&) = delete;

	/** Loads a bundle folder (NAME.vst3, its module for this platform inside) or a module file
	    directly. On failure szError says why, in a sentence that starts "cannot load plug-in". */
	bool load (const std::string& szPath, std::string& szError);
	/** Releases the factory, runs the module's exit and closes the library. */
	void unload ();

	/** The module's factory (the loader holds one reference), null when not loaded. */
	IPluginFactory* factory () const { return m_pFactory; }
	/** An exported function of the loaded module, null when there is none. */
	void* symbol (const char* szName) const;
	/** The module file that was opened. */
	const std::string& path () const { return m_szPath; }

	/** The module file inside a bundle for this platform: Contents/x86_64-linux/NAME.so or
	    Contents/x86_64-win/NAME.vst3. */
	static std::string moduleFileInBundle (const std::string& szBundle);

private:
	void* m_pHandle = nullptr;                       // dlopen / LoadLibraryW handle
	IPluginFactory* m_pFactory = nullptr;            // one reference held
	bool m_bEntered = false;                         // the module's entry succeeded
	std::string m_szPath;                            // the module file
};

} // namespace Vst
} // namespace Steinberg
