// Parameter texts under a decimal-comma locale, as in a host that called
// setlocale(LC_ALL, "") with de_DE.UTF-8: values still read "0.50" and "0.5" still parses.
#include "hostbinding/logparameter.h"
#include "hostbinding/mappedparameter.h"
#include "hostbinding/peakparameter.h"
#include "hostbinding/processor.h"
#include "hostbinding/voltoctaveparameter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Zaze2VST3;

namespace {

const TChar* t16(const char16_t* sz)
{
	return reinterpret_cast<const TChar*>(sz);
}

std::u16string text(const Parameter& param, double dNormalized)
{
	String128 szText = {};
	param.toString(dNormalized, szText);
	return std::u16string(reinterpret_cast<const char16_t*>(szText));
}

// Switches the whole process to de_DE.UTF-8 (from the build's own locale folder, made by
// localedef) and back to "C" afterwards.
class GermanLocale : public ::testing::Test
{
protected:
	void SetUp() override
	{
		setenv("LOCPATH", KORVESSA_TEST_LOCPATH, 1);
		ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
		    << "no de_DE.UTF-8 locale in " KORVESSA_TEST_LOCPATH;
		char szProbe[16];
		std::snprintf(szProbe, sizeof szProbe, "%.2f", 0.5);
		ASSERT_EQ(std::string(szProbe), "0,50") << "the locale has no decimal comma";
	}
	void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

} // namespace

TEST_F(GermanLocale, EveryParameterClassShowsAndReadsAPoint)
{
	LinearParameter linear(t16(u"Volume"), 3, nullptr, 0.01, 0.50, 0.25, 0, 0);
	linear.setPrecision(2);
	LogParameter log(t16(u"Level"), 1, nullptr, 0.0, 100.0, 50.0, 0, 0, 0);
	log.setPrecision(2);
	VoltOctaveParameter voltOctave(t16(u"Freq"), 2, nullptr, 20.0, 20000.0, 632.46, 0, 0, 0);
	voltOctave.setPrecision(1);
	PeakParameter peak(ParameterInfo::kIsReadOnly, 4, t16(u"Meter"));

	EXPECT_EQ(text(linear, 1.0), u"0.50");
	EXPECT_EQ(text(log, log.toNormalized(12.0 + 1.0 / 3.0)), u"12.33");
	EXPECT_EQ(text(voltOctave, voltOctave.toNormalized(632.46)).find(u','), std::u16string::npos);
	EXPECT_EQ(text(peak, 0.5), u"-6.021");

	struct Case { Parameter* pParam; const char16_t* szText; double dPlain; };
	const Case cases[] = {
	    {&linear, u"0.5", 0.5},   {&linear, u" +0.25", 0.25}, {&linear, u"0,3", 0.3},
	    {&linear, u"7", 0.5},     // held to the range
	    {&log, u"0.5", 0.5},      {&log, u"42.75 dB", 42.75}, {&voltOctave, u"1000.5", 1000.5},
	};
	for (const Case& c : cases)
	{
		ParamValue dNormalized = -1.0;
		ASSERT_TRUE(c.pParam->fromString(t16(c.szText), dNormalized))
		    << std::string(c.szText, c.szText + std::char_traits<char16_t>::length(c.szText));
		EXPECT_NEAR(c.pParam->toPlain(dNormalized), c.dPlain, 1e-3 * c.dPlain);
	}
	for (const char16_t* szBad : {u"", u"abc", u"--1", u"nan", u"inf", u"1e999"})
	{
		ParamValue dNormalized = 0.25;
		EXPECT_FALSE(linear.fromString(t16(szBad), dNormalized));
		EXPECT_EQ(dNormalized, 0.25);
	}
}

TEST_F(GermanLocale, TheEffectsParametersShowPoints)
{
	auto* pProcessor = new Processor();
	ASSERT_EQ(pProcessor->initialize(nullptr), kResultOk);
	// Every parameter's text at a few values: never a decimal comma.
	for (int32 i = 0; i < pProcessor->getParameterCount(); ++i)
	{
		ParameterInfo info = {};
		ASSERT_EQ(pProcessor->getParameterInfo(i, info), kResultOk);
		for (double dNormalized : {0.0, 0.37, 1.0})
		{
			String128 szText = {};
			pProcessor->getParamStringByValue(info.id, dNormalized, szText);
			const std::u16string shown(reinterpret_cast<const char16_t*>(szText));
			EXPECT_EQ(shown.find(u','), std::u16string::npos) << info.id << " at " << dNormalized;
		}
	}
	// "Volume" (0.01 .. 0.50, two decimals).
	String128 szText = {};
	pProcessor->getParamStringByValue(3, 1.0, szText);
	EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(szText)), u"0.50");
	ParamValue dNormalized = 0.0;
	ASSERT_EQ(pProcessor->getParamValueByString(3, const_cast<TChar*>(t16(u"0.5")), dNormalized),
	          kResultOk);
	EXPECT_NEAR(dNormalized, 1.0, 1e-9);
	pProcessor->terminate();
	pProcessor->release();
}
