// A processor and one block of host data, set up as the tests set them up,
// with a music-like input.
#pragma once

#include "tools/hostkit/processorhost.h"

#include <cmath>

namespace zybench {

using namespace Steinberg;
using namespace Steinberg::Vst;

struct BenchHost
{
	BenchHost (int32 sampleSize, int32 blockSize, double sampleRate = 48000.0)
	: processor (zyhost::makeProcessor (sampleRate, sampleSize, true, blockSize))
	, block (*processor, sampleSize, blockSize)
	{
		// No parameter changes unless a benchmark hands its own.
		data.inputParameterChanges = nullptr;
		// Two sines.
		for (int32 c = 0; c < 2; ++c)
			for (int32 j = 0; j < blockSize; ++j)
				block.setInput (c, j, 0.4 * std::sin (0.01 * j + c) + 0.1 * std::sin (0.3 * j));
	}

	~BenchHost () { processor->setActive (false); }

	IPtr<PlugProcessor> processor;
	zyhost::Block block;
	HostProcessData& data = block.data;
};

} // namespace zybench
