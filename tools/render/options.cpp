#include "options.h"

#include "text.h"

#include <cstdlib>

namespace korvessa {
namespace render {

std::string usageText ()
{
	return "Usage:\n"
	       "  korvessa-render IN OUT [--state FILE.vstpreset] [--preset NAME|INDEX] [--set NAME=VALUE ...]\n"
	       "                  [--block N] [--tail]\n"
	       "                  [--plot FILE.png] [--plugin PATH]\n"
	       "  korvessa-render --demo DIR [--plugin PATH] [--block N]\n"
	       "  korvessa-render --list-presets | --list-params | --info  [--preset ...] [--set ...] [--plugin PATH]\n"
	       "  korvessa-render --editor FILE.png [--editor-scale S] [--preset ...] [--set ...] [--plugin PATH]\n"
	       "\n"
	       "Runs an audio file through the Korvessa VST 3 plug-in (or the bundle given with --plugin).\n"
	       "IN: any file libsndfile reads, mono or stereo. OUT: .wav (32-bit float), .flac, .aiff or .ogg.\n"
	       "  --state FILE         a .vstpreset file (the plug-in's class only), loaded before the rest\n"
	       "  --preset NAME|INDEX  factory preset, by name (any letter case) or by index\n"
	       "  --set NAME=VALUE     parameter by title, in its own units (Volume=0.25, \"Guitar Type=Bass\");\n"
	       "                       applied after the preset, in order\n"
	       "  --block N            samples per processing block (default 512)\n"
	       "  --tail               append the plug-in's reported tail\n"
	       "  --plot FILE.png      picture of the input and output, waveform and spectrum\n"
	       "  --editor FILE.png    picture of the plug-in's editor with the preset and values applied\n"
	       "  --editor-scale S     its scale: 1 (default) to 4, 2 for a high-resolution screen\n"
	       "  --demo DIR           render the built-in guitar phrase through every factory preset into DIR\n"
	       "  --list-presets       factory presets\n"
	       "  --list-params        parameters: ID, title, units, default, range or entries, current value\n"
	       "  --info               factory and class information\n"
	       "Exit status: 0 done, 1 failed, 2 bad command line.\n";
}

bool parseOptions (int argc, const char* const* argv, COptions& o, std::string& szError)
{
	std::vector<std::string> positional;
	for (int i = 1; i < argc; ++i)
	{
		std::string arg = argv[i];
		std::string value;
		bool bHasValue = false;
		if (arg.rfind ("--", 0) == 0)
		{
			const auto nEq = arg.find ('=');
			// "--set" values contain '=' themselves; only split "--opt=value" on the first one.
			if (nEq != std::string::npos)
			{
				value = arg.substr (nEq + 1);
				arg = arg.substr (0, nEq);
				bHasValue = true;
			}
		}
		auto takeValue = [&] (std::string& out) {
			if (bHasValue)
			{
				out = value;
				return true;
			}
			if (i + 1 >= argc)
			{
				szError = arg + " needs a value";
				return false;
			}
			out = argv[++i];
			return true;
		};
		auto noValue = [&] () {
			if (bHasValue)
				szError = arg + " takes no value";
			return !bHasValue;
		};

		if (arg == "--state")
		{
			if (!takeValue (o.szState))
				return false;
			if (o.szState.empty ())
			{
				szError = "--state needs a .vstpreset file";
				return false;
			}
		}
		else if (arg == "--preset")
		{
			if (!takeValue (o.szPreset))
				return false;
			if (trim (o.szPreset).empty ())
			{
				szError = "--preset needs a name or an index";
				return false;
			}
		}
		else if (arg == "--set")
		{
			std::string s;
			if (!takeValue (s))
				return false;
			const auto nEq = s.find ('=');
			if (nEq == std::string::npos || trim (s.substr (0, nEq)).empty ())
			{
				szError = "--set expects NAME=VALUE, got '" + s + "'";
				return false;
			}
			o.sets.emplace_back (trim (s.substr (0, nEq)), s.substr (nEq + 1));
		}
		else if (arg == "--block")
		{
			std::string s;
			long long n = 0;
			if (!takeValue (s))
				return false;
			if (!parseIndex (trim (s), n) || n < 1 || n > kMaxBlock)
			{
				szError = "--block expects a whole number from 1 to " + std::to_string (kMaxBlock) + ", got '" + s + "'";
				return false;
			}
			o.nBlock = static_cast<int> (n);
		}
		else if (arg == "--plugin")
		{
			if (!takeValue (o.szPlugin))
				return false;
		}
		else if (arg == "--plot")
		{
			if (!takeValue (o.szPlot))
				return false;
		}
		else if (arg == "--editor")
		{
			if (!takeValue (o.szEditor))
				return false;
		}
		else if (arg == "--editor-scale")
		{
			std::string text;
			if (!takeValue (text))
				return false;
			char* end = nullptr;
			o.dEditorScale = std::strtod (text.c_str (), &end);
			if (end == text.c_str () || *end || !(o.dEditorScale >= 1 && o.dEditorScale <= 4))
			{
				szError = "--editor-scale takes a number from 1 to 4";
				return false;
			}
		}
		else if (arg == "--demo")
		{
			if (!takeValue (o.szDemoDir))
				return false;
			if (o.szDemoDir.empty ())
			{
				szError = "--demo needs a folder";
				return false;
			}
		}
		else if (arg == "--tail")
		{
			if (!noValue ())
				return false;
			o.bTail = true;
		}
		else if (arg == "--list-presets")
		{
			if (!noValue ())
				return false;
			o.bListPresets = true;
		}
		else if (arg == "--list-params")
		{
			if (!noValue ())
				return false;
			o.bListParams = true;
		}
		else if (arg == "--info")
		{
			if (!noValue ())
				return false;
			o.bInfo = true;
		}
		else if (arg == "--help" || arg == "-h")
			o.bHelp = true;
		else if (arg.size () > 1 && arg[0] == '-')
		{
			szError = "unknown option '" + arg + "'";
			return false;
		}
		else
			positional.push_back (arg);
	}
	if (o.bHelp)
		return true;

	const bool bQuery = o.bListPresets || o.bListParams || o.bInfo || !o.szEditor.empty ();
	if (!o.szDemoDir.empty ())
	{
		if (!positional.empty () || bQuery || !o.szPreset.empty () || !o.sets.empty () || !o.szPlot.empty ())
		{
			szError = "--demo renders every preset into DIR and takes only --plugin and --block";
			return false;
		}
		return true;
	}
	if (bQuery)
	{
		if (!positional.empty ())
		{
			szError = "--list-presets, --list-params, --info and --editor take no input or output file";
			return false;
		}
		return true;
	}
	if (positional.size () != 2)
	{
		szError = positional.size () < 2 ? "expected an input and an output file (see --help)"
		                                 : "too many file arguments: '" + positional[2] + "'";
		return false;
	}
	o.szInput = positional[0];
	o.szOutput = positional[1];
	return true;
}

} // namespace render
} // namespace korvessa
