// korvessa-render: command-line entry. Every error ends in one line on stderr and a non-zero
// exit status, with no output file left behind.
#include "audiofile.h"
#include "demophrase.h"
#include "options.h"
#include "plot.h"
#include "pluginhost.h"
#include "renderjob.h"
#include "text.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

using namespace korvessa::render;

namespace {

int fail (const std::string& szMessage, int nCode = kExitFailure)
{
	std::fprintf (stderr, "korvessa-render: %s\n", szMessage.c_str ());
	return nCode;
}

bool applySettings (CPluginInstance& inst, const COptions& o, std::string& szError)
{
	if (!o.szState.empty () && !inst.loadPresetFile (o.szState, szError))
		return false;
	if (!o.szPreset.empty () && !inst.selectPreset (o.szPreset, szError))
		return false;
	for (const auto& s : o.sets)
		if (!inst.setParameter (s.first, s.second, szError))
			return false;
	return true;
}

void padTo (std::string& s, std::size_t n)
{
	if (s.size () < n)
		s.append (n - s.size (), ' ');
}

void listParams (const CPluginInstance& inst)
{
	using Steinberg::Vst::ParameterInfo;
	std::vector<std::vector<std::string>> rows;
	rows.push_back ({"ID", "Title", "Units", "Default", "Range / entries", "Value"});
	for (const auto& p : inst.parameters ())
	{
		std::string szRange;
		if (p.nFlags & ParameterInfo::kIsProgramChange)
			szRange = std::to_string (p.nStepCount + 1) + " presets (--list-presets)";
		else if (p.nStepCount > 0 && (p.nFlags & ParameterInfo::kIsList))
			for (int i = 0; i <= p.nStepCount; ++i)
				szRange += (i ? " | " : "") + inst.valueText (p.uId, double (i) / p.nStepCount);
		else
			szRange = inst.valueText (p.uId, 0.0) + " .. " + inst.valueText (p.uId, 1.0);
		std::string szTitle = p.szTitle;
		if (p.nFlags & ParameterInfo::kIsReadOnly)
			szTitle += " (read-only)";
		rows.push_back ({std::to_string (p.uId), szTitle, p.szUnits, inst.valueText (p.uId, p.dDefault), szRange,
		                 inst.valueText (p.uId, inst.value (p.uId))});
	}
	std::vector<std::size_t> widths (6, 0);
	for (const auto& r : rows)
		for (std::size_t c = 0; c < r.size (); ++c)
			widths[c] = std::max (widths[c], r[c].size ());
	for (const auto& r : rows)
	{
		std::string line;
		for (std::size_t c = 0; c < r.size (); ++c)
		{
			std::string cell = r[c];
			if (c == 0)
				cell.insert (0, widths[0] - cell.size (), ' ');
			else if (c + 1 < r.size ())
				padTo (cell, widths[c]);
			line += (c ? "  " : "") + cell;
		}
		std::cout << line << "\n";
	}
}

bool makeDirectories (const std::string& szDir, std::string& szError)
{
	std::string path;
	std::size_t pos = 0;
	while (pos != std::string::npos)
	{
		pos = szDir.find ('/', pos + 1);
		path = szDir.substr (0, pos);
		if (path.empty ())
			continue;
#if defined(_WIN32)
		const int nMade = ::mkdir (path.c_str ());
#else
		const int nMade = ::mkdir (path.c_str (), 0777);
#endif
		if (nMade != 0 && errno != EEXIST)
		{
			szError = "cannot create folder '" + path + "': " + std::strerror (errno);
			return false;
		}
	}
	struct stat st {};
	if (::stat (szDir.c_str (), &st) != 0 || !S_ISDIR (st.st_mode))
	{
		szError = "'" + szDir + "' is not a folder";
		return false;
	}
	return true;
}

/** A preset name as a file name: path separators and control characters become '_'. */
std::string fileNameFor (const std::string& szName, int nIndex)
{
	std::string s = trim (szName);
	for (auto& c : s)
		if (c == '/' || static_cast<unsigned char> (c) < 0x20)
			c = '_';
	if (s.empty () || s[0] == '.')
		s = "Preset " + std::to_string (nIndex) + (s.empty () ? "" : " " + s);
	return s;
}

int runDemo (CPluginModule& module, const COptions& o)
{
	std::string szError;
	if (!makeDirectories (o.szDemoDir, szError))
		return fail (szError);
	const std::vector<float> phrase = synthesizeDemoPhrase (kDemoSampleRate);

	std::vector<std::string> names;
	std::string szPluginName;
	{
		CPluginInstance probe (module);
		if (!probe.create (szError))
			return fail (szError);
		names = probe.presetNames ();
		Steinberg::TUID cid {};
		module.findEffectClass (cid, szPluginName, szError);
	}
	if (names.empty ())
		return fail ("the plug-in has no factory presets to demonstrate");

	std::cout << "Rendering the demo phrase (" << double (phrase.size ()) / kDemoSampleRate << " s) through "
	          << names.size () << " presets into " << o.szDemoDir << "\n";
	std::vector<std::pair<std::string, std::vector<float>>> outputs;
	for (std::size_t i = 0; i < names.size (); ++i)
	{
		// A fresh instance per preset, so no render inherits another's state.
		CPluginInstance inst (module);
		if (!inst.create (szError) || !inst.selectPresetIndex (static_cast<int> (i), szError))
			return fail (szError);
		const std::string szPath = o.szDemoDir + "/" + fileNameFor (names[i], static_cast<int> (i)) + ".wav";
		CAudioFileWriter writer;
		if (!writer.open (szPath, 1, kDemoSampleRate, static_cast<int64_t> (phrase.size ()), szError))
			return fail (szError);
		CMemorySource source (phrase, 1, kDemoSampleRate);
		CFileSink sink (writer);
		CRenderSettings settings;
		settings.nBlock = o.nBlock;
		settings.bTail = true;
		CRenderStats stats;
		CRenderCapture capture;
		if (!renderThrough (inst, source, sink, settings, stats, &capture, szError) || !writer.commit (szError))
			return fail (szError);
		std::cout << "  " << szPath << "  (" << stats.summary () << ")\n";
		outputs.emplace_back (names[i], std::move (capture.output));
	}
	const std::string szPicture = o.szDemoDir + "/overview.png";
	const bool bDrawn = writeOverviewPlot (szPicture, szPluginName + ": the demo phrase through every factory preset",
	                                       phrase, outputs, kDemoSampleRate, szError);
	releaseDrawingCaches ();
	if (!bDrawn)
		return fail (szError);
	// The editor as a guitarist first sees it (the factory preset), at 1x and 2x.
	CPluginInstance editorInst (module);
	if (!editorInst.create (szError) || !editorInst.selectPresetIndex (0, szError))
		return fail (szError);
	const bool bEditor = editorInst.hasEditor ();
	if (bEditor && (!editorInst.writeEditorPicture (o.szDemoDir + "/editor.png", 1.0, szError) ||
	                !editorInst.writeEditorPicture (o.szDemoDir + "/editor@2x.png", 2.0, szError)))
		return fail (szError);
	std::cout << "Done: " << outputs.size () << " WAV files, overview.png" << (bEditor ? " and editor.png" : "")
	          << " are in " << o.szDemoDir << "\n";
	return 0;
}

int runRender (const COptions& o)
{
	std::string szError;
	if (!CAudioFileWriter::formatFor (o.szOutput, szError))
		return fail (szError);
	if (!o.szPlot.empty ())
	{
		const std::string& p = o.szPlot;
		if (p.size () < 4 || !equalsNoCase (p.substr (p.size () - 4), ".png"))
			return fail ("--plot writes a PNG picture: give it a name ending in .png", kExitUsage);
	}
	CAudioFileReader reader;
	if (!reader.open (o.szInput, szError))
		return fail (szError);
	if (reader.channels () != 1 && reader.channels () != 2)
		return fail ("input '" + o.szInput + "' has " + std::to_string (reader.channels ()) +
		             " channels: only mono and stereo files are supported");

	CPluginModule module;
	if (!module.load (o.szPlugin.empty () ? defaultPluginPath () : o.szPlugin, szError))
		return fail (szError);
	CPluginInstance inst (module);
	if (!inst.create (szError) || !applySettings (inst, o, szError))
		return fail (szError);

	CAudioFileWriter writer;
	const int64_t nExpected = reader.frames () + (o.bTail ? static_cast<int64_t> (kMaxTailSeconds * reader.sampleRate ()) : 0);
	if (!writer.open (o.szOutput, reader.channels (), reader.sampleRate (), nExpected, szError))
		return fail (szError);
	CFileSource source (reader);
	CFileSink sink (writer);
	CRenderSettings settings;
	settings.nBlock = o.nBlock;
	settings.bTail = o.bTail;
	settings.bProgress = true;
	CRenderStats stats;
	CRenderCapture capture;
	if (!renderThrough (inst, source, sink, settings, stats, o.szPlot.empty () ? nullptr : &capture, szError))
		return fail (szError);
	if (!o.szPlot.empty ())
	{
		const bool bDrawn = writeRenderPlot (
		    o.szPlot,
		    o.szInput + "  \xE2\x86\x92  " + o.szOutput +
		        (capture.bTruncated ? "  (the first " + std::to_string (capture.nMaxFrames / reader.sampleRate ()) + " s)" : ""),
		    capture.input, capture.output, reader.sampleRate (), szError);
		releaseDrawingCaches ();
		if (!bDrawn)
			return fail (szError);
	}
	if (!writer.commit (szError))
	{
		if (!o.szPlot.empty ())
			::unlink (o.szPlot.c_str ());
		return fail (szError);
	}
	std::cout << stats.summary () << "\n";
	return 0;
}

} // namespace

