// Where a plug-in-drawn editor sends its edits (the editor shell passes them to its controller).
#pragma once

#include <cstdint>

namespace Zaze2VST3 {

class CVSTParameterConnector
{
public:
	virtual ~CVSTParameterConnector() = default;
	virtual void beginParameterEdit(uint32_t uId) = 0;
	virtual void endParameterEdit(uint32_t uId) = 0;
	virtual void setParameterFromView(uint32_t uId, float fNormalized) = 0;
};

} // namespace Zaze2VST3
