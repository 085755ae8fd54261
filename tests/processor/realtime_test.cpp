// process on the audio thread must not allocate or lock: this executable
// replaces the C library's allocation functions and the mutex lock with
// counting versions and runs every audio path under them. The allocation
// functions can also be made to fail, for the host-facing operations that
// allocate.
#include "tests/processor/restoringchanges.h"
#include "tools/hostkit/processorhost.h"
#include "tools/hostkit/staterecord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>

// glibc's own allocator entry points, which the counting wrappers call.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
void* __libc_malloc (size_t);
void* __libc_calloc (size_t, size_t);
void* __libc_realloc (void*, size_t);
void* __libc_memalign (size_t, size_t);
void __libc_free (void*);
}
// NOLINTEND(bugprone-reserved-identifier)

namespace {
std::atomic<bool> counting {false};
std::atomic<bool> outOfMemory {false};
// Above 0: the allocation that takes it down to 0 fails, the k-th after k
// was set.
std::atomic<int> allocationsUntilFailure {0};
std::atomic<int> allocations {0};
std::atomic<int> frees {0};
std::atomic<int> locks {0};

using MutexLock = int (*) (pthread_mutex_t*);
MutexLock realMutexLock ()
{
	static const MutexLock real =
	    reinterpret_cast<MutexLock> (dlsym (RTLD_NEXT, "pthread_mutex_lock"));
	return real;
}
const MutexLock resolvedAtLoad = realMutexLock ();

// Answers whether the allocation may go ahead.
bool noteAllocation ()
{
	if (counting.load (std::memory_order_relaxed))
		allocations.fetch_add (1, std::memory_order_relaxed);
	if (outOfMemory.load (std::memory_order_relaxed))
		return false;
	return allocationsUntilFailure.load (std::memory_order_relaxed) <= 0 ||
	       allocationsUntilFailure.fetch_sub (1, std::memory_order_relaxed) != 1;
}
} // namespace

extern "C" {
void* malloc (size_t size)
{
	return noteAllocation () ? __libc_malloc (size) : nullptr;
}
void* calloc (size_t count, size_t size)
{
	return noteAllocation () ? __libc_calloc (count, size) : nullptr;
}
void* realloc (void* pointer, size_t size)
{
	return noteAllocation () ? __libc_realloc (pointer, size) : nullptr;
}
void* aligned_alloc (size_t alignment, size_t size)
{
	return noteAllocation () ? __libc_memalign (alignment, size) : nullptr;
}
int posix_memalign (void** result, size_t alignment, size_t size)
{
	*result = noteAllocation () ? __libc_memalign (alignment, size) : nullptr;
	return *result ? 0 : 12;
}
void free (void* pointer)
{
	if (pointer && counting.load (std::memory_order_relaxed))
		frees.fetch_add (1, std::memory_order_relaxed);
	__libc_free (pointer);
}
int pthread_mutex_lock (pthread_mutex_t* mutex)
{
	if (counting.load (std::memory_order_relaxed))
		locks.fetch_add (1, std::memory_order_relaxed);
	return realMutexLock () (mutex);
}
}

