// How restored parameter blocks reach the audio thread, and how the audio
// thread's block reaches getState, without a lock.
//
// Threads. The audio thread owns the processor's parameter block and the
// values derived from it; activation touches them too, which the format
// keeps apart from process. The main thread never writes them:
// - setState (main thread) reads a record, derives its values and calls
//   restore, which numbers the block and hands it over. It keeps the block
//   for getState.
// - Each block (audio thread), before its intake, asks takeRestored for a
//   restore it has not adopted yet and installs it in the processor; after
//   the intake it publishes the block it runs on. Activation adopts a waiting
//   restore the same way.
// - getState (main thread) writes current: the published block when it stems
//   from the latest restore, otherwise the latest restored block, which the
//   audio thread is about to adopt.
//
// A restored block therefore reaches the processor's fields at the start of
// the next block (or activation), not inside setState. Nothing reads them
// in between, so the sound is the same as if setState had written them.
//
// Restore and automation. A restore replaces everything before it, the
// automation taken by the block that was running when it arrived included;
// automation of later blocks applies on top of the restored block.
//
// Each direction is a triple buffer (PlugHandOver): one writer, one reader,
// neither ever waits, allocates or locks.
#pragma once

#include "processor/plugderivedvalues.h"
#include "processor/plughandover.h"
#include "processor/plugparams.h"

namespace Steinberg {
namespace Vst {

// A restored parameter block with the values derived from it, numbered by
// the restore it stems from (the first restore is 1).
struct PlugRestoredState
{
	PlugParams params;
	PlugDerivedValues values;
	uint32 serial;
};

// The block the audio thread runs on, numbered by the restore it stems from.
struct PlugParamsSnapshot
{
	PlugParams params;
	uint32 serial;
};

class PlugStateHandOver
{
public:
	explicit PlugStateHandOver (const PlugParams& initial);

	// Main thread: hands a restored block and its derived values over.
	void restore (const PlugParams& block, const PlugDerivedValues& values);
	// Main thread: the block for getState. The reference stays valid until
	// the next restore or current.
	const PlugParams& current ();

	// Audio thread (or activation): the restore that has arrived since the
	// last call, or null when there is none. The pointer stays valid until
	// the next call.
	const PlugRestoredState* takeRestored ();
	// Audio thread: the block it runs on from now on, for getState.
	void publish (const PlugParams& block);

private:
	PlugHandOver<PlugRestoredState> restoredStates;   // main thread to audio thread
	PlugHandOver<PlugParamsSnapshot> publishedParams; // audio thread to main thread

	// Main thread only
	uint32 stateSerial = 0;
	PlugParams lastRestored;

	// Audio thread only: the restore that the processor's block stems from.
	uint32 adoptedSerial = 0;
};

} // namespace Vst
} // namespace Steinberg