int main (int argc, char** argv)
{
	installInterruptCleanup ();
	COptions o;
	std::string szError;
	if (!parseOptions (argc, argv, o, szError))
		return fail (szError, kExitUsage);
	if (o.bHelp)
	{
		std::cout << usageText ();
		return 0;
	}

	if (!o.szInput.empty ())
		return runRender (o);

	CPluginModule module;
	if (!module.load (o.szPlugin.empty () ? defaultPluginPath () : o.szPlugin, szError))
		return fail (szError);

	if (!o.szDemoDir.empty ())
		return runDemo (module, o);

	if (!o.szEditor.empty ())
	{
		CPluginInstance inst (module);
		if (!inst.create (szError) || !applySettings (inst, o, szError) ||
		    !inst.writeEditorPicture (o.szEditor, o.dEditorScale, szError))
			return fail (szError);
		std::cout << "Editor picture: " << o.szEditor << "\n";
	}
	if (o.bInfo || o.bListPresets || o.bListParams)
	{
		if (o.bInfo)
			std::cout << module.describe ();
		if (o.bListPresets || o.bListParams)
		{
			CPluginInstance inst (module);
			if (!inst.create (szError) || !applySettings (inst, o, szError))
				return fail (szError);
			if (o.bListPresets)
			{
				const auto names = inst.presetNames ();
				for (std::size_t i = 0; i < names.size (); ++i)
					std::cout << i << "  " << names[i] << "\n";
			}
			if (o.bListParams)
				listParams (inst);
		}
	}
	return 0;
}
