// korvessa-wintest: checks of the Windows module that need Windows (run under Wine), and the
// small tools the Wine tests use. One check per command; exit status 0 passed, 1 failed.
//   module BUNDLE         factory, class ID bytes, InitDll/ExitDll, VSTPluginMain, MXCSR
//   tone OUT.wav          writes the test signal (stereo, 48 kHz, 2 s)
//   compare A.wav B.wav TOLERANCE   sample by sample; prints the largest difference
#include "audiofile.h"
#include "hosting/hostprocessdata.h"
#include "hosting/moduleloader.h"
#include "vst2/aeffect.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <xmmintrin.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

int g_nFailures = 0;

void check (bool bOk, const std::string& szWhat)
{
	std::printf ("%s %s\n", bOk ? "ok  " : "FAIL", szWhat.c_str ());
	if (!bOk)
		++g_nFailures;
}

intptr_t hostWithoutVersion (AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
	return 0;
}

intptr_t hostVst24 (AEffect*, int32_t nOpcode, int32_t, intptr_t, void*, float)
{
	return nOpcode == audioMasterVersion ? 2400 : 0;
}

int checkModule (const std::string& szBundle)
{
	ModuleLoader loader;
	std::string szError;
	if (!loader.load (szBundle, szError))
	{
		check (false, szError);
		return 1;
	}
	check (loader.symbol ("ModuleEntry") == nullptr && loader.symbol ("ModuleExit") == nullptr,
	       "no Linux entry points in the DLL");
	using BoolFunc = bool (*) ();
	auto pInit = reinterpret_cast<BoolFunc> (loader.symbol ("InitDll"));
	auto pExit = reinterpret_cast<BoolFunc> (loader.symbol ("ExitDll"));
	check (pInit && pExit && pInit () && pExit (), "InitDll and ExitDll answer true");

	IPluginFactory* pFactory = loader.factory ();
	PClassInfo info {};
	check (pFactory->countClasses () == 1 && pFactory->getClassInfo (0, &info) == kResultOk,
	       "one class");
	const unsigned char kComOrder[16] = {0x88, 0xFF, 0xFF, 0xFF, 0x90, 0xFF, 0x5D, 0x4D,
	                                     0xFF, 0xFF, 0xFF, 0xEC, 0xFF, 0xFF, 0xFF, 0xA1};
	check (std::memcmp (info.cid, kComOrder, 16) == 0,
	       "class ID bytes 88 FF FF FF 90 FF 5D 4D FF FF FF EC FF FF FF A1");
	char8 szCid[33] = {};
	FUID::fromTUID (info.cid).toString (szCid);
	check (std::strcmp (szCid, "FFFFFF88FF904D5DFFFFFFECFFFFFFA1") == 0,
	       std::string ("class ID text ") + szCid + " as on Linux");

	using GetFactoryFunc = IPluginFactory* (*) ();
	auto pGet = reinterpret_cast<GetFactoryFunc> (loader.symbol ("GetPluginFactory"));
	IPluginFactory* pSecond = pGet ? pGet () : nullptr;
	check (pSecond == pFactory, "a second GetPluginFactory answers the same factory");
	if (pSecond)
		pSecond->release ();

	using Vst2Main = AEffect* (*) (audioMasterCallback);
	auto pVst2 = reinterpret_cast<Vst2Main> (loader.symbol ("VSTPluginMain"));
	check (pVst2 && pVst2 (&hostWithoutVersion) == nullptr,
	       "VSTPluginMain answers null to a host without a version");
	AEffect* pEffect = pVst2 ? pVst2 (&hostVst24) : nullptr;
	check (pEffect && pEffect->magic == kEffectMagic && pEffect->uniqueID == 859715398,
	       "VSTPluginMain serves the effect with unique ID 859715398");
	if (pEffect)
		pEffect->dispatcher (pEffect, effClose, 0, 0, nullptr, 0.0f);

	// process flushes denormals for its own work and gives the host its MXCSR back.
	IComponent* pComponent = nullptr;
	check (pFactory->createInstance (info.cid, IComponent::iid,
	                                 reinterpret_cast<void**> (&pComponent)) == kResultOk &&
	           pComponent,
	       "an instance");
	if (pComponent)
	{
		IAudioProcessor* pProcessor = nullptr;
		pComponent->queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&pProcessor));
		ProcessSetup setup {kRealtime, kSample32, 512, 48000.0};
		HostProcessData data;
		const bool bReady = pProcessor && pComponent->initialize (nullptr) == kResultOk &&
		                    pProcessor->setupProcessing (setup) == kResultOk &&
		                    pComponent->setActive (true) == kResultOk && data.prepare (*pComponent, 512);
		check (bReady, "the instance starts");
		if (bReady)
		{
			data.setNumSamples (512);
			for (int i = 0; i < 512; ++i)
				data.inputChannel (0, 0)[i] = data.inputChannel (0, 1)[i] = 1e-40f; // denormal
			const unsigned int uHostCsr = 0x1F80; // the default: no flushing
			_mm_setcsr (uHostCsr);
			const tresult nResult = pProcessor->process (data);
			const unsigned int uAfter = _mm_getcsr ();
			_mm_setcsr (0x1F80);
			check (nResult == kResultOk && uAfter == uHostCsr, "process restores the host's MXCSR");
			pComponent->setActive (false);
		}
		if (pProcessor)
			pProcessor->release ();
		pComponent->terminate ();
		pComponent->release ();
	}
	loader.unload ();
	return g_nFailures ? 1 : 0;
}

