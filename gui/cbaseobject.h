// Reference counting and the notify hook every toolkit object has.
#pragma once

namespace VSTGUI {

using IdStringPtr = const char*;

enum CMessageResult
{
	kMessageUnknown = 0,
	kMessageNotified = 1,
};

class CBaseObject
{
public:
	CBaseObject () = default;
	CBaseObject (const CBaseObject&) = delete;
	CBaseObject& operator= (const CBaseObject&) = delete;
	virtual ~CBaseObject () = default;

	void remember () { ++m_nRefCount; }
	/** Drops one reference; deletes the object at zero. */
	void forget ()
	{
		if (--m_nRefCount == 0)
			delete this;
	}
	int getNbReference () const { return m_nRefCount; }

	virtual CMessageResult notify (CBaseObject* sender, IdStringPtr message) { return kMessageUnknown; }

private:
	int m_nRefCount = 1;
};

/** Owns one reference of a CBaseObject. */
template <class T>
class SharedPointer
{
public:
	SharedPointer () = default;
	SharedPointer (T* p, bool remember = true)
	    : m_p (p)
	{
		if (m_p && remember)
			m_p->remember ();
	}
	SharedPointer (const SharedPointer& o)
	    : SharedPointer (o.m_p)
	{}
	~SharedPointer ()
	{
		if (m_p)
			m_p->forget ();
	}
	SharedPointer& operator= (const SharedPointer& o)
	{
		if (o.m_p)
			o.m_p->remember ();
		if (m_p)
			m_p->forget ();
		m_p = o.m_p;
		return *this;
	}
	SharedPointer& operator= (T* p) { return *this = SharedPointer (p); }
	T* get () const { return m_p; }
	T* operator->() const { return m_p; }
	operator T* () const { return m_p; }

private:
	T* m_p = nullptr;
};

/** Wraps a freshly made object, taking over its first reference. */
template <class T>
SharedPointer<T> owned (T* p)
{
	return SharedPointer<T> (p, false);
}

} // namespace VSTGUI
