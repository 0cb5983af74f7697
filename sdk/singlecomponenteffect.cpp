#include "singlecomponenteffect.h"

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect ()
: audioInputs (kAudio, kInput)
, audioOutputs (kAudio, kOutput)
, eventInputs (kEvent, kInput)
, eventOutputs (kEvent, kOutput)
{
	processSetup.processMode = kRealtime;
	processSetup.symbolicSampleSize = kSample32;
	processSetup.maxSamplesPerBlock = 1024;
	processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect () = default;

tresult PLUGIN_API SingleComponentEffect::initialize (FUnknown* context)
{
	// The base only notices a second initialize when it was given a context; without one the
	// derived class would declare its buses and parameters twice.
	if (m_bInitialized)
		return kResultFalse;
	const tresult result = EditController::initialize (context);
	m_bInitialized = result == kResultOk;
	return result;
}

tresult PLUGIN_API SingleComponentEffect::terminate ()
{
	m_bInitialized = false;
	removeAllBusses ();
	return EditController::terminate ();
}

tresult PLUGIN_API SingleComponentEffect::getControllerClassId (TUID /*classId*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode (IoMode /*mode*/)
{
	return kNotImplemented;
}

BusList* SingleComponentEffect::getBusList (MediaType type, BusDirection dir)
{
	if (dir != kInput && dir != kOutput)
		return nullptr;
	if (type == kAudio)
		return dir == kInput ? &audioInputs : &audioOutputs;
	if (type == kEvent)
		return dir == kInput ? &eventInputs : &eventOutputs;
	return nullptr;
}

Bus* SingleComponentEffect::getBus (MediaType type, BusDirection dir, int32 index)
{
	BusList* list = getBusList (type, dir);
	if (!list || index < 0 || index >= static_cast<int32> (list->size ()))
		return nullptr;
	return list->at (static_cast<size_t> (index));
}

int32 PLUGIN_API SingleComponentEffect::getBusCount (MediaType type, BusDirection dir)
{
	BusList* list = getBusList (type, dir);
	return list ? static_cast<int32> (list->size ()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo (MediaType type, BusDirection dir,
                                                      int32 index, BusInfo& info)
{
	Bus* bus = getBus (type, dir, index);
	if (!bus)
		return kInvalidArgument;
	info.mediaType = type;
	info.direction = dir;
	return bus->getInfo (info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo (RoutingInfo& /*inInfo*/,
                                                          RoutingInfo& /*outInfo*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus (MediaType type, BusDirection dir,
                                                       int32 index, TBool state)
{
	Bus* bus = getBus (type, dir, index);
	if (!bus)
		return kInvalidArgument;
	bus->setActive (state);
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive (TBool /*state*/)
{
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setState (IBStream* /*state*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::getState (IBStream* /*state*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setBusArrangements (SpeakerArrangement* inputs,
                                                              int32 numIns,
                                                              SpeakerArrangement* outputs,
                                                              int32 numOuts)
{
	if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
		return kInvalidArgument;
	if (numIns != static_cast<int32> (audioInputs.size ()) ||
	    numOuts != static_cast<int32> (audioOutputs.size ()))
		return kResultFalse;

	for (int32 i = 0; i < numIns; ++i)
		if (auto* bus = FCast<AudioBus> (audioInputs.at (static_cast<size_t> (i)).get ()))
			bus->setArrangement (inputs[i]);
	for (int32 i = 0; i < numOuts; ++i)
		if (auto* bus = FCast<AudioBus> (audioOutputs.at (static_cast<size_t> (i)).get ()))
			bus->setArrangement (outputs[i]);
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement (BusDirection dir, int32 index,
                                                             SpeakerArrangement& arr)
{
	auto* bus = FCast<AudioBus> (getBus (kAudio, dir, index));
	if (!bus)
		return kInvalidArgument;
	arr = bus->getArrangement ();
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize (int32 symbolicSampleSize)
{
	return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing (ProcessSetup& setup)
{
	if (canProcessSampleSize (setup.symbolicSampleSize) != kResultTrue)
		return kResultFalse;
	processSetup = setup;
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::getParameterInfo (int32 paramIndex, ParameterInfo& info)
{
	if (paramIndex < 0 || paramIndex >= parameters.getParameterCount ())
		return kInvalidArgument;
	return EditController::getParameterInfo (paramIndex, info);
}

AudioBus* SingleComponentEffect::addAudioInput (const TChar* name, SpeakerArrangement arr,
                                                BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioInputs.emplace_back (bus, false);
	return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput (const TChar* name, SpeakerArrangement arr,
                                                 BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioOutputs.emplace_back (bus, false);
	return bus;
}

EventBus* SingleComponentEffect::addEventInput (const TChar* name, int32 channels,
                                                BusType busType, int32 flags)
{
	auto* bus = new EventBus (name, busType, flags, channels);
	eventInputs.emplace_back (bus, false);
	return bus;
}

EventBus* SingleComponentEffect::addEventOutput (const TChar* name, int32 channels,
                                                 BusType busType, int32 flags)
{
	auto* bus = new EventBus (name, busType, flags, channels);
	eventOutputs.emplace_back (bus, false);
	return bus;
}

tresult SingleComponentEffect::removeAudioBusses ()
{
	audioInputs.clear ();
	audioOutputs.clear ();
	return kResultOk;
}

tresult SingleComponentEffect::removeEventBusses ()
{
	eventInputs.clear ();
	eventOutputs.clear ();
	return kResultOk;
}

tresult SingleComponentEffect::removeAllBusses ()
{
	removeAudioBusses ();
	removeEventBusses ();
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, IComponent::iid, IComponent)
	QUERY_INTERFACE (iid, obj, IAudioProcessor::iid, IAudioProcessor)
	return EditController::queryInterface (iid, obj);
}

} // namespace Vst
} // namespace Steinberg
