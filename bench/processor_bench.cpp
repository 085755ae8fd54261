// Speed of the processor's audio paths, per stereo frame (and per block for
// the parameter intake).
#include "tools/hostkit/processoraccess.h"
#include "bench/benchhost.h"

#include <benchmark/benchmark.h>

namespace zybench {
namespace {

void setFrameCounter (benchmark::State& state, int64_t framesPerIteration)
{
	state.SetItemsProcessed (state.iterations () * framesPerIteration);
	// Seconds per frame, printed with its unit prefix (n for ns).
	state.counters["frame"] =
	    benchmark::Counter (static_cast<double> (state.iterations () * framesPerIteration),
	                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void phaser (benchmark::State& state, int32 sampleSize)
{
	const int32 blockSize = static_cast<int32> (state.range (0));
	BenchHost host (sampleSize, blockSize);
	for (auto _ : state)
	{
		host.processor->process (host.data);
		benchmark::ClobberMemory ();
	}
	setFrameCounter (state, blockSize);
}

void BM_Phaser64 (benchmark::State& state)
{
	phaser (state, kSample64);
}
void BM_Phaser32 (benchmark::State& state)
{
	phaser (state, kSample32);
}
BENCHMARK (BM_Phaser64)->Arg (1)->Arg (32)->Arg (512)->Arg (4096);
BENCHMARK (BM_Phaser32)->Arg (1)->Arg (32)->Arg (512)->Arg (4096);

// The same with Level moved in every block, so that the level smoother never
// comes to rest (the cost of the smoothers while they glide).
void movingLevel (benchmark::State& state, int32 sampleSize)
{
	const int32 blockSize = static_cast<int32> (state.range (0));
	BenchHost host (sampleSize, blockSize);
	ParameterChanges changes (1);
	int32 queueIndex = 0, pointIndex = 0;
	auto* queue =
	    static_cast<ParameterValueQueue*> (changes.addParameterData (kLevelTag, queueIndex));
	host.data.inputParameterChanges = &changes;
	bool up = false;
	for (auto _ : state)
	{
		// Alternating between two levels keeps the smoother gliding.
		queue->clear ();
		queue->addPoint (0, up ? 0.75 : 0.7, pointIndex);
		up = !up;
		host.processor->process (host.data);
		benchmark::ClobberMemory ();
	}
	host.data.inputParameterChanges = nullptr;
	setFrameCounter (state, blockSize);
}

void BM_Phaser64MovingLevel (benchmark::State& state)
{
	movingLevel (state, kSample64);
}
void BM_Phaser32MovingLevel (benchmark::State& state)
{
	movingLevel (state, kSample32);
}
BENCHMARK (BM_Phaser64MovingLevel)->Arg (512);
BENCHMARK (BM_Phaser32MovingLevel)->Arg (512);

// A bypassed block skips the phaser.
void BM_Bypass (benchmark::State& state)
{
	BenchHost host (kSample32, 512);
	zyhost::inside (*host.processor).params.bypass = true;
	for (auto _ : state)
	{
		host.processor->process (host.data);
		benchmark::ClobberMemory ();
	}
	setFrameCounter (state, 512);
}
BENCHMARK (BM_Bypass);

// Blocks flagged silent in every channel. Until the chains have rung out
// they run the phaser as unflagged blocks do: after a first block of sound,
// the input the flagged blocks read keeps the chains ringing for good. Once
// rung out (as after activation), they skip it.
void silence (benchmark::State& state, bool ringing)
{
	BenchHost host (kSample32, 512);
	if (ringing)
		host.processor->process (host.data);
	for (auto _ : state)
	{
		host.data.inputs[0].silenceFlags = 3;
		host.processor->process (host.data);
		benchmark::ClobberMemory ();
	}
	setFrameCounter (state, 512);
}

void BM_SilenceRinging (benchmark::State& state)
{
	silence (state, true);
}
void BM_SilenceRungOut (benchmark::State& state)
{
	silence (state, false);
}
BENCHMARK (BM_SilenceRinging);
BENCHMARK (BM_SilenceRungOut);

// The intake alone: a block of eight queues and no audio buses.
void BM_IntakeEightQueues (benchmark::State& state)
{
	BenchHost host (kSample32, 512);
	ParameterChanges changes (8);
	for (ParamID id = 0; id < 8; ++id)
	{
		int32 queueIndex = 0, pointIndex = 0;
		changes.addParameterData (id, queueIndex)
		    ->addPoint (0, id == kBypassTag ? 0.0 : 0.3, pointIndex);
	}
	host.data.inputParameterChanges = &changes;
	host.data.numInputs = 0;
	host.data.numOutputs = 0;
	for (auto _ : state)
	{
		host.processor->process (host.data);
		benchmark::ClobberMemory ();
	}
	host.data.numInputs = 1;
	host.data.numOutputs = 1;
}
BENCHMARK (BM_IntakeEightQueues);

} // namespace
} // namespace zybench

BENCHMARK_MAIN ();
