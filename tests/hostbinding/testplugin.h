// A small plug-in for the processor's tests: controls built from a table, and every call the
// processor makes recorded with the number of frames processed before it.
#pragma once

#include "plugincore/plugin.h"

#include <string>
#include <vector>

struct CTestControl
{
	uint32_t m_uKind = kKindParameter;
	uint32_t m_uValueType = kValueFloat;
	const char* m_szName = "";
	float m_fLow = 0.0f;
	float m_fHigh = 1.0f;
	float m_fInitial = 0.0f;
	const char* m_szEnumList = "";
	const char* m_szUnits = "";
	bool m_bVoltOctave = false;
	bool m_bLogTaper = false;
	int32_t m_nPrecision = 2;
	uint32_t m_uMidiController = 0; // 0: no MIDI assignment
};

struct CTestCall
{
	std::string m_sName;        // operation
	std::vector<double> m_Args; // its arguments
	int m_nFrame;               // frames processed before the call
};

class CTestPlugIn : public CPlugIn
{
public:
	explicit CTestPlugIn(const std::vector<CTestControl>& controls);

	bool processFrame(float* in, float* out, uint32_t inChannels, uint32_t outChannels) override;
	bool processBuffers(float** in, float** out, uint32_t channels, uint32_t frames) override;
	bool controlChanged(uint32_t controlId) override;
	bool noteOn(uint32_t channel, uint32_t note, uint32_t velocity) override;
	bool noteOff(uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff) override;
	bool modWheelMoved(uint32_t channel, uint32_t value) override;
	bool pitchBendMoved(uint32_t channel, int32_t bend, float bendNormalized) override;
	bool clockTick() override;
	bool rawMidi(uint32_t channel, uint32_t status, uint32_t data1, uint32_t data2) override;
	void hostMessage(uint32_t code, CHostMessage* message) override;
	void* editorMessage(CGuiMessageRecord* message) override;

	// Calls named sName, in order.
	std::vector<CTestCall> calls(const std::string& sName) const;

	// Storage of the bound variables, one of each type per control.
	float m_afFloat[32] = {};
	double m_adDouble[32] = {};
	int m_anInt[32] = {};
	unsigned int m_auUint[32] = {};
	float m_afMeter[32] = {};

	std::vector<CTestCall> m_Calls;
	std::vector<CGuiMessageRecord> m_GuiMessages;
	int m_nFrames = 0;
	int m_nTimeMessages = 0;
	uint32_t m_uLastInChannels = 0;
	uint32_t m_uLastOutChannels = 0;
	IMidiEventList* m_pEventList = nullptr;

private:
	void record(const char* szName, std::vector<double> args);
};

// Hands the next Processor its plug-in: Processor(&takeTestPlugIn) after setNextTestPlugIn.
void setNextTestPlugIn(CPlugIn* pPlugIn);
CPlugIn* takeTestPlugIn();
