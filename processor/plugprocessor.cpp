#include "processor/plugprocessor.h"
#include "processor/plugcids.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr PlugParams kDefaultParams = {0.75, 0.527507, 0.5, 0.5, 0.15, 0.5, 1.0, false};

// Four times the 15 Hz corner of the sweep lowpass. From there up its
// feedback coefficient is not negative, so the smoothed sweep stays between
// the lowest and the highest sweep frequency and every all-pass coefficient
// inside (-1, 1); below it the loop can run away to infinity.
constexpr double kLowestSampleRate = 60.0;

bool hasTwoSpeakers (SpeakerArrangement arrangement)
{
	return SpeakerArr::getChannelCount (arrangement) == 2;
}

} // namespace

PlugProcessor::PlugProcessor ()
: restoredStates ({kDefaultParams, 0}), publishedParams ({kDefaultParams, 0})
{
	setControllerClass (PlugControllerUID);
	params = kDefaultParams;
	lastRestored = kDefaultParams;
	audioView = kDefaultParams;
	carried = kDefaultParams;
}

tresult PLUGIN_API PlugProcessor::initialize (FUnknown* context)
{
	if (AudioEffect::initialize (context) != kResultOk)
		return kResultFalse;
	addAudioInput (STR16 ("AudioInput"), SpeakerArr::kStereo);
	addAudioOutput (STR16 ("AudioOutput"), SpeakerArr::kStereo);
	smoothingMs = 5.0;
	sampleRate = 44100.0;
	return kResultOk;
}

tresult PLUGIN_API PlugProcessor::setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
                                                      SpeakerArrangement* outputs, int32 numOuts)
{
	// A missing array is a bad argument, not a crash.
	if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
		return kInvalidArgument;
	if (numIns != 0 && inputs && !hasTwoSpeakers (inputs[0]))
		return kResultFalse;
	if (numOuts != 0 && outputs && !hasTwoSpeakers (outputs[0]))
		return kResultFalse;
	return AudioEffect::setBusArrangements (inputs, numIns, outputs, numOuts);
}

tresult PLUGIN_API PlugProcessor::canProcessSampleSize (int32 symbolicSampleSize)
{
	return (symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64) ? kResultTrue
	                                                                            : kResultFalse;
}

tresult PLUGIN_API PlugProcessor::setupProcessing (ProcessSetup& setup)
{
	// Every coefficient divides by the rate: one that is not a number the
	// phaser can run at would turn the whole signal path into NaN.
	if (!(setup.sampleRate >= kLowestSampleRate) || !std::isfinite (setup.sampleRate))
		return kResultFalse;
	sampleRate = setup.sampleRate;
	return AudioEffect::setupProcessing (setup);
}

tresult PLUGIN_API PlugProcessor::process (ProcessData& data)
{
	PlugDerivedValues values;
	bool bypass;
	if (tryOwnParams (kAudioThread))
	{
		bool changed = adoptHandedOverState ();
		if (takeParameterChanges (data.inputParameterChanges, params))
			changed = true;
		if (changed)
		{
			updateParameters (false);
			publishParams (params, adoptedSerial);
		}
		values = heldDerivedValues ();
		bypass = params.bypass;
		audioView = params;
		audioViewSerial = adoptedSerial;
		releaseParams ();
	}
	else
	{
		// The main thread is installing a restored state right now. This block
		// runs on that state (or, if it is the one already running, on ours)
		// without touching the shared fields, and its parameter changes are
		// taken over at the next block.
		const PlugParamsRecord& restored = restoredStates.latest ();
		carried = restored.serial != audioViewSerial ? restored.params : audioView;
		takeParameterChanges (data.inputParameterChanges, carried);
		carriedSerial = restored.serial;
		hasCarried = true;
		audioView = carried;
		audioViewSerial = carriedSerial;
		publishParams (carried, carriedSerial);
		values = deriveValues (carried, twoPiOverFs);
		bypass = carried.bypass;
	}
	renderBlock (data, values, bypass);
	return kResultOk;
}

void PlugProcessor::renderBlock (ProcessData& data, const PlugDerivedValues& values, bool bypass)
{
	if (data.numInputs == 0 || data.numOutputs == 0 || !data.inputs || !data.outputs)
		return;
	if (data.numSamples <= 0)
		return;

	AudioBusBuffers& in = data.inputs[0];
	AudioBusBuffers& out = data.outputs[0];
	if (!in.channelBuffers64 || !out.channelBuffers64)
		return;
	const int32 channels = std::min (in.numChannels, out.numChannels);
	// The buffers hold the block's own sample size, whatever the setup said.
	const bool is32 = data.symbolicSampleSize == kSample32;
	const size_t bytes =
	    static_cast<size_t> (data.numSamples) * (is32 ? sizeof (Sample32) : sizeof (Sample64));

	if (in.silenceFlags != 0)
	{
		out.silenceFlags = in.silenceFlags;
		for (int32 c = 0; c < channels; ++c)
		{
			void* target = out.channelBuffers64[c];
			if (target && target != in.channelBuffers64[c])
				std::memset (target, 0, bytes);
		}
		return;
	}
	out.silenceFlags = 0;

	// A bus of fewer than two channels cannot carry the stereo phaser: it is
	// passed through like a bypassed block.
	if (bypass || channels < 2 || !in.channelBuffers64[0] || !in.channelBuffers64[1] ||
	    !out.channelBuffers64[0] || !out.channelBuffers64[1])
	{
		for (int32 c = 0; c < channels; ++c)
		{
			void* target = out.channelBuffers64[c];
			const void* source = in.channelBuffers64[c];
			if (target && source && target != source)
				std::memcpy (target, source, bytes);
		}
		return;
	}

	if (is32)
		runPhaser (values, in.channelBuffers32, out.channelBuffers32, data.numSamples);
	else
		runPhaser (values, in.channelBuffers64, out.channelBuffers64, data.numSamples);
}

} // namespace Vst
} // namespace Steinberg
