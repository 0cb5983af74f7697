#include "midieventlist.h"

#include "plugincore/plugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {

// A host value of 0..1 as a 7-bit MIDI value, truncated; out-of-range and NaN values are held
// inside 0..127.
uint32 toMidi7(float fValue)
{
	if (!(fValue > 0.0f))
		return 0;
	if (fValue >= 1.0f)
		return 127;
	return static_cast<uint32>(fValue * 127.0f);
}

bool isTunnelMarker(const TChar* szText)
{
	static const char szMarker[] = "KESTMIDI";
	if (!szText)
		return false;
	for (int i = 0; i < 9; ++i)
	{
		if (szText[i] != static_cast<TChar>(szMarker[i]))
			return false;
	}
	return true;
}

void dispatchTunnelled(CPlugIn& plugIn, const ChordEvent& chord)
{
	const uint32 uChannel = static_cast<uint32>(chord.root);
	const uint32 uStatus = static_cast<uint32>(chord.bassNote);
	const uint32 uData1 = static_cast<uint32>(chord.mask);
	const uint32 uData2 = chord.textLen;
	if (uStatus == 176 && uData1 == 1)
	{
		plugIn.modWheelMoved(uChannel, uData2);
	}
	else if (uStatus == 176 && uData1 == 123)
	{
		plugIn.noteOff(uChannel, 0, 0, true);
	}
	else if (uStatus == 248)
	{
		plugIn.clockTick();
	}
	else if (uStatus == 224)
	{
		const int32 nBend = static_cast<int32>((uData2 & 127) * 128 + (uData1 & 127)) - 8192;
		const float fBend = (nBend == -8192) ? static_cast<float>(-8191 / 8191.0)
		                                     : static_cast<float>(nBend / 8191.0);
		plugIn.pitchBendMoved(uChannel, nBend, fBend);
	}
	else if (plugIn.m_bWantAllMidi)
	{
		plugIn.rawMidi(uChannel & 0xFF, uStatus & 0xFF, uData1 & 0xFF, uData2 & 0xFF);
	}
}

} // namespace

bool dispatchMidiEvent(CPlugIn& plugIn, const Event& event, bool bTunnelled)
{
	switch (event.type)
	{
		case Event::kNoteOnEvent:
			plugIn.noteOn(static_cast<uint32>(event.noteOn.channel),
			              static_cast<uint32>(event.noteOn.pitch), toMidi7(event.noteOn.velocity));
			return true;
		case Event::kNoteOffEvent:
			plugIn.noteOff(static_cast<uint32>(event.noteOff.channel),
			               static_cast<uint32>(event.noteOff.pitch),
			               toMidi7(event.noteOff.velocity), false);
			return true;
		case Event::kPolyPressureEvent:
			plugIn.rawMidi(static_cast<uint32>(event.polyPressure.channel) & 0xFF, 160,
			               static_cast<uint32>(event.polyPressure.pitch) & 0xFF,
			               toMidi7(event.polyPressure.pressure) & 0xFF);
			return true;
		case Event::kChordEvent:
			if (bTunnelled && isTunnelMarker(event.chord.text))
				dispatchTunnelled(plugIn, event.chord);
			return false;
		default:
			return false;
	}
}

CVSTMidiEventList::CVSTMidiEventList(CPlugIn* pTarget)
: m_pTarget(pTarget)
, m_pHostEvents(nullptr)
, m_uReadPosition(0)
{
}

void CVSTMidiEventList::bind(IEventList* pHostEvents)
{
	m_pHostEvents = pHostEvents;
	m_uReadPosition = 0;
}

int32_t CVSTMidiEventList::getEventCount()
{
	return m_pHostEvents ? m_pHostEvents->getEventCount() : 0;
}

bool CVSTMidiEventList::fireMidiEvents(int32_t nSampleOffset)
{
	if (!m_pHostEvents || !m_pTarget)
		return false;
	Event event = {};
	if (m_pHostEvents->getEvent(static_cast<int32>(m_uReadPosition), event) != kResultOk)
		return false;
	if (event.sampleOffset != nSampleOffset)
		return false;
	bool bNoteEvent = false;
	do
	{
		bNoteEvent |= dispatchMidiEvent(*m_pTarget, event, false);
		++m_uReadPosition;
	} while (m_pHostEvents->getEvent(static_cast<int32>(m_uReadPosition), event) == kResultOk &&
	         event.sampleOffset == nSampleOffset);
	return bNoteEvent;
}

} // namespace Zaze2VST3
