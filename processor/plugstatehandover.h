// How the processor's parameters pass between the main thread (setState,
// getState, activation) and the audio thread (process) without a lock.
//
// The processor's params and the derived values belong to whichever thread
// holds the owner flag. A block takes it for the intake only and runs its
// audio on a copy of the derived values. A restore takes it when it is free
// and installs the restored block at once, so that the derived values follow
// before setState returns; when a block holds it, the restored block waits in
// a hand-over and the next block adopts it. The audio thread never waits:
// should a restore hold the flag when a block begins, that block runs on the
// restored block (or, if that one is already running, on its own copy), and
// its parameter changes are taken over at the next block. getState writes the
// block that the audio thread last published, or the last restored block
// while the audio thread has not taken that one over.
#pragma once

#include "processor/plugderivedvalues.h"
#include "processor/plughandover.h"
#include "processor/plugparams.h"

#include <atomic>

namespace Steinberg {
namespace Vst {

class IParameterChanges;
class PlugProcessor;

// What one audio block runs on.
struct PlugBlockParams
{
	PlugParams params;
	PlugDerivedValues values;
};

// A parameter block as one thread hands it to the other, numbered by the
// state restore it stems from.
struct PlugParamsSnapshot
{
	PlugParams params;
	uint32 serial;
};

class PlugStateHandOver
{
public:
	// Guards processor.params and the derived values that
	// processor.updateParameters computes from them.
	PlugStateHandOver (PlugProcessor& processor, const PlugParams& initial);

	// Audio thread: takes a restored block that waits and the block's
	// parameter changes, and answers what the block runs on.
	const PlugBlockParams& beginBlock (IParameterChanges* changes);
	// What the loops run on: the values of the block begun last, or those of
	// the last activation when no block has begun since.
	const PlugDerivedValues& blockValues () const { return running.values; }

	// Main thread: hands a restored block to the processor, installed at once
	// unless a block holds the parameters right now.
	void restore (const PlugParams& block);
	// Main thread: the parameter block as it stands, for getState.
	const PlugParams& current ();
	// Activation, while processing is stopped: takes over a restored block
	// that still waits, then derives the values with the smoothers snapped.
	void adoptForActivation ();

	// For tests: called inside restore while it holds the parameters, so that
	// a block can be made to begin right then.
	void setRestoreProbe (void (*probe) (void* context), void* context);

private:
	enum Owner : int32
	{
		kNobody,
		kAudioThread,
		kMainThread,
	};
	bool tryOwn (Owner claimant);
	void release ();
	bool adoptRestored ();
	const PlugBlockParams& beginBlockBesideRestore (IParameterChanges* changes);
	void publish (const PlugParams& block, uint32 serial);
	void install ();

	PlugProcessor& processor;
	std::atomic<int32> owner {kNobody};
	uint32 adoptedSerial = 0; // serial of the restore that params stems from

	PlugHandOver<PlugParamsSnapshot> restoredStates;  // main thread to audio thread
	PlugHandOver<PlugParamsSnapshot> publishedParams; // audio thread to main thread

	// Main thread only
	uint32 stateSerial = 0;
	PlugParams lastRestored;
	void (*restoreProbe) (void*) = nullptr;
	void* restoreProbeContext = nullptr;

	// Audio thread only: what the last block ran on, and whether it began
	// beside a restore, so that the next block takes its intake over.
	PlugBlockParams running;
	uint32 runningSerial = 0;
	bool runningBesideRestore = false;
};

} // namespace Vst
} // namespace Steinberg
