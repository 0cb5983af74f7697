#include "demophrase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvessa {
namespace render {

namespace {

/** xorshift32: a tiny generator whose sequence is the same on every platform. */
class CNoise
{
public:
	explicit CNoise (uint32_t uSeed) : m_uState (uSeed ? uSeed : 1u) {}
	double next () // uniform in [-1, 1)
	{
		m_uState ^= m_uState << 13;
		m_uState ^= m_uState >> 17;
		m_uState ^= m_uState << 5;
		return double (m_uState) / 2147483648.0 - 1.0;
	}

private:
	uint32_t m_uState;
};

struct CNote
{
	double dStart;    // s
	int nMidi;        // MIDI note number
	double dLength;   // s until the string is damped
	double dVelocity; // 0..1
	bool bMuted;      // palm-muted: darker and shorter
};

double midiToHz (int nMidi)
{
	return 440.0 * std::pow (2.0, (nMidi - 69) / 12.0);
}

/** One plucked string added into out: a noise burst circulating in a delay line of one period,
    with a two-point average as the string's loss and a first-order allpass for fine tuning. */
void pluck (std::vector<double>& out, int nRate, const CNote& n, CNoise& noise)
{
	const double dPeriod = nRate / midiToHz (n.nMidi);         // samples
	const int nDelay = static_cast<int> (std::floor (dPeriod - 0.5));
	const double dFrac = dPeriod - 0.5 - nDelay;                 // allpass delay, 0..1
	const double dAllpass = (1.0 - dFrac) / (1.0 + dFrac);
	// Loss per period: a ring of about 3 s (T60), shorter when muted.
	const double dT60 = n.bMuted ? 0.25 : 3.0;
	const double dLoss = std::pow (10.0, -3.0 * dPeriod / (nRate * dT60));

	std::vector<double> line (static_cast<std::size_t> (nDelay) + 1, 0.0);
	// Excitation: noise, low-passed more for soft or muted plucks, with a pick-position notch.
	const double dBright = n.bMuted ? 0.25 : 0.35 + 0.5 * n.dVelocity;
	double dLp = 0;
	for (auto& v : line)
	{
		dLp += dBright * (noise.next () - dLp);
		v = dLp;
	}
	const std::size_t nPick = std::max<std::size_t> (1, line.size () / 7);
	std::vector<double> excite (line.size ());
	for (std::size_t i = 0; i < line.size (); ++i)
		excite[i] = line[i] - (i >= nPick ? line[i - nPick] : 0.0);
	line = excite;
	double dMean = 0;
	for (double v : line)
		dMean += v;
	dMean /= double (line.size ());
	for (auto& v : line)
		v = (v - dMean) * n.dVelocity;

	const std::size_t nStart = static_cast<std::size_t> (n.dStart * nRate);
	const std::size_t nDamp = nStart + static_cast<std::size_t> (n.dLength * nRate);
	const std::size_t nEnd = std::min (out.size (), nDamp + static_cast<std::size_t> (0.08 * nRate));
	std::size_t pos = 0;
	double dPrev = 0, dApIn = 0, dApOut = 0;
	const double dDampLoss = std::pow (10.0, -3.0 * dPeriod / (nRate * 0.06)); // lifted finger
	for (std::size_t t = nStart; t < nEnd; ++t)
	{
		const double y = line[pos];
		out[t] += y;
		const double avg = 0.5 * (y + dPrev);
		dPrev = y;
		const double ap = dAllpass * avg + dApIn - dAllpass * dApOut;
		dApIn = avg;
		dApOut = ap;
		line[pos] = ap * (t < nDamp ? dLoss : dDampLoss);
		pos = (pos + 1) % line.size ();
	}
}

} // namespace

std::vector<float> synthesizeDemoPhrase (int nSampleRate)
{
	// A riff in E: power chords strummed down (about 12 ms between strings), a palm-muted
	// chug, a short single-note lick, and a final chord left ringing.
	std::vector<CNote> notes;
	auto chord = [&notes] (double t, std::initializer_list<int> pitches, double len, double vel, bool muted) {
		double dt = 0;
		for (int p : pitches)
		{
			notes.push_back ({t + dt, p, len - dt, vel, muted});
			dt += 0.012;
			vel *= 0.93;
		}
	};
	chord (0.00, {40, 47, 52}, 0.46, 0.9, false);  // E5
	chord (0.50, {40, 47, 52}, 0.20, 0.7, true);
	chord (0.75, {40, 47, 52}, 0.20, 0.7, true);
	chord (1.00, {43, 50, 55}, 0.46, 0.9, false);  // G5
	chord (1.50, {45, 52, 57}, 0.95, 0.95, false); // A5
	chord (2.50, {40, 47, 52}, 0.20, 0.7, true);
	chord (2.75, {40, 47, 52}, 0.20, 0.7, true);
	chord (3.00, {50, 57, 62}, 0.46, 0.9, false);  // D5
	chord (3.50, {48, 55, 60}, 0.46, 0.9, false);  // C5
	const double dLick = 4.0;
	const int lick[] = {64, 67, 69, 71, 69, 67, 64};
	for (int i = 0; i < 7; ++i)
		notes.push_back ({dLick + 0.16 * i, lick[i], 0.17, i == 3 ? 1.0 : 0.8, false});
	chord (5.25, {40, 47, 52, 56}, 1.9, 1.0, false); // E major, ringing out

	const double dSeconds = 7.5;
	std::vector<double> mix (static_cast<std::size_t> (dSeconds * nSampleRate), 0.0);
	CNoise noise (0x4B6F7276u);
	for (const auto& n : notes)
		pluck (mix, nSampleRate, n, noise);

	// The pickup and its cable: a resonant low-pass near 4.5 kHz, as a guitar's output has.
	{
		const double w0 = 2.0 * M_PI * 4500.0 / nSampleRate, q = 1.1;
		const double alpha = std::sin (w0) / (2.0 * q), cw = std::cos (w0), a0 = 1.0 + alpha;
		const double b0 = (1.0 - cw) / 2.0 / a0, b1 = (1.0 - cw) / a0, b2 = b0;
		const double a1 = -2.0 * cw / a0, a2 = (1.0 - alpha) / a0;
		double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
		for (double& v : mix)
		{
			const double yv = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
			x2 = x1, x1 = v, y2 = y1, y1 = yv;
			v = yv;
		}
	}

	double dPeak = 0;
	for (double v : mix)
		dPeak = std::max (dPeak, std::fabs (v));
	const double dGain = dPeak > 0 ? std::pow (10.0, kDemoPeakDbfs / 20.0) / dPeak : 0.0;
	std::vector<float> out (mix.size ());
	for (std::size_t i = 0; i < mix.size (); ++i)
		out[i] = static_cast<float> (mix[i] * dGain);
	return out;
}

} // namespace render
} // namespace korvessa
