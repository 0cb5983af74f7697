// korvessa-presets DIR: writes every factory preset of the plug-in as DIR/<name>.vstpreset, the
// preset files that hosts list from ~/.vst3/presets/<vendor>/<product>/. Each file holds the
// component state of the plug-in after recalling that preset, so loading it recalls the preset.
#include "hostbinding/classids.h"
#include "hostbinding/processor.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string toUtf8(const TChar* szText)
{
	String text(szText);
	text.toMultiByte(kCP_Utf8);
	return text.text8() ? std::string(text.text8()) : std::string();
}

// A preset name as a file name: path separators and control characters become '_'.
std::string fileNameOf(const std::string& sName)
{
	std::string sFile;
	for (char c : sName)
		sFile += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
	return sFile.empty() ? std::string("_") : sFile;
}

std::string metaInfo(const std::string& sName)
{
	std::string sEscaped;
	for (char c : sName)
	{
		switch (c)
		{
			case '&': sEscaped += "&amp;"; break;
			case '<': sEscaped += "&lt;"; break;
			case '>': sEscaped += "&gt;"; break;
			case '"': sEscaped += "&quot;"; break;
			default: sEscaped += c;
		}
	}
	return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MetaInfo>\n"
	                   "\t<Attr id=\"MediaType\" value=\"VstPreset\" type=\"string\" flags=\"writeProtected\"/>\n"
	                   "\t<Attr id=\"PlugInName\" value=\"") +
	       Zaze2VST3::kProductName +
	       "\" type=\"string\" flags=\"writeProtected\"/>\n"
	       "\t<Attr id=\"PlugInCategory\" value=\"" + Zaze2VST3::kClassSubCategories +
	       "\" type=\"string\" flags=\"writeProtected\"/>\n"
	       "\t<Attr id=\"Name\" value=\"" + sEscaped + "\" type=\"string\" flags=\"writeProtected\"/>\n"
	       "</MetaInfo>\n";
}

int writePresets(Zaze2VST3::Processor& processor, const std::string& sDir)
{
	if (processor.initialize(nullptr) != kResultOk)
	{
		std::fprintf(stderr, "korvessa-presets: the plug-in did not initialize\n");
		return 1;
	}
	ProgramListInfo listInfo = {};
	if (processor.getProgramListInfo(0, listInfo) != kResultOk || listInfo.programCount < 1)
	{
		std::fprintf(stderr, "korvessa-presets: the plug-in has no factory presets\n");
		return 1;
	}
	const FUID classId = FUID::fromTUID(Zaze2VST3::kProcessorClassId);
	for (int32 k = 0; k < listInfo.programCount; ++k)
	{
		String128 szName = {};
		processor.getProgramName(listInfo.id, k, szName);
		const std::string sName = toUtf8(szName);
		const double dNormalized =
		    listInfo.programCount > 1 ? static_cast<double>(k) / (listInfo.programCount - 1) : 0.0;
		processor.setParamNormalized(Zaze2VST3::kParamFactoryPresets, dNormalized);

		MemoryStream component;
		MemoryStream preset;
		const std::string sMeta = metaInfo(sName);
		if (processor.getState(&component) != kResultOk)
		{
			std::fprintf(stderr, "korvessa-presets: no state for \"%s\"\n", sName.c_str());
			return 1;
		}
		int64 nPosition = 0;
		component.seek(0, IBStream::kIBSeekSet, &nPosition);
		if (!PresetFile::savePreset(&preset, classId, &component, nullptr, sMeta.c_str(),
		                            static_cast<int32>(sMeta.size())))
		{
			std::fprintf(stderr, "korvessa-presets: cannot encode \"%s\"\n", sName.c_str());
			return 1;
		}
		const std::string sPath = sDir + "/" + fileNameOf(sName) + ".vstpreset";
		std::ofstream file(sPath, std::ios::binary | std::ios::trunc);
		file.write(preset.getData(), static_cast<std::streamsize>(preset.getSize()));
		file.close();
		if (!file)
		{
			std::fprintf(stderr, "korvessa-presets: cannot write %s\n", sPath.c_str());
			return 1;
		}
	}
	std::printf("korvessa-presets: %d presets in %s\n", listInfo.programCount, sDir.c_str());
	return 0;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: korvessa-presets DIR\n");
		return 2;
	}
	auto* pProcessor = new Zaze2VST3::Processor();
	const int nResult = writePresets(*pProcessor, argv[1]);
	pProcessor->terminate();
	pProcessor->release();
	return nResult;
}
