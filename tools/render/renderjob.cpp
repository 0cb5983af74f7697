#include "renderjob.h"

#include "text.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace korvessa {
namespace render {

int64_t CMemorySource::read (float* p, int64_t n, std::string&)
{
	const int64_t nLeft = frames () - m_nPos;
	const int64_t nRead = std::max<int64_t> (0, std::min (n, nLeft));
	std::memcpy (p, m_Samples.data () + m_nPos * m_nChannels, sizeof (float) * size_t (nRead * m_nChannels));
	m_nPos += nRead;
	return nRead;
}

double CRenderStats::realTimeFactor () const
{
	const double dAudio = nSampleRate > 0 ? double (nOutputFrames) / nSampleRate : 0.0;
	return dWallSeconds > 0 ? dAudio / dWallSeconds : 0.0;
}

std::string CRenderStats::summary () const
{
	char buf[64];
	std::snprintf (buf, sizeof buf, "%.1fx real time", realTimeFactor ());
	return "input peak " + formatDbfs (dInputPeak) + ", output peak " + formatDbfs (dOutputPeak) + ", " + buf;
}

namespace {

/** A one-line bar redrawn in place on stderr, only when stderr is a terminal. */
class CProgressBar
{
public:
	CProgressBar (bool bWanted, int64_t nTotal)
	    : m_bOn (bWanted && nTotal > 0 && ::isatty (STDERR_FILENO)), m_nTotal (nTotal) {}
	~CProgressBar ()
	{
		if (m_bOn && m_nShown >= 0)
			std::fprintf (stderr, "\r%60s\r", "");
	}
	void update (int64_t nDone)
	{
		if (!m_bOn)
			return;
		const int nPercent = static_cast<int> (std::min<int64_t> (100, nDone * 100 / m_nTotal));
		if (nPercent == m_nShown)
			return;
		m_nShown = nPercent;
		char bar[41];
		const int nFill = nPercent * 40 / 100;
		for (int i = 0; i < 40; ++i)
			bar[i] = i < nFill ? '#' : '.';
		bar[40] = 0;
		std::fprintf (stderr, "\rrendering [%s] %3d%%", bar, nPercent);
		std::fflush (stderr);
	}

private:
	bool m_bOn;
	int64_t m_nTotal; // frames
	int m_nShown = -1; // percent on screen
};

} // namespace

bool renderThrough (CPluginInstance& instance, CAudioSource& source, CAudioSink& sink,
                    const CRenderSettings& settings, CRenderStats& stats, CRenderCapture* pCapture,
                    std::string& szError)
{
	const int nCh = source.channels ();
	const int nBlock = std::max (1, settings.nBlock);
	stats = CRenderStats {};
	stats.nSampleRate = source.sampleRate ();
	if (!instance.start (source.sampleRate (), nCh, nBlock, szError))
		return false;

	int64_t nTail = 0;
	if (settings.bTail)
		nTail = std::min<int64_t> (instance.tailSamples (),
		                           static_cast<int64_t> (kMaxTailSeconds * source.sampleRate ()));
	const int64_t nExpected = source.frames () + nTail;
	if (pCapture)
	{
		pCapture->input.clear ();
		pCapture->output.clear ();
		pCapture->bTruncated = false;
		pCapture->input.reserve (static_cast<size_t> (std::clamp<int64_t> (source.frames (), 0, pCapture->nMaxFrames)));
		pCapture->output.reserve (static_cast<size_t> (std::clamp<int64_t> (nExpected, 0, pCapture->nMaxFrames)));
	}

	std::vector<float> interleaved (static_cast<size_t> (nBlock) * nCh);
	std::vector<std::vector<float>> planarIn (nCh, std::vector<float> (nBlock));
	std::vector<std::vector<float>> planarOut (nCh, std::vector<float> (nBlock));
	std::vector<const float*> inPtrs (nCh);
	std::vector<float*> outPtrs (nCh);
	for (int c = 0; c < nCh; ++c)
	{
		inPtrs[c] = planarIn[c].data ();
		outPtrs[c] = planarOut[c].data ();
	}

	CProgressBar progress (settings.bProgress, nExpected);
	const auto t0 = std::chrono::steady_clock::now ();
	bool bInputDone = false;
	int64_t nTailLeft = nTail;
	while (true)
	{
		int64_t n = 0;
		if (!bInputDone)
		{
			n = source.read (interleaved.data (), nBlock, szError);
			if (n < 0)
			{
				instance.stop ();
				return false;
			}
			if (n == 0)
				bInputDone = true;
		}
		if (bInputDone)
		{
			// The tail: silence in, until the reported tail has been rendered.
			n = std::min<int64_t> (nTailLeft, nBlock);
			if (n == 0)
				break;
			nTailLeft -= n;
			std::fill (interleaved.begin (), interleaved.begin () + n * nCh, 0.0f);
		}
		else
			stats.nInputFrames += n;

		for (int64_t i = 0; i < n; ++i)
			for (int c = 0; c < nCh; ++c)
			{
				const float v = interleaved[size_t (i * nCh + c)];
				planarIn[c][size_t (i)] = v;
				stats.dInputPeak = std::max (stats.dInputPeak, double (std::fabs (v)));
			}
		if (pCapture && !bInputDone)
			for (int64_t i = 0; i < n && int64_t (pCapture->input.size ()) < pCapture->nMaxFrames; ++i)
			{
				double s = 0;
				for (int c = 0; c < nCh; ++c)
					s += planarIn[c][size_t (i)];
				pCapture->input.push_back (static_cast<float> (s / nCh));
			}

		if (!instance.process (inPtrs.data (), outPtrs.data (), static_cast<int> (n)))
		{
			szError = "the plug-in failed to process a block";
			instance.stop ();
			return false;
		}

		for (int64_t i = 0; i < n; ++i)
		{
			double s = 0;
			for (int c = 0; c < nCh; ++c)
			{
				const float v = planarOut[c][size_t (i)];
				interleaved[size_t (i * nCh + c)] = v;
				stats.dOutputPeak = std::max (stats.dOutputPeak, double (std::fabs (v)));
				s += v;
			}
			if (pCapture && int64_t (pCapture->output.size ()) < pCapture->nMaxFrames)
				pCapture->output.push_back (static_cast<float> (s / nCh));
			else if (pCapture)
				pCapture->bTruncated = true;
		}
		if (!sink.write (interleaved.data (), n, szError))
		{
			instance.stop ();
			return false;
		}
		stats.nOutputFrames += n;
		progress.update (stats.nOutputFrames);
	}
	stats.dWallSeconds = std::chrono::duration<double> (std::chrono::steady_clock::now () - t0).count ();
	instance.stop ();
	return true;
}

} // namespace render
} // namespace korvessa
