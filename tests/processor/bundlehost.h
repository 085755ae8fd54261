// A host's side of the processor loaded from the built bundle: one stereo
// block in the buffers a host would hand over, and a fixture that makes
// active processors of the bundle.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/hosting/module.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zytest {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32 kSamples = 256;
// Both channels' samples of a block, one after the other.
constexpr size_t kBlockValues = size_t {2} * kSamples;
constexpr ParamID kMixTag = 6;
constexpr ParamID kBypassTag = 7;

// One stereo block in the buffers a host would hand over.
class HostBlock
{
public:
	HostBlock (int32 sampleSize, bool inPlace, int32 samples = kSamples)
	: sampleSize (sampleSize), samples (samples)
	{
		for (int32 c = 0; c < 2; ++c)
		{
			input[c].assign (samples, 0.0);
			output[c].assign (samples, 0.0);
			inputChannels[c] = input[c].data ();
			outputChannels[c] = inPlace ? input[c].data () : output[c].data ();
		}
		inBus.numChannels = outBus.numChannels = 2;
		inBus.channelBuffers64 = reinterpret_cast<Sample64**> (inputChannels);
		outBus.channelBuffers64 = reinterpret_cast<Sample64**> (outputChannels);
		data.numSamples = samples;
		data.symbolicSampleSize = sampleSize;
		data.numInputs = data.numOutputs = 1;
		data.inputs = &inBus;
		data.outputs = &outBus;
		data.inputParameterChanges = &changes;
	}

	// A different tone in each channel, block after block.
	void fill (int32 index)
	{
		for (int32 c = 0; c < 2; ++c)
			for (int32 j = 0; j < samples; ++j)
				setIn (c, j, 0.5 * std::sin ((0.03 + 0.02 * c) * (index * samples + j)));
		inBus.silenceFlags = 0;
		outBus.silenceFlags = 0x5a;
	}

	void change (ParamID id, double value)
	{
		int32 index = 0;
		if (IParamValueQueue* queue = changes.addParameterData (id, index))
			queue->addPoint (0, value, index);
	}

	void setIn (int32 c, int32 j, double value) { set (inputChannels[c], j, value); }
	double in (int32 c, int32 j) const { return get (inputChannels[c], j); }
	double out (int32 c, int32 j) const { return get (outputChannels[c], j); }

	std::vector<double> outputs () const
	{
		std::vector<double> values;
		for (int32 c = 0; c < 2; ++c)
			for (int32 j = 0; j < samples; ++j)
				values.push_back (out (c, j));
		return values;
	}

	tresult run (IAudioProcessor& processor)
	{
		const tresult result = processor.process (data);
		changes.clearQueue ();
		return result;
	}

	ProcessData data;
	AudioBusBuffers inBus;
	AudioBusBuffers outBus;

private:
	void set (void* channel, int32 j, double value) const
	{
		if (sampleSize == kSample32)
			static_cast<float*> (channel)[j] = static_cast<float> (value);
		else
			static_cast<double*> (channel)[j] = value;
	}
	double get (void* channel, int32 j) const
	{
		if (sampleSize == kSample32)
			return static_cast<float*> (channel)[j];
		return static_cast<double*> (channel)[j];
	}

	int32 sampleSize;
	int32 samples;
	std::vector<double> input[2]; // big enough for either sample size
	std::vector<double> output[2];
	void* inputChannels[2];
	void* outputChannels[2];
	ParameterChanges changes {8};
};

class BundleProcessorTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		module = VST3::Hosting::Module::create (ZY_BUNDLE_PATH, error);
		ASSERT_TRUE (module) << error;
	}

	// An active processor of the bundle.
	IPtr<IComponent> makeProcessor (int32 sampleSize, double sampleRate = 48000.0,
	                                int32 maxSamples = kSamples)
	{
		const auto factory = module->getFactory ();
		auto component = factory.createInstance<IComponent> (factory.classInfos ()[0].ID ());
		EXPECT_TRUE (component);
		FUnknownPtr<IAudioProcessor> processor (component);
		EXPECT_EQ (component->initialize (nullptr), kResultOk);
		ProcessSetup setup {kRealtime, sampleSize, maxSamples, sampleRate};
		EXPECT_EQ (processor->setupProcessing (setup), kResultOk);
		EXPECT_EQ (component->setActive (true), kResultOk);
		return component;
	}

	static IAudioProcessor& audio (IComponent& component)
	{
		IAudioProcessor* processor = nullptr;
		component.queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&processor));
		processor->release (); // the component keeps it alive
		return *processor;
	}

	VST3::Hosting::Module::Ptr module;
};

} // namespace zytest
