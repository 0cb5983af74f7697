// The renderer's command line.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korvessa {
namespace render {

struct COptions
{
	std::string szInput;
	std::string szOutput;
	std::string szPlugin;       // empty: defaultPluginPath()
	std::string szState;        // a .vstpreset file to load first; empty: none
	std::string szPreset;       // name or index; empty: none
	std::vector<std::pair<std::string, std::string>> sets; // title, value text, in order
	int nBlock = 512;           // samples per process call
	bool bTail = false;         // append the plug-in's reported tail
	std::string szPlot;         // PNG of the render; empty: none
	std::string szEditor;       // PNG of the plug-in's editor; empty: none
	double dEditorScale = 1.0;  // pixels per editor pixel of that picture
	std::string szDemoDir;      // --demo DIR; empty: not the demo
	bool bListPresets = false;
	bool bListParams = false;
	bool bInfo = false;
	bool bHelp = false;
};

/** Exit codes: 0 success, 1 a failure while working, 2 a command-line mistake. */
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxBlock = 65536; // samples

/** Parses argv into options; false with a one-line message for a malformed command line. */
bool parseOptions (int argc, const char* const* argv, COptions& options, std::string& szError);
std::string usageText ();

} // namespace render
} // namespace korvessa
