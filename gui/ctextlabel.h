// Text views. CParamDisplay draws a value as text with its font, colours, frame and style;
// CTextLabel draws a fixed text (its title) instead of the value.
#pragma once

#include "ccolor.h"
#include "ccontrol.h"
#include "cdrawcontext.h"
#include "cfont.h"

#include <functional>
#include <string>

namespace VSTGUI {

enum CParamDisplayStyle : int32_t
{
	kShadowText = 1 << 2,
	k3DIn = 1 << 3,
	k3DOut = 1 << 4,
	kNoTextStyle = 1 << 11,
	kNoDrawStyle = 1 << 12,
	kNoFrame = 1 << 14,
	kRoundRectStyle = 1 << 15,
};

class CParamDisplay : public CControl
{
public:
	CParamDisplay (const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

	void setFont (const CFontDesc& f)
	{
		m_Font = f;
		invalid ();
	}
	const CFontDesc& getFont () const { return m_Font; }
	void setFontColor (const CColor& c)
	{
		m_FontColor = c;
		invalid ();
	}
	const CColor& getFontColor () const { return m_FontColor; }
	void setBackColor (const CColor& c)
	{
		m_BackColor = c;
		invalid ();
	}
	const CColor& getBackColor () const { return m_BackColor; }
	void setFrameColor (const CColor& c)
	{
		m_FrameColor = c;
		invalid ();
	}
	const CColor& getFrameColor () const { return m_FrameColor; }
	void setShadowColor (const CColor& c) { m_ShadowColor = c; }
	void setHoriAlign (CHoriTxtAlign a)
	{
		m_HoriAlign = a;
		invalid ();
	}
	CHoriTxtAlign getHoriAlign () const { return m_HoriAlign; }
	void setTextInset (const CPoint& p) { m_TextInset = p; }
	void setStyle (int32_t style)
	{
		m_nStyle = style;
		invalid ();
	}
	int32_t getStyle () const { return m_nStyle; }
	void setFrameWidth (CCoord w) { m_dFrameWidth = w; }
	CCoord getFrameWidth () const { return m_dFrameWidth; }
	void setRoundRectRadius (CCoord r) { m_dRoundRectRadius = r; }
	CCoord getRoundRectRadius () const { return m_dRoundRectRadius; }
	void setPrecision (int32_t p) { m_nPrecision = p; }
	void setAntialias (bool b) { m_bAntialias = b; }
	void setBackgroundOffset (const CPoint& p) { m_BackgroundOffset = p; }

	/** Text of a value; the default prints it with the precision. */
	using ValueToString = std::function<bool (float value, std::string& text)>;
	void setValueToStringFunction (ValueToString fn) { m_ValueToString = std::move (fn); }

	void draw (CDrawContext* context) override;

protected:
	virtual std::string textToDraw () const;
	void drawBack (CDrawContext* context);
	void drawText (CDrawContext* context, const std::string& text);

	CFontDesc m_Font;
	CColor m_FontColor = kWhiteCColor;
	CColor m_BackColor = kBlackCColor;
	CColor m_FrameColor = kBlackCColor;
	CColor m_ShadowColor = kRedCColor;
	CHoriTxtAlign m_HoriAlign = kCenterText;
	CPoint m_TextInset;
	CPoint m_BackgroundOffset;
	int32_t m_nStyle;
	CCoord m_dFrameWidth = 1;
	CCoord m_dRoundRectRadius = 6;
	int32_t m_nPrecision = 2;
	bool m_bAntialias = true;
	ValueToString m_ValueToString;
};

class CTextLabel : public CParamDisplay
{
public:
	CTextLabel (const CRect& size, const std::string& text = "", CBitmap* background = nullptr,
	            int32_t style = 0);

	virtual void setText (const std::string& text);
	const std::string& getText () const { return m_Text; }

protected:
	std::string textToDraw () const override { return m_Text; }

	std::string m_Text;
};

} // namespace VSTGUI
