// The non-linear parameter classes and the fast log2 / pow2 they share with the processor.
#include "hostbinding/fastmath.h"
#include "hostbinding/logparameter.h"
#include "hostbinding/peakparameter.h"
#include "hostbinding/voltoctaveparameter.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Zaze2VST3;

namespace {

std::u16string text(const Parameter& param, double dNormalized)
{
	String128 szText = {};
	param.toString(dNormalized, szText);
	return std::u16string(reinterpret_cast<const char16_t*>(szText));
}

const TChar* t16(const char16_t* sz)
{
	return reinterpret_cast<const TChar*>(sz);
}

} // namespace

TEST(FastMath, Log2AndPow2StayWithinAFewThousandthsOfAnOctave)
{
	for (float fX : {1e-6f, 0.01f, 0.5f, 1.0f, 1.5f, 3.0f, 1000.0f, 1e6f})
		EXPECT_NEAR(fastLog2(fX), std::log2(fX), 0.005) << fX;
	for (float fP : {-30.0f, -2.5f, -1.0f, 0.0f, 0.25f, 1.0f, 9.97f, 40.0f})
		EXPECT_NEAR(std::log2(fastPow2(fP)), fP, 0.005) << fP;
}

TEST(FastMath, Pow2ClampsInsteadOfOverflowing)
{
	EXPECT_GT(fastPow2(-1000.0f), 0.0f);
	EXPECT_LT(fastPow2(-1000.0f), 1e-37f);
	EXPECT_TRUE(std::isnan(fastPow2(NAN)));
	EXPECT_TRUE(std::isinf(fastPow2(1e30f)) || fastPow2(1e30f) > 1e38f);
}

TEST(VoltOctaveParameter, MapsExponentiallyBetweenItsLimits)
{
	VoltOctaveParameter param(t16(u"Freq"), 3, t16(u"Hz"), 20.0, 20000.0, 632.46, 0,
	                          ParameterInfo::kCanAutomate, 0);
	EXPECT_NEAR(param.toNormalized(20.0), 0.0, 1e-6);
	EXPECT_NEAR(param.toNormalized(20000.0), 1.0, 1e-3);
	EXPECT_NEAR(param.toNormalized(632.46), 0.5, 1e-3);
	EXPECT_NEAR(param.getInfo().defaultNormalizedValue, 0.5, 1e-3);
	EXPECT_DOUBLE_EQ(param.getNormalized(), param.getInfo().defaultNormalizedValue);

	EXPECT_NEAR(param.toPlain(0.0), 20.0, 1e-3);
	EXPECT_NEAR(param.toPlain(0.5), 632.4, 632.4 * 0.003);
	EXPECT_LT(param.toPlain(1.0), 20000.0);
	EXPECT_GT(param.toPlain(1.0), 20000.0 * 0.997);
	// The plug-in's linear cooking of the processor's value lands on the displayed plain value.
	const double dLin = VoltOctaveParameter::normalizedToLinear(0.3, 20.0, 20000.0);
	EXPECT_NEAR(20.0 + 19980.0 * dLin, param.toPlain(0.3), 1e-9);
}

TEST(VoltOctaveParameter, TextShowsAndReadsThePlainValue)
{
	VoltOctaveParameter param(t16(u"Volume"), 3, nullptr, 0.01, 0.5, 0.39, 0,
	                          ParameterInfo::kCanAutomate, 0);
	param.setPrecision(2);
	EXPECT_EQ(text(param, 1.0), u"0.50");
	ParamValue dNormalized = -1.0;
	ASSERT_TRUE(param.fromString(t16(u"0.1"), dNormalized));
	EXPECT_DOUBLE_EQ(dNormalized, param.toNormalized(0.1));
	EXPECT_FALSE(param.fromString(t16(u"loud"), dNormalized));
}

TEST(LogParameter, MapsLogarithmically)
{
	LogParameter param(t16(u"Level"), 1, nullptr, 0.0, 100.0, 50.0, 0,
	                   ParameterInfo::kCanAutomate, 0);
	struct Case { double dNormalized, dPlain; };
	for (const Case& c : {Case{1.0, 100.0}, Case{0.0, 0.0}, Case{0.001, -25.0}})
		EXPECT_NEAR(param.toPlain(c.dNormalized), c.dPlain, 1e-4) << c.dNormalized;
	EXPECT_NEAR(param.toNormalized(0.0), std::pow(10.0, -2.4), 1e-7);
	EXPECT_NEAR(param.toNormalized(100.0), 1.0, 1e-7);
	EXPECT_NEAR(param.toPlain(param.getInfo().defaultNormalizedValue), 50.0, 1e-4);
}

TEST(LogParameter, TextUsesThePrecision)
{
	LogParameter param(t16(u"Level"), 1, t16(u"dB"), 0.0, 100.0, 50.0, 0,
	                   ParameterInfo::kCanAutomate, 0);
	param.setPrecision(2);
	EXPECT_EQ(text(param, param.toNormalized(12.0 + 1.0 / 3.0)), u"12.33");
	ParamValue dNormalized = 0.0;
	ASSERT_TRUE(param.fromString(t16(u"7"), dNormalized));
	EXPECT_DOUBLE_EQ(dNormalized, param.toNormalized(7.0));
	std::u16string units(reinterpret_cast<const char16_t*>(param.getInfo().units));
	EXPECT_EQ(units, u"dB");
}

TEST(PeakParameter, ShowsDecibelsAndRefusesText)
{
	PeakParameter param(ParameterInfo::kIsReadOnly, 3, t16(u"Meter"));
	EXPECT_DOUBLE_EQ(param.getNormalized(), 1.0);
	EXPECT_DOUBLE_EQ(param.getInfo().defaultNormalizedValue, 0.5);
	EXPECT_EQ(text(param, 1.0), u"0.000");
	EXPECT_EQ(text(param, 0.5), u"-6.021");
	EXPECT_EQ(text(param, 0.0001), u"-\u221E");
	EXPECT_EQ(text(param, 0.0), u"-\u221E");
	EXPECT_EQ(text(param, 0.000100001), u"-80.000");
	ParamValue dNormalized = 0.25;
	EXPECT_FALSE(param.fromString(t16(u"0"), dNormalized));
	EXPECT_EQ(dNormalized, 0.25);
	EXPECT_EQ(param.toPlain(0.3), 0.3);
	EXPECT_EQ(param.toNormalized(0.7), 0.7);
}
