#include "moduleloader.h"

#include "utf16.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/stat.h>
#endif

namespace Steinberg {
namespace Vst {

namespace {

using EntryFunc = bool (PLUGIN_API*) (void*);
using InitFunc = bool (PLUGIN_API*) ();
using ExitFunc = bool (PLUGIN_API*) ();
using GetFactoryFunc = IPluginFactory* (PLUGIN_API*) ();

#if defined(_WIN32)
constexpr const char* kModuleFolder = "/Contents/x86_64-win/";
constexpr const char* kModuleSuffix = ".vst3";

std::wstring widePath (const std::string& szPath)
{
	const std::u16string wide = Utf16::fromUtf8String (szPath);
	return std::wstring (wide.begin (), wide.end ());
}

DWORD attributesOf (const std::string& szPath)
{
	return GetFileAttributesW (widePath (szPath).c_str ());
}

bool isDirectory (const std::string& szPath)
{
	const DWORD attributes = attributesOf (szPath);
	return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile (const std::string& szPath)
{
	const DWORD attributes = attributesOf (szPath);
	return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string lastError ()
{
	return "LoadLibraryW failed, error " + std::to_string (GetLastError ());
}
#else
constexpr const char* kModuleFolder = "/Contents/x86_64-linux/";
constexpr const char* kModuleSuffix = ".so";

bool isDirectory (const std::string& szPath)
{
	struct stat st {};
	return ::stat (szPath.c_str (), &st) == 0 && S_ISDIR (st.st_mode);
}

bool isFile (const std::string& szPath)
{
	struct stat st {};
	return ::stat (szPath.c_str (), &st) == 0 && S_ISREG (st.st_mode);
}
#endif

bool isSeparator (char c)
{
#if defined(_WIN32)
	return c == '/' || c == '\\';
#else
	return c == '/';
#endif
}

std::string baseName (std::string szPath)
{
	while (szPath.size () > 1 && isSeparator (szPath.back ()))
		szPath.pop_back ();
	std::size_t nStart = szPath.size ();
	while (nStart > 0 && !isSeparator (szPath[nStart - 1]))
		--nStart;
	return szPath.substr (nStart);
}

} // namespace

std::string ModuleLoader::moduleFileInBundle (const std::string& szBundle)
{
	std::string szName = baseName (szBundle);
	if (szName.size () > 5 && szName.compare (szName.size () - 5, 5, ".vst3") == 0)
		szName.resize (szName.size () - 5);
	std::string szFolder = szBundle;
	while (szFolder.size () > 1 && isSeparator (szFolder.back ()))
		szFolder.pop_back ();
	return szFolder + kModuleFolder + szName + kModuleSuffix;
}

bool ModuleLoader::load (const std::string& szPath, std::string& szError)
{
	unload ();
	std::string szModule = szPath;
	if (isDirectory (szPath))
	{
		szModule = moduleFileInBundle (szPath);
		if (!isFile (szModule))
		{
			szError = "cannot load plug-in '" + szPath + "': no module " +
			          szModule.substr (szModule.rfind (kModuleFolder) + 1) + " in the bundle";
			return false;
		}
	}
	else if (!isFile (szPath))
	{
		szError = "cannot load plug-in '" + szPath + "': no such bundle or file";
		return false;
	}

#if defined(_WIN32)
	m_pHandle = reinterpret_cast<void*> (LoadLibraryW (widePath (szModule).c_str ()));
	if (!m_pHandle)
	{
		szError = "cannot load plug-in '" + szModule + "': " + lastError ();
		return false;
	}
#else
	m_pHandle = ::dlopen (szModule.c_str (), RTLD_NOW | RTLD_LOCAL);
	if (!m_pHandle)
	{
		const char* pWhy = ::dlerror ();
		szError = "cannot load plug-in '" + szModule + "': " + (pWhy ? pWhy : "dlopen failed");
		return false;
	}
#endif
	m_szPath = szModule;

	auto pGetFactory = reinterpret_cast<GetFactoryFunc> (symbol ("GetPluginFactory"));
	if (!pGetFactory)
	{
		szError = "cannot load plug-in '" + szModule + "': not a VST 3 module (no GetPluginFactory)";
		unload ();
		return false;
	}
#if defined(_WIN32)
	if (auto pInit = reinterpret_cast<InitFunc> (symbol ("InitDll")))
	{
		if (!pInit ())
		{
			szError = "cannot load plug-in '" + szModule + "': its InitDll failed";
			unload ();
			return false;
		}
		m_bEntered = true;
	}
#else
	if (auto pEntry = reinterpret_cast<EntryFunc> (symbol ("ModuleEntry")))
	{
		if (!pEntry (m_pHandle))
		{
			szError = "cannot load plug-in '" + szModule + "': its ModuleEntry failed";
			unload ();
			return false;
		}
		m_bEntered = true;
	}
#endif
	m_pFactory = pGetFactory ();
	if (!m_pFactory)
	{
		szError = "cannot load plug-in '" + szModule + "': GetPluginFactory returned no factory";
		unload ();
		return false;
	}
	return true;
}

void ModuleLoader::unload ()
{
	if (m_pFactory)
		m_pFactory->release ();
	m_pFactory = nullptr;
	if (m_pHandle)
	{
#if defined(_WIN32)
		if (m_bEntered)
			if (auto pExit = reinterpret_cast<ExitFunc> (symbol ("ExitDll")))
				pExit ();
		FreeLibrary (reinterpret_cast<HMODULE> (m_pHandle));
#else
		if (m_bEntered)
			if (auto pExit = reinterpret_cast<ExitFunc> (symbol ("ModuleExit")))
				pExit ();
		::dlclose (m_pHandle);
#endif
	}
	m_pHandle = nullptr;
	m_bEntered = false;
	m_szPath.clear ();
}

void* ModuleLoader::symbol (const char* szName) const
{
	if (!m_pHandle || !szName)
		return nullptr;
#if defined(_WIN32)
	return reinterpret_cast<void*> (GetProcAddress (reinterpret_cast<HMODULE> (m_pHandle), szName));
#else
	return ::dlsym (m_pHandle, szName);
#endif
}

} // namespace Vst
} // namespace Steinberg
