// Drives a PlugProcessor as a host does: through its VST 3 interfaces, with
// the SDK's own process data, parameter changes and memory streams. The tests,
// the benchmarks and zy_ratefloor set the processor up here alike.
#pragma once

#include "processor/plugprocessor.h"
#include "tools/hostkit/staterecord.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <cstring>
#include <vector>

namespace zyhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

// A processor from its create function, initialized and set up; activated
// unless told otherwise.
inline IPtr<PlugProcessor> makeProcessor (double sampleRate = 48000.0, int32 sampleSize = kSample64,
                                          bool activate = true, int32 maxSamplesPerBlock = 4096)
{
	FUnknown* unknown = PlugProcessor::createInstance (nullptr);
	IPtr<PlugProcessor> processor =
	    owned (static_cast<PlugProcessor*> (static_cast<IAudioProcessor*> (unknown)));
	processor->initialize (nullptr);
	ProcessSetup setup {kRealtime, sampleSize, maxSamplesPerBlock, sampleRate};
	processor->setupProcessing (setup);
	if (activate)
		processor->setActive (true);
	return processor;
}

// One audio block: stereo buffers of the processor's buses, and its
// parameter changes.
class Block
{
public:
	Block (PlugProcessor& processor, int32 sampleSize, int32 samples) : processor (processor)
	{
		data.prepare (processor, samples, sampleSize);
		data.numSamples = samples;
		data.inputParameterChanges = &changes;
		const size_t bytes = static_cast<size_t> (samples) * (sampleSize == kSample32 ? 4 : 8);
		for (AudioBusBuffers* bus : {data.inputs, data.outputs})
			for (int32 c = 0; c < bus->numChannels; ++c)
				std::memset (bus->channelBuffers64[c], 0, bytes);
		ownOutputs = data.outputs[0].channelBuffers64;
		ownOutputChannels = data.outputs[0].numChannels;
		ownInputBuses = data.numInputs;
		ownOutputBuses = data.numOutputs;
	}

	// The host data frees the buffers it made, so what a test re-routes is
	// put back first.
	~Block ()
	{
		data.outputs[0].channelBuffers64 = ownOutputs;
		data.outputs[0].numChannels = ownOutputChannels;
		data.numInputs = ownInputBuses;
		data.numOutputs = ownOutputBuses;
	}

	// Output channel buffers become the input channel buffers.
	void processInPlace () { data.outputs[0].channelBuffers64 = data.inputs[0].channelBuffers64; }

	void change (ParamID id, double value, int32 offset = 0)
	{
		int32 queueIndex = 0;
		int32 pointIndex = 0;
		if (IParamValueQueue* queue = changes.addParameterData (id, queueIndex))
			queue->addPoint (offset, value, pointIndex);
	}

	void setInput (int32 channel, int32 index, double value)
	{
		if (data.symbolicSampleSize == kSample32)
			data.inputs[0].channelBuffers32[channel][index] = static_cast<float> (value);
		else
			data.inputs[0].channelBuffers64[channel][index] = value;
	}

	double output (int32 channel, int32 index) const
	{
		if (data.symbolicSampleSize == kSample32)
			return data.outputs[0].channelBuffers32[channel][index];
		return data.outputs[0].channelBuffers64[channel][index];
	}

	tresult run ()
	{
		const tresult result = processor.process (data);
		changes.clearQueue ();
		return result;
	}

	HostProcessData data;
	ParameterChanges changes {8};

private:
	PlugProcessor& processor;
	Sample64** ownOutputs;
	int32 ownOutputChannels;
	int32 ownInputBuses;
	int32 ownOutputBuses;
};

// A block of no samples and no changes: the processor takes over what waits
// for it (a restored state) and touches no audio.
inline void flushParameters (PlugProcessor& processor)
{
	Block flush (processor, kSample64, 1);
	flush.data.numSamples = 0;
	flush.run ();
}

// The processor's state record as bytes.
inline std::vector<uint8> stateBytes (IComponent& component)
{
	MemoryStream stream;
	component.getState (&stream);
	auto* begin = reinterpret_cast<const uint8*> (stream.getData ());
	return {begin, begin + stream.getSize ()};
}

// The state record of a parameter block, built field by field.
inline std::vector<uint8> recordOf (const PlugParams& block)
{
	return record (0, valuesOf (block), block.bypass ? 1 : 0);
}

// A stream that holds exactly the given bytes.
inline IPtr<MemoryStream> streamOf (const std::vector<uint8>& bytes)
{
	auto stream = owned (new MemoryStream);
	int32 written = 0;
	if (!bytes.empty ())
		stream->write (const_cast<uint8*> (bytes.data ()), static_cast<int32> (bytes.size ()),
		               &written);
	stream->seek (0, IBStream::kIBSeekSet, nullptr);
	return stream;
}

} // namespace zyhost
