// Running audio through a started plug-in instance, block by block: the source, the sink,
// the tail, the peaks, the progress bar and the real-time factor.
#pragma once

#include "audiofile.h"
#include "pluginhost.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvessa {
namespace render {

/** Where the input comes from (interleaved float frames). */
class CAudioSource
{
public:
	virtual ~CAudioSource () = default;
	virtual int channels () const = 0;
	virtual int sampleRate () const = 0;
	virtual int64_t frames () const = 0; // total, for the progress bar
	/** Up to nFrames into pInterleaved; the count read, 0 at the end, −1 on an error. */
	virtual int64_t read (float* pInterleaved, int64_t nFrames, std::string& szError) = 0;
};

/** Where the output goes. */
class CAudioSink
{
public:
	virtual ~CAudioSink () = default;
	virtual bool write (const float* pInterleaved, int64_t nFrames, std::string& szError) = 0;
};

class CFileSource : public CAudioSource
{
public:
	explicit CFileSource (CAudioFileReader& reader) : m_Reader (reader) {}
	int channels () const override { return m_Reader.channels (); }
	int sampleRate () const override { return m_Reader.sampleRate (); }
	int64_t frames () const override { return m_Reader.frames (); }
	int64_t read (float* p, int64_t n, std::string& e) override { return m_Reader.read (p, n, e); }

private:
	CAudioFileReader& m_Reader;
};

/** Interleaved samples held in memory (the demo phrase, benchmarks). */
class CMemorySource : public CAudioSource
{
public:
	CMemorySource (const std::vector<float>& samples, int nChannels, int nSampleRate)
	    : m_Samples (samples), m_nChannels (nChannels), m_nSampleRate (nSampleRate) {}
	int channels () const override { return m_nChannels; }
	int sampleRate () const override { return m_nSampleRate; }
	int64_t frames () const override { return static_cast<int64_t> (m_Samples.size ()) / m_nChannels; }
	int64_t read (float* p, int64_t n, std::string& e) override;

private:
	const std::vector<float>& m_Samples;
	int m_nChannels;
	int m_nSampleRate;    // Hz
	int64_t m_nPos = 0;   // frames read so far
};

class CFileSink : public CAudioSink
{
public:
	explicit CFileSink (CAudioFileWriter& writer) : m_Writer (writer) {}
	bool write (const float* p, int64_t n, std::string& e) override { return m_Writer.write (p, n, e); }

private:
	CAudioFileWriter& m_Writer;
};

/** Discards the output (benchmarks). */
class CNullSink : public CAudioSink
{
public:
	bool write (const float*, int64_t, std::string&) override { return true; }
};

struct CRenderStats
{
	double dInputPeak = 0;     // linear, largest |sample| over all channels
	double dOutputPeak = 0;    // linear
	int64_t nInputFrames = 0;
	int64_t nOutputFrames = 0; // input frames plus the tail
	int nSampleRate = 0;       // Hz
	double dWallSeconds = 0;   // time spent rendering
	/** Seconds of output audio per second of rendering. */
	double realTimeFactor () const;
	/** The last line of a render: both peaks and the real-time factor. */
	std::string summary () const;
};

/** The mean of the channels of input and output, kept for pictures; at most nMaxFrames of
    each, so a long file costs bounded memory. */
struct CRenderCapture
{
	std::vector<float> input;
	std::vector<float> output;
	int64_t nMaxFrames = int64_t (1) << 24; // about 5.8 minutes at 48 kHz
	bool bTruncated = false;                // the render was longer than nMaxFrames
};

struct CRenderSettings
{
	int nBlock = 512;        // samples per process call
	bool bTail = false;      // append the plug-in's tail
	bool bProgress = false;  // progress bar on stderr
};

/** The longest tail the renderer appends (an infinite tail is cut here too). */
constexpr double kMaxTailSeconds = 60.0;

/** Starts the instance at the source's rate and channel count, processes everything (and the
    tail), and stops it. The instance's preset and parameters are set beforehand. */
bool renderThrough (CPluginInstance& instance, CAudioSource& source, CAudioSink& sink,
                    const CRenderSettings& settings, CRenderStats& stats, CRenderCapture* pCapture,
                    std::string& szError);

} // namespace render
} // namespace korvessa
