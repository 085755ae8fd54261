// How long the phaser rings on after its input stops, on one parameter
// setting at one sample rate: the measurement behind the tail the processor
// reports, shared by the tool that made it (zy_ratefloor --tail) and the
// test that keeps the tail there.
#pragma once

#include "tools/hostkit/noise.h"
#include "tools/hostkit/processoraccess.h"
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zyhost {

struct RingOut
{
	// Samples of flagged silence the phaser still ran, from the last loud
	// sample until a block took the silent path; -1 when it never did.
	int64_t samples = -1;
	// The last of those samples whose output reached -120 dBFS, counted the
	// same way (0 when none did).
	int64_t audibleSamples = 0;
	// The loudest output that the chains, once rung out, still give when the
	// phaser runs on them: what the silent path leaves unheard.
	double leftoverPeak = 0.0;
};

struct RingOutRun
{
	double rate;
	double values[7]; // the seven normalized parameter values
	int64_t loudSamples;
	// Where the sweep stands when the loud input stops, in radians of the
	// left sweep (3 pi / 2 is its bottom); negative: wherever the sweep has
	// come to from the start. Needs a Rate above 0.
	double sweepPhaseAtStop = -1.0;
	// A steady full-scale input (+1) in place of the noise: it drives the
	// slowest ring, which does not swing, hardest.
	bool steadyInput = false;
};

// Full-scale white noise (or the steady input) for loudSamples, then blocks
// of silence flagged as such, for at most maxSamples, then leftoverSamples
// more of silence without the flags.
inline RingOut measureRingOut (const RingOutRun& run, int64_t maxSamples, int64_t leftoverSamples,
                               uint64_t seed, int32 blockSize = 64)
{
	constexpr double kAudible = 1e-6;
	auto processor = makeProcessor (run.rate, kSample64, false, blockSize);
	inside (*processor).sampleRate = run.rate;
	RingOut result;
	if (processor->setState (streamOf (record (0, run.values, 0))) != kResultOk)
		return result;
	processor->setActive (true);
	const double increment = inside (*processor).lfoInc;
	if (run.sweepPhaseAtStop >= 0.0 && increment > 0.0)
		inside (*processor).lfoCounter =
		    static_cast<int32> (run.sweepPhaseAtStop / increment - run.loudSamples);
	Block block (*processor, kSample64, blockSize);
	block.data.inputParameterChanges = nullptr;

	Noise noise {seed};
	for (int64_t done = 0; done < run.loudSamples; done += blockSize)
	{
		for (int32 j = 0; j < blockSize; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				const double white = noise.fullScale ();
				block.setInput (c, j, run.steadyInput ? 1.0 : white);
			}
		block.run ();
	}

	for (int32 j = 0; j < blockSize; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, 0.0);
	AudioBusBuffers& in = block.data.inputs[0];
	AudioBusBuffers& out = block.data.outputs[0];
	for (int64_t done = 0; done < maxSamples; done += blockSize)
	{
		in.silenceFlags = 3;
		block.run ();
		if (out.silenceFlags == 3)
		{
			result.samples = done;
			break;
		}
		for (int32 j = 0; j < blockSize; ++j)
			for (int32 c = 0; c < 2; ++c)
				if (std::fabs (block.output (c, j)) >= kAudible)
					result.audibleSamples = done + j + 1;
	}

	in.silenceFlags = 0;
	for (int64_t done = 0; done < leftoverSamples; done += blockSize)
	{
		block.run ();
		for (int32 j = 0; j < blockSize; ++j)
			for (int32 c = 0; c < 2; ++c)
				result.leftoverPeak =
				    std::max (result.leftoverPeak, std::fabs (block.output (c, j)));
	}
	processor->setActive (false);
	return result;
}

} // namespace zyhost
