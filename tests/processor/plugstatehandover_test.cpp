// A restore that arrives while a block runs, made to happen on purpose: the
// block's parameter changes call setState from inside process. The next
// block must sound the restored set (with its own automation on top), and
// getState must show the restored record from the moment setState returns.
#include "tests/processor/restoringchanges.h"
#include "tools/hostkit/processorhost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zytest {

using namespace zyhost;
namespace {

constexpr int32 kBlockSize = 32;

const PlugParams kRestored = {0.4, 0.7, 0.9, 0.2, 0.8, 0.6, 0.5, false};

using Change = std::pair<ParamID, double>;

void fillInput (Block& block, int32 index)
{
	for (int32 j = 0; j < kBlockSize; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, 0.4 * std::sin (0.07 * (index * kBlockSize + j) + c));
}

std::vector<double> outputOf (const Block& block)
{
	std::vector<double> samples;
	for (int32 c = 0; c < 2; ++c)
		for (int32 j = 0; j < kBlockSize; ++j)
			samples.push_back (block.output (c, j));
	return samples;
}

struct MidBlockRestoreCase
{
	const char* name;
	PlugParams restored;
	std::vector<Change> duringBlock; // automation of the block the restore arrives in
	std::vector<Change> nextBlock;   // automation of the block after it
};

TEST (StateHandOver, ARestoreDuringABlockSoundsFromTheNextBlockOn)
{
	PlugParams bypassed = kRestored;
	bypassed.bypass = true;
	const MidBlockRestoreCase cases[] = {
	    {"nothing else moves", kRestored, {}, {}},
	    {"the restore replaces the block's automation", kRestored, {{kMixTag, 0.25}}, {}},
	    {"later automation applies on top", kRestored, {}, {{kFeedbackTag, 0.1}, {kRateTag, 0.3}}},
	    {"a bypassed record", bypassed, {{kLevelTag, 0.6}}, {}},
	};
	for (int32 sampleSize : {kSample64, kSample32})
		for (const MidBlockRestoreCase& c : cases)
		{
			SCOPED_TRACE (c.name);
			SCOPED_TRACE (sampleSize == kSample32 ? "32-bit" : "64-bit");
			auto processor = makeProcessor (48000.0, sampleSize);
			auto twin = makeProcessor (48000.0, sampleSize);
			Block block (*processor, sampleSize, kBlockSize);
			Block twinBlock (*twin, sampleSize, kBlockSize);
			auto runBoth = [&] (int32 index, const std::vector<Change>& changes) {
				for (Block* b : {&block, &twinBlock})
				{
					fillInput (*b, index);
					for (const Change& change : changes)
						b->change (change.first, change.second);
				}
				block.run ();
				twinBlock.run ();
			};
			for (int32 index = 0; index < 3; ++index)
				runBoth (index, {});

			// The restore arrives inside block 3; the twin gets it after block 3.
			const std::vector<uint8> restoredRecord = recordOf (c.restored);
			RestoringChanges restoring (*processor, block.changes, restoredRecord);
			block.data.inputParameterChanges = &restoring;
			runBoth (3, c.duringBlock);
			block.data.inputParameterChanges = &block.changes;
			ASSERT_EQ (restoring.restoreResult, kResultOk);
			ASSERT_EQ (twin->setState (streamOf (restoredRecord)), kResultOk);
			EXPECT_EQ (outputOf (block), outputOf (twinBlock)) << "the block it arrived in";
			EXPECT_EQ (stateBytes (*processor), restoredRecord) << "before the next block";

			runBoth (4, c.nextBlock);
			EXPECT_EQ (outputOf (block), outputOf (twinBlock)) << "the next block";
			PlugParams expected = c.restored;
			for (const Change& change : c.nextBlock)
				expected.setNormalized (change.first, change.second);
			EXPECT_EQ (stateBytes (*processor), recordOf (expected)) << "after the next block";
			EXPECT_EQ (stateBytes (*twin), recordOf (expected));
		}
}

} // namespace
} // namespace zytest
