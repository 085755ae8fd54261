#include "processor/plugprocessor.h"
#include "processor/plugcids.h"
#include "processor/plugintake.h"
#include "processor/plugphaserconstants.h"
#include "processor/plugringout.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

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

// The silence flag of channel c, and of every channel of a bus.
uint64 silenceFlagOf (int32 c)
{
	return c < 64 ? uint64 {1} << c : 0;
}

uint64 silenceFlagsOf (const AudioBusBuffers& bus)
{
	return bus.numChannels >= 64 ? ~uint64 {0} : silenceFlagOf (bus.numChannels) - 1;
}

// Whether every channel of the bus is flagged silent.
bool allChannelsSilent (const AudioBusBuffers& bus)
{
	const uint64 all = silenceFlagsOf (bus);
	return bus.numChannels > 0 && (bus.silenceFlags & all) == all;
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

// The input in every output channel that is not its input channel, and
// silence where the input channel is missing. Answers the channels that got
// silence, as silence flags.
uint64 copyChannels (const AudioBusBuffers& in, AudioBusBuffers& out, int32 channels, size_t bytes)
{
	uint64 silenced = 0;
	for (int32 c = 0; c < channels; ++c)
	{
		void* target = out.channelBuffers64[c];
		const void* source = in.channelBuffers64[c];
		if (!target || target == source)
			continue;
		if (source)
			std::memcpy (target, source, bytes);
		else
		{
			std::memset (target, 0, bytes);
			silenced |= silenceFlagOf (c);
		}
	}
	return silenced;
}

// Both channels of the phaser, on both sides.
bool hasStereoPair (const AudioBusBuffers& in, const AudioBusBuffers& out, int32 channels)
{
	return channels >= 2 && in.channelBuffers64[0] && in.channelBuffers64[1] &&
	       out.channelBuffers64[0] && out.channelBuffers64[1];
}

// An input bus with samples to read: there, with channels, and with buffers.
bool hasUsableInput (const ProcessData& data)
{
	if (data.numInputs <= 0 || !data.inputs)
		return false;
	const AudioBusBuffers& in = data.inputs[0];
	return in.numChannels > 0 && in.channelBuffers64;
}

// Silence in every channel of the output bus, flagged as such.
void silenceOutput (AudioBusBuffers& out, size_t bytes)
{
	if (!out.channelBuffers64 || out.numChannels <= 0)
		return;
	for (int32 c = 0; c < out.numChannels; ++c)
	{
		if (out.channelBuffers64[c])
			std::memset (out.channelBuffers64[c], 0, bytes);
	}
	out.silenceFlags = silenceFlagsOf (out);
}

} // namespace

PlugProcessor::PlugProcessor () : stateHandOver (kPlugDefaultParams)
{
	setControllerClass (PlugControllerUID);
	params = kPlugDefaultParams;
}

FUnknown* PlugProcessor::createInstance (void*)
{
	auto* processor = new (std::nothrow) PlugProcessor ();
	return processor ? static_cast<IAudioProcessor*> (processor) : nullptr;
}

