// setState and getState on the main thread against process on the audio
// thread, as real hosts call them. Built with ThreadSanitizer: any data race
// between the two fails the run.
#include "tests/support/processorhost.h"
#include "tests/support/staterecord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace zytest {
namespace {

TEST (StateAgainstProcessing, RestoresRaceWithNothingAndTheLastOneWins)
{
	auto processor = makeProcessor (48000.0, kSample32);
	const double quiet[7] = {0.2, 0.1, 0.3, 0.0, 0.9, 0.1, 0.4};
	const double loud[7] = {0.9, 0.8, 0.7, 1.0, 0.05, 0.9, 1.0};
	const std::vector<uint8> records[2] = {record (0, quiet, 0), record (0, loud, 0)};

	std::atomic<bool> stop {false};
	std::atomic<int> blocks {0};
	std::atomic<bool> allFinite {true};
	std::thread audio ([&] {
		Block block (*processor, kSample32, 64);
		for (int32 j = 0; j < 64; ++j)
			for (int32 c = 0; c < 2; ++c)
				block.setInput (c, j, 0.5 * std::sin (0.1 * j + c));
		while (!stop.load ())
		{
			// Automation now and then, as a host sends it.
			if (blocks % 7 == 0)
				block.change (kMixTag, (blocks % 14) ? 0.25 : 0.75);
			block.run ();
			if (!std::isfinite (block.output (0, 63)) || !std::isfinite (block.output (1, 63)))
				allFinite = false;
			++blocks;
		}
	});

	for (int round = 0; round < 20000; ++round)
	{
		const std::vector<uint8>& bytes = records[round % 2];
		ASSERT_EQ (processor->setState (streamOf (bytes)), kResultOk);
		const std::vector<uint8> got = stateBytes (*processor);
		ASSERT_EQ (got.size (), 68u);
	}
	stop = true;
	audio.join ();
	EXPECT_GT (blocks.load (), 0);
	EXPECT_TRUE (allFinite.load ());

	// With the audio thread gone, the last restore stands.
	const std::vector<uint8>& last = records[19999 % 2];
	EXPECT_EQ (processor->setState (streamOf (last)), kResultOk);
	EXPECT_EQ (stateBytes (*processor), last);
	Block block (*processor, kSample32, 16);
	block.run ();
	EXPECT_EQ (stateBytes (*processor), last);
	EXPECT_EQ (processor->params.level, 0.9);
	EXPECT_EQ (processor->wet, 0.5);
}

} // namespace
} // namespace zytest
