// Runs of blocks through a processor and through the plain reading of the
// phaser side by side, every output and the state compared bit for bit, and
// the table of runs that the phaser tests hold each loop to.
#pragma once

#include "tools/hostkit/processoraccess.h"
#include "tests/processor/phaserreference.h"
#include "tools/hostkit/processorhost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <ostream>
#include <utility>
#include <vector>

namespace zytest {

using namespace zyhost;

// Reproducible test input: a few sines and a little noise.
inline double inputSample (int channel, int64_t index)
{
	uint64_t state = static_cast<uint64_t> (index) * 6364136223846793005ull +
	                 1442695040888963407ull +
	                 static_cast<uint64_t> (channel) * 0x9E3779B97F4A7C15ull;
	state ^= state >> 33;
	const double noise = static_cast<double> (state >> 11) * 0x1.0p-53 - 0.5;
	return 0.5 * std::sin (0.013 * index + channel) + 0.2 * std::sin (0.21 * index) + 0.05 * noise;
}

inline void setReferenceParam (PhaserReference& reference, ParamID id, double value)
{
	reference.params.setNormalized (id, value);
	reference.update ();
}

inline bool sameBits (double a, double b)
{
	return std::memcmp (&a, &b, sizeof a) == 0;
}

inline void expectSameState (PlugProcessor& processor, const PhaserReference& reference)
{
	EXPECT_EQ (std::memcmp (inside (processor).allpassLeft, reference.allpass[0],
	                        sizeof reference.allpass[0]),
	           0);
	EXPECT_EQ (std::memcmp (inside (processor).allpassRight, reference.allpass[1],
	                        sizeof reference.allpass[1]),
	           0);
	EXPECT_EQ (std::memcmp (inside (processor).sweepLowpassState, reference.lowpass,
	                        sizeof reference.lowpass),
	           0);
	EXPECT_EQ (inside (processor).lfoCounter, reference.n);
	EXPECT_TRUE (sameBits (inside (processor).lastLfoInc, reference.lastLfoInc));
	EXPECT_TRUE (sameBits (inside (processor).levelSmoothed, reference.levelSmoothed));
	EXPECT_TRUE (sameBits (inside (processor).wetSmoothed, reference.wetSmoothed));
}

struct BlockStep
{
	int32 sampleSize;
	int32 samples;
	std::vector<std::pair<ParamID, double>> changes;
	// The sweep counter is put here before the block, in both.
	std::optional<int32> counterBefore;
};

struct ScenarioCase
{
	std::string name;
	double sampleRate;
	std::vector<BlockStep> blocks;
};

inline void PrintTo (const ScenarioCase& scenario, std::ostream* os)
{
	*os << scenario.name;
}

inline void expectScenarioMatchesReference (const ScenarioCase& scenario)
{
	auto processor = makeProcessor (scenario.sampleRate, kSample64);
	PhaserReference reference;
	reference.fs = scenario.sampleRate;
	reference.activate ();

	int64_t position = 0;
	for (size_t b = 0; b < scenario.blocks.size (); ++b)
	{
		const BlockStep& step = scenario.blocks[b];
		if (step.counterBefore)
		{
			inside (*processor).lfoCounter = *step.counterBefore;
			reference.n = *step.counterBefore;
		}
		Block block (*processor, step.sampleSize, step.samples);
		for (const auto& change : step.changes)
		{
			block.change (change.first, change.second);
			setReferenceParam (reference, change.first, change.second);
		}
		for (int32 j = 0; j < step.samples; ++j)
			for (int32 c = 0; c < 2; ++c)
				block.setInput (c, j, inputSample (c, position + j));
		ASSERT_EQ (block.run (), kResultOk);

		std::vector<double> inL (step.samples), inR (step.samples), outL (step.samples),
		    outR (step.samples);
		for (int32 j = 0; j < step.samples; ++j)
		{
			inL[j] = inputSample (0, position + j);
			inR[j] = inputSample (1, position + j);
		}
		if (step.sampleSize == kSample32)
		{
			std::vector<float> fL (inL.begin (), inL.end ()), fR (inR.begin (), inR.end ()),
			    oL (step.samples), oR (step.samples);
			reference.block (fL.data (), fR.data (), oL.data (), oR.data (), step.samples);
			outL.assign (oL.begin (), oL.end ());
			outR.assign (oR.begin (), oR.end ());
		}
		else
			reference.block (inL.data (), inR.data (), outL.data (), outR.data (), step.samples);

		int mismatches = 0;
		for (int32 j = 0; j < step.samples; ++j)
		{
			if (!sameBits (block.output (0, j), outL[j]) ||
			    !sameBits (block.output (1, j), outR[j]))
				++mismatches;
		}
		EXPECT_EQ (mismatches, 0) << "block " << b;
		expectSameState (*processor, reference);
		position += step.samples;
	}
}

// A block of a run held in both sample sizes.
struct TwinStep
{
	int32 samples;
	std::vector<std::pair<ParamID, double>> changes;
	std::optional<int32> counterBefore;
};

// The run written once, as name64 and as name32, the same blocks in each size.
inline void addTwins (std::vector<ScenarioCase>& runs, const std::string& name, double sampleRate,
                      const std::vector<TwinStep>& steps)
{
	for (int32 size : {kSample64, kSample32})
	{
		ScenarioCase run {name + (size == kSample64 ? "64" : "32"), sampleRate, {}};
		for (const TwinStep& step : steps)
			run.blocks.push_back ({size, step.samples, step.changes, step.counterBefore});
		runs.push_back (run);
	}
}

// The runs, one a line. The smoothers rest at their targets after
// activation and glide for some 3700 samples after a Level change, so each
// run covers the loops' settled and gliding forms where it says so.
// clang-format off
inline const std::vector<ScenarioCase>& phaserScenarios ()
{
	constexpr int32 kMax = INT32_MAX;
	static const std::vector<ScenarioCase> scenarios = [] {
		// Runs whose two sizes differ in their rates, lengths and changes.
		std::vector<ScenarioCase> runs = {
		    {"defaults64", 48000.0, {{kSample64, 4096, {}}, {kSample64, 1, {}}, {kSample64, 513, {}}}},
		    {"defaults32", 44100.0, {{kSample32, 4096, {}}, {kSample32, 7, {}}, {kSample32, 300, {}}}},
		    {"changes64",
		     96000.0,
		     {{kSample64, 700, {{kRateTag, 1.0}, {kFeedbackTag, 1.0}}},
		      {kSample64, 333, {{kRateTag, 0.0371}, {kDepthTag, 1.0}, {kLevelTag, 0.2}}},
		      {kSample64, 64, {{kRateTag, 0.0}}},
		      {kSample64, 900, {{kRateTag, 0.9}, {kMixTag, 0.3}, {kDegreeTag, 0.0}}},
		      {kSample64, 512, {{kFrequencyTag, 1.0}, {kDegreeTag, 1.0}}}}},
		    {"changes32",
		     48000.0,
		     {{kSample32, 700, {{kRateTag, 1.0}, {kFeedbackTag, 1.0}}},
		      {kSample32, 333, {{kRateTag, 0.0371}, {kDepthTag, 0.0}, {kLevelTag, 1.0}}},
		      {kSample32, 64, {{kRateTag, 0.0}}},
		      {kSample32, 900, {{kRateTag, 0.63}, {kMixTag, 0.0}, {kFrequencyTag, 0.0}}}}},
		    {"mixedSizes",
		     44100.0,
		     {{kSample64, 400, {{kRateTag, 0.7}}},
		      {kSample32, 300, {{kRateTag, 0.2}}},
		      {kSample64, 200, {{kRateTag, 0.45}}},
		      {kSample32, 100, {}},
		      {kSample64, 100, {{kMixTag, 0.6}}}}},
		};
		// Rate 0.15 to 1.0 at counter 30: the 32-bit rescale (× 1/lfoInc)
		// gives 4, the 64-bit one (÷ lfoInc) 5.
		addTwins (runs, "rescaleForms", 48000.0, {{30, {}}, {64, {{kRateTag, 1.0}}}});
		// Across the counter's limit, settled, then with the smoothers gliding:
		// a block that runs past it, one that ends on it, one that starts on it.
		addTwins (runs, "counterLimit", 48000.0,
		          {{64, {}, kMax - 5},
		           {60, {}, kMax - 60},
		           {10, {}},
		           {64, {{kLevelTag, 0.3}}, kMax - 5},
		           {60, {}, kMax - 60},
		           {10, {}}});
		// Rescales whose quotient leaves the counter's range.
		addTwins (runs, "rescaledOutOfRange", 48000.0,
		          {{1, {{kRateTag, 1.0}}},
		           {64, {{kRateTag, 0.001}}, 2000000000},
		           {1, {{kRateTag, 1.0}}},
		           {64, {{kRateTag, 1e-4}}, kMax - 1}});
		return runs;
	}();
	return scenarios;
}
// clang-format on

inline std::string scenarioName (const ::testing::TestParamInfo<ScenarioCase>& info)
{
	return info.param.name;
}

} // namespace zytest