int writeTone (const std::string& szPath)
{
	// Two plucked notes with a little noise: level changes, the gate, and the drive all work.
	constexpr int kRate = 48000;
	constexpr int kFrames = 2 * kRate;
	std::vector<float> samples (2 * kFrames);
	unsigned int uNoise = 12345;
	for (int i = 0; i < kFrames; ++i)
	{
		const double t = double (i) / kRate;
		const double dNote = t < 1.0 ? 0.6 * std::exp (-3.0 * t) * std::sin (2 * M_PI * 110.0 * t)
		                             : 0.4 * std::exp (-4.0 * (t - 1.0)) * std::sin (2 * M_PI * 164.8 * t);
		uNoise = uNoise * 1664525u + 1013904223u;
		const double dNoise = (double (uNoise >> 8) / double (1u << 24) - 0.5) * 1e-3;
		samples[2 * i] = static_cast<float> (dNote + dNoise);
		samples[2 * i + 1] = static_cast<float> (0.8 * dNote - dNoise);
	}
	korvessa::render::CAudioFileWriter writer;
	std::string szError;
	if (!writer.open (szPath, 2, kRate, kFrames, szError) ||
	    !writer.write (samples.data (), kFrames, szError) || !writer.commit (szError))
	{
		check (false, szError);
		return 1;
	}
	return 0;
}

bool readAll (const std::string& szPath, int& nChannels, std::vector<float>& samples)
{
	korvessa::render::CAudioFileReader reader;
	std::string szError;
	if (!reader.open (szPath, szError))
	{
		check (false, szError);
		return false;
	}
	nChannels = reader.channels ();
	samples.resize (static_cast<size_t> (reader.frames () * nChannels));
	const int64_t nRead = reader.read (samples.data (), reader.frames (), szError);
	if (nRead != reader.frames ())
	{
		check (false, "short read of " + szPath + " " + szError);
		return false;
	}
	return true;
}

int compare (const std::string& szA, const std::string& szB, double dTolerance)
{
	int nA = 0, nB = 0;
	std::vector<float> a, b;
	if (!readAll (szA, nA, a) || !readAll (szB, nB, b))
		return 1;
	check (nA == nB && a.size () == b.size (), "same channels and length");
	double dMax = 0.0;
	bool bIdentical = nA == nB && a.size () == b.size ();
	for (size_t i = 0; i < a.size () && i < b.size (); ++i)
	{
		dMax = std::fmax (dMax, std::fabs (double (a[i]) - double (b[i])));
		bIdentical = bIdentical && std::memcmp (&a[i], &b[i], sizeof (float)) == 0;
	}
	double dPeak = 0.0;
	for (float f : a)
		dPeak = std::fmax (dPeak, std::fabs (double (f)));
	std::printf ("largest difference %.3g, %s, peak %.3g\n", dMax, bIdentical ? "bit-exact" : "not bit-exact", dPeak);
	check (dPeak > 1e-3, "the output is not silent");
	check (dMax <= dTolerance, "within " + std::to_string (dTolerance));
	return g_nFailures ? 1 : 0;
}

} // namespace

int main (int argc, char** argv)
{
	const std::string szCommand = argc > 1 ? argv[1] : "";
	if (szCommand == "module" && argc == 3)
		return checkModule (argv[2]);
	if (szCommand == "tone" && argc == 3)
		return writeTone (argv[2]);
	if (szCommand == "compare" && argc == 5)
		return compare (argv[2], argv[3], std::atof (argv[4]));
	std::fprintf (stderr, "usage: korvessa-wintest module BUNDLE | tone OUT.wav | compare A.wav B.wav TOLERANCE\n");
	return 2;
}
