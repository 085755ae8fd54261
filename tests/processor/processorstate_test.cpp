// The processor's setState and getState: the record a host stores and hands
// back, and what a restore does to the sound.
#include "tools/hostkit/processoraccess.h"
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace zytest {

using namespace zyhost;

namespace {

const PlugParams kOther = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8, true};

TEST (ProcessorState, FreshProcessorWritesTheDefaultRecord)
{
	auto processor = makeProcessor (48000.0, kSample64, false);
	EXPECT_EQ (stateBytes (*processor), recordOf (kPlugDefaultParams));
}

TEST (ProcessorState, SetStateThenGetStateGivesWhatWasSet)
{
	for (bool active : {false, true})
	{
		auto processor = makeProcessor (48000.0, kSample64, active);
		const double values[7] = {-0.5, 0.25, 1.5, 0.125, 0.375, 0.0, 1.0};
		const std::vector<uint8> bytes = record (-1, values, 5);
		EXPECT_EQ (processor->setState (streamOf (bytes)), kResultOk);
		std::vector<uint8> expected = bytes;
		std::fill (expected.begin (), expected.begin () + 8, 0); // written as 0
		expected[64] = 1;                                        // written as 1
		EXPECT_EQ (stateBytes (*processor), expected);
		// The processor takes the restored block over at the next block, or
		// at activation.
		if (active)
			flushParameters (*processor);
		else
			processor->setActive (true);
		EXPECT_EQ (inside (*processor).params.depth, 1.5);
		EXPECT_TRUE (inside (*processor).params.bypass);
		EXPECT_EQ (stateBytes (*processor), expected);
	}
}

TEST (ProcessorState, SetStateRecomputesTheDerivedValuesButDoesNotSnap)
{
	auto processor = makeProcessor (48000.0);
	const double values[7] = {1.0, 0.0, 0.0, 1.0, 0.5, 1.0, 0.0};
	ASSERT_EQ (processor->setState (streamOf (record (0, values, 0))), kResultOk);
	flushParameters (*processor);
	EXPECT_EQ (inside (*processor).centreHz, 100.0);
	EXPECT_EQ (inside (*processor).rateHz, 1.0);
	EXPECT_EQ (inside (*processor).feedback, 0.75);
	EXPECT_EQ (inside (*processor).wet, 0.0);
	EXPECT_EQ (inside (*processor).phaseOffset, 3.141592653589793);
	EXPECT_NEAR (20.0 * std::log10 (inside (*processor).levelGain), 12.0, 1e-12); // +12 dB
	// The smoothers glide to the restored values.
	EXPECT_EQ (inside (*processor).levelSmoothed, 1.0);
	EXPECT_EQ (inside (*processor).wetSmoothed, 0.5);
}

TEST (ProcessorState, RestoringTheDefaultsOnAnActiveProcessorChangesNothing)
{
	auto processor = makeProcessor (48000.0);
	const double before[4] = {inside (*processor).centreHz, inside (*processor).sweepHz,
	                          inside (*processor).lfoInc, inside (*processor).levelGain};
	const std::vector<uint8> defaults = stateBytes (*processor);
	EXPECT_EQ (processor->setState (streamOf (defaults)), kResultOk);
	const double after[4] = {inside (*processor).centreHz, inside (*processor).sweepHz,
	                         inside (*processor).lfoInc, inside (*processor).levelGain};
	EXPECT_EQ (std::memcmp (before, after, sizeof before), 0);
	EXPECT_EQ (stateBytes (*processor), defaults);
}

TEST (ProcessorState, FailedRestoreKeepsEverything)
{
	auto processor = makeProcessor (48000.0);
	const std::vector<uint8> before = stateBytes (*processor);
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const double withNan[7] = {0.1, 0.2, nan, 0.4, 0.6, 0.7, 0.8};
	std::vector<uint8> short40 = recordOf (kOther);
	short40.resize (40);
	for (const std::vector<uint8>& bad : {short40, record (0, withNan, 0)})
	{
		EXPECT_EQ (processor->setState (streamOf (bad)), kResultFalse);
		EXPECT_EQ (stateBytes (*processor), before);
		EXPECT_EQ (inside (*processor).params.level, 0.75);
	}
	EXPECT_EQ (processor->setState (nullptr), kResultFalse);
	EXPECT_EQ (processor->getState (nullptr), kResultFalse);
}

TEST (ProcessorState, ParameterChangesShowInTheNextGetState)
{
	auto processor = makeProcessor (48000.0);
	processor->setState (streamOf (recordOf (kOther)));
	Block block (*processor, kSample64, 16);
	block.change (kMixTag, 0.25);
	block.change (kBypassTag, 0.0);
	block.run ();
	PlugParams expected = kOther;
	expected.mix = 0.25;
	expected.bypass = false;
	EXPECT_EQ (stateBytes (*processor), recordOf (expected));
}

} // namespace
} // namespace zytest
