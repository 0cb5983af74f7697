// The attributes of one node of an editor description, as texts, with readers for the value
// forms descriptions use ("x, y" points, numbers, "true"/"false").
#pragma once

#include "cgeometry.h"

#include <map>
#include <string>

namespace VSTGUI {

class UIAttributes
{
public:
	using Map = std::map<std::string, std::string>;

	UIAttributes () = default;
	explicit UIAttributes (Map values)
	    : m_Values (std::move (values))
	{}

	bool hasAttribute (const std::string& name) const { return m_Values.count (name) != 0; }
	/** The text, or null when the node has no such attribute. */
	const std::string* getAttributeValue (const std::string& name) const;
	void setAttribute (const std::string& name, const std::string& value) { m_Values[name] = value; }
	void removeAttribute (const std::string& name) { m_Values.erase (name); }

	/** "x, y" (blanks allowed around the comma, decimals allowed). False when unreadable. */
	bool getPointAttribute (const std::string& name, CPoint& p) const;
	bool getDoubleAttribute (const std::string& name, double& d) const;
	bool getIntegerAttribute (const std::string& name, int32_t& n) const;
	/** True for "true", false for "false"; anything else leaves b and answers false. */
	bool getBooleanAttribute (const std::string& name, bool& b) const;

	const Map& values () const { return m_Values; }

	/** Reads "x, y" as two numbers; false when the text is not of that form. */
	static bool parsePoint (const std::string& text, CPoint& p);

private:
	Map m_Values;
};

} // namespace VSTGUI
