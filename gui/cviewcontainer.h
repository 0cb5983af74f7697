// A view holding child views: draws its background (colour, bitmap) unless transparent, then
// its children clipped to its own rectangle, and routes mouse events to the child under the
// pointer; the child that took a mouse-down gets the moves and the release.
#pragma once

#include "ccolor.h"
#include "cview.h"

#include <vector>

namespace VSTGUI {

class CViewContainer : public CView
{
public:
	explicit CViewContainer (const CRect& size);
	~CViewContainer () override;

	/** Takes over one reference of the view. */
	virtual bool addView (CView* view);
	/** Removes the view; with withForget its reference is dropped. */
	virtual bool removeView (CView* view, bool withForget = true);
	virtual bool removeAll (bool withForget = true);
	int32_t getNbViews () const { return static_cast<int32_t> (m_Children.size ()); }
	CView* getView (int32_t index) const;
	bool isChild (CView* view, bool deep = false) const;
	/** The deepest visible view under a point in this container's parent's coordinates. */
	CView* getViewAt (const CPoint& where, bool deep = true) const;

	void setBackgroundColor (const CColor& c) { m_BackgroundColor = c; }
	const CColor& getBackgroundColor () const { return m_BackgroundColor; }
	void setBackgroundOffset (const CPoint& p) { m_BackgroundOffset = p; }

	void draw (CDrawContext* context) override;
	void setDirty (bool state = true) override;
	/** Draws the background only (colour, then bitmap), in this container's coordinates. */
	virtual void drawBackgroundRect (CDrawContext* context, const CRect& r);

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

	bool attached (CView* parent) override;
	bool removed (CView* parent) override;
	bool isContainer () const override { return true; }

	template <class Fn>
	void forEachChild (Fn fn) const
	{
		for (CView* v : m_Children)
			fn (v);
	}

protected:
	std::vector<CView*> m_Children; // back to front; one reference each
	CColor m_BackgroundColor = kTransparentCColor;
	CPoint m_BackgroundOffset;
	CView* m_pMouseDownView = nullptr; // child that took the last mouse-down
};

} // namespace VSTGUI
