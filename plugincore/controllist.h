// The ordered list of a plug-in's controls. A control's position in the list is its host
// parameter ID, its index in the stored state and its editor tag.
#pragma once

#include <cstdint>

#include "controldescriptor.h"

class CControlList
{
public:
    CControlList() = default;
    CControlList(const CControlList& other);            // deep copy, each entry owns its texts
    CControlList& operator=(const CControlList& other);
    ~CControlList();

    // Appends a copy of the descriptor after the last entry; returns the stored entry.
    CControlDescriptor* append(const CControlDescriptor& descriptor);

    int32_t count() const;

    // Entry at a position, or null when the position is negative or not below count().
    CControlDescriptor* at(int32_t position);
    const CControlDescriptor* at(int32_t position) const;

    // Unlinks and frees the first entry (from the head) with this ID; nothing if there is none.
    void removeById(uint32_t id);

    void clear();

    // Position of the first entry with this ID, or -1.
    int32_t indexOfId(uint32_t id) const;

    // Position of the last entry with a MIDI assignment to this controller number, or -1.
    int32_t indexOfMidiController(uint32_t controller) const;

private:
    struct CNode
    {
        CControlDescriptor m_descriptor;
        CNode* m_pNext = nullptr;
    };

    CNode* m_pHead = nullptr;
};