tresult PLUGIN_API PlugProcessor::initialize (FUnknown* context)
{
	// The base refuses a second initialize only when the first brought a
	// host context; the buses of the first one count as well.
	if (AudioEffect::initialize (context) != kResultOk || !audioInputs.empty () ||
	    !audioOutputs.empty ())
		return kResultFalse;
	try
	{
		addAudioInput (STR16 ("AudioInput"), SpeakerArr::kStereo);
		addAudioOutput (STR16 ("AudioOutput"), SpeakerArr::kStereo);
	}
	catch (...)
	{
		// Out of memory: nothing of this initialize stays behind.
		removeAudioBusses ();
		AudioEffect::terminate ();
		return kOutOfMemory;
	}
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
	takeParameters (data.inputParameterChanges);

	// A block of no samples is a parameter flush.
	if (data.numSamples <= 0 || data.numOutputs <= 0 || !data.outputs)
		return kResultOk;
	AudioBusBuffers& out = data.outputs[0];
	// The buffers hold the block's own sample size, whatever the setup said.
	const bool is32 = data.symbolicSampleSize == kSample32;
	const size_t bytes =
	    static_cast<size_t> (data.numSamples) * (is32 ? sizeof (Sample32) : sizeof (Sample64));

	// Without an input (a bus switched off) the output is silence, not
	// whatever the host's buffers held.
	if (!hasUsableInput (data))
	{
		silenceOutput (out, bytes);
		return kResultOk;
	}
	AudioBusBuffers& in = data.inputs[0];
	if (!out.channelBuffers64)
		return kResultOk;
	const int32 channels = std::min (in.numChannels, out.numChannels);

	// A bus of fewer than two channels cannot carry the stereo phaser: it is
	// passed through like a bypassed block.
	const bool passThrough = params.bypass || !hasStereoPair (in, out, channels);

	// Silence flags only save work; they must not change what is heard. Only
	// a block silent in every channel can skip the phaser (the feedback rings
	// on in a channel whose input has gone quiet), and only once the chains
	// have rung out: until then the block runs as if it were not flagged.
	if (allChannelsSilent (in) && (passThrough || chainsRungOut (allpassLeft, allpassRight)))
	{
		out.silenceFlags = in.silenceFlags;
		clearChannels (in, out, channels, bytes);
		return kResultOk;
	}

	if (passThrough)
	{
		out.silenceFlags = in.silenceFlags | copyChannels (in, out, channels, bytes);
		return kResultOk;
	}

	out.silenceFlags = 0;
	if (is32)
		processAudio32 (in.channelBuffers32, out.channelBuffers32, data.numSamples);
	else
		processAudio64 (in.channelBuffers64, out.channelBuffers64, data.numSamples);
	return kResultOk;
}

void PlugProcessor::takeParameters (IParameterChanges* changes)
{
	// A restore that arrived since the last block comes first; this block's
	// automation applies on top of it.
	bool changed = adoptRestoredState ();
	if (takeParameterChanges (changes, params))
	{
		updateParameters (false);
		changed = true;
	}
	if (changed)
		stateHandOver.publish (params);
}

bool PlugProcessor::adoptRestoredState ()
{
	const PlugRestoredState* restored = stateHandOver.takeRestored ();
	if (!restored)
		return false;
	params = restored->params;
	assignDerivedValues (restored->values);
	return true;
}

tresult PLUGIN_API PlugProcessor::setState (IBStream* state)
{
	PlugParams restored {};
	const tresult result = restored.read (state);
	// A failed read leaves the block, and so the derived values, as they are.
	if (result != kResultOk)
		return result;
	// twoPiOverFs changes only at activation, on this thread.
	stateHandOver.restore (restored, deriveValues (restored, twoPiOverFs));
	return result;
}

tresult PLUGIN_API PlugProcessor::getState (IBStream* state)
{
	return stateHandOver.current ().write (state);
}

uint32 PLUGIN_API PlugProcessor::getTailSamples ()
{
	// The rate of the coming activation: hosts ask while setting up.
	return tailSamplesAt (sampleRate);
}

tresult PLUGIN_API PlugProcessor::setActive (TBool state)
{
	if (state)
	{
		const double fs = sampleRate;
		std::fill (std::begin (allpassLeft), std::end (allpassLeft), 0.0);
		std::fill (std::begin (allpassRight), std::end (allpassRight), 0.0);
		lfoCounter = 0;

		const double pole = std::exp (-kSmoothingTimeConstants / (smoothingMs * 0.001 * fs));
		smootherPole = pole;
		smootherGain = 1.0 - pole;

		std::fill (std::begin (sweepLowpassState), std::end (sweepLowpassState), 0.0);
		piOverFs = kPi * (1.0 / fs);
		twoPiOverFs = kTwoPi * (1.0 / fs);

		// One-pole lowpass at kSweepLowpassHz on the sweep frequencies
		// (bilinear).
		const double w = kSweepLowpassOmega * (1.0 / fs);
		sweepLowpassA1 = (1.0 - std::sin (w)) / std::cos (w);
		sweepLowpassB0 = 0.5 - 0.5 * sweepLowpassA1;

		// The derived values, snapped to their targets, from the parameters
		// as they stand, a state restored meanwhile included.
		adoptRestoredState ();
		updateParameters (true);
	}
	return AudioEffect::setActive (state);
}

} // namespace Vst
} // namespace Steinberg
