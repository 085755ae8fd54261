// The feedback's tail as a host meets it, through the built bundle. Silence
// flags only save work: while the chains still ring, a block flagged silent
// sounds exactly as the same block unflagged, and only once they have rung
// out does it take the silent path, so nothing of the ring is cut and
// nothing of it is kept for later. The tail the processor reports covers the
// longest ring.
#include "tests/processor/bundlehost.h"
#include "tools/hostkit/noise.h"

#include <algorithm>
#include <cmath>

namespace zytest {
namespace {

using BundleTail = BundleProcessorTest;

constexpr int32 kBlock = 512;
constexpr ParamID kFrequencyTag = 1;
constexpr ParamID kDepthTag = 2;
constexpr ParamID kRateTag = 4;
constexpr ParamID kFeedbackTag = 5;
constexpr double kMinus120dBFS = 1e-6;
constexpr double kTwoPi = 6.283185307179586;

void fillSteady (HostBlock& block, double value)
{
	for (int32 j = 0; j < kBlock; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setIn (c, j, value);
}

double peakOf (const HostBlock& block)
{
	double peak = 0.0;
	for (double value : block.outputs ())
		peak = std::max (peak, std::fabs (value));
	return peak;
}

double largestDifference (const HostBlock& a, const HostBlock& b)
{
	const std::vector<double> x = a.outputs ();
	const std::vector<double> y = b.outputs ();
	double largest = 0.0;
	for (size_t i = 0; i < x.size (); ++i)
		largest = std::max (largest, std::fabs (x[i] - y[i]));
	return largest;
}

int32 blocksOf (double seconds, double rate)
{
	return static_cast<int32> (seconds * rate / kBlock);
}

// Loud noise into two processors, then silence, flagged for one and not for
// its twin, then a tone into both. Full feedback at the lowest centre rings
// long; Rate 0 holds the sweep where it stands, so that when the tone comes
// back only what is left of the ring could tell the two apart.
TEST_F (BundleTail, AFlaggedRingSoundsAsTheUnflaggedOneAndLeavesNothingForLater)
{
	constexpr double kRate = 48000.0;
	for (int32 size : {kSample32, kSample64})
	{
		SCOPED_TRACE (size == kSample32 ? "32-bit" : "64-bit");
		auto flagged = makeProcessor (size, kRate, kBlock);
		auto twin = makeProcessor (size, kRate, kBlock);
		HostBlock flaggedBlock (size, false, kBlock);
		HostBlock twinBlock (size, false, kBlock);
		auto runBoth = [&] (uint64 flags) {
			flaggedBlock.inBus.silenceFlags = flags;
			twinBlock.inBus.silenceFlags = 0;
			ASSERT_EQ (flaggedBlock.run (audio (*flagged)), kResultOk);
			ASSERT_EQ (twinBlock.run (audio (*twin)), kResultOk);
		};

		for (HostBlock* block : {&flaggedBlock, &twinBlock})
		{
			block->change (kFeedbackTag, 1.0);
			block->change (kFrequencyTag, 0.0);
			block->change (kRateTag, 0.0);
		}
		zyhost::Noise noise {0x5eed};
		for (int32 index = 0; index < blocksOf (1.0, kRate); ++index)
		{
			for (int32 j = 0; j < kBlock; ++j)
				for (int32 c = 0; c < 2; ++c)
				{
					const double x = noise.fullScale ();
					flaggedBlock.setIn (c, j, x);
					twinBlock.setIn (c, j, x);
				}
			runBoth (0);
		}

		// The ring: the flagged blocks are the twin's, bit for bit, until the
		// chains have rung out.
		fillSteady (flaggedBlock, 0.0);
		fillSteady (twinBlock, 0.0);
		const int64 tail = audio (*flagged).getTailSamples ();
		int64 rang = 0;
		double firstPeak = -1.0;
		for (; rang <= tail; rang += kBlock)
		{
			runBoth (3);
			if (flaggedBlock.outBus.silenceFlags != 0)
				break;
			if (firstPeak < 0.0)
				firstPeak = peakOf (twinBlock);
			ASSERT_EQ (flaggedBlock.outputs (), twinBlock.outputs ()) << "at sample " << rang;
		}
		EXPECT_GT (firstPeak, 0.1) << "a loud ring to begin with";
		ASSERT_LE (rang, tail) << "the chains never rang out";
		EXPECT_EQ (flaggedBlock.outBus.silenceFlags, 3u);
		EXPECT_EQ (peakOf (flaggedBlock), 0.0);
		EXPECT_LT (peakOf (twinBlock), kMinus120dBFS) << "what the silent path leaves out";

		// A long flagged stretch stays silent.
		for (int32 index = 0; index < blocksOf (5.0, kRate); ++index)
		{
			runBoth (3);
			ASSERT_EQ (flaggedBlock.outBus.silenceFlags, 3u);
			ASSERT_EQ (peakOf (flaggedBlock), 0.0);
		}

		// Sound comes back: nothing of the old ring with it.
		double largest = 0.0;
		for (int32 index = 0; index < blocksOf (1.0, kRate); ++index)
		{
			for (HostBlock* block : {&flaggedBlock, &twinBlock})
				for (int32 j = 0; j < kBlock; ++j)
					for (int32 c = 0; c < 2; ++c)
						block->setIn (
						    c, j, 0.5 * std::sin (kTwoPi * 440.0 * (index * kBlock + j) / kRate));
			runBoth (0);
			largest = std::max (largest, largestDifference (flaggedBlock, twinBlock));
		}
		EXPECT_LT (largest, kMinus120dBFS);
	}
}

// The longest rings, driven by a steady full-scale input (which the slowest,
// unswinging ring takes hardest) at full feedback on the widest sweep of the
// lowest centre: the longest-ringing corner of the ranges, and that sweep
// brought to its bottom (4 Hz) by Rate 100 % and then held there by a Rate
// so slow that it stands still.
struct TailCase
{
	const char* name;
	bool parkAtBottom;
};

TEST_F (BundleTail, TheReportedTailCoversTheLongestRing)
{
	const TailCase cases[] = {
	    {"the longest-ringing corner", false},
	    {"the widest sweep standing at its bottom", true},
	};
	for (double rate : {44100.0, 48000.0, 96000.0})
		for (const TailCase& c : cases)
		{
			SCOPED_TRACE (c.name);
			SCOPED_TRACE (rate);
			auto component = makeProcessor (kSample64, rate, kBlock);
			IAudioProcessor& processor = audio (*component);
			const uint32 tail = processor.getTailSamples ();
			EXPECT_NE (tail, kInfiniteTail);
			EXPECT_GT (tail, 0u);

			HostBlock block (kSample64, false, kBlock);
			block.change (kFrequencyTag, 0.0);
			block.change (kDepthTag, 1.0);
			block.change (kRateTag, 1.0);
			block.change (kFeedbackTag, 1.0);
			fillSteady (block, 1.0);
			// At 2 Hz the left sweep is at its bottom after 0.375 s.
			const int32 bottom = static_cast<int32> (std::lround (0.375 * rate / kBlock));
			const int32 loudBlocks =
			    c.parkAtBottom ? bottom + blocksOf (2.0, rate) : blocksOf (1.0, rate);
			for (int32 index = 0; index < loudBlocks; ++index)
			{
				if (c.parkAtBottom && index == bottom)
					block.change (kRateTag, 1e-4);
				ASSERT_EQ (block.run (processor), kResultOk);
			}

			fillSteady (block, 0.0);
			int64 rang = 0;
			for (; rang <= int64 {tail}; rang += kBlock)
			{
				block.inBus.silenceFlags = 3;
				ASSERT_EQ (block.run (processor), kResultOk);
				if (block.outBus.silenceFlags == 3)
					break;
			}
			EXPECT_LE (rang, int64 {tail}) << "still ringing when the reported tail ends";
			// Far longer than the corners: the case the tail is made for.
			if (c.parkAtBottom)
				EXPECT_GT (rang, static_cast<int64> (20.0 * rate));
		}
}

} // namespace
} // namespace zytest
