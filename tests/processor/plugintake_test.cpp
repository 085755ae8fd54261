// The parameter intake: a block's changes into the parameter block, and the
// derived values they lead to.
#include "tools/hostkit/processoraccess.h"
#include "tests/processor/phaserstate.h"
#include "tools/hostkit/processorhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zytest {

using namespace zyhost;

namespace {

TEST (ParameterIntake, LastPointOfEachQueueStandsForTheBlock)
{
	auto processor = makeProcessor (48000.0);
	Block block (*processor, kSample64, 128);
	block.change (kRateTag, 0.2, 0);
	block.change (kRateTag, 0.6, 100);
	block.run ();
	EXPECT_EQ (inside (*processor).params.rate, 0.6);
	EXPECT_EQ (inside (*processor).rateHz, 1.2);
	EXPECT_EQ (inside (*processor).lfoInc, inside (*processor).twoPiOverFs * 1.2);
	// The new rate reached the first sample through the counter rescale.
	EXPECT_EQ (inside (*processor).lastLfoInc, inside (*processor).lfoInc);
}

TEST (ParameterIntake, EveryTagReachesItsValue)
{
	// Each value shows in its own place of the state record, in tag order.
	for (int32 tag = 0; tag < kPlugValueCount; ++tag)
	{
		auto processor = makeProcessor (48000.0);
		Block block (*processor, kSample64, 4);
		const double value = 0.1 * (tag + 1);
		block.change (tag, value);
		block.run ();
		StateValues expected = kDefaultStateValues;
		expected[tag] = value;
		EXPECT_EQ (stateBytes (*processor), record (0, expected, 0)) << tag;
	}
}

TEST (ParameterIntake, BypassIsOnAboveOneHalf)
{
	const struct
	{
		double value;
		bool on;
	} cases[] = {{0.5, false}, {0.51, true}, {1.0, true}, {0.0, false}};
	auto processor = makeProcessor (48000.0);
	for (const auto& c : cases)
	{
		Block block (*processor, kSample64, 4);
		block.change (kBypassTag, c.value);
		block.run ();
		EXPECT_EQ (inside (*processor).params.bypass, c.on) << c.value;
	}
}

TEST (ParameterIntake, UnknownTagsAndNonFinitePointsChangeNothing)
{
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const double inf = std::numeric_limits<double>::infinity ();
	const struct
	{
		ParamID id;
		double value;
	} cases[] = {
	    {8, 0.3},         {42, 1.0}, {kLevelTag, nan}, {kMixTag, inf}, {kFeedbackTag, -inf},
	    {kBypassTag, nan}};
	for (const auto& c : cases)
	{
		auto processor = makeProcessor (48000.0);
		const std::vector<uint8> before = stateBytes (*processor);
		const double gain = inside (*processor).levelGain;
		Block block (*processor, kSample64, 4);
		block.change (c.id, c.value);
		EXPECT_EQ (block.run (), kResultOk);
		EXPECT_EQ (stateBytes (*processor), before) << c.id;
		EXPECT_EQ (inside (*processor).levelGain, gain);
	}
}

// What each parameter's ends and defaults mean to a user, in the units the
// controller shows: the derived values a block's change leads to.
TEST (ParameterIntake, DerivedValuesMeetTheShownRanges)
{
	using Figure = double (*) (PlugProcessor&);
	const Figure decibels = [] (PlugProcessor& p) {
		return 20.0 * std::log10 (inside (p).levelGain);
	};
	const Figure centreHz = [] (PlugProcessor& p) { return inside (p).centreHz; };
	const Figure sweepShare = [] (PlugProcessor& p) {
		return inside (p).sweepHz / inside (p).centreHz;
	};
	const Figure degrees = [] (PlugProcessor& p) { return inside (p).phaseOffset * 180.0 / M_PI; };
	const Figure rateHz = [] (PlugProcessor& p) { return inside (p).rateHz; };
	const Figure feedback = [] (PlugProcessor& p) { return inside (p).feedback; };
	const Figure wetShare = [] (PlugProcessor& p) { return inside (p).wet; };
	const struct
	{
		const char* what;
		ParamID id;
		double value;
		Figure figure;
		double expected;
		double tolerance;
	} cases[] = {
	    {"Level at its default is 0 dB", kLevelTag, 0.75, decibels, 0.0, 0.0},
	    {"Level ends at -36 dB", kLevelTag, 0.0, decibels, -36.0, 1e-12},
	    {"Level ends at +12 dB", kLevelTag, 1.0, decibels, 12.0, 1e-12},
	    {"Frequency ends at 100 Hz", kFrequencyTag, 0.0, centreHz, 100.0, 0.0},
	    {"Frequency ends at 4000 Hz", kFrequencyTag, 1.0, centreHz, 4000.0, 1e-9},
	    {"Frequency's six-place default is not quite 700 Hz", kFrequencyTag, 0.527507, centreHz,
	     699.9997, 1e-4},
	    {"Depth 0 still sweeps a tenth of the centre", kDepthTag, 0.0, sweepShare, 0.1, 1e-15},
	    {"full Depth sweeps 0.96 of the centre", kDepthTag, 1.0, sweepShare, 0.96, 1e-15},
	    {"Degree ends at 180 degrees", kDegreeTag, 1.0, degrees, 180.0, 1e-12},
	    {"Degree at its default is 90 degrees", kDegreeTag, 0.5, degrees, 90.0, 1e-12},
	    {"Rate ends at 2 Hz", kRateTag, 1.0, rateHz, 2.0, 0.0},
	    {"Rate at its default is 0.3 Hz", kRateTag, 0.15, rateHz, 0.3, 1e-15},
	    {"full Feedback feeds three quarters back", kFeedbackTag, 1.0, feedback, 0.75, 0.0},
	    {"full Mix is an equal blend", kMixTag, 1.0, wetShare, 0.5, 0.0},
	};
	for (const auto& c : cases)
	{
		auto processor = makeProcessor (48000.0);
		Block block (*processor, kSample64, 4);
		block.change (c.id, c.value);
		block.run ();
		EXPECT_NEAR (c.figure (*processor), c.expected, c.tolerance) << c.what;
	}
}

TEST (ParameterIntake, FlushBlockWithoutBusesStillTakesTheChanges)
{
	auto processor = makeProcessor (48000.0);
	Block block (*processor, kSample64, 16);
	block.change (kFeedbackTag, 0.0);
	block.data.numInputs = 0;
	block.data.numOutputs = 0;
	const std::vector<uint8> before = phaserState (*processor);
	EXPECT_EQ (block.run (), kResultOk);
	EXPECT_EQ (inside (*processor).params.feedback, 0.0);
	EXPECT_EQ (inside (*processor).feedback, 0.0);
	EXPECT_EQ (phaserState (*processor), before);
}

} // namespace
} // namespace zytest
