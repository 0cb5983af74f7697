#include "korvessa.h"

#include <new>

CKorvessa::CKorvessa()
{
    // The chain's components and fixed gains are created here, before the controls.

    buildControls();

    m_bUseEditor = true;
    m_bOutputOnly = false;
    m_bWantAllMidi = false;
}

CKorvessa::~CKorvessa()
{
    // The chain's components are deleted here; the base releases the control list.
}

CPlugIn* createPlugIn()
{
    // Construction allocates; a failure anywhere in it yields no plug-in.
    try {
        return new CKorvessa();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
