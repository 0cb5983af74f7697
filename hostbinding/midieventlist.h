// The block's MIDI events, pulled by sample offset by a plug-in that processes whole blocks,
// and the dispatch of one host event to the plug-in's MIDI operations.
#pragma once

#include "plugincore/hostrecords.h"

#include "pluginterfaces/vst/ivstevents.h"

class CPlugIn;

namespace Zaze2VST3 {

// Hands one host event to the plug-in: note on, note off, polyphonic pressure and, when
// bTunnelled is set, the raw MIDI messages carried in chord events marked "KESTMIDI".
// Answers true for a note on, note off or polyphonic pressure. Audio thread.
bool dispatchMidiEvent(CPlugIn& plugIn, const Steinberg::Vst::Event& event, bool bTunnelled);

class CVSTMidiEventList : public IMidiEventList
{
public:
	explicit CVSTMidiEventList(CPlugIn* pTarget);
	virtual ~CVSTMidiEventList() = default;

	// Binds the host list of the current block (may be null) and rewinds. Audio thread.
	void bind(Steinberg::Vst::IEventList* pHostEvents);

	// IMidiEventList, audio thread.
	int32_t getEventCount() override;
	bool fireMidiEvents(int32_t nSampleOffset) override;

private:
	CPlugIn* m_pTarget;                           // the plug-in, not owned
	Steinberg::Vst::IEventList* m_pHostEvents;    // this block's host events, not owned
	Steinberg::uint32 m_uReadPosition;            // index of the next event to read
};

} // namespace Zaze2VST3
