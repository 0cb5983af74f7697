#include "vumeterqv.h"

#include "gui/cdrawcontext.h"

#include <cmath>

using namespace VSTGUI;

namespace {
// The integer part of t + 0.5, in single precision.
float roundHalfUp(float t)
{
	return static_cast<float>(static_cast<int64_t>(t + 0.5f));
}
} // namespace

CVuMeterQV::CVuMeterQV(const CRect& size, CBitmap* pOnBitmap, CBitmap* pOffBitmap, int32_t nNbLed,
                       bool bInverted, bool bAnalog, int32_t nStyle)
    : CVuMeter(size, pOnBitmap, pOffBitmap, nNbLed, nStyle)
    , m_bInverted(bInverted)
    , m_bAnalog(bAnalog)
    , m_dZeroFrame(52.0)
    , m_dFrameHeight(65.0)
    , m_dFrameCount(80.0)
{}

CVuMeterQV::~CVuMeterQV() = default;

float CVuMeterQV::nextShownValue()
{
	if (!m_bAnalog && m_nNbLed == 2)
		return getValue() >= 0.5f ? 1.0f : 0.0f;
	float fFallen = m_fOldValue - m_fDecreaseValue;
	float fValue = getValue() > fFallen ? getValue() : fFallen;
	m_fOldValue = fValue;
	return m_detector.detect(fValue);
}

CVuMeterQV::CLedLayout CVuMeterQV::ledLayout(float fShown) const
{
	CLedLayout layout;
	layout.offRect = layout.onRect = m_Size;
	CBitmap* pOn = getOnBitmap();
	bool bHorizontal = (m_nStyle & kHorizontal) != 0;
	float fSize = pOn ? static_cast<float>(bHorizontal ? pOn->getWidth() : pOn->getHeight()) : 0.0f;
	float fLeds = static_cast<float>(std::max<int32_t>(1, m_nNbLed));
	auto pixels = [&](float u) {
		float fStep = roundHalfUp(u * fLeds) / fLeds;
		float p = roundHalfUp(fSize * fStep);
		return p < 1.0f ? 0.0 : static_cast<double>(p);
	};
	if (!bHorizontal && !m_bInverted)
	{
		// Lit part at the bottom.
		double p = pixels(getMax() - fShown);
		layout.onOffset = CPoint(0, p);
		layout.offRect.bottom = layout.offRect.top + p;
		layout.onRect.top += p;
	}
	else if (!bHorizontal)
	{
		// Lit part at the top.
		double p = pixels(fShown);
		layout.offOffset = CPoint(0, p);
		layout.onRect.bottom = layout.onRect.top + p;
		layout.offRect.top += p;
	}
	else if (!m_bInverted)
	{
		// Lit part at the left.
		double p = pixels(getMin() + fShown);
		layout.offOffset = CPoint(p, 0);
		layout.offRect.left += p;
		layout.onRect.right = layout.onRect.left + p;
	}
	else
	{
		// Lit part at the right.
		double p = pixels(getMax() - fShown);
		layout.onOffset = CPoint(p, 0);
		layout.onRect.left += p;
		layout.offRect.right = layout.offRect.left + p;
	}
	return layout;
}

double CVuMeterQV::analogOffset(float fEnvelope) const
{
	double dHeight = m_dFrameHeight, dCount = m_dFrameCount;
	if (!(getValue() >= 0.0f) || !(dHeight > 0.0) || !(dCount >= 1.0))
		return 0.0;
	double u = fEnvelope;
	if (m_bInverted)
		u = m_dZeroFrame / dCount - fEnvelope * m_dZeroFrame / dCount;
	// Whole frames only, and never past either end of the filmstrip.
	double dPixels = std::floor(u * (dCount - 1.0) * dHeight);
	dPixels = std::min(std::max(dPixels, 0.0), (std::floor(dCount) - 1.0) * dHeight);
	int64_t m = static_cast<int64_t>(dPixels), h = static_cast<int64_t>(dHeight);
	if (h <= 0)
		return 0.0;
	return static_cast<double>(m - m % h);
}

void CVuMeterQV::draw(CDrawContext* pContext)
{
	CBitmap* pOn = getDrawBackground();
	if (!pOn)
	{
		setDirty(false);
		return;
	}
	bounceValue();
	float fShown = nextShownValue();
	if (m_bAnalog)
	{
		pContext->drawBitmap(*pOn, m_Size, CPoint(0, analogOffset(fShown)), 1.0);
	}
	else
	{
		CLedLayout layout = ledLayout(fShown);
		if (m_pOffBitmap)
			pContext->drawBitmap(*m_pOffBitmap, layout.offRect, layout.offOffset, 1.0);
		pContext->drawBitmap(*pOn, layout.onRect, layout.onOffset, 1.0);
	}
	setDirty(false);
}
