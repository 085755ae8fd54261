// A block that begins while a restore holds the parameters, made to happen
// on purpose: the restore's probe runs blocks right then. Each such block
// must sound like the restored block with its own parameter changes, and
// those changes must outlive the restore.
#include "tests/support/processorhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace zytest {
namespace {

constexpr int32 kBlockSize = 32;

const PlugParams kDefaults = {0.75, 0.527507, 0.5, 0.5, 0.15, 0.5, 1.0, false};
const PlugParams kRestored = {0.4, 0.7, 0.9, 0.2, 0.8, 0.6, 0.5, false};

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

using Change = std::pair<ParamID, double>;

struct BesideRestoreCase
{
	const char* name;
	// The parameter changes of each block that runs inside the restore.
	std::vector<std::vector<Change>> blocks;
};

// Runs the blocks of a case while the restore holds the parameters.
struct Probe
{
	PlugProcessor* processor;
	const BesideRestoreCase* scenario;
	std::vector<std::vector<double>> outputs;
	std::vector<std::vector<uint8>> paramsDuring;

	static void run (void* context)
	{
		auto& probe = *static_cast<Probe*> (context);
		for (size_t b = 0; b < probe.scenario->blocks.size (); ++b)
		{
			Block block (*probe.processor, kSample64, kBlockSize);
			fillInput (block, static_cast<int32> (b));
			for (const Change& change : probe.scenario->blocks[b])
				block.change (change.first, change.second);
			block.run ();
			probe.outputs.push_back (outputOf (block));
			probe.paramsDuring.push_back (recordOf (probe.processor->params));
		}
	}
};

TEST (StateHandOver, BlocksBesideARestoreRunOnItAndKeepTheirChanges)
{
	const BesideRestoreCase cases[] = {
	    {"one block, no changes", {{}}},
	    {"one block with a change", {{{kMixTag, 0.25}}}},
	    {"two blocks, their changes add up", {{{kMixTag, 0.25}}, {{kFeedbackTag, 0.1}}}},
	    {"a later change wins", {{{kRateTag, 0.3}}, {{kRateTag, 0.9}, {kLevelTag, 0.6}}}},
	    {"bypass from inside", {{{kBypassTag, 1.0}}}},
	};
	for (const BesideRestoreCase& c : cases)
	{
		SCOPED_TRACE (c.name);
		auto processor = makeProcessor (48000.0, kSample64);
		Probe probe {processor.get (), &c, {}, {}};
		processor->stateHandOver.setRestoreProbe (&Probe::run, &probe);
		ASSERT_EQ (processor->setState (streamOf (recordOf (kRestored))), kResultOk);
		processor->stateHandOver.setRestoreProbe (nullptr, nullptr);
		ASSERT_EQ (probe.outputs.size (), c.blocks.size ());

		// A processor that gets each block's parameters the plain way, one
		// restore per block, renders what every block must sound like.
		auto twin = makeProcessor (48000.0, kSample64);
		PlugParams expected = kRestored;
		for (size_t b = 0; b < c.blocks.size (); ++b)
		{
			// The blocks did not touch the parameters the restore held.
			EXPECT_EQ (probe.paramsDuring[b], recordOf (kDefaults)) << b;
			for (const Change& change : c.blocks[b])
			{
				double* fields[7] = {&expected.level,  &expected.frequency, &expected.depth,
				                     &expected.degree, &expected.rate,      &expected.feedback,
				                     &expected.mix};
				if (change.first == kBypassTag)
					expected.bypass = change.second > 0.5;
				else
					*fields[change.first] = change.second;
			}
			ASSERT_EQ (twin->setState (streamOf (recordOf (expected))), kResultOk);
			Block block (*twin, kSample64, kBlockSize);
			fillInput (block, static_cast<int32> (b));
			block.run ();
			EXPECT_EQ (probe.outputs[b], outputOf (block)) << b;
		}

		// The changes are not lost: getState shows them at once, and the
		// next block takes them over into the processor's parameters.
		EXPECT_EQ (stateBytes (*processor), recordOf (expected));
		Block next (*processor, kSample64, kBlockSize);
		Block twinNext (*twin, kSample64, kBlockSize);
		for (Block* block : {&next, &twinNext})
		{
			fillInput (*block, static_cast<int32> (c.blocks.size ()));
			block->run ();
		}
		EXPECT_EQ (outputOf (next), outputOf (twinNext));
		EXPECT_EQ (recordOf (processor->params), recordOf (expected));
		EXPECT_EQ (processor->centreHz, twin->centreHz);
		EXPECT_EQ (processor->wet, twin->wet);
		EXPECT_EQ (stateBytes (*processor), recordOf (expected));
	}
}

} // namespace
} // namespace zytest
