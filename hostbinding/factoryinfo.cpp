#include "factoryinfo.h"

#include "classids.h"

using namespace Steinberg;

namespace Zaze2VST3 {

const PFactoryInfo& moduleFactoryInfo()
{
	static const PFactoryInfo info(kVendorName, kVendorUrl, kVendorEmail, PFactoryInfo::kUnicode);
	return info;
}

const PClassInfo2& processorClassInfo()
{
	// The constructor zero-fills the record, so the vendor stays an empty string and hosts
	// show the factory's vendor.
	static const PClassInfo2 info(kProcessorClassId, PClassInfo::kManyInstances, kClassCategory,
	                              kProductName, 0, kClassSubCategories, nullptr, kProductVersion,
	                              kClassSdkVersion);
	return info;
}

} // namespace Zaze2VST3
