// Points and rectangles in editor pixels (doubles, as the views lay themselves out).
#pragma once

#include <algorithm>

namespace VSTGUI {

using CCoord = double;

struct CPoint
{
	CCoord x = 0;
	CCoord y = 0;

	CPoint () = default;
	CPoint (CCoord px, CCoord py)
	    : x (px)
	    , y (py)
	{}

	CPoint operator+ (const CPoint& p) const { return {x + p.x, y + p.y}; }
	CPoint operator- (const CPoint& p) const { return {x - p.x, y - p.y}; }
	CPoint& offset (CCoord dx, CCoord dy)
	{
		x += dx;
		y += dy;
		return *this;
	}
	bool operator== (const CPoint& p) const { return x == p.x && y == p.y; }
	bool operator!= (const CPoint& p) const { return !(*this == p); }
};

struct CRect
{
	CCoord left = 0;
	CCoord top = 0;
	CCoord right = 0;
	CCoord bottom = 0;

	CRect () = default;
	CRect (CCoord l, CCoord t, CCoord r, CCoord b)
	    : left (l)
	    , top (t)
	    , right (r)
	    , bottom (b)
	{}
	CRect (const CPoint& origin, const CPoint& size)
	    : left (origin.x)
	    , top (origin.y)
	    , right (origin.x + size.x)
	    , bottom (origin.y + size.y)
	{}

	CCoord getWidth () const { return right - left; }
	CCoord getHeight () const { return bottom - top; }
	CPoint getTopLeft () const { return {left, top}; }
	CPoint getSize () const { return {getWidth (), getHeight ()}; }
	CPoint getCenter () const { return {(left + right) / 2, (top + bottom) / 2}; }
	bool isEmpty () const { return right <= left || bottom <= top; }

	CRect& setWidth (CCoord w)
	{
		right = left + w;
		return *this;
	}
	CRect& setHeight (CCoord h)
	{
		bottom = top + h;
		return *this;
	}
	CRect& offset (CCoord dx, CCoord dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
		return *this;
	}
	CRect& offset (const CPoint& p) { return offset (p.x, p.y); }
	CRect& moveTo (const CPoint& p) { return offset (p.x - left, p.y - top); }
	CRect& inset (CCoord dx, CCoord dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
		return *this;
	}
	bool pointInside (const CPoint& p) const
	{
		return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
	}
	CRect& bound (const CRect& r)
	{
		left = std::max (left, r.left);
		top = std::max (top, r.top);
		right = std::max (left, std::min (right, r.right));
		bottom = std::max (top, std::min (bottom, r.bottom));
		return *this;
	}
	CRect& unite (const CRect& r)
	{
		if (isEmpty ())
			return *this = r;
		if (r.isEmpty ())
			return *this;
		left = std::min (left, r.left);
		top = std::min (top, r.top);
		right = std::max (right, r.right);
		bottom = std::max (bottom, r.bottom);
		return *this;
	}
	bool rectOverlap (const CRect& r) const
	{
		return right > r.left && left < r.right && bottom > r.top && top < r.bottom;
	}
	bool operator== (const CRect& r) const
	{
		return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
	}
	bool operator!= (const CRect& r) const { return !(*this == r); }
};

} // namespace VSTGUI
