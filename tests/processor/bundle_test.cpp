// The processor as a host meets it: loaded from the built bundle through its
// entry points, it sounds exactly like the formulas.
#include "tests/processor/phaserreference.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/hosting/module.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zytest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST (ProcessorInTheBundle, BothSampleSizesMatchTheFormulasBitForBit)
{
	std::string error;
	auto module = VST3::Hosting::Module::create (ZY_BUNDLE_PATH, error);
	ASSERT_TRUE (module) << error;
	const auto factory = module->getFactory ();
	const auto infos = factory.classInfos ();
	ASSERT_FALSE (infos.empty ());
	ASSERT_EQ (infos[0].category (), kVstAudioEffectClass);

	for (int32 size : {kSample32, kSample64})
	{
		auto component = factory.createInstance<IComponent> (infos[0].ID ());
		ASSERT_TRUE (component);
		FUnknownPtr<IAudioProcessor> processor (component);
		ASSERT_TRUE (processor);
		ASSERT_EQ (component->initialize (nullptr), kResultOk);
		ProcessSetup setup {kRealtime, size, 1024, 48000.0};
		ASSERT_EQ (processor->setupProcessing (setup), kResultOk);
		ASSERT_EQ (component->setActive (true), kResultOk);

		const int32 samples = 1000;
		HostProcessData data;
		data.prepare (*component, samples, size);
		data.numSamples = samples;
		std::vector<double> in[2], expected[2];
		for (int32 c = 0; c < 2; ++c)
		{
			in[c].resize (samples);
			expected[c].resize (samples);
			for (int32 j = 0; j < samples; ++j)
			{
				in[c][j] = 0.6 * std::sin (0.02 * j + c) + 0.1 * std::sin (0.37 * j);
				if (size == kSample32)
				{
					data.inputs[0].channelBuffers32[c][j] = static_cast<float> (in[c][j]);
					in[c][j] = static_cast<float> (in[c][j]);
				}
				else
					data.inputs[0].channelBuffers64[c][j] = in[c][j];
			}
		}
		ASSERT_EQ (processor->process (data), kResultOk);

		PhaserReference reference;
		reference.fs = 48000.0;
		reference.activate ();
		int mismatches = 0;
		if (size == kSample32)
		{
			std::vector<float> l (in[0].begin (), in[0].end ()), r (in[1].begin (), in[1].end ()),
			    ol (samples), orr (samples);
			reference.block (l.data (), r.data (), ol.data (), orr.data (), samples);
			for (int32 j = 0; j < samples; ++j)
				mismatches += (data.outputs[0].channelBuffers32[0][j] != ol[j]) +
				              (data.outputs[0].channelBuffers32[1][j] != orr[j]);
		}
		else
		{
			reference.block (in[0].data (), in[1].data (), expected[0].data (), expected[1].data (),
			                 samples);
			for (int32 c = 0; c < 2; ++c)
				for (int32 j = 0; j < samples; ++j)
					mismatches += std::memcmp (&data.outputs[0].channelBuffers64[c][j],
					                           &expected[c][j], sizeof (double)) != 0;
		}
		EXPECT_EQ (mismatches, 0) << (size == kSample32 ? "32-bit" : "64-bit");
		data.unprepare ();
		component->setActive (false);
		component->terminate ();
	}
}

} // namespace
} // namespace zytest
