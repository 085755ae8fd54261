// The per-sample phaser: both loops against the plain formulas, bit for bit,
// and the behaviour at its edges.
#include "tools/hostkit/processoraccess.h"
#include "tests/processor/phaserscenarios.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace zytest {
namespace {

std::vector<double> derivedOf (PlugProcessor& p)
{
	return {inside (p).centreHz, inside (p).sweepHz,   inside (p).rateHz,      inside (p).feedback,
	        inside (p).wet,      inside (p).levelGain, inside (p).phaseOffset, inside (p).lfoInc};
}

class PhaserAgainstFormulas : public ::testing::TestWithParam<ScenarioCase>
{
};

TEST_P (PhaserAgainstFormulas, EveryOutputAndTheStateMatchBitForBit)
{
	expectScenarioMatchesReference (GetParam ());
}

INSTANTIATE_TEST_SUITE_P (Scenarios, PhaserAgainstFormulas,
                          ::testing::ValuesIn (phaserScenarios ()), scenarioName);

// Fixed points of the sound, so that a change in both the loops and the
// formulas above cannot pass unseen.
TEST (PhaserGolden, ImpulseResponseAtDefaults)
{
	auto processor = makeProcessor (48000.0, kSample64);
	Block block (*processor, kSample64, 2048);
	block.setInput (0, 0, 1.0);
	block.setInput (1, 0, 1.0);
	block.run ();
	const struct
	{
		int32 index;
		double left, right;
	} golden[] = {
	    {0, 0x1.ffdcabeb57029p-1, 0x1.ffc9f4888d1acp-1},
	    {1, 0x1.7e11e777d7dffp-3, 0x1.7d0c7779dd9cdp-3},
	    {2, 0x1.1d817a9efd2d4p-4, 0x1.1c31c533673dcp-4},
	    {10, 0x1.217bfd0fb07b2p-6, 0x1.b05c9298490cap-6},
	    {100, 0x1.a2aa9114a07ebp-5, 0x1.ebf6b19f0e3e6p-5},
	    {1000, 0x1.0facdd8d02ebep-10, 0x1.1be62b41367abp-13},
	    {2047, 0x1.32f48cf4f92e6p-21, 0x1.12fe930df8188p-29},
	};
	for (const auto& g : golden)
	{
		EXPECT_TRUE (sameBits (block.output (0, g.index), g.left)) << g.index;
		EXPECT_TRUE (sameBits (block.output (1, g.index), g.right)) << g.index;
	}
}

TEST (PhaserEdges, EmptyBlockWritesNothingAndKeepsTheState)
{
	auto processor = makeProcessor (48000.0, kSample64);
	double left[4] = {1, 2, 3, 4}, right[4] = {5, 6, 7, 8};
	double* in[2] = {left, right};
	double outLeft[4] = {9, 9, 9, 9}, outRight[4] = {9, 9, 9, 9};
	double* out[2] = {outLeft, outRight};
	inside (*processor).processAudio64 (in, in, 4);
	const std::vector<uint8> chain (reinterpret_cast<uint8*> (inside (*processor).allpassLeft),
	                                reinterpret_cast<uint8*> (inside (*processor).allpassLeft) +
	                                    96);
	const int32 counter = inside (*processor).lfoCounter;
	for (int32 count : {0, -5})
	{
		inside (*processor).processAudio64 (in, out, count);
		EXPECT_EQ (outLeft[0], 9.0);
		EXPECT_EQ (inside (*processor).lfoCounter, counter);
		EXPECT_EQ (std::memcmp (chain.data (), inside (*processor).allpassLeft, 96), 0);
	}
}

TEST (PhaserEdges, MixAndLevelShapeTheBlend)
{
	// Mix 0: as the wet share dies away only the dry input remains.
	auto processor = makeProcessor (48000.0, kSample64);
	Block block (*processor, kSample64, 4096);
	block.change (kMixTag, 0.0);
	for (int32 j = 0; j < 4096; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, inputSample (c, j));
	block.run ();
	EXPECT_EQ (inside (*processor).wet, 0.0);
	EXPECT_EQ (inside (*processor).levelSmoothed, 1.0);
	const double x = inputSample (0, 4095) + 1e-18;
	EXPECT_NEAR (block.output (0, 4095), x, 1e-12);
	EXPECT_EQ (inside (*processor).levelGain, 1.0);

	// Mix 1 is an equal blend.
	auto full = makeProcessor (48000.0, kSample64);
	EXPECT_EQ (inside (*full).wet, 0.5);
	EXPECT_EQ (inside (*full).wetSmoothed, 0.5);
}

TEST (PhaserEdges, DegreeSetsTheStereoOffset)
{
	auto processor = makeProcessor (48000.0, kSample64);
	Block block (*processor, kSample64, 1024);
	block.change (kDegreeTag, 0.0);
	for (int32 j = 0; j < 1024; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, inputSample (0, j));
	block.run ();
	for (int32 j = 0; j < 1024; ++j)
		ASSERT_TRUE (sameBits (block.output (0, j), block.output (1, j))) << j;
	EXPECT_EQ (inside (*processor).phaseOffset, 0.0);
}

TEST (PhaserEdges, SilenceInGivesTinyOutputNotZero)
{
	auto processor = makeProcessor (48000.0, kSample64);
	Block block (*processor, kSample64, 256);
	block.run ();
	for (int32 j : {0, 100, 255})
	{
		EXPECT_NE (block.output (0, j), 0.0);
		EXPECT_LT (std::fabs (block.output (0, j)), 1e-17);
	}
}

TEST (PhaserEdges, InPlaceEqualsSeparateBuffers)
{
	for (int32 size : {kSample32, kSample64})
	{
		auto separate = makeProcessor (44100.0, size);
		auto inPlace = makeProcessor (44100.0, size);
		Block a (*separate, size, 777);
		Block b (*inPlace, size, 777);
		for (int32 j = 0; j < 777; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				a.setInput (c, j, inputSample (c, j));
				b.setInput (c, j, inputSample (c, j));
			}
		b.processInPlace ();
		a.run ();
		b.run ();
		for (int32 j = 0; j < 777; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				const double viaInput = size == kSample32
				                            ? double (b.data.inputs[0].channelBuffers32[c][j])
				                            : b.data.inputs[0].channelBuffers64[c][j];
				ASSERT_TRUE (sameBits (a.output (c, j), viaInput)) << j;
			}
	}
}

// The sweep phase lfoInc × counter, one turn taken off.
double sweepTurn (double increment, int64_t counter)
{
	return std::fmod (increment * static_cast<double> (counter), 6.283185307179586);
}

double turnDistance (double a, double b)
{
	const double d = std::fabs (a - b);
	return std::min (d, 6.283185307179586 - d);
}

TEST (PhaserCounter, RateChangeKeepsThePhaseWithinHalfAStep)
{
	for (int32 size : {kSample32, kSample64})
	{
		auto processor = makeProcessor (48000.0, size);
		Block first (*processor, size, 5000);
		first.change (kRateTag, 0.8);
		first.run ();
		const double oldPhase = inside (*processor).lfoInc * inside (*processor).lfoCounter;
		Block second (*processor, size, 1);
		second.change (kRateTag, 0.3);
		second.run ();
		const double newPhase = inside (*processor).lfoInc * (inside (*processor).lfoCounter - 1);
		EXPECT_LE (std::fabs (newPhase - oldPhase), 0.5 * inside (*processor).lfoInc + 1e-15);
	}
}

// The 32-bit loop rescales the counter as old × n × (1 / new), the 64-bit
// loop as old × n / new. At 48 kHz, Rate 0.15 to 1.0 with the counter at 30,
// the two forms round to different counters.
TEST (PhaserCounter, EachSampleSizeKeepsItsRescaleForm)
{
	const struct
	{
		int32 size;
		int32 rescaled;
	} cases[] = {{kSample32, 4}, {kSample64, 5}};
	for (const auto& c : cases)
	{
		auto processor = makeProcessor (48000.0, c.size);
		Block first (*processor, c.size, 30);
		first.run ();
		ASSERT_EQ (inside (*processor).lfoCounter, 30);
		Block second (*processor, c.size, 1);
		second.change (kRateTag, 1.0);
		second.run ();
		// the rescaled counter, then one sample counted
		EXPECT_EQ (inside (*processor).lfoCounter, c.rescaled + 1) << c.size;
	}
}

TEST (PhaserCounter, StaysInRangeAtTheLimitAndKeepsThePhase)
{
	struct Case
	{
		const char* name;
		int32 start;
		double rateBefore, rateAfter;
	};
	const Case cases[] = {
	    {"counting up to the limit", INT32_MAX - 10, 0.15, 0.15},
	    {"rescaled past the limit", 2000000000, 1.0, 0.001},
	    {"rescaled far past the limit", INT32_MAX - 1, 1.0, 1e-4},
	};
	for (const Case& c : cases)
	{
		auto processor = makeProcessor (48000.0, kSample64);
		Block setRate (*processor, kSample64, 1);
		setRate.change (kRateTag, c.rateBefore);
		setRate.run ();
		inside (*processor).lfoCounter = c.start;
		const double phaseBefore = sweepTurn (inside (*processor).lfoInc, c.start);

		Block block (*processor, kSample64, 64);
		block.change (kRateTag, c.rateAfter);
		block.run ();
		const double increment = inside (*processor).lfoInc;
		// 64 steps of the new increment after the phase that was reached.
		const double expected = std::fmod (phaseBefore + 64 * increment, 6.283185307179586);
		EXPECT_GE (inside (*processor).lfoCounter, 0) << c.name;
		EXPECT_LE (turnDistance (sweepTurn (increment, inside (*processor).lfoCounter), expected),
		           0.5 * increment + 1e-9)
		    << c.name;
	}
}

TEST (PhaserCounter, BelowTheLimitTheSoundIsUnchanged)
{
	auto processor = makeProcessor (48000.0, kSample64);
	PhaserReference reference;
	reference.fs = 48000.0;
	reference.activate ();
	inside (*processor).lfoCounter = INT32_MAX - 100;
	reference.n = INT32_MAX - 100;
	Block block (*processor, kSample64, 99);
	std::vector<double> in (99, 0.25), outL (99), outR (99);
	for (int32 j = 0; j < 99; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, 0.25);
	block.run ();
	reference.block (in.data (), in.data (), outL.data (), outR.data (), 99);
	for (int32 j = 0; j < 99; ++j)
		ASSERT_TRUE (sameBits (block.output (0, j), outL[j])) << j;
	EXPECT_EQ (inside (*processor).lfoCounter, INT32_MAX - 1);
}

TEST (PhaserRecovery, NonFiniteInputClearsOnlyTheAffectedChain)
{
	const double inf = std::numeric_limits<double>::infinity ();
	for (double bad : {std::numeric_limits<double>::quiet_NaN (), inf, -inf})
	{
		for (int32 size : {kSample32, kSample64})
		{
			auto hit = makeProcessor (48000.0, size);
			auto clean = makeProcessor (48000.0, size);
			for (int round = 0; round < 2; ++round)
			{
				Block a (*hit, size, 300);
				Block b (*clean, size, 300);
				for (int32 j = 0; j < 300; ++j)
					for (int32 c = 0; c < 2; ++c)
					{
						a.setInput (c, j, inputSample (c, j));
						b.setInput (c, j, inputSample (c, j));
					}
				if (round == 0)
					a.setInput (0, 120, bad);
				a.run ();
				b.run ();
				// The right channel never saw it.
				for (int32 j = 0; j < 300; ++j)
					ASSERT_TRUE (sameBits (a.output (1, j), b.output (1, j)));
				if (round == 0)
				{
					EXPECT_FALSE (std::isfinite (a.output (0, 299)));
					for (double v : inside (*hit).allpassLeft)
						EXPECT_EQ (v, 0.0);
				}
				else
				{
					for (int32 j = 0; j < 300; ++j)
						ASSERT_TRUE (std::isfinite (a.output (0, j))) << j;
				}
			}
		}
	}
}

// Found by fuzz_process: a finite but enormous input stayed in the chain, and
// the plain blocks after it came out enormous, or infinite in 32 bits.
TEST (PhaserRecovery, EnormousInputDoesNotOutliveItsBlock)
{
	const struct
	{
		int32 size;
		double bad;
	} cases[] = {{kSample64, 4.9e164}, {kSample64, -1e25}, {kSample32, 3e38}, {kSample32, -1e30}};
	for (const auto& c : cases)
	{
		for (int32 nextSize : {kSample32, kSample64})
		{
			auto processor = makeProcessor (48000.0, c.size);
			Block hit (*processor, c.size, 300);
			for (int32 j = 0; j < 300; ++j)
				for (int32 ch = 0; ch < 2; ++ch)
					hit.setInput (ch, j, inputSample (ch, j));
			hit.setInput (0, 120, c.bad);
			hit.run ();
			for (double v : inside (*processor).allpassLeft)
				EXPECT_EQ (v, 0.0) << c.bad;
			// The right channel never saw it.
			EXPECT_NE (inside (*processor).allpassRight[0], 0.0);

			Block next (*processor, nextSize, 300);
			for (int32 j = 0; j < 300; ++j)
				for (int32 ch = 0; ch < 2; ++ch)
					next.setInput (ch, j, inputSample (ch, j + 300));
			next.run ();
			for (int32 j = 0; j < 300; ++j)
				ASSERT_LT (std::fabs (next.output (0, j)), 100.0) << c.bad << " at " << j;
		}
	}
}

TEST (PhaserParameters, ValuesOutsideTheRangeSoundAsItsEnds)
{
	struct Case
	{
		ParamID id;
		double stored, soundsAs;
	};
	const double inf = std::numeric_limits<double>::infinity ();
	const Case cases[] = {{kLevelTag, 5.0, 1.0},    {kLevelTag, -2.0, 0.0},
	                      {kFeedbackTag, 3.0, 1.0}, {kFrequencyTag, 1.5, 1.0},
	                      {kDepthTag, -0.5, 0.0},   {kRateTag, 10.0, 1.0},
	                      {kMixTag, 2.0, 1.0},      {kDegreeTag, -1.0, 0.0}};
	for (const Case& c : cases)
	{
		auto processor = makeProcessor (48000.0, kSample64);
		auto limit = makeProcessor (48000.0, kSample64);
		Block a (*processor, kSample64, 8);
		Block b (*limit, kSample64, 8);
		a.change (c.id, c.stored);
		b.change (c.id, c.soundsAs);
		a.run ();
		b.run ();
		EXPECT_EQ (derivedOf (*processor), derivedOf (*limit)) << c.id;
		PlugParams stored {};
		stored.read (streamOf (stateBytes (*processor)));
		EXPECT_EQ (stored.value (c.id), c.stored);
	}
	EXPECT_LE (PlugProcessor::deriveValues ({inf, 0, 0, 0, 0, inf, 0, false}, 1.0).feedback, 0.75);
}

} // namespace
} // namespace zytest
