// Runs the processor for a number of frames, for counting instructions under
// callgrind: zy_bench_frames <32|64> <block size> <frames>.
#include "bench/benchhost.h"

#include <cstdio>
#include <cstdlib>

int main (int argc, char** argv)
{
	using namespace zybench;
	if (argc != 4)
	{
		std::fprintf (stderr, "usage: %s <32|64> <block size> <frames>\n", argv[0]);
		return 2;
	}
	const int32 sampleSize = std::atoi (argv[1]) == 32 ? kSample32 : kSample64;
	const int32 blockSize = std::atoi (argv[2]);
	const long frames = std::atol (argv[3]);
	if (blockSize <= 0 || frames <= 0)
		return 2;
	BenchHost host (sampleSize, blockSize);
	for (long done = 0; done < frames; done += blockSize)
		host.processor->process (host.data);
	std::printf ("%ld frames\n", frames);
	return 0;
}
