// Runs the processor for a number of frames, for counting instructions under
// callgrind: zy_bench_frames <32|64> <block size> <frames> [flagged]. With
// "flagged" every block after the first is flagged silent; the input it reads
// keeps the chains ringing, so each still runs the phaser.
#include "bench/benchhost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main (int argc, char** argv)
{
	using namespace zybench;
	const bool flagged = argc == 5 && std::strcmp (argv[4], "flagged") == 0;
	if (argc != 4 && !flagged)
	{
		std::fprintf (stderr, "usage: %s <32|64> <block size> <frames> [flagged]\n", argv[0]);
		return 2;
	}
	const int32 sampleSize = std::atoi (argv[1]) == 32 ? kSample32 : kSample64;
	const int32 blockSize = std::atoi (argv[2]);
	const long frames = std::atol (argv[3]);
	if (blockSize <= 0 || frames <= 0)
		return 2;
	BenchHost host (sampleSize, blockSize);
	for (long done = 0; done < frames; done += blockSize)
	{
		host.processor->process (host.data);
		host.data.inputs[0].silenceFlags = flagged ? 3 : 0;
	}
	std::printf ("%ld frames\n", frames);
	return 0;
}
