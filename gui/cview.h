// The base of every view: a rectangle in its parent's coordinates, drawing, mouse, wheel and
// key events, and invalidation through its frame.
#pragma once

#include "cbaseobject.h"
#include "cbitmap.h"
#include "cgeometry.h"

#include <cstdint>
#include <map>
#include <string>

namespace VSTGUI {

class CDrawContext;
class CFrame;
class CViewContainer;
class IController;

/** Mouse buttons and modifier keys of an event. */
enum CButton : int32_t
{
	kLButton = 1 << 1,
	kMButton = 1 << 2,
	kRButton = 1 << 3,
	kShift = 1 << 4,
	kControl = 1 << 5,
	kAlt = 1 << 6,
	kApple = 1 << 7,
	kDoubleClick = 1 << 8,
};

struct CButtonState
{
	int32_t state = 0;
	CButtonState () = default;
	CButtonState (int32_t s)
	    : state (s)
	{}
	bool isLeftButton () const { return state & kLButton; }
	bool isRightButton () const { return state & kRButton; }
	bool isDoubleClick () const { return state & kDoubleClick; }
	int32_t getModifierState () const { return state & (kShift | kControl | kAlt | kApple); }
	bool operator& (int32_t bits) const { return state & bits; }
};

enum CMouseEventResult
{
	kMouseEventNotImplemented = 0,
	kMouseEventHandled,
	kMouseEventNotHandled,
	kMouseDownEventHandledButDontNeedMovedOrUpEvents,
	kMouseMoveEventHandledButDontNeedMoreEvents,
};

enum CMouseWheelAxis
{
	kMouseWheelAxisX = 0,
	kMouseWheelAxisY,
};

/** A key press: a character (UTF-8, may be empty) or one of the virtual keys below. */
enum VirtualKey : int32_t
{
	VKEY_NONE = 0,
	VKEY_BACK,
	VKEY_TAB,
	VKEY_RETURN,
	VKEY_ESCAPE,
	VKEY_LEFT,
	VKEY_RIGHT,
	VKEY_UP,
	VKEY_DOWN,
	VKEY_HOME,
	VKEY_END,
	VKEY_DELETE,
	VKEY_ENTER,
};

struct VstKeyCode
{
	std::string character; // UTF-8 text the key produced
	int32_t virt = VKEY_NONE;
	int32_t modifier = 0; // CButton modifier bits
};

class CView : public CBaseObject
{
public:
	explicit CView (const CRect& size);
	~CView () override;

	// Geometry, in the parent's coordinates.
	const CRect& getViewSize () const { return m_Size; }
	virtual void setViewSize (const CRect& r, bool invalidate = true);
	CCoord getWidth () const { return m_Size.getWidth (); }
	CCoord getHeight () const { return m_Size.getHeight (); }
	CRect getMouseableArea () const { return m_Size; }

	// Drawing. draw paints the whole view; the frame redraws whole views.
	virtual void draw (CDrawContext* context);
	virtual void setDirty (bool state = true);
	bool isDirty () const { return m_bDirty; }
	/** Schedules a repaint of this view. */
	virtual void invalid ();
	void invalidRect (const CRect& r);

	// Background bitmap (drawn by draw in the base view).
	virtual void setBackground (CBitmap* bitmap);
	CBitmap* getDrawBackground () const { return m_pBackground; }
	CBitmap* getBackground () const { return m_pBackground; }

	void setTransparency (bool state) { m_bTransparent = state; }
	bool getTransparency () const { return m_bTransparent; }
	void setMouseEnabled (bool state) { m_bMouseEnabled = state; }
	bool getMouseEnabled () const { return m_bMouseEnabled; }
	void setVisible (bool state);
	bool isVisible () const { return m_bVisible; }
	void setWantsFocus (bool state) { m_bWantsFocus = state; }
	bool wantsFocus () const { return m_bWantsFocus; }

	// Mouse and keys. Points are in the parent's coordinates.
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseCancel ();
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                      const CButtonState& buttons);
	/** 1 when the key was used, -1 otherwise. */
	virtual int32_t onKeyDown (VstKeyCode& keyCode);
	virtual void takeFocus () {}
	virtual void looseFocus () {}

	// Hierarchy.
	virtual bool attached (CView* parent);
	virtual bool removed (CView* parent);
	bool isAttached () const { return m_pParent != nullptr; }
	CView* getParentView () const { return m_pParent; }
	CFrame* getFrame () const;
	/** Converts a point in this view's parent's coordinates to the frame's, and back. */
	CPoint& localToFrame (CPoint& p) const;
	CPoint& frameToLocal (CPoint& p) const;

	// Attributes a description set that no class reads (kept, never interpreted).
	void setAttribute (const std::string& name, const std::string& value) { m_Attributes[name] = value; }
	bool getAttribute (const std::string& name, std::string& value) const;

	virtual bool isContainer () const { return false; }

	/** A controller that serves this view and the views below it; owned, deleted with the view. */
	void setSubController (IController* controller);
	IController* getSubController () const { return m_pSubController; }

protected:
	CRect m_Size;                     // in the parent's coordinates
	CView* m_pParent = nullptr;       // container, not owned
	CBitmap* m_pBackground = nullptr; // one reference held
	bool m_bTransparent = false;
	bool m_bMouseEnabled = true;
	bool m_bVisible = true;
	bool m_bDirty = false;
	bool m_bWantsFocus = false;
	std::map<std::string, std::string> m_Attributes;
	IController* m_pSubController = nullptr; // owned
};

} // namespace VSTGUI
