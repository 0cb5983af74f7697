// Pictures where cairo is not available (the Windows build): the options stay, and say why
// they cannot be served.
#include "plot.h"

namespace korvessa {
namespace render {

namespace {
const char* const kNoPictures = "pictures are not available in this build of the renderer";
}

bool writeRenderPlot (const std::string& szPath, const std::string&, const std::vector<float>&,
                      const std::vector<float>&, int, std::string& szError)
{
	szError = "cannot draw '" + szPath + "': " + kNoPictures;
	return false;
}

bool writeOverviewPlot (const std::string& szPath, const std::string&, const std::vector<float>&,
                        const std::vector<std::pair<std::string, std::vector<float>>>&, int,
                        std::string& szError)
{
	szError = "cannot draw '" + szPath + "': " + kNoPictures;
	return false;
}

void releaseDrawingCaches ()
{
}

} // namespace render
} // namespace korvessa
