#include "audiofile.h"

#include <sndfile.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace korvessa {
namespace render {

namespace {

std::string lowerExtension (const std::string& szPath)
{
	const auto nSlash = szPath.rfind ('/');
	const auto nDot = szPath.rfind ('.');
	if (nDot == std::string::npos || (nSlash != std::string::npos && nDot < nSlash))
		return "";
	std::string ext = szPath.substr (nDot + 1);
	for (auto& c : ext)
		c = static_cast<char> (std::tolower (static_cast<unsigned char> (c)));
	return ext;
}

// The temporary file being written, for the signal handler (one writer at a time).
char g_szInterruptTemp[4096];
volatile sig_atomic_t g_bInterruptTempSet = 0;

void rememberTemp (const std::string& szPath)
{
	g_bInterruptTempSet = 0;
	if (szPath.empty () || szPath.size () >= sizeof g_szInterruptTemp)
		return;
	std::memcpy (g_szInterruptTemp, szPath.c_str (), szPath.size () + 1);
	g_bInterruptTempSet = 1;
}

extern "C" void onInterrupt (int nSignal)
{
	if (g_bInterruptTempSet)
		::unlink (g_szInterruptTemp);
	::_exit (128 + nSignal);
}

} // namespace

void installInterruptCleanup ()
{
	struct sigaction sa {};
	sa.sa_handler = onInterrupt;
	sigemptyset (&sa.sa_mask);
	for (int nSignal : {SIGINT, SIGTERM, SIGHUP})
		::sigaction (nSignal, &sa, nullptr);
}

// ------------------------------------------------------------------------------------------

CAudioFileReader::~CAudioFileReader ()
{
	if (m_pFile)
		sf_close (m_pFile);
}

bool CAudioFileReader::open (const std::string& szPath, std::string& szError)
{
	struct stat st {};
	if (::stat (szPath.c_str (), &st) != 0)
	{
		szError = "cannot read input '" + szPath + "': " + std::strerror (errno);
		return false;
	}
	if (S_ISDIR (st.st_mode))
	{
		szError = "cannot read input '" + szPath + "': it is a directory";
		return false;
	}
	SF_INFO info {};
	m_pFile = sf_open (szPath.c_str (), SFM_READ, &info);
	if (!m_pFile)
	{
		szError = "cannot read input '" + szPath + "': " + sf_strerror (nullptr);
		return false;
	}
	if (info.samplerate <= 0 || info.channels <= 0)
	{
		szError = "cannot read input '" + szPath + "': no audio in the file";
		return false;
	}
	m_szPath = szPath;
	m_nChannels = info.channels;
	m_nSampleRate = info.samplerate;
	m_nFrames = info.frames;
	return true;
}

int64_t CAudioFileReader::read (float* pInterleaved, int64_t nFrames, std::string& szError)
{
	const sf_count_t n = sf_readf_float (m_pFile, pInterleaved, nFrames);
	if (n < nFrames && sf_error (m_pFile) != SF_ERR_NO_ERROR)
	{
		szError = "cannot read input '" + m_szPath + "': " + sf_strerror (m_pFile);
		return -1;
	}
	return n;
}

// ------------------------------------------------------------------------------------------

CAudioFileWriter::~CAudioFileWriter ()
{
	discard ();
}

int CAudioFileWriter::formatFor (const std::string& szPath, std::string& szError)
{
	const std::string ext = lowerExtension (szPath);
	if (ext == "wav")
		return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	if (ext == "flac")
		return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
	if (ext == "aif" || ext == "aiff")
		return SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
	if (ext == "ogg" || ext == "oga")
		return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
	szError = "unsupported output format '" + (ext.empty () ? szPath : "." + ext) +
	          "' (use .wav, .flac, .aiff or .ogg)";
	return 0;
}

bool CAudioFileWriter::open (const std::string& szPath, int nChannels, int nSampleRate,
                             int64_t nExpectedFrames, std::string& szError)
{
	int nFormat = formatFor (szPath, szError);
	if (!nFormat)
		return false;
	// A WAV file cannot pass 4 GB; longer float renders go to its 64-bit form, RF64.
	constexpr int64_t kWavLimit = (int64_t (1) << 32) - (int64_t (1) << 20); // bytes, with room for headers
	if ((nFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV && nExpectedFrames * nChannels * 4 > kWavLimit)
		nFormat = SF_FORMAT_RF64 | SF_FORMAT_FLOAT;
	SF_INFO info {};
	info.channels = nChannels;
	info.samplerate = nSampleRate;
	info.format = nFormat;
	if (!sf_format_check (&info))
	{
		szError = "cannot write '" + szPath + "': the format does not support " +
		          std::to_string (nChannels) + " channels at " + std::to_string (nSampleRate) + " Hz";
		return false;
	}

	// The temporary file lives beside the target so the final rename stays on one file system.
	const auto nSlash = szPath.rfind ('/');
	const std::string szDir = nSlash == std::string::npos ? "" : szPath.substr (0, nSlash + 1);
	const std::string szBase = nSlash == std::string::npos ? szPath : szPath.substr (nSlash + 1);
	std::vector<char> templ;
	const std::string szTemplate = szDir + "." + szBase + ".part-XXXXXX";
	templ.assign (szTemplate.begin (), szTemplate.end ());
	templ.push_back (0);
	const int fd = ::mkstemp (templ.data ());
	if (fd < 0)
	{
		szError = "cannot write '" + szPath + "': " + std::strerror (errno);
		return false;
	}
	m_szTemp = templ.data ();
	m_szTarget = szPath;
	rememberTemp (m_szTemp);
	// mkstemp creates the file private; give it the permissions a new file normally gets.
	const mode_t mask = ::umask (0);
	::umask (mask);
	::fchmod (fd, 0666 & ~mask);

	m_pFile = sf_open_fd (fd, SFM_WRITE, &info, SF_TRUE);
	if (!m_pFile)
	{
		szError = "cannot write '" + szPath + "': " + sf_strerror (nullptr);
		::close (fd);
		discard ();
		return false;
	}
	// Integer formats clip instead of wrapping around on overs.
	sf_command (m_pFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
	return true;
}

bool CAudioFileWriter::write (const float* pInterleaved, int64_t nFrames, std::string& szError)
{
	if (!m_pFile)
	{
		szError = "cannot write '" + m_szTarget + "': the file is not open";
		return false;
	}
	if (sf_writef_float (m_pFile, pInterleaved, nFrames) != nFrames)
	{
		szError = "cannot write '" + m_szTarget + "': " + sf_strerror (m_pFile);
		return false;
	}
	return true;
}

bool CAudioFileWriter::commit (std::string& szError)
{
	if (!m_pFile)
	{
		szError = "cannot write '" + m_szTarget + "': the file is not open";
		return false;
	}
	sf_write_sync (m_pFile);
	const int nClose = sf_close (m_pFile);
	m_pFile = nullptr;
	if (nClose != 0)
	{
		szError = "cannot write '" + m_szTarget + "': " + sf_error_number (nClose);
		discard ();
		return false;
	}
	if (::rename (m_szTemp.c_str (), m_szTarget.c_str ()) != 0)
	{
		szError = "cannot write '" + m_szTarget + "': " + std::strerror (errno);
		discard ();
		return false;
	}
	m_szTemp.clear ();
	rememberTemp ("");
	return true;
}

void CAudioFileWriter::discard ()
{
	if (m_pFile)
	{
		sf_close (m_pFile);
		m_pFile = nullptr;
	}
	if (!m_szTemp.empty ())
	{
		rememberTemp ("");
		::unlink (m_szTemp.c_str ());
		m_szTemp.clear ();
	}
}

} // namespace render
} // namespace korvessa
