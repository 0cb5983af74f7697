// The effect's controls and factory presets as a host must see them, written out from the
// product's control and preset tables so the bundle is checked against them independently.
#pragma once

namespace hosttest {

enum EMapping { kLinear, kVoltOctave, kList };

struct CControlRow
{
	const char16_t* m_szTitle;
	const char16_t* m_szUnits;
	float m_fLow;
	float m_fHigh;
	float m_fInitial;
	EMapping m_eMapping;
	const char16_t* m_szFirstEntry; // list controls: the first and last entry
	const char16_t* m_szLastEntry;
};

inline const CControlRow kControls[20] = {
    {u"Distortion", u"", 0.04f, 1.0f, 0.07f, kLinear, nullptr, nullptr},
    {u"Push1", u"", 0.05f, 3.0f, 0.6f, kLinear, nullptr, nullptr},
    {u"Push2", u"", 0.05f, 3.0f, 0.6f, kLinear, nullptr, nullptr},
    {u"Volume", u"", 0.01f, 0.5f, 0.39f, kVoltOctave, nullptr, nullptr},
    {u"Mids", u"", 0.6f, 1.0f, 0.93f, kLinear, nullptr, nullptr},
    {u"Trim", u"", 0.25f, 4.0f, 1.0f, kVoltOctave, nullptr, nullptr},
    {u"Guitar Type", u"", 0.0f, 1.0f, 0.0f, kList, u"Guitar", u"Bass"},
    {u"VariCap", u"", 1.0f, 2.0f, 1.0f, kLinear, nullptr, nullptr},
    {u"Peak2", u"", 0.0f, 1.0f, 0.0f, kList, u"OFF", u"ON"},
    {u"StereoMono", u"", 0.0f, 1.0f, 0.0f, kList, u"Stereo", u"Mono"},
    {u"LeftRight", u"", 0.0f, 1.0f, 0.0f, kList, u"Left", u"Right"},
    {u"TS_Type", u"", 0.0f, 1.0f, 0.0f, kList, u"tRat", u"tBypass"},
    {u"Boost", u"", 0.0f, 1.0f, 0.0f, kLinear, nullptr, nullptr},
    {u"NG2_Attack", u"msec", 1.0f, 2000.0f, 350.0f, kLinear, nullptr, nullptr},
    {u"NG2_Release", u"msec", 1.0f, 500.0f, 25.0f, kLinear, nullptr, nullptr},
    {u"NG2_Threshold", u"dB", -70.0f, -20.0f, -70.0f, kLinear, nullptr, nullptr},
    {u"Plus", u"", 0.0f, 1.0f, 0.0f, kList, u"OFF", u"ON"},
    {u"SlopeShift", u"", 0.25f, 4.0f, 1.0f, kLinear, nullptr, nullptr},
    {u"IncapFilter", u"", 0.0f, 1.0f, 0.0f, kList, u"NORMAL", u"LOWCUT"},
    {u"Incap Cut", u"", 1.0f, 20.0f, 1.0f, kLinear, nullptr, nullptr},
};

inline const char16_t* const kPresetNames[16] = {
    u"Factory Preset", u"KT Solo",      u"KT Pedal",       u"KT Left Rhy",
    u"KT Bass",        u"DV Left Rhy",  u"DV Solo",        u"LN Solo",
    u"LN Right Rhy",   u"LN Left Rhy",  u"HO Solo",        u"High Gain Init",
    u"HO Right Rhy",   u"HO Left Rhy",  u"ZU Solo2",       u"ZU Right Rhy",
};

// Per slot, the value of every control in list order (plain units; lists as their index).
// Push2 0.6, Trim 1.0, StereoMono 0, LeftRight 0, TS_Type 0, NG2_Attack 350, NG2_Release 25 and
// SlopeShift 1.0 are the same in every slot.
inline const double kPresetValues[16][20] = {
    // Dist   Push1 Push2 Volume    Mids   Trim GT VariCap P2 SM LR TS Boost Att  Rel  Thr     Plus Slope Incap Cut
    {0.07,   0.6, 0.6, 0.39,     0.93,  1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {0.2056, 0.6, 0.6, 0.185974, 1.0,   1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {0.0952, 0.6, 0.6, 0.499985, 0.816, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 1, 9.075},
    {0.2776, 0.6, 0.6, 0.1705,   0.968, 1.0, 0, 2.0,   1, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {0.2152, 0.6, 0.6, 0.148685, 1.0,   1.0, 1, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 1, 3.375},
    {0.412,  0.6, 0.6, 0.134827, 0.906, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {0.1672, 0.6, 0.6, 0.358462, 0.966, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 1, 12.400001},
    {0.6952, 0.6, 0.6, 0.100535, 0.884, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -67.75, 0, 1.0, 0, 1.0},
    {0.7528, 0.6, 0.6, 0.148685, 0.804, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -67.0,  0, 1.0, 1, 16.674999},
    {0.6808, 0.6, 0.6, 0.148685, 0.866, 1.0, 0, 2.0,   1, 0, 0, 0, 0.0, 350, 25, -67.25, 0, 1.0, 0, 1.0},
    {0.4312, 0.6, 0.6, 0.134807, 0.866, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -66.75, 0, 1.0, 0, 1.0},
    {0.52,   1.8, 0.6, 0.12223,  0.802, 1.0, 0, 1.51,  1, 0, 0, 0, 1.0, 350, 25, -67.75, 1, 1.0, 1, 10.690001},
    {0.292,  0.6, 0.6, 0.262097, 0.6,   1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {0.292,  0.6, 0.6, 0.257046, 0.636, 1.0, 0, 1.965, 1, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 0, 1.0},
    {1.0,    0.6, 0.6, 0.117535, 0.842, 1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -66.5,  0, 1.0, 0, 1.0},
    {0.544,  0.6, 0.6, 0.215532, 0.6,   1.0, 0, 1.0,   0, 0, 0, 0, 0.0, 350, 25, -70.0,  0, 1.0, 1, 18.860001},
};

} // namespace hosttest
