#include "tools/host/renderer.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace zyhost {

namespace {

// Activation and processing bracket the render and are undone on every path.
class ActiveProcessor
{
public:
	ActiveProcessor (IComponent& component, IAudioProcessor& processor)
	: component (component), processor (processor)
	{
	}
	~ActiveProcessor ()
	{
		if (processing)
			processor.setProcessing (false);
		if (active)
			component.setActive (false);
	}
	bool start (std::string& error)
	{
		if (component.setActive (true) != kResultOk)
		{
			error = "the plug-in refused to activate";
			return false;
		}
		active = true;
		// kNotImplemented is a valid answer to setProcessing
		const tresult r = processor.setProcessing (true);
		if (r != kResultOk && r != kNotImplemented)
		{
			error = "the plug-in refused to start processing";
			return false;
		}
		processing = r == kResultOk;
		return true;
	}

private:
	IComponent& component;
	IAudioProcessor& processor;
	bool active {false};
	bool processing {false};
};

template <typename Sample>
Sample** channelsOf (AudioBusBuffers& bus);
template <>
Sample32** channelsOf<Sample32> (AudioBusBuffers& bus)
{
	return bus.channelBuffers32;
}
template <>
Sample64** channelsOf<Sample64> (AudioBusBuffers& bus)
{
	return bus.channelBuffers64;
}

template <typename Sample>
void copyIn (HostProcessData& data, const StereoBuffer& input, size_t start, int32 frames)
{
	Sample** channels = channelsOf<Sample> (data.inputs[0]);
	for (int32 i = 0; i < frames; ++i)
	{
		channels[0][i] = static_cast<Sample> (input.left[start + i]);
		channels[1][i] = static_cast<Sample> (input.right[start + i]);
	}
}

template <typename Sample>
void copyOut (HostProcessData& data, StereoBuffer& output, size_t start, int32 frames)
{
	Sample** channels = channelsOf<Sample> (data.outputs[0]);
	for (int32 i = 0; i < frames; ++i)
	{
		output.left[start + i] = channels[0][i];
		output.right[start + i] = channels[1][i];
	}
}

void addPoint (ParameterChanges& changes, uint32_t tag, double value)
{
	int32 queueIndex = 0, pointIndex = 0;
	ParamID id = tag;
	if (IParamValueQueue* queue = changes.addParameterData (id, queueIndex))
		queue->addPoint (0, value, pointIndex);
}

// The start values go in as one parameter flush (a block of no samples and
// no buses) on the active processor; activating it again then starts its
// smoothers and its sweep on them, as a DAW's loaded project does, so that
// the first sample of the render already sounds them.
bool applyStartValues (IComponent& component, IAudioProcessor& processor, HostProcessData& data,
                       ParameterChanges& changes,
                       const std::vector<std::pair<uint32_t, double>>& values, std::string& error)
{
	ActiveProcessor running (component, processor);
	if (!running.start (error))
		return false;
	changes.clearQueue ();
	for (const auto& [tag, value] : values)
		addPoint (changes, tag, value);
	const int32 inputs = data.numInputs;
	const int32 outputs = data.numOutputs;
	data.numSamples = 0;
	data.numInputs = 0;
	data.numOutputs = 0;
	const tresult flushed = processor.process (data);
	data.numInputs = inputs;
	data.numOutputs = outputs;
	changes.clearQueue ();
	if (flushed != kResultOk)
	{
		error = "the plug-in refused the start values";
		return false;
	}
	return true;
}

} // namespace

bool render (IComponent& component, IAudioProcessor& processor, const StereoBuffer& input,
             const RenderSettings& settings, StereoBuffer& output, RenderResult& result,
             std::string& error)
{
	const int32 sampleSize = settings.use64Bit ? kSample64 : kSample32;
	if (processor.canProcessSampleSize (sampleSize) != kResultTrue)
	{
		error = std::string ("the plug-in cannot process ") + (settings.use64Bit ? "64" : "32") +
		        "-bit samples";
		return false;
	}
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	if (processor.setBusArrangements (&stereo, 1, &stereo, 1) != kResultTrue)
	{
		error = "the plug-in refused a stereo input and output";
		return false;
	}
	ProcessSetup setup {kOffline, sampleSize, settings.blockSize, input.sampleRate};
	if (processor.setupProcessing (setup) != kResultOk)
	{
		char figures[96];
		std::snprintf (figures, sizeof figures, "%g Hz with blocks of %d %d-bit samples",
		               input.sampleRate, settings.blockSize, settings.use64Bit ? 64 : 32);
		error = std::string ("the plug-in refused to run at ") + figures +
		        "; try another --block or --precision";
		return false;
	}
	HostProcessData data;
	if (!data.prepare (component, settings.blockSize, sampleSize) || data.numInputs < 1 ||
	    data.numOutputs < 1 || data.inputs[0].numChannels != 2 || data.outputs[0].numChannels != 2)
	{
		error = "the plug-in has no stereo input and output bus";
		return false;
	}
	ParameterChanges inputChanges (
	    static_cast<int32> (settings.startValues.size () + settings.automation.size () + 1));
	ParameterChanges outputChanges;
	data.inputParameterChanges = &inputChanges;
	data.outputParameterChanges = &outputChanges;

	// points in block order; a stable sort keeps the file order within a block
	std::vector<AutomationPoint> automation = settings.automation;
	std::stable_sort (
	    automation.begin (), automation.end (),
	    [] (const AutomationPoint& a, const AutomationPoint& b) { return a.block < b.block; });
	auto nextPoint = automation.begin ();

	if (!settings.startValues.empty () &&
	    !applyStartValues (component, processor, data, inputChanges, settings.startValues, error))
		return false;
	ActiveProcessor running (component, processor);
	if (!running.start (error))
		return false;

	output.sampleRate = input.sampleRate;
	output.resize (input.frames ());
	result = {};
	std::chrono::steady_clock::duration busy {};
	for (size_t start = 0; start < input.frames (); start += settings.blockSize, ++result.blocks)
	{
		const auto frames =
		    static_cast<int32> (std::min<size_t> (settings.blockSize, input.frames () - start));
		data.numSamples = frames;
		inputChanges.clearQueue ();
		outputChanges.clearQueue ();
		for (; nextPoint != automation.end () &&
		       nextPoint->block == static_cast<int64_t> (result.blocks);
		     ++nextPoint)
			addPoint (inputChanges, nextPoint->tag, nextPoint->value);

		if (settings.use64Bit)
			copyIn<Sample64> (data, input, start, frames);
		else
			copyIn<Sample32> (data, input, start, frames);
		data.inputs[0].silenceFlags = 0;

		const auto before = std::chrono::steady_clock::now ();
		const tresult processed = processor.process (data);
		busy += std::chrono::steady_clock::now () - before;
		if (processed != kResultOk)
		{
			error = "process failed in block " + std::to_string (result.blocks);
			return false;
		}
		if (settings.use64Bit)
			copyOut<Sample64> (data, output, start, frames);
		else
			copyOut<Sample32> (data, output, start, frames);
	}
	result.seconds = std::chrono::duration<double> (busy).count ();
	return true;
}

} // namespace zyhost
