// How loud the phaser gets on one parameter setting at one sample rate: the
// measurement behind the processor's lowest sample rate, shared by the tool
// that made it (zy_ratefloor) and the test that keeps the floor there.
#pragma once

#include "tools/hostkit/noise.h"
#include "tools/hostkit/processoraccess.h"
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zyhost {

enum class LoudnessInput
{
	noise,  // white, within +-0.5
	square, // +-0.5, 50 Hz (2 samples a period at the lowest rates)
};

// The largest output magnitude of a processor running at rate, restored to
// the seven normalized values, over the given number of samples of input;
// infinity once an output is not finite, NaN when the values are refused. The rate is set even
// where setupProcessing refuses it, so that rates below the floor can be measured.
inline double loudestOutput (double rate, const double (&values)[7], LoudnessInput input,
                             int64_t samples, uint64_t seed)
{
	constexpr int32 kBlockSize = 512;
	auto processor = makeProcessor (rate, kSample64, false, kBlockSize);
	inside (*processor).sampleRate = rate;
	if (processor->setState (streamOf (record (0, values, 0))) != kResultOk)
		return std::numeric_limits<double>::quiet_NaN ();
	processor->setActive (true);
	Block block (*processor, kSample64, kBlockSize);
	block.data.inputParameterChanges = nullptr;

	const int64_t halfPeriod = std::max<int64_t> (1, static_cast<int64_t> (rate / 100.0));
	Noise noise {seed};
	double peak = 0.0;
	for (int64_t done = 0; done < samples; done += kBlockSize)
	{
		for (int32 j = 0; j < kBlockSize; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				const double white = noise.unit () - 0.5;
				const double x = input == LoudnessInput::square
				                     ? ((done + j) / halfPeriod % 2 ? 0.5 : -0.5)
				                     : white;
				block.setInput (c, j, x);
			}
		block.run ();
		for (int32 j = 0; j < kBlockSize; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				const double magnitude = std::fabs (block.output (c, j));
				if (!std::isfinite (magnitude))
					return std::numeric_limits<double>::infinity ();
				peak = std::max (peak, magnitude);
			}
	}
	processor->setActive (false);
	return peak;
}

} // namespace zyhost
