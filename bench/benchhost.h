// A processor and one block of host data, set up as a host would.
#pragma once

#include "processor/plugprocessor.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <cmath>
#include <cstring>

namespace zybench {

using namespace Steinberg;
using namespace Steinberg::Vst;

struct BenchHost
{
	BenchHost (int32 sampleSize, int32 blockSize, double sampleRate = 48000.0)
	{
		processor = owned (static_cast<PlugProcessor*> (
		    static_cast<IAudioProcessor*> (PlugProcessor::createInstance (nullptr))));
		processor->initialize (nullptr);
		ProcessSetup setup {kRealtime, sampleSize, blockSize, sampleRate};
		processor->setupProcessing (setup);
		processor->setActive (true);
		data.prepare (*processor, blockSize, sampleSize);
		data.numSamples = blockSize;
		// A music-like input: two sines.
		for (int32 c = 0; c < 2; ++c)
			for (int32 j = 0; j < blockSize; ++j)
			{
				const double x = 0.4 * std::sin (0.01 * j + c) + 0.1 * std::sin (0.3 * j);
				if (sampleSize == kSample32)
					data.inputs[0].channelBuffers32[c][j] = static_cast<float> (x);
				else
					data.inputs[0].channelBuffers64[c][j] = x;
			}
		for (int32 c = 0; c < 2; ++c)
			std::memset (data.outputs[0].channelBuffers64[c], 0,
			             static_cast<size_t> (blockSize) * (sampleSize == kSample32 ? 4 : 8));
	}

	~BenchHost () { processor->setActive (false); }

	IPtr<PlugProcessor> processor;
	HostProcessData data;
};

} // namespace zybench
