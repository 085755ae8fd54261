// What process does with a block's audio after the intake: the silence and
// bypass paths, and blocks the phaser cannot run on.
#include "tests/processor/phaserstate.h"
#include "tools/hostkit/processorhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace zytest {

using namespace zyhost;

namespace {

void fillInput (Block& block, int32 samples)
{
	for (int32 j = 0; j < samples; ++j)
		for (int32 c = 0; c < 2; ++c)
			block.setInput (c, j, 0.25 * (c + 1) * std::sin (0.05 * j));
}

TEST (AudioDispatch, SilentInputClearsTheOutputAndHoldsThePhaser)
{
	for (int32 size : {kSample32, kSample64})
	{
		auto processor = makeProcessor (48000.0, size);
		Block block (*processor, size, 64);
		fillInput (block, 64);
		// Leave something in the output to be cleared.
		std::memset (block.data.outputs[0].channelBuffers64[0], 0x7f,
		             64 * (size == kSample32 ? sizeof (Sample32) : sizeof (Sample64)));
		block.data.inputs[0].silenceFlags = 3;
		const std::vector<uint8> before = phaserState (*processor);
		EXPECT_EQ (block.run (), kResultOk);
		EXPECT_EQ (block.data.outputs[0].silenceFlags, 3u);
		for (int32 j = 0; j < 64; ++j)
		{
			EXPECT_EQ (block.output (0, j), 0.0);
			EXPECT_EQ (block.output (1, j), 0.0);
		}
		EXPECT_EQ (phaserState (*processor), before);
	}
}

TEST (AudioDispatch, BypassCopiesAndResumesWhereItStopped)
{
	for (int32 size : {kSample32, kSample64})
	{
		auto processor = makeProcessor (48000.0, size);
		Block warm (*processor, size, 100);
		fillInput (warm, 100);
		warm.run ();
		const std::vector<uint8> before = phaserState (*processor);

		Block bypassed (*processor, size, 100);
		fillInput (bypassed, 100);
		bypassed.data.outputs[0].silenceFlags = 3;
		bypassed.change (kBypassTag, 1.0);
		bypassed.run ();
		EXPECT_EQ (bypassed.data.outputs[0].silenceFlags, 0u);
		for (int32 j = 0; j < 100; ++j)
			for (int32 c = 0; c < 2; ++c)
			{
				const double in = 0.25 * (c + 1) * std::sin (0.05 * j);
				ASSERT_EQ (bypassed.output (c, j), size == kSample32 ? double (float (in)) : in)
				    << j;
			}
		EXPECT_EQ (phaserState (*processor), before);

		// In place, bypass writes nothing at all.
		Block inPlace (*processor, size, 100);
		fillInput (inPlace, 100);
		inPlace.processInPlace ();
		inPlace.data.outputs[0].silenceFlags = 3;
		inPlace.run ();
		EXPECT_EQ (inPlace.data.outputs[0].silenceFlags, 0u);
		EXPECT_EQ (phaserState (*processor), before);

		Block resumed (*processor, size, 100);
		fillInput (resumed, 100);
		resumed.change (kBypassTag, 0.0);
		resumed.run ();
		EXPECT_NE (phaserState (*processor), before);
	}
}

TEST (AudioDispatch, EmptyOrNarrowBlocksAreAnsweredWithoutHarm)
{
	auto processor = makeProcessor (48000.0);
	{
		Block block (*processor, kSample64, 16);
		block.data.numSamples = 0;
		const std::vector<uint8> before = phaserState (*processor);
		EXPECT_EQ (block.run (), kResultOk);
		EXPECT_EQ (phaserState (*processor), before);
	}
	{
		// One output channel: the phaser needs two, so the block passes through.
		Block block (*processor, kSample64, 16);
		fillInput (block, 16);
		block.data.outputs[0].numChannels = 1;
		const std::vector<uint8> before = phaserState (*processor);
		EXPECT_EQ (block.run (), kResultOk);
		EXPECT_EQ (block.output (0, 5), 0.25 * std::sin (0.25));
		EXPECT_EQ (phaserState (*processor), before);
	}
}

} // namespace
} // namespace zytest
