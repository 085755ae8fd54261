// setState and getState on the main thread against process on the audio
// thread, as real hosts call them. Built with ThreadSanitizer: any data race
// between the two fails the run. Beyond that the test shows what the
// hand-over between the threads promises:
// - every record getState writes during the race is one that was set, or one
//   that automation made of it, byte for byte;
// - every block sounds exactly like one whole parameter set: each candidate
//   set is rendered beside it from the same phaser state, and one must match
//   the block bit for bit;
// - blocks flagged silent while the chains ring sound as unflagged ones;
// - restores really do arrive while a block runs (they are counted), and none
//   is lost: once the threads are done, the next block sounds the last
//   restore made during the race, and getState writes it.
#include "tools/hostkit/processoraccess.h"
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

namespace zytest {

using namespace zyhost;
namespace {

constexpr int32 kBlockSize = 64;

// What the loop carries from block to block.
struct PhaserState
{
	double allpassLeft[12];
	double allpassRight[12];
	int32 lfoCounter;
	double sweepLowpassState[6];
	double lastLfoInc;
	double levelSmoothed;
	double wetSmoothed;

	explicit PhaserState (PlugProcessor& p)
	: lfoCounter (inside (p).lfoCounter)
	, lastLfoInc (inside (p).lastLfoInc)
	, levelSmoothed (inside (p).levelSmoothed)
	, wetSmoothed (inside (p).wetSmoothed)
	{
		std::memcpy (allpassLeft, inside (p).allpassLeft, sizeof allpassLeft);
		std::memcpy (allpassRight, inside (p).allpassRight, sizeof allpassRight);
		std::memcpy (sweepLowpassState, inside (p).sweepLowpassState, sizeof sweepLowpassState);
	}

