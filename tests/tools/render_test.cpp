// korvessa-render as a user runs it: a separate process, real files, exit codes and messages.
#include "demophrase.h"
#include "fftlevels.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct CRun
{
	int nCode = -1;
	std::string szOut;
	std::string szErr;
};

std::string slurp (const fs::path& p)
{
	std::ifstream f (p);
	std::stringstream ss;
	ss << f.rdbuf ();
	return ss.str ();
}

struct CAudio
{
	int nChannels = 0;
	int nRate = 0;
	int nFormat = 0;
	std::vector<float> samples; // interleaved
	std::size_t frames () const { return nChannels ? samples.size () / nChannels : 0; }
};

bool writeWav (const fs::path& p, int nChannels, int nRate, const std::vector<float>& samples)
{
	SF_INFO info {};
	info.channels = nChannels;
	info.samplerate = nRate;
	info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	SNDFILE* f = sf_open (p.c_str (), SFM_WRITE, &info);
	if (!f)
		return false;
	const sf_count_t n = static_cast<sf_count_t> (samples.size () / nChannels);
	const bool bOk = sf_writef_float (f, samples.data (), n) == n;
	sf_close (f);
	return bOk;
}

CAudio readAudio (const fs::path& p)
{
	CAudio a;
	SF_INFO info {};
	SNDFILE* f = sf_open (p.c_str (), SFM_READ, &info);
	if (!f)
		return a;
	a.nChannels = info.channels;
	a.nRate = info.samplerate;
	a.nFormat = info.format;
	a.samples.resize (static_cast<std::size_t> (info.frames * info.channels));
	a.samples.resize (static_cast<std::size_t> (sf_readf_float (f, a.samples.data (), info.frames) * info.channels));
	sf_close (f);
	return a;
}

/** A deterministic test signal: two detuned tones and a slow ramp, different per channel. */
std::vector<float> testSignal (int nChannels, std::size_t nFrames)
{
	std::vector<float> s (nFrames * nChannels);
	for (std::size_t i = 0; i < nFrames; ++i)
		for (int c = 0; c < nChannels; ++c)
			s[i * nChannels + c] = static_cast<float> (0.4 * std::sin (0.031 * i * (c + 1)) +
			                                           0.2 * std::sin (0.0017 * i + c) + 1e-5 * double (i % 97));
	return s;
}

class RenderTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		char templ[] = "/tmp/korvessa-render-test-XXXXXX";
		ASSERT_NE (::mkdtemp (templ), nullptr);
		m_Dir = templ;
	}
	void TearDown () override
	{
		std::error_code ec;
		fs::remove_all (m_Dir, ec);
	}

	fs::path file (const std::string& name) const { return m_Dir / name; }

	/** Runs the renderer with stdout and stderr captured; stderr is a file, not a terminal. */
	CRun run (const std::vector<std::string>& args)
	{
		const fs::path out = m_Dir / "stdout.txt", err = m_Dir / "stderr.txt";
		std::vector<std::string> argv {RENDER_TOOL};
		argv.insert (argv.end (), args.begin (), args.end ());
		std::vector<char*> ptrs;
		for (auto& a : argv)
			ptrs.push_back (&a[0]);
		ptrs.push_back (nullptr);
		posix_spawn_file_actions_t fa;
		posix_spawn_file_actions_init (&fa);
		posix_spawn_file_actions_addopen (&fa, 1, out.c_str (), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		posix_spawn_file_actions_addopen (&fa, 2, err.c_str (), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		pid_t pid = 0;
		CRun r;
		if (posix_spawn (&pid, RENDER_TOOL, &fa, nullptr, ptrs.data (), environ) == 0)
		{
			int status = 0;
			::waitpid (pid, &status, 0);
			r.nCode = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
		}
		posix_spawn_file_actions_destroy (&fa);
		r.szOut = slurp (out);
		r.szErr = slurp (err);
		fs::remove (out);
		fs::remove (err);
		return r;
	}

	/** The files in the test folder, for checking that nothing was left behind. */
	std::vector<std::string> listing () const
	{
		std::vector<std::string> names;
		for (const auto& e : fs::directory_iterator (m_Dir))
			names.push_back (e.path ().filename ().string ());
		std::sort (names.begin (), names.end ());
		return names;
	}

	fs::path m_Dir;
};

/** The cell of a --list-params row under a column heading. */
std::string column (const std::string& listing, const std::string& title, const std::string& heading)
{
	std::istringstream in (listing);
	std::string header, line;
	std::getline (in, header);
	const auto nCol = header.find (heading);
	const auto nTitle = header.find ("Title");
	if (nCol == std::string::npos || nTitle == std::string::npos)
		return "<no column " + heading + ">";
	while (std::getline (in, line))
		if (line.size () > nTitle && line.compare (nTitle, title.size () + 2, title + "  ") == 0)
		{
			std::string cell = line.size () > nCol ? line.substr (nCol) : "";
			const auto nEnd = cell.find ("  ");
			cell = cell.substr (0, nEnd);
			while (!cell.empty () && cell.back () == ' ')
				cell.pop_back ();
			return cell;
		}
	return "<no row " + title + ">";
}

// ------------------------------------------------------------------------------------------
// The host's behaviour, through the fixture plug-in (out = in × gain × polarity).

TEST_F (RenderTest, PresetAndSetValuesApplyFromTheFirstSample)
{
	const auto in = testSignal (2, 3001);
	ASSERT_TRUE (writeWav (file ("in.wav"), 2, 44100, in));
	struct
	{
		std::vector<std::string> args;
		double dGain;
	} cases[] = {
	    {{}, 1.0},
	    {{"--set", "Gain=0.5"}, 0.5},
	    {{"--set", "gain = 1.75"}, 1.75},
	    {{"--set", "Gain=1.5 x"}, 1.5}, // with the parameter's unit
	    {{"--preset", "half gain"}, 0.5},
	    {{"--preset", "2"}, -0.25},
	    {{"--preset", "Inverted Quarter", "--set", "Polarity=normal"}, 0.25},
	    {{"--set", "Gain=2", "--preset", "Unity"}, 2.0}, // --set always follows the preset
	    {{"--set", "Polarity=1"}, -1.0},                 // a list entry by index
	    {{"--set", "Bypass=0", "--set", "Gain=0.5"}, 0.5}, // the bypass change goes last
	    {{"--set", "Bypass=1", "--set", "Gain=0.5"}, 1.0},
	};
	// The same through a plug-in made of one object and through one with a separate controller.
	for (const char* szBundle : {FIXTURE_BUNDLE, SPLIT_FIXTURE_BUNDLE})
		for (const auto& c : cases)
		{
			std::vector<std::string> args {file ("in.wav"), file ("out.wav"), "--plugin", szBundle};
			args.insert (args.end (), c.args.begin (), c.args.end ());
			const CRun r = run (args);
			ASSERT_EQ (r.nCode, 0) << r.szErr;
			const CAudio out = readAudio (file ("out.wav"));
			ASSERT_EQ (out.nChannels, 2);
			ASSERT_EQ (out.samples.size (), in.size ());
			std::size_t nWrong = 0;
			for (std::size_t i = 0; i < in.size (); ++i)
				nWrong += out.samples[i] != static_cast<float> (double (in[i]) * c.dGain);
			EXPECT_EQ (nWrong, 0u) << szBundle << ": gain " << c.dGain;
		}
}

TEST_F (RenderTest, BlocksTailChannelsAndFormat)
{
	struct
	{
		int nChannels;
		std::size_t nFrames;
		std::string block;
		bool bTail;
	} cases[] = {
	    {1, 1000, "1", false}, {1, 5000, "37", true}, {2, 4096, "512", true}, {2, 100, "4096", false}, {2, 0, "64", true},
	};
	for (const auto& c : cases)
	{
		const auto in = testSignal (c.nChannels, c.nFrames);
		ASSERT_TRUE (writeWav (file ("in.wav"), c.nChannels, 48000, in));
		std::vector<std::string> args {file ("in.wav"), file ("out.wav"), "--plugin", FIXTURE_BUNDLE,
		                               "--set", "Gain=0.5", "--block", c.block};
		if (c.bTail)
			args.push_back ("--tail");
		const CRun r = run (args);
		ASSERT_EQ (r.nCode, 0) << r.szErr;
		const CAudio out = readAudio (file ("out.wav"));
		EXPECT_EQ (out.nChannels, c.nChannels);
		EXPECT_EQ (out.nRate, 48000);
		EXPECT_EQ (out.nFormat, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
		const std::size_t nTail = c.bTail ? 1000 : 0; // the fixture's tail
		ASSERT_EQ (out.frames (), c.nFrames + nTail) << "block " << c.block;
		std::size_t nWrong = 0;
		for (std::size_t i = 0; i < out.samples.size (); ++i)
			nWrong += out.samples[i] != (i < in.size () ? static_cast<float> (double (in[i]) * 0.5) : 0.0f);
		EXPECT_EQ (nWrong, 0u) << "block " << c.block;
		// The last line reports both peaks and the speed.
		EXPECT_NE (r.szOut.find ("input peak"), std::string::npos) << r.szOut;
		EXPECT_NE (r.szOut.find ("real time"), std::string::npos) << r.szOut;
		EXPECT_TRUE (r.szErr.empty ()) << r.szErr; // no progress bar without a terminal
	}
}

TEST_F (RenderTest, OutputFormatFollowsTheExtension)
{
	const auto in = testSignal (2, 2000);
	ASSERT_TRUE (writeWav (file ("in.wav"), 2, 44100, in));
	struct
	{
		std::string name;
		int nMajor;
		double dTolerance; // quantization of the format
	} cases[] = {{"o.flac", SF_FORMAT_FLAC, 1.0 / (1 << 23)}, {"o.AIFF", SF_FORMAT_AIFF, 1.0 / (1 << 23)},
	             {"o.ogg", SF_FORMAT_OGG, -1}};
	for (const auto& c : cases)
	{
		const CRun r = run ({file ("in.wav"), file (c.name), "--plugin", FIXTURE_BUNDLE});
		ASSERT_EQ (r.nCode, 0) << r.szErr;
		const CAudio out = readAudio (file (c.name));
		EXPECT_EQ (out.nFormat & SF_FORMAT_TYPEMASK, c.nMajor) << c.name;
		EXPECT_EQ (out.nChannels, 2);
		EXPECT_EQ (out.nRate, 44100);
		if (c.dTolerance > 0)
		{
			ASSERT_EQ (out.samples.size (), in.size ());
			double dWorst = 0;
			for (std::size_t i = 0; i < in.size (); ++i)
				dWorst = std::max (dWorst, std::fabs (double (out.samples[i]) - in[i]));
			EXPECT_LE (dWorst, c.dTolerance) << c.name;
		}
	}
}

TEST_F (RenderTest, ListParamsReadsBackPresetAndSetValues)
{
	const CRun r = run ({"--plugin", FIXTURE_BUNDLE, "--preset", "Inverted Quarter", "--set", "Gain=1.25", "--list-params"});
	ASSERT_EQ (r.nCode, 0) << r.szErr;
	EXPECT_EQ (column (r.szOut, "Gain", "Value"), "1.250");
	EXPECT_EQ (column (r.szOut, "Polarity", "Value"), "Invert"); // from the preset
	EXPECT_EQ (column (r.szOut, "Gain", "Default"), "1.000");
	EXPECT_EQ (column (r.szOut, "Gain", "Units"), "x");
	EXPECT_EQ (column (r.szOut, "Gain", "Range / entries"), "0.000 .. 2.000");
	EXPECT_EQ (column (r.szOut, "Polarity", "Range / entries"), "Normal | Invert");

	const CRun p = run ({"--plugin", FIXTURE_BUNDLE, "--list-presets"});
	ASSERT_EQ (p.nCode, 0) << p.szErr;
	EXPECT_EQ (p.szOut, "0  Unity\n1  Half Gain\n2  Inverted Quarter\n");
}

TEST_F (RenderTest, EveryErrorExplainsItselfAndLeavesNoOutput)
{
	ASSERT_TRUE (writeWav (file ("in.wav"), 2, 48000, testSignal (2, 500)));
	ASSERT_TRUE (writeWav (file ("three.wav"), 3, 48000, testSignal (3, 500)));
	std::ofstream (file ("garbage.wav")) << "this is not audio";
	const std::string in = file ("in.wav"), out = file ("out.wav");
	const std::string fx = FIXTURE_BUNDLE;
	struct
	{
		std::vector<std::string> args;
		int nCode;
		std::string message; // a part of the one line on stderr
	} cases[] = {
	    {{file ("missing.wav"), out, "--plugin", fx}, 1, "cannot read input"},
	    {{file ("garbage.wav"), out, "--plugin", fx}, 1, "cannot read input"},
	    {{m_Dir.string (), out, "--plugin", fx}, 1, "is a directory"},
	    {{file ("three.wav"), out, "--plugin", fx}, 1, "only mono and stereo"},
	    {{in, file ("out.mp3"), "--plugin", fx}, 1, "unsupported output format '.mp3'"},
	    {{in, file ("no-such-dir/out.wav"), "--plugin", fx}, 1, "cannot write"},
	    {{in, out, "--plugin", fx, "--preset", "Loud"}, 1, "unknown preset 'Loud'; valid presets: Unity, Half Gain"},
	    {{in, out, "--plugin", fx, "--preset", "3"}, 1, "unknown preset '3'"},
	    {{in, out, "--plugin", fx, "--set", "Drive=1"}, 1, "unknown parameter 'Drive'; valid titles: Gain, Polarity, Bypass"},
	    {{in, out, "--plugin", fx, "--set", "Gain=loud"}, 1, "cannot parse 'loud' as a value of 'Gain'"},
	    {{in, out, "--plugin", fx, "--set", "Gain=5"}, 1, "outside the range of 'Gain' (0.000 .. 2.000)"},
	    {{in, out, "--plugin", fx, "--set", "Polarity=Sideways"}, 1, "cannot parse"},
	    {{in, out, "--plugin", fx, "--set", "Polarity=2"}, 1, "cannot parse"},
	    {{in, out, "--plugin", fx, "--set", "Presets=Unity"}, 1, "use --preset"},
	    {{in, out, "--plugin", file ("none.vst3")}, 1, "cannot load plug-in"},
	    {{in, out, "--plugin", in}, 1, "cannot load plug-in"},
	    {{in, out, "--plugin", fx, "--block", "0"}, 2, "--block expects a whole number"},
	    {{in, out, "--plugin", fx, "--set", "Gain"}, 2, "--set expects NAME=VALUE"},
	    {{in, out, "--plugin", fx, "--plot", file ("p.jpg")}, 2, "PNG"},
	    {{in, out, "--plugin", fx, "--plot", file ("no-such-dir/p.png")}, 1, "cannot write picture"},
	    {{"--plugin", fx, "--demo", in}, 1, "is not a folder"},
	    {{in, "--plugin", fx}, 2, "expected an input and an output file"},
	    {{in, out, "--bogus"}, 2, "unknown option '--bogus'"},
	};
	const auto before = listing ();
	for (const auto& c : cases)
	{
		const CRun r = run (c.args);
		EXPECT_EQ (r.nCode, c.nCode) << c.message;
		EXPECT_NE (r.szErr.find (c.message), std::string::npos) << "stderr: " << r.szErr;
		EXPECT_EQ (std::count (r.szErr.begin (), r.szErr.end (), '\n'), 1) << r.szErr;
		EXPECT_EQ (listing (), before) << c.message; // no output, no temporary file
	}
}

TEST_F (RenderTest, PlotWritesAPicture)
{
	ASSERT_TRUE (writeWav (file ("in.wav"), 1, 48000, testSignal (1, 20000)));
	const CRun r = run ({file ("in.wav"), file ("out.wav"), "--plugin", FIXTURE_BUNDLE, "--plot", file ("plot.png")});
	ASSERT_EQ (r.nCode, 0) << r.szErr;
	std::ifstream png (file ("plot.png"), std::ios::binary);
	char sig[8] {};
	png.read (sig, 8);
	EXPECT_EQ (std::string (sig, 8), std::string ("\x89PNG\r\n\x1a\n", 8));
}

TEST_F (RenderTest, DemoRendersThePhraseThroughEveryPreset)
{
	const fs::path dir = m_Dir / "demo" / "nested";
	const CRun r = run ({"--plugin", FIXTURE_BUNDLE, "--demo", dir.string ()});
	ASSERT_EQ (r.nCode, 0) << r.szErr;
	EXPECT_TRUE (fs::exists (dir / "overview.png"));
	const CAudio unity = readAudio (dir / "Unity.wav");
	const CAudio half = readAudio (dir / "Half Gain.wav");
	const CAudio quarter = readAudio (dir / "Inverted Quarter.wav");
	const std::vector<float> phrase = korvessa::render::synthesizeDemoPhrase ();
	ASSERT_EQ (unity.nChannels, 1);
	EXPECT_EQ (unity.nRate, korvessa::render::kDemoSampleRate);
	ASSERT_EQ (unity.frames (), phrase.size () + 1000); // with the tail
	ASSERT_EQ (half.samples.size (), unity.samples.size ());
	ASSERT_EQ (quarter.samples.size (), unity.samples.size ());
	std::size_t nWrong = 0;
	for (std::size_t i = 0; i < unity.samples.size (); ++i)
	{
		const float x = i < phrase.size () ? phrase[i] : 0.0f;
		nWrong += unity.samples[i] != x;
		nWrong += half.samples[i] != static_cast<float> (double (x) * 0.5);
		nWrong += quarter.samples[i] != static_cast<float> (double (x) * -0.25);
	}
	EXPECT_EQ (nWrong, 0u);
	EXPECT_NE (r.szOut.find (dir.string ()), std::string::npos) << r.szOut; // says where the files are
}

// ------------------------------------------------------------------------------------------
// The Korvessa bundle of this build, end to end. Nothing here depends on how it sounds.

#ifdef KORVESSA_MODULE

TEST_F (RenderTest, KorvessaPresetByNameOrIndexAndBlockSizeGiveIdenticalOutput)
{
	for (int nChannels : {1, 2})
	{
		ASSERT_TRUE (writeWav (file ("in.wav"), nChannels, 48000, testSignal (nChannels, 12000)));
		std::vector<std::vector<float>> outputs;
		for (const auto& args : std::vector<std::vector<std::string>> {
		         {"--preset", "High Gain Init"}, {"--preset", "high gain INIT", "--block", "100"}, {"--preset", "11", "--block", "4096"}})
		{
			std::vector<std::string> a {file ("in.wav"), file ("out.wav"), "--plugin", KORVESSA_MODULE, "--set", "Volume=0.3"};
			a.insert (a.end (), args.begin (), args.end ());
			const CRun r = run (a);
			ASSERT_EQ (r.nCode, 0) << r.szErr;
			const CAudio out = readAudio (file ("out.wav"));
			ASSERT_EQ (out.nChannels, nChannels);
			ASSERT_EQ (out.frames (), 12000u);
			outputs.push_back (out.samples);
		}
		EXPECT_TRUE (outputs[0] == outputs[1]) << nChannels << " channel(s): name vs name in another case and block";
		EXPECT_TRUE (outputs[0] == outputs[2]) << nChannels << " channel(s): name vs index";
	}
}

TEST_F (RenderTest, KorvessaStateFileSoundsLikeItsPresetAndOtherClassesAreRefused)
{
	ASSERT_TRUE (writeWav (file ("in.wav"), 2, 48000, testSignal (2, 6000)));
	std::vector<std::vector<float>> outputs;
	for (const auto& args : std::vector<std::vector<std::string>> {
	         {"--preset", "KT Solo"}, {"--state", std::string (KORVESSA_PRESET_DIR) + "/KT Solo.vstpreset"}})
	{
		std::vector<std::string> a {file ("in.wav"), file ("out.wav"), "--plugin", KORVESSA_MODULE};
		a.insert (a.end (), args.begin (), args.end ());
		const CRun r = run (a);
		ASSERT_EQ (r.nCode, 0) << r.szErr;
		outputs.push_back (readAudio (file ("out.wav")).samples);
	}
	EXPECT_TRUE (outputs[0] == outputs[1]) << "the preset file and the factory preset differ";

	// A preset of another class is no state for Korvessa; a missing file is no preset.
	std::ifstream preset (std::string (KORVESSA_PRESET_DIR) + "/KT Solo.vstpreset", std::ios::binary);
	std::string szForeign ((std::istreambuf_iterator<char> (preset)), std::istreambuf_iterator<char> ());
	ASSERT_GT (szForeign.size (), 40u);
	szForeign.replace (8, 32, "0123456789ABCDEF0123456789ABCDEF");
	{
		std::ofstream f (file ("foreign.vstpreset"), std::ios::binary);
		f << szForeign;
	}
	for (const auto& c : std::vector<std::pair<std::string, std::string>> {
	         {file ("foreign.vstpreset"), "not a preset of Korvessa"}, {file ("none.vstpreset"), "cannot read preset"}})
	{
		const CRun r = run ({file ("in.wav"), file ("out2.wav"), "--plugin", KORVESSA_MODULE, "--state", c.first});
		EXPECT_EQ (r.nCode, 1);
		EXPECT_NE (r.szErr.find (c.second), std::string::npos) << r.szErr;
		EXPECT_FALSE (fs::exists (file ("out2.wav")));
	}
}

TEST_F (RenderTest, KorvessaReadsBackPresetAndSetValues)
{
	const CRun r = run ({"--plugin", KORVESSA_MODULE, "--preset", "High Gain Init", "--set", "Volume=0.25", "--set",
	                     "Guitar Type=Bass", "--set", "NG2_Threshold=-50", "--list-params"});
	ASSERT_EQ (r.nCode, 0) << r.szErr;
	const std::pair<std::string, std::string> expected[] = {
	    {"Volume", "0.25"}, {"Guitar Type", "Bass"}, {"NG2_Threshold", "-50.00"},              // --set
	    {"Push1", "1.80"},  {"Boost", "1.00"},        {"Plus", "ON"}, {"IncapFilter", "LOWCUT"}, // the preset
	    {"Trim", "1.00"},   {"Factory Presets", "High Gain Init"}};
	for (const auto& e : expected)
		EXPECT_EQ (column (r.szOut, e.first, "Value"), e.second) << e.first;
	EXPECT_EQ (column (r.szOut, "NG2_Threshold", "Units"), "dB");
	EXPECT_EQ (column (r.szOut, "Guitar Type", "Range / entries"), "Guitar | Bass");
	EXPECT_EQ (column (r.szOut, "Volume", "Default"), "0.39");
}

TEST_F (RenderTest, KorvessaMonoAndStereoWithItsTail)
{
	struct
	{
		int nChannels, nRate;
		std::size_t nTail; // 500 ms at the file's rate
	} cases[] = {{1, 48000, 24000}, {2, 44100, 22050}};
	for (const auto& c : cases)
	{
		ASSERT_TRUE (writeWav (file ("in.wav"), c.nChannels, c.nRate, testSignal (c.nChannels, 5000)));
		const CRun r = run ({file ("in.wav"), file ("out.wav"), "--plugin", KORVESSA_MODULE, "--tail"});
		ASSERT_EQ (r.nCode, 0) << r.szErr;
		const CAudio out = readAudio (file ("out.wav"));
		EXPECT_EQ (out.nChannels, c.nChannels);
		EXPECT_EQ (out.nRate, c.nRate);
		EXPECT_EQ (out.frames (), 5000 + c.nTail);
	}
}

TEST_F (RenderTest, KorvessaNamesItselfAndRefusesBadValues)
{
	const CRun info = run ({"--plugin", KORVESSA_MODULE, "--info"});
	ASSERT_EQ (info.nCode, 0) << info.szErr;
	for (const char* s : {"Quillonix", "Korvessa", "Fx|Distortion", "FFFFFF88FF904D5DFFFFFFECFFFFFFA1"})
		EXPECT_NE (info.szOut.find (s), std::string::npos) << s;

	ASSERT_TRUE (writeWav (file ("in.wav"), 1, 48000, testSignal (1, 100)));
	const std::pair<std::string, std::string> cases[] = {
	    {"Gain=1", "unknown parameter 'Gain'; valid titles: Distortion, Push1, Push2, Volume"},
	    {"Guitar Type=Banjo", "cannot parse 'Banjo' as a value of 'Guitar Type'"},
	    {"Volume=5", "outside the range of 'Volume' (0.01 .. 0.50)"},
	};
	for (const auto& c : cases)
	{
		const CRun r = run ({file ("in.wav"), file ("out.wav"), "--plugin", KORVESSA_MODULE, "--set", c.first});
		EXPECT_EQ (r.nCode, 1);
		EXPECT_NE (r.szErr.find (c.second), std::string::npos) << r.szErr;
		EXPECT_FALSE (fs::exists (file ("out.wav")));
	}
}

TEST_F (RenderTest, KorvessaDemoWritesOneFilePerPresetAndAnOverview)
{
	const CRun r = run ({"--plugin", KORVESSA_MODULE, "--demo", file ("demo").string ()});
	ASSERT_EQ (r.nCode, 0) << r.szErr;
	const char* names[] = {"Factory Preset", "KT Solo",      "KT Pedal",    "KT Left Rhy",    "KT Bass",     "DV Left Rhy",
	                       "DV Solo",        "LN Solo",      "LN Right Rhy", "LN Left Rhy",   "HO Solo",     "High Gain Init",
	                       "HO Right Rhy",   "HO Left Rhy",  "ZU Solo2",    "ZU Right Rhy"};
	std::vector<std::string> expected {"overview.png", "editor.png", "editor@2x.png"};
	for (const char* n : names)
		expected.push_back (std::string (n) + ".wav");
	std::sort (expected.begin (), expected.end ());
	std::vector<std::string> found;
	for (const auto& e : fs::directory_iterator (file ("demo")))
		found.push_back (e.path ().filename ().string ());
	std::sort (found.begin (), found.end ());
	EXPECT_EQ (found, expected);
	// The editor pictures: the pedal at its own size and at twice that.
	for (auto [name, scale] : {std::pair<const char*, int> {"editor.png", 1}, {"editor@2x.png", 2}})
	{
		cairo_surface_t* png = cairo_image_surface_create_from_png ((file ("demo") / name).c_str ());
		ASSERT_EQ (cairo_surface_status (png), CAIRO_STATUS_SUCCESS) << name;
		EXPECT_EQ (cairo_image_surface_get_width (png), 306 * scale) << name;
		EXPECT_EQ (cairo_image_surface_get_height (png), 426 * scale) << name;
		cairo_surface_destroy (png);
	}
	const std::size_t nPhrase = korvessa::render::synthesizeDemoPhrase ().size ();
	for (const char* n : names)
	{
		const CAudio a = readAudio (file ("demo") / (std::string (n) + ".wav"));
		EXPECT_EQ (a.nChannels, 1) << n;
		EXPECT_EQ (a.nRate, korvessa::render::kDemoSampleRate) << n;
		EXPECT_EQ (a.frames (), nPhrase + korvessa::render::kDemoSampleRate / 2) << n; // with the 500 ms tail
	}
}

#endif

// ------------------------------------------------------------------------------------------
// The demo phrase and the plot's spectrum, in-process.

TEST (DemoPhrase, IsDeterministicAndPeaksAtItsLevel)
{
	const auto a = korvessa::render::synthesizeDemoPhrase (48000);
	const auto b = korvessa::render::synthesizeDemoPhrase (48000);
	ASSERT_EQ (a, b);
	EXPECT_GE (a.size (), 3u * 48000);
	float peak = 0;
	double sum = 0;
	for (float v : a)
		peak = std::max (peak, std::fabs (v)), sum += v;
	EXPECT_NEAR (20 * std::log10 (peak), korvessa::render::kDemoPeakDbfs, 1e-4);
	EXPECT_LT (std::fabs (sum / a.size ()), 1e-3); // no DC offset worth the name
}

TEST (Spectrum, FftMatchesTheDftAndASineReadsZeroDb)
{
	std::vector<std::complex<double>> x (64), X;
	for (int i = 0; i < 64; ++i)
		x[i] = {std::sin (0.3 * i) + 0.1 * i, std::cos (1.1 * i)};
	X = x;
	korvessa::render::fft (X);
	for (int k = 0; k < 64; ++k)
	{
		std::complex<double> s;
		for (int n = 0; n < 64; ++n)
			s += x[n] * std::polar (1.0, -2 * M_PI * k * n / 64);
		EXPECT_LT (std::abs (s - X[k]), 1e-9) << k;
	}
	// A full-scale sine on bin 64 of a 1024-point analysis shows 0 dB there.
	std::vector<float> sine (8192);
	for (std::size_t i = 0; i < sine.size (); ++i)
		sine[i] = static_cast<float> (std::sin (2 * M_PI * 64 * i / 1024.0));
	const auto db = korvessa::render::averageSpectrumDb (sine, 1024);
	EXPECT_NEAR (db[64], 0.0, 0.01);
	EXPECT_LT (db[200], -100.0);
}

} // namespace
