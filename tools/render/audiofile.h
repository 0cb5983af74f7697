// Audio files through libsndfile: reading any format it knows, and writing by the output's
// extension (.wav 32-bit float, as RF64 beyond 4 GB; .flac and .aiff 24-bit; .ogg Vorbis).
// Where libsndfile is not available (the Windows build, KORVESSA_RENDER_WAV_ONLY) wavfile.cpp
// implements the same interface for WAV files only.
// Output goes to a temporary file beside the target and is renamed over it only when complete.
#pragma once

#include <cstdint>
#include <string>

#if KORVESSA_RENDER_WAV_ONLY
typedef struct CWavFile SNDFILE;
#else
typedef struct sf_private_tag SNDFILE;
#endif

namespace korvessa {
namespace render {

/** Reads interleaved float frames from a file. */
class CAudioFileReader
{
public:
	CAudioFileReader () = default;
	~CAudioFileReader ();
	CAudioFileReader (const CAudioFileReader&) = delete;
	CAudioFileReader& operator= (const CAudioFileReader&) = delete;

	bool open (const std::string& szPath, std::string& szError);
	int channels () const { return m_nChannels; }
	int sampleRate () const { return m_nSampleRate; }
	int64_t frames () const { return m_nFrames; }
	/** Reads up to nFrames; answers the count read (0 at the end) or -1 on a read error. */
	int64_t read (float* pInterleaved, int64_t nFrames, std::string& szError);

private:
	SNDFILE* m_pFile = nullptr;
	std::string m_szPath;
	int m_nChannels = 0;
	int m_nSampleRate = 0;  // Hz
	int64_t m_nFrames = 0;  // total frames in the file
};

/** Removes the output's temporary file when the renderer is interrupted (SIGINT, SIGTERM,
    SIGHUP), then exits with 128 + the signal number. Call once at start-up. */
void installInterruptCleanup ();

/** Writes interleaved float frames to a temporary file; commit() renames it to the target,
    and destruction without commit() removes it, so a failed run leaves no output behind. */
class CAudioFileWriter
{
public:
	CAudioFileWriter () = default;
	~CAudioFileWriter ();
	CAudioFileWriter (const CAudioFileWriter&) = delete;
	CAudioFileWriter& operator= (const CAudioFileWriter&) = delete;

	/** The libsndfile format for a path's extension, or 0 with a message. */
	static int formatFor (const std::string& szPath, std::string& szError);

	/** nExpectedFrames (input plus tail) only chooses RF64 for WAV files beyond 4 GB. */
	bool open (const std::string& szPath, int nChannels, int nSampleRate, int64_t nExpectedFrames,
	           std::string& szError);
	bool write (const float* pInterleaved, int64_t nFrames, std::string& szError);
	bool commit (std::string& szError);
	/** Closes and deletes the temporary file (also done by the destructor). */
	void discard ();

private:
	SNDFILE* m_pFile = nullptr;
	std::string m_szTarget;
	std::string m_szTemp;  // empty once committed or discarded
};

} // namespace render
} // namespace korvessa
