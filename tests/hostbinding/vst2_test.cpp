// The bundle through its VST 2 entry, with a minimal VST 2 host callback.
#include "testhost.h"

#include "vst2/aeffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace hosttest;

namespace {

int g_nVersionRequests = 0;

intptr_t silentHost(AEffect*, int32_t nOpcode, int32_t, intptr_t, void*, float)
{
	if (nOpcode == audioMasterVersion)
		++g_nVersionRequests;
	return 0;
}

intptr_t workingHost(AEffect*, int32_t nOpcode, int32_t, intptr_t, void*, float)
{
	switch (nOpcode)
	{
		case audioMasterVersion: return 2400;
		case audioMasterGetSampleRate: return 48000;
		case audioMasterGetBlockSize: return 256;
		default: return 0;
	}
}

using MainFunc = AEffect* (*)(audioMasterCallback);

MainFunc vstPluginMain()
{
	return reinterpret_cast<MainFunc>(CModule::get().symbol("VSTPluginMain"));
}

intptr_t dispatch(AEffect* pEffect, int32_t nOpcode, int32_t nIndex = 0, intptr_t nValue = 0,
                  void* pPtr = nullptr, float fOpt = 0.0f)
{
	return pEffect->dispatcher(pEffect, nOpcode, nIndex, nValue, pPtr, fOpt);
}

std::string text(AEffect* pEffect, int32_t nOpcode, int32_t nIndex = 0)
{
	char szText[256] = {};
	dispatch(pEffect, nOpcode, nIndex, 0, szText);
	return szText;
}

} // namespace

TEST(BundleVst2, HostWithoutAVersionGetsNothing)
{
	ASSERT_NE(vstPluginMain(), nullptr);
	g_nVersionRequests = 0;
	EXPECT_EQ(vstPluginMain()(&silentHost), nullptr);
	EXPECT_EQ(g_nVersionRequests, 1);
	EXPECT_EQ(vstPluginMain()(nullptr), nullptr);
}

TEST(BundleVst2, OpensProcessesAndRoundTripsItsChunk)
{
	AEffect* pEffect = vstPluginMain()(&workingHost);
	ASSERT_NE(pEffect, nullptr);
	EXPECT_EQ(pEffect->magic, kEffectMagic);
	EXPECT_EQ(pEffect->uniqueID, 859715398);
	EXPECT_EQ(pEffect->numInputs, 2);
	EXPECT_EQ(pEffect->numOutputs, 2);
	EXPECT_EQ(pEffect->numPrograms, 16);
	EXPECT_EQ(pEffect->numParams, 34); // every parameter but the program selector
	EXPECT_NE(pEffect->flags & effFlagsCanReplacing, 0);
	EXPECT_NE(pEffect->flags & effFlagsProgramChunks, 0);
	dispatch(pEffect, effOpen);

	EXPECT_EQ(text(pEffect, effGetEffectName), "Korvessa");
	EXPECT_EQ(text(pEffect, effGetVendorString), "Quillonix");
	const std::string sName = text(pEffect, effGetParamName, 0); // cut to the VST 2 name length
	EXPECT_FALSE(sName.empty());
	EXPECT_EQ(std::string("Distortion").compare(0, sName.size(), sName), 0) << sName;
	EXPECT_EQ(text(pEffect, effGetParamLabel, 13), "msec");
	EXPECT_EQ(text(pEffect, effGetProgramNameIndexed, 11), "High Gain Init");
	EXPECT_EQ(dispatch(pEffect, effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 1);

	dispatch(pEffect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
	dispatch(pEffect, effSetBlockSize, 0, 128);
	dispatch(pEffect, effMainsChanged, 0, 1);

	dispatch(pEffect, effSetProgram, 0, 11);
	EXPECT_EQ(dispatch(pEffect, effGetProgram), 11);
	EXPECT_NEAR(pEffect->getParameter(pEffect, 12), 1.0f, 1e-6); // Boost on in High Gain Init
	pEffect->setParameter(pEffect, 0, 0.25f);

	std::vector<float> left(128), right(128), outLeft(128, 9.0f), outRight(128, 9.0f);
	for (int i = 0; i < 128; ++i)
		left[i] = right[i] = 0.1f * std::sin(0.07f * i);
	float* apIn[2] = {left.data(), right.data()};
	float* apOut[2] = {outLeft.data(), outRight.data()};
	pEffect->processReplacing(pEffect, apIn, apOut, 128);
	for (int i = 0; i < 128; ++i)
		ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i])) << i;
	EXPECT_NEAR(pEffect->getParameter(pEffect, 0), 0.25f, 1e-6);

	void* pChunk = nullptr;
	const intptr_t nSize = dispatch(pEffect, effGetChunk, 0, 0, &pChunk);
	ASSERT_EQ(nSize, 98);
	ASSERT_NE(pChunk, nullptr);
	const std::vector<char> chunk(static_cast<char*>(pChunk), static_cast<char*>(pChunk) + nSize);

	AEffect* pOther = vstPluginMain()(&workingHost);
	ASSERT_NE(pOther, nullptr);
	dispatch(pOther, effOpen);
	dispatch(pOther, effSetChunk, 0, nSize, const_cast<char*>(chunk.data()));
	EXPECT_NEAR(pOther->getParameter(pOther, 0), 0.25f, 1e-6);
	EXPECT_NEAR(pOther->getParameter(pOther, 12), 1.0f, 1e-6);
	void* pOtherChunk = nullptr;
	ASSERT_EQ(dispatch(pOther, effGetChunk, 0, 0, &pOtherChunk), nSize);
	EXPECT_EQ(std::memcmp(pOtherChunk, chunk.data(), static_cast<size_t>(nSize)), 0);

	dispatch(pEffect, effMainsChanged, 0, 0);
	dispatch(pEffect, effClose);
	dispatch(pOther, effClose);
}