namespace zytest {

using namespace zyhost;
namespace {

struct PathCase
{
	const char* name;
	int32 sampleSize;
	int32 samples;
	void (*prepare) (Block&);
	// A block of sound first, so that the chains ring when the counted blocks
	// come (flagged silent, they keep ringing on the input they read).
	bool afterSound = false;
};

void none (Block&)
{
}
void eightQueues (Block& block)
{
	for (ParamID id = 0; id < 8; ++id)
		block.change (id, id == kBypassTag ? 0.0 : 0.3 + 0.05 * id);
}
void bypassed (Block& block)
{
	block.change (kBypassTag, 1.0);
}
void silent (Block& block)
{
	block.data.inputs[0].silenceFlags = 3;
}
void oneSideSilent (Block& block)
{
	block.data.inputs[0].silenceFlags = 2;
}
void inputSwitchedOff (Block& block)
{
	block.data.numInputs = 0;
}
void flush (Block& block)
{
	eightQueues (block);
	block.data.numInputs = 0;
	block.data.numOutputs = 0;
}

TEST (RealtimeSafety, ProcessNeitherAllocatesNorLocks)
{
	const PathCase cases[] = {
	    {"phaser 64-bit", kSample64, 512, none},
	    {"phaser 32-bit", kSample32, 512, none},
	    {"single frames", kSample32, 1, none},
	    {"eight queues", kSample64, 256, eightQueues},
	    {"bypass", kSample32, 512, bypassed},
	    {"silence, the chains at rest", kSample64, 512, silent},
	    {"silence, the chains ringing", kSample32, 512, silent, true},
	    {"parameter flush", kSample32, 64, flush},
	    {"one side silent", kSample32, 512, oneSideSilent},
	    {"input switched off", kSample64, 512, inputSwitchedOff},
	};
	// The check itself must see an allocation.
	pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
	counting = true;
	void* probe = std::malloc (16);
	pthread_mutex_lock (&mutex);
	counting = false;
	pthread_mutex_unlock (&mutex);
	std::free (probe);
	ASSERT_EQ (allocations.exchange (0), 1);
	ASSERT_EQ (locks.exchange (0), 1);

	for (const PathCase& c : cases)
	{
		auto processor = makeProcessor (48000.0, c.sampleSize);
		Block block (*processor, c.sampleSize, c.samples);
		for (int32 j = 0; j < c.samples; ++j)
			for (int32 ch = 0; ch < 2; ++ch)
				block.setInput (ch, j, 0.5 * std::sin (0.01 * j + ch));
		if (c.afterSound)
			processor->process (block.data);
		c.prepare (block);
		processor->process (block.data); // a first block, before counting

		counting = true;
		for (int round = 0; round < 4; ++round)
			processor->process (block.data);
		counting = false;
		EXPECT_EQ (allocations.exchange (0), 0) << c.name;
		EXPECT_EQ (frees.exchange (0), 0) << c.name;
		EXPECT_EQ (locks.exchange (0), 0) << c.name;
	}
}

// A restore that arrives while a block runs, and the block after it, which
// takes the restored block over. setState itself is the main thread's and
// is not counted.
void pauseCounting (bool restoring)
{
	counting = !restoring;
}

TEST (RealtimeSafety, ARestoreDuringABlockAndItsAdoptionNeitherAllocateNorLock)
{
	auto processor = makeProcessor (48000.0, kSample64);
	Block block (*processor, kSample64, 256);
	eightQueues (block);
	processor->process (block.data); // a first block, before counting
	const double values[7] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7};
	RestoringChanges restoring (*processor, block.changes, record (0, values, 0));
	restoring.aroundRestore = &pauseCounting;
	block.data.inputParameterChanges = &restoring;
	counting = true;
	processor->process (block.data);
	block.data.inputParameterChanges = &block.changes;
	processor->process (block.data);
	counting = false;

	EXPECT_EQ (restoring.restoreResult, kResultOk);
	EXPECT_EQ (allocations.exchange (0), 0);
	EXPECT_EQ (frees.exchange (0), 0);
	EXPECT_EQ (locks.exchange (0), 0);
}

// After an initialize that ran out of memory: no bus is left, and the next
// initialize builds both.
void expectNoBusesUntilTheNextInitialize (PlugProcessor& processor)
{
	EXPECT_EQ (processor.getBusCount (kAudio, kInput), 0);
	EXPECT_EQ (processor.getBusCount (kAudio, kOutput), 0);
	EXPECT_EQ (processor.initialize (nullptr), kResultOk);
	EXPECT_EQ (processor.getBusCount (kAudio, kInput), 1);
	EXPECT_EQ (processor.getBusCount (kAudio, kOutput), 1);
}

// Out of memory, the factory's create function and initialize answer it
// instead of throwing, and leave nothing half built.
TEST (OutOfMemory, CreateAndInitializeAnswerItAndLeaveNoBuses)
{
	outOfMemory = true;
	FUnknown* none = PlugProcessor::createInstance (nullptr);
	outOfMemory = false;
	EXPECT_EQ (none, nullptr);

	auto processor = makeProcessor (48000.0, kSample64, false);
	processor->terminate ();
	outOfMemory = true;
	const tresult result = processor->initialize (nullptr);
	outOfMemory = false;
	EXPECT_EQ (result, kOutOfMemory);
	expectNoBusesUntilTheNextInitialize (*processor);
}

// Whichever of initialize's allocations fails, the first bus's included when
// the second one's fails, initialize answers it, leaves no bus behind, and a
// later initialize builds both.
TEST (OutOfMemory, InitializeAnswersAnyOneFailedAllocationAndLeavesNoBuses)
{
	int failures = 0;
	for (int k = 1; k < 100; ++k)
	{
		SCOPED_TRACE (k);
		auto processor = makeProcessor (48000.0, kSample64, false);
		processor->terminate ();
		allocationsUntilFailure = k;
		const tresult result = processor->initialize (nullptr);
		if (allocationsUntilFailure.exchange (0) > 0)
		{
			// initialize made fewer than k allocations: every one has failed once.
			EXPECT_EQ (result, kResultOk);
			break;
		}
		++failures;
		EXPECT_EQ (result, kOutOfMemory);
		expectNoBusesUntilTheNextInitialize (*processor);
	}
	// Both buses' allocations at the least.
	EXPECT_GE (failures, 2);
}

} // namespace
} // namespace zytest
