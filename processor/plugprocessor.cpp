#include "processor/plugprocessor.h"
#include "processor/plugcids.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr PlugParams kDefaultParams = kPlugDefaultParams;

// The lowest sample rate the phaser runs at, as measured by tools/ratefloor
// over every corner of the parameter ranges with input within +-0.5: at
// rates up to 240 Hz the loop can run away (to 1e28 and beyond), up to
// 300 Hz it peaks at up to 76, and from 300 Hz up its loudest output is that
// of common rates (about 11 for noise, 19 for a square wave). 500 Hz keeps
// clear of the last rate that ran away.
constexpr double kLowestSampleRate = 500.0;

bool hasTwoSpeakers (SpeakerArrangement arrangement)
{
	return SpeakerArr::getChannelCount (arrangement) == 2;
}

// Zeros in every output channel that is not its input channel.
void clearChannels (const AudioBusBuffers& in, AudioBusBuffers& out, int32 channels, size_t bytes)
{
	for (int32 c = 0; c < channels; ++c)
	{
		void* target = out.channelBuffers64[c];
		if (target && target != in.channelBuffers64[c])
			std::memset (target, 0, bytes);
	}
}

// The input in every output channel that is not its input channel.
void copyChannels (const AudioBusBuffers& in, AudioBusBuffers& out, int32 channels, size_t bytes)
{
	for (int32 c = 0; c < channels; ++c)
	{
		void* target = out.channelBuffers64[c];
		const void* source = in.channelBuffers64[c];
		if (target && source && target != source)
			std::memcpy (target, source, bytes);
	}
}

// Both channels of the phaser, on both sides.
bool hasStereoPair (const AudioBusBuffers& in, const AudioBusBuffers& out, int32 channels)
{
	return channels >= 2 && in.channelBuffers64[0] && in.channelBuffers64[1] &&
	       out.channelBuffers64[0] && out.channelBuffers64[1];
}

} // namespace

PlugProcessor::PlugProcessor () : stateHandOver (*this, kDefaultParams)
{
	setControllerClass (PlugControllerUID);
	params = kDefaultParams;
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
	// Every coefficient divides by the rate, and below kLowestSampleRate the
	// loop can run away: such a rate is refused, as is one that is no number.
	if (!(setup.sampleRate >= kLowestSampleRate) || !std::isfinite (setup.sampleRate))
		return kResultFalse;
	sampleRate = setup.sampleRate;
	return AudioEffect::setupProcessing (setup);
}

tresult PLUGIN_API PlugProcessor::process (ProcessData& data)
{
	// Intake and derived values: one whole parameter block, whichever thread
	// holds the parameters right now.
	const PlugBlockParams& block = stateHandOver.beginBlock (data.inputParameterChanges);

	if (data.numInputs == 0 || data.numOutputs == 0 || !data.inputs || !data.outputs)
		return kResultOk;
	if (data.numSamples <= 0)
		return kResultOk;
	AudioBusBuffers& in = data.inputs[0];
	AudioBusBuffers& out = data.outputs[0];
	if (!in.channelBuffers64 || !out.channelBuffers64)
		return kResultOk;
	const int32 channels = std::min (in.numChannels, out.numChannels);
	// The buffers hold the block's own sample size, whatever the setup said.
	const bool is32 = data.symbolicSampleSize == kSample32;
	const size_t bytes =
	    static_cast<size_t> (data.numSamples) * (is32 ? sizeof (Sample32) : sizeof (Sample64));

	if (in.silenceFlags != 0)
	{
		out.silenceFlags = in.silenceFlags;
		clearChannels (in, out, channels, bytes);
		return kResultOk;
	}
	out.silenceFlags = 0;

	// A bus of fewer than two channels cannot carry the stereo phaser: it is
	// passed through like a bypassed block.
	if (block.params.bypass || !hasStereoPair (in, out, channels))
	{
		copyChannels (in, out, channels, bytes);
		return kResultOk;
	}

	if (is32)
		processAudio32 (in.channelBuffers32, out.channelBuffers32, data.numSamples);
	else
		processAudio64 (in.channelBuffers64, out.channelBuffers64, data.numSamples);
	return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
