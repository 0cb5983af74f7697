// The renderer's audio files where libsndfile is not available (the Windows build): WAV only.
// Reads PCM (8, 16, 24 and 32 bit) and float (32 and 64 bit) WAV files, plain or
// WAVE_FORMAT_EXTENSIBLE; writes 32-bit float WAV. Same interface and rules as audiofile.cpp:
// the output goes to a temporary file beside the target, renamed over it only when complete.
#include "audiofile.h"

#include "utf16.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>
#endif

struct CWavFile
{
	std::FILE* pFile = nullptr;
	int nFormat = 0;            // 1 PCM, 3 float
	int nBitsPerSample = 0;
	int nChannels = 0;
	int64_t nFramesLeft = 0;    // reader: frames not yet read
	int64_t nFramesWritten = 0; // writer
};

namespace korvessa {
namespace render {

namespace {

constexpr int kFormatPcm = 1;
constexpr int kFormatFloat = 3;
constexpr int kFormatExtensible = 0xFFFE;
constexpr int64_t kWavLimit = (int64_t (1) << 32) - (int64_t (1) << 20); // bytes, with room for headers

#if defined(_WIN32)
std::wstring widePath (const std::string& szPath)
{
	const std::u16string wide = Steinberg::Utf16::fromUtf8String (szPath);
	return std::wstring (wide.begin (), wide.end ());
}
#endif

std::FILE* openFile (const std::string& szPath, const char* szMode)
{
#if defined(_WIN32)
	const std::wstring mode (szMode, szMode + std::strlen (szMode));
	return _wfopen (widePath (szPath).c_str (), mode.c_str ());
#else
	return std::fopen (szPath.c_str (), szMode);
#endif
}

bool removeFile (const char* szPath)
{
#if defined(_WIN32)
	return DeleteFileW (widePath (szPath).c_str ()) != 0;
#else
	return ::unlink (szPath) == 0;
#endif
}

bool replaceFile (const std::string& szFrom, const std::string& szTo)
{
#if defined(_WIN32)
	return MoveFileExW (widePath (szFrom).c_str (), widePath (szTo).c_str (),
	                    MOVEFILE_REPLACE_EXISTING) != 0;
#else
	return std::rename (szFrom.c_str (), szTo.c_str ()) == 0;
#endif
}

bool isDirectory (const std::string& szPath)
{
#if defined(_WIN32)
	const DWORD attributes = GetFileAttributesW (widePath (szPath).c_str ());
	return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
	std::FILE* pProbe = std::fopen ((szPath + "/.").c_str (), "rb");
	if (pProbe)
		std::fclose (pProbe);
	return pProbe != nullptr;
#endif
}

std::string lowerExtension (const std::string& szPath)
{
	const auto nSlash = szPath.find_last_of ("/\\");
	const auto nDot = szPath.rfind ('.');
	if (nDot == std::string::npos || (nSlash != std::string::npos && nDot < nSlash))
		return "";
	std::string ext = szPath.substr (nDot + 1);
	for (auto& c : ext)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char> (c - 'A' + 'a');
	return ext;
}

uint32_t le32 (const unsigned char* p)
{
	return uint32_t (p[0]) | uint32_t (p[1]) << 8 | uint32_t (p[2]) << 16 | uint32_t (p[3]) << 24;
}

uint16_t le16 (const unsigned char* p)
{
	return static_cast<uint16_t> (p[0] | p[1] << 8);
}

void put32 (unsigned char* p, uint32_t v)
{
	for (int i = 0; i < 4; ++i)
		p[i] = static_cast<unsigned char> (v >> (8 * i));
}

void put16 (unsigned char* p, uint16_t v)
{
	p[0] = static_cast<unsigned char> (v);
	p[1] = static_cast<unsigned char> (v >> 8);
}

// The temporary file being written, for the interrupt handler (one writer at a time).
char g_szInterruptTemp[4096];
volatile std::sig_atomic_t g_bInterruptTempSet = 0;

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
		std::remove (g_szInterruptTemp);
	std::_Exit (128 + nSignal);
}

} // namespace

void installInterruptCleanup ()
{
	std::signal (SIGINT, onInterrupt);
	std::signal (SIGTERM, onInterrupt);
}

// ------------------------------------------------------------------------------------------

CAudioFileReader::~CAudioFileReader ()
{
	if (m_pFile)
	{
		if (m_pFile->pFile)
			std::fclose (m_pFile->pFile);
		delete m_pFile;
	}
}

bool CAudioFileReader::open (const std::string& szPath, std::string& szError)
{
	const std::string szWhy = "cannot read input '" + szPath + "': ";
	if (isDirectory (szPath))
	{
		szError = szWhy + "it is a directory";
		return false;
	}
	std::FILE* pFile = openFile (szPath, "rb");
	if (!pFile)
	{
		szError = szWhy + std::strerror (errno);
		return false;
	}
	m_pFile = new CWavFile;
	m_pFile->pFile = pFile;

	unsigned char acHeader[12];
	if (std::fread (acHeader, 1, 12, pFile) != 12 || std::memcmp (acHeader, "RIFF", 4) != 0 ||
	    std::memcmp (acHeader + 8, "WAVE", 4) != 0)
	{
		szError = szWhy + "not a WAV file (this build reads WAV only)";
		return false;
	}
	bool bHaveFormat = false;
	for (;;)
	{
		unsigned char acChunk[8];
		if (std::fread (acChunk, 1, 8, pFile) != 8)
		{
			szError = szWhy + "no audio data in the file";
			return false;
		}
		const uint32_t uSize = le32 (acChunk + 4);
		if (std::memcmp (acChunk, "fmt ", 4) == 0)
		{
			unsigned char acFormat[40] = {};
			const uint32_t uRead = uSize < sizeof acFormat ? uSize : sizeof acFormat;
			if (uSize < 16 || std::fread (acFormat, 1, uRead, pFile) != uRead ||
			    (uSize > uRead && std::fseek (pFile, long (uSize - uRead), SEEK_CUR) != 0))
			{
				szError = szWhy + "damaged format chunk";
				return false;
			}
			int nFormat = le16 (acFormat);
			if (nFormat == kFormatExtensible && uSize >= 26)
				nFormat = le16 (acFormat + 24);
			m_pFile->nFormat = nFormat;
			m_pFile->nChannels = le16 (acFormat + 2);
			m_nSampleRate = static_cast<int> (le32 (acFormat + 4));
			m_pFile->nBitsPerSample = le16 (acFormat + 14);
			const int nBits = m_pFile->nBitsPerSample;
			const bool bPcm = nFormat == kFormatPcm && (nBits == 8 || nBits == 16 || nBits == 24 || nBits == 32);
			const bool bFloat = nFormat == kFormatFloat && (nBits == 32 || nBits == 64);
			if (!bPcm && !bFloat)
			{
				szError = szWhy + "unsupported WAV encoding (format " + std::to_string (nFormat) + ", " +
				          std::to_string (nBits) + " bit)";
				return false;
			}
			bHaveFormat = true;
		}
		else if (std::memcmp (acChunk, "data", 4) == 0)
		{
			if (!bHaveFormat || m_pFile->nChannels <= 0 || m_nSampleRate <= 0)
			{
				szError = szWhy + "no audio in the file";
				return false;
			}
			m_nChannels = m_pFile->nChannels;
			m_nFrames = uSize / (int64_t (m_nChannels) * (m_pFile->nBitsPerSample / 8));
			m_pFile->nFramesLeft = m_nFrames;
			m_szPath = szPath;
			return true;
		}
		else if (std::fseek (pFile, long (uSize + (uSize & 1)), SEEK_CUR) != 0)
		{
			szError = szWhy + "damaged file";
			return false;
		}
	}
}

int64_t CAudioFileReader::read (float* pInterleaved, int64_t nFrames, std::string& szError)
{
	if (!m_pFile || !m_pFile->pFile)
		return 0;
	if (nFrames > m_pFile->nFramesLeft)
		nFrames = m_pFile->nFramesLeft;
	const int nBytes = m_pFile->nBitsPerSample / 8;
	const int64_t nSamples = nFrames * m_nChannels;
	std::vector<unsigned char> raw (static_cast<size_t> (nSamples * nBytes));
	const size_t nRead = std::fread (raw.data (), 1, raw.size (), m_pFile->pFile);
	if (nRead < raw.size () && std::ferror (m_pFile->pFile))
	{
		szError = "cannot read input '" + m_szPath + "': " + std::strerror (errno);
		return -1;
	}
	const int64_t nFramesRead = static_cast<int64_t> (nRead) / (int64_t (nBytes) * m_nChannels);
	for (int64_t i = 0; i < nFramesRead * m_nChannels; ++i)
	{
		const unsigned char* p = raw.data () + i * nBytes;
		float fValue = 0.0f;
		if (m_pFile->nFormat == kFormatFloat && nBytes == 4)
		{
			const uint32_t u = le32 (p);
			std::memcpy (&fValue, &u, 4);
		}
		else if (m_pFile->nFormat == kFormatFloat)
		{
			const uint64_t u = le32 (p) | uint64_t (le32 (p + 4)) << 32;
			double dValue = 0.0;
			std::memcpy (&dValue, &u, 8);
			fValue = static_cast<float> (dValue);
		}
		else if (nBytes == 1)
			fValue = (int (p[0]) - 128) / 128.0f;
		else if (nBytes == 2)
			fValue = static_cast<int16_t> (le16 (p)) / 32768.0f;
		else if (nBytes == 3)
		{
			const uint32_t u = uint32_t (p[0]) << 8 | uint32_t (p[1]) << 16 | uint32_t (p[2]) << 24;
			fValue = static_cast<float> (static_cast<int32_t> (u) / 2147483648.0);
		}
		else
			fValue = static_cast<float> (static_cast<int32_t> (le32 (p)) / 2147483648.0);
		pInterleaved[i] = fValue;
	}
	m_pFile->nFramesLeft -= nFramesRead;
	return nFramesRead;
}

// ------------------------------------------------------------------------------------------

CAudioFileWriter::~CAudioFileWriter ()
{
	discard ();
}

int CAudioFileWriter::formatFor (const std::string& szPath, std::string& szError)
{
	if (lowerExtension (szPath) == "wav")
		return kFormatFloat;
	szError = "unsupported output format '" + szPath + "' (this build writes .wav only)";
	return 0;
}

bool CAudioFileWriter::open (const std::string& szPath, int nChannels, int nSampleRate,
                             int64_t nExpectedFrames, std::string& szError)
{
	if (!formatFor (szPath, szError))
		return false;
	if (nExpectedFrames * nChannels * 4 > kWavLimit)
	{
		szError = "cannot write '" + szPath + "': beyond the 4 GB a WAV file can hold";
		return false;
	}
	m_szTarget = szPath;
	m_szTemp = szPath + ".part";
	std::FILE* pFile = openFile (m_szTemp, "wb");
	if (!pFile)
	{
		szError = "cannot write '" + szPath + "': " + std::strerror (errno);
		m_szTemp.clear ();
		return false;
	}
	rememberTemp (m_szTemp);
	m_pFile = new CWavFile;
	m_pFile->pFile = pFile;
	m_pFile->nChannels = nChannels;
	m_pFile->nFormat = kFormatFloat;
	m_pFile->nBitsPerSample = 32;

	// RIFF header, format chunk (IEEE float), data chunk; the sizes are set by commit().
	unsigned char acHeader[44] = {};
	std::memcpy (acHeader, "RIFF", 4);
	std::memcpy (acHeader + 8, "WAVEfmt ", 8);
	put32 (acHeader + 16, 16);
	put16 (acHeader + 20, kFormatFloat);
	put16 (acHeader + 22, static_cast<uint16_t> (nChannels));
	put32 (acHeader + 24, static_cast<uint32_t> (nSampleRate));
	put32 (acHeader + 28, static_cast<uint32_t> (nSampleRate * nChannels * 4));
	put16 (acHeader + 32, static_cast<uint16_t> (nChannels * 4));
	put16 (acHeader + 34, 32);
	std::memcpy (acHeader + 36, "data", 4);
	if (std::fwrite (acHeader, 1, sizeof acHeader, pFile) != sizeof acHeader)
	{
		szError = "cannot write '" + szPath + "': " + std::strerror (errno);
		discard ();
		return false;
	}
	return true;
}

bool CAudioFileWriter::write (const float* pInterleaved, int64_t nFrames, std::string& szError)
{
	if (!m_pFile)
	{
		szError = "cannot write '" + m_szTarget + "': the file is not open";
		return false;
	}
	const int64_t nSamples = nFrames * m_pFile->nChannels;
	if ((m_pFile->nFramesWritten + nFrames) * m_pFile->nChannels * 4 > kWavLimit)
	{
		szError = "cannot write '" + m_szTarget + "': beyond the 4 GB a WAV file can hold";
		return false;
	}
	std::vector<unsigned char> raw (static_cast<size_t> (nSamples * 4));
	for (int64_t i = 0; i < nSamples; ++i)
	{
		uint32_t u = 0;
		std::memcpy (&u, pInterleaved + i, 4);
		put32 (raw.data () + i * 4, u);
	}
	if (std::fwrite (raw.data (), 1, raw.size (), m_pFile->pFile) != raw.size ())
	{
		szError = "cannot write '" + m_szTarget + "': " + std::strerror (errno);
		return false;
	}
	m_pFile->nFramesWritten += nFrames;
	return true;
}

bool CAudioFileWriter::commit (std::string& szError)
{
	if (!m_pFile)
	{
		szError = "cannot write '" + m_szTarget + "': the file is not open";
		return false;
	}
	const uint32_t uData = static_cast<uint32_t> (m_pFile->nFramesWritten * m_pFile->nChannels * 4);
	unsigned char acSize[4];
	bool bOk = true;
	put32 (acSize, 36 + uData);
	bOk = bOk && std::fseek (m_pFile->pFile, 4, SEEK_SET) == 0 && std::fwrite (acSize, 1, 4, m_pFile->pFile) == 4;
	put32 (acSize, uData);
	bOk = bOk && std::fseek (m_pFile->pFile, 40, SEEK_SET) == 0 && std::fwrite (acSize, 1, 4, m_pFile->pFile) == 4;
	bOk = std::fclose (m_pFile->pFile) == 0 && bOk;
	m_pFile->pFile = nullptr;
	delete m_pFile;
	m_pFile = nullptr;
	if (!bOk || !replaceFile (m_szTemp, m_szTarget))
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
		if (m_pFile->pFile)
			std::fclose (m_pFile->pFile);
		delete m_pFile;
		m_pFile = nullptr;
	}
	if (!m_szTemp.empty ())
	{
		rememberTemp ("");
		removeFile (m_szTemp.c_str ());
		m_szTemp.clear ();
	}
}

} // namespace render
} // namespace korvessa