	void applyTo (PlugProcessor& p) const
	{
		std::memcpy (inside (p).allpassLeft, allpassLeft, sizeof allpassLeft);
		std::memcpy (inside (p).allpassRight, allpassRight, sizeof allpassRight);
		std::memcpy (inside (p).sweepLowpassState, sweepLowpassState, sizeof sweepLowpassState);
		inside (p).lfoCounter = lfoCounter;
		inside (p).lastLfoInc = lastLfoInc;
		inside (p).levelSmoothed = levelSmoothed;
		inside (p).wetSmoothed = wetSmoothed;
	}
};

void fillInput (Block& block, int64_t first)
{
	for (int32 j = 0; j < kBlockSize; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, 0.5 * std::sin (0.1 * static_cast<double> (first + j) + c));
}

bool sameOutput (const Block& a, const Block& b)
{
	for (int32 c = 0; c < 2; ++c)
	{
		if (std::memcmp (a.data.outputs[0].channelBuffers32[c],
		                 b.data.outputs[0].channelBuffers32[c],
		                 kBlockSize * sizeof (Sample32)) != 0)
			return false;
	}
	return true;
}

// One parameter set the processor may run on, and a processor that renders
// it: it never takes part in the race.
struct Candidate
{
	PlugParams params;
	std::vector<uint8> bytes;
	IPtr<PlugProcessor> renderer;
	std::unique_ptr<Block> block;
};

TEST (StateAgainstProcessing, EveryRecordAndEveryBlockIsOneWholeParameterSet)
{
	const PlugParams quiet = {0.2, 0.1, 0.3, 0.0, 0.9, 0.1, 0.4, false};
	const PlugParams loud = {0.9, 0.8, 0.7, 1.0, 0.05, 0.9, 1.0, false};
	const PlugParams last = {0.6, 0.45, 0.15, 0.25, 0.35, 0.3, 0.65, false};
	// Automation sets two parameters at once, so that half of it would show.
	struct Automation
	{
		double mix;
		double feedback;
	};
	const Automation automation[2] = {{0.25, 0.2}, {0.75, 0.6}};

	std::vector<PlugParams> sets = {quiet, loud, last};
	for (const PlugParams& restored : {quiet, loud})
		for (const Automation& a : automation)
		{
			PlugParams automated = restored;
			automated.mix = a.mix;
			automated.feedback = a.feedback;
			sets.push_back (automated);
		}
	std::vector<Candidate> candidates;
	for (const PlugParams& set : sets)
	{
		Candidate c {set, recordOf (set), makeProcessor (48000.0, kSample32), nullptr};
		ASSERT_EQ (c.renderer->setState (streamOf (c.bytes)), kResultOk);
		c.block = std::make_unique<Block> (*c.renderer, kSample32, kBlockSize);
		candidates.push_back (std::move (c));
	}
	auto isCandidate = [&] (const std::vector<uint8>& bytes) {
		return std::any_of (candidates.begin (), candidates.end (),
		                    [&] (const Candidate& c) { return c.bytes == bytes; });
	};

	auto processor = makeProcessor (48000.0, kSample32);
	ASSERT_EQ (processor->setState (streamOf (recordOf (quiet))), kResultOk);

	std::atomic<bool> stop {false};
	std::atomic<bool> automate {true};
	std::atomic<bool> automationStopped {false};
	std::atomic<int> blocks {0};
	std::atomic<int> blocksBegun {0};
	std::atomic<int> strayBlocks {0};
	std::thread audio ([&] {
		Block block (*processor, kSample32, kBlockSize);
		size_t lastMatch = 0;
		for (int64_t n = 0; !stop.load (); ++n)
		{
			if (!automate.load ())
				automationStopped = true;
			else if (n % 7 == 0)
			{
				const Automation& a = automation[(n / 7) % 2];
				block.change (kMixTag, a.mix);
				block.change (kFeedbackTag, a.feedback);
			}
			fillInput (block, n * kBlockSize);
			// Some blocks flagged silent: the chains ring on the input they
			// read, so these sound as the others.
			block.data.inputs[0].silenceFlags = n % 5 == 4 ? 3 : 0;
			const PhaserState before (*processor);
			++blocksBegun;
			block.run ();
			++blocks;

			// The set that rendered this block last time is the likeliest.
			bool matched = false;
			for (size_t k = 0; k < candidates.size () && !matched; ++k)
			{
				const size_t index = (lastMatch + k) % candidates.size ();
				Candidate& c = candidates[index];
				before.applyTo (*c.renderer);
				fillInput (*c.block, n * kBlockSize);
				c.block->run ();
				if (sameOutput (block, *c.block))
				{
					matched = true;
					lastMatch = index;
				}
			}
			if (!matched)
				++strayBlocks;
		}
	});

	int refused = 0;
	int strayRecords = 0;
	// A restore that begins and ends while one and the same block runs.
	int restoresWithinABlock = 0;
	auto restore = [&] (const PlugParams& restored) {
		const int begunBefore = blocksBegun.load ();
		const bool running = begunBefore != blocks.load ();
		const tresult result = processor->setState (streamOf (recordOf (restored)));
		if (running && blocksBegun.load () == begunBefore && blocks.load () == begunBefore - 1)
			++restoresWithinABlock;
		return result;
	};
	// The tail the host reads follows the rate alone.
	const uint32 tail = processor->getTailSamples ();
	int tailChanges = 0;
	auto checkRecord = [&] () {
		if (!isCandidate (stateBytes (*processor)))
			++strayRecords;
		if (processor->getTailSamples () != tail)
			++tailChanges;
	};
	for (int round = 0; round < 20000; ++round)
	{
		const PlugParams& restored = round % 2 ? loud : quiet;
		if (restore (restored) != kResultOk)
			++refused;
		checkRecord ();
	}

	// The last restore, made while blocks keep running, after the last
	// automation.
	automate = false;
	while (!automationStopped.load ())
		std::this_thread::yield ();
	EXPECT_EQ (restore (last), kResultOk);
	const int blocksBefore = blocks.load ();
	while (blocks.load () < blocksBefore + 8)
	{
		checkRecord ();
		std::this_thread::yield ();
	}
	stop = true;
	audio.join ();

	EXPECT_EQ (refused, 0);
	EXPECT_GT (restoresWithinABlock, 0) << "no restore arrived while a block ran";
	EXPECT_EQ (strayRecords, 0);
	EXPECT_EQ (tailChanges, 0);
	EXPECT_EQ (strayBlocks.load (), 0) << "of " << blocks.load () << " blocks";
	EXPECT_EQ (stateBytes (*processor), recordOf (last));

	// The next block sounds the last restore, from the same phaser state.
	Candidate& lastSet = candidates[2];
	Block block (*processor, kSample32, kBlockSize);
	fillInput (block, 0);
	PhaserState (*processor).applyTo (*lastSet.renderer);
	fillInput (*lastSet.block, 0);
	block.run ();
	lastSet.block->run ();
	EXPECT_TRUE (sameOutput (block, *lastSet.block));
	EXPECT_EQ (stateBytes (*processor), recordOf (last));
}

} // namespace
} // namespace zytest
