#include "controllist.h"

CControlList::CControlList(const CControlList& other)
{
    for (const CNode* node = other.m_pHead; node != nullptr; node = node->m_pNext)
        append(node->m_descriptor);
}

CControlList& CControlList::operator=(const CControlList& other)
{
    if (this != &other) {
        clear();
        for (const CNode* node = other.m_pHead; node != nullptr; node = node->m_pNext)
            append(node->m_descriptor);
    }
    return *this;
}

CControlList::~CControlList()
{
    clear();
}

CControlDescriptor* CControlList::append(const CControlDescriptor& descriptor)
{
    CNode* node = new CNode;
    node->m_descriptor = descriptor;
    CNode** link = &m_pHead;
    while (*link != nullptr)
        link = &(*link)->m_pNext;
    *link = node;
    return &node->m_descriptor;
}

int32_t CControlList::count() const
{
    int32_t n = 0;
    for (const CNode* node = m_pHead; node != nullptr; node = node->m_pNext)
        ++n;
    return n;
}

CControlDescriptor* CControlList::at(int32_t position)
{
    return const_cast<CControlDescriptor*>(static_cast<const CControlList*>(this)->at(position));
}

const CControlDescriptor* CControlList::at(int32_t position) const
{
    if (position < 0)
        return nullptr;
    const CNode* node = m_pHead;
    for (int32_t i = 0; node != nullptr && i < position; ++i)
        node = node->m_pNext;
    return node != nullptr ? &node->m_descriptor : nullptr;
}

void CControlList::removeById(uint32_t id)
{
    for (CNode** link = &m_pHead; *link != nullptr; link = &(*link)->m_pNext) {
        if ((*link)->m_descriptor.m_uId == id) {
            CNode* node = *link;
            *link = node->m_pNext;
            delete node;
            return;
        }
    }
}

void CControlList::clear()
{
    while (m_pHead != nullptr) {
        CNode* node = m_pHead;
        m_pHead = node->m_pNext;
        delete node;
    }
}

int32_t CControlList::indexOfId(uint32_t id) const
{
    int32_t position = 0;
    for (const CNode* node = m_pHead; node != nullptr; node = node->m_pNext, ++position) {
        if (node->m_descriptor.m_uId == id)
            return position;
    }
    return -1;
}

int32_t CControlList::indexOfMidiController(uint32_t controller) const
{
    int32_t found = -1;
    int32_t position = 0;
    for (const CNode* node = m_pHead; node != nullptr; node = node->m_pNext, ++position) {
        if (node->m_descriptor.m_bMidi && node->m_descriptor.m_uMidiController == controller)
            found = position;
    }
    return found;
}
