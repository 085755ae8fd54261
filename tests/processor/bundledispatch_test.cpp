// What a block's buses and flags do to its audio, as a host meets it: the
// processor loaded from the built bundle, blocks built by hand the way hosts
// send them (silence flags per channel, buffers shared with the input, an
// input bus switched off).
#include "tests/processor/bundlehost.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>

namespace zytest {
namespace {

using BundleDispatch = BundleProcessorTest;

struct FlagCase
{
	uint64 flags;
	bool inPlace;
	bool bypass;
	int32 sampleSize;
};

std::string nameOf (const FlagCase& c)
{
	return std::string ("flags ") + std::to_string (c.flags) + (c.inPlace ? ", in place" : "") +
	       (c.bypass ? ", bypassed" : "") + (c.sampleSize == kSample32 ? ", 32-bit" : ", 64-bit");
}

// A processor that gets the flags is held against one that gets the same
// blocks without them: two blocks to warm up, the flagged block, one more.
// After the warm-up the chains ring, so only a bypassed block flagged silent
// in every channel takes the silent path (the ring-out itself is
// bundletail_test.cpp's).
TEST_F (BundleDispatch, SilenceFlagsSilenceOnlyABlockSilentInEveryChannel)
{
	std::vector<FlagCase> cases;
	for (int32 size : {kSample32, kSample64})
		for (bool bypass : {false, true})
			for (bool inPlace : {false, true})
				for (uint64 flags : {1u, 2u, 3u})
					cases.push_back ({flags, inPlace, bypass, size});

	for (const FlagCase& c : cases)
	{
		SCOPED_TRACE (nameOf (c));
		auto flagged = makeProcessor (c.sampleSize);
		auto plain = makeProcessor (c.sampleSize);
		HostBlock flaggedBlock (c.sampleSize, c.inPlace);
		HostBlock plainBlock (c.sampleSize, c.inPlace);
		for (int32 index = 0; index < 2; ++index)
		{
			flaggedBlock.fill (index);
			plainBlock.fill (index);
			if (c.bypass && index == 1)
			{
				flaggedBlock.change (kBypassTag, 1.0);
				plainBlock.change (kBypassTag, 1.0);
			}
			ASSERT_EQ (flaggedBlock.run (audio (*flagged)), kResultOk);
			ASSERT_EQ (plainBlock.run (audio (*plain)), kResultOk);
		}

		flaggedBlock.fill (2);
		plainBlock.fill (2);
		flaggedBlock.inBus.silenceFlags = c.flags;
		std::vector<double> inputs;
		for (int32 ch = 0; ch < 2; ++ch)
			for (int32 j = 0; j < kSamples; ++j)
				inputs.push_back (flaggedBlock.in (ch, j));
		ASSERT_EQ (flaggedBlock.run (audio (*flagged)), kResultOk);

		if (c.flags == 3 && c.bypass)
		{
			// The silent path: zeros (or the input left as it is), the flags
			// copied, and the phaser holds: its next block is the block the
			// other processor runs now.
			const std::vector<double> silence (kBlockValues, 0.0);
			EXPECT_EQ (flaggedBlock.outputs (), c.inPlace ? inputs : silence);
			EXPECT_EQ (flaggedBlock.outBus.silenceFlags, 3u);
			flaggedBlock.fill (2);
			ASSERT_EQ (flaggedBlock.run (audio (*flagged)), kResultOk);
			ASSERT_EQ (plainBlock.run (audio (*plain)), kResultOk);
			EXPECT_EQ (flaggedBlock.outputs (), plainBlock.outputs ());
			continue;
		}

		// One side flagged, or the chains still ringing: the block takes its
		// normal road.
		ASSERT_EQ (plainBlock.run (audio (*plain)), kResultOk);
		if (c.bypass)
		{
			EXPECT_EQ (flaggedBlock.outputs (), inputs);
			EXPECT_EQ (flaggedBlock.outBus.silenceFlags, c.flags);
		}
		else
		{
			EXPECT_EQ (flaggedBlock.outputs (), plainBlock.outputs ());
			EXPECT_EQ (flaggedBlock.outBus.silenceFlags, 0u);
		}
		flaggedBlock.fill (3);
		plainBlock.fill (3);
		ASSERT_EQ (flaggedBlock.run (audio (*flagged)), kResultOk);
		ASSERT_EQ (plainBlock.run (audio (*plain)), kResultOk);
		EXPECT_EQ (flaggedBlock.outputs (), plainBlock.outputs ()) << "the block after";
	}
}

struct MissingInputCase
{
	const char* name;
	void (*switchOff) (HostBlock&);
};

TEST_F (BundleDispatch, WithoutAnInputEveryOutputChannelIsSilence)
{
	static Sample64* noChannels[2] = {nullptr, nullptr};
	const MissingInputCase cases[] = {
	    {"no input bus", [] (HostBlock& b) { b.data.numInputs = 0; }},
	    {"no input bus array", [] (HostBlock& b) { b.data.inputs = nullptr; }},
	    {"an input bus of no channels", [] (HostBlock& b) { b.inBus.numChannels = 0; }},
	    {"no channel array", [] (HostBlock& b) { b.inBus.channelBuffers64 = nullptr; }},
	    {"no channel buffers", [] (HostBlock& b) { b.inBus.channelBuffers64 = noChannels; }},
	};
	for (int32 size : {kSample32, kSample64})
		for (const MissingInputCase& c : cases)
		{
			SCOPED_TRACE (c.name);
			auto component = makeProcessor (size);
			HostBlock block (size, false);
			block.fill (0);
			block.run (audio (*component));
			ASSERT_NE (block.outputs (), std::vector<double> (kBlockValues, 0.0));
			block.fill (1);
			c.switchOff (block);
			ASSERT_EQ (block.run (audio (*component)), kResultOk);
			EXPECT_EQ (block.outputs (), std::vector<double> (kBlockValues, 0.0));
			EXPECT_EQ (block.outBus.silenceFlags, 3u);
		}
}

TEST_F (BundleDispatch, ABlockOfNoSamplesOnlyTakesTheParameterChanges)
{
	auto component = makeProcessor (kSample64);
	HostBlock block (kSample64, false);
	block.fill (0);
	block.run (audio (*component));
	const std::vector<double> before = block.outputs ();
	block.data.numSamples = 0;
	block.data.numInputs = 0;
	block.outBus.silenceFlags = 0x5a;
	block.change (kMixTag, 0.25);
	ASSERT_EQ (block.run (audio (*component)), kResultOk);
	EXPECT_EQ (block.outputs (), before);
	EXPECT_EQ (block.outBus.silenceFlags, 0x5au);

	MemoryStream state;
	ASSERT_EQ (component->getState (&state), kResultOk);
	double mix = 0.0;
	std::memcpy (&mix, state.getData () + sizeof (double) * (1 + size_t {kMixTag}), sizeof mix);
	EXPECT_EQ (mix, 0.25);
}

} // namespace
} // namespace zytest
