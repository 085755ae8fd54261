#include "processor/plugstatehandover.h"
#include "processor/plugintake.h"
#include "processor/plugprocessor.h"

namespace Steinberg {
namespace Vst {

PlugStateHandOver::PlugStateHandOver (PlugProcessor& processor, const PlugParams& initial)
: processor (processor)
, restoredStates ({initial, 0})
, publishedParams ({initial, 0})
, lastRestored (initial)
, running {initial, {}}
{
}

bool PlugStateHandOver::tryOwn (Owner claimant)
{
	int32 expected = kNobody;
	return owner.compare_exchange_strong (expected, claimant, std::memory_order_acquire,
	                                      std::memory_order_acquire);
}

void PlugStateHandOver::release ()
{
	owner.store (kNobody, std::memory_order_release);
}

// --- audio thread ---

const PlugBlockParams& PlugStateHandOver::beginBlock (IParameterChanges* changes)
{
	if (!tryOwn (kAudioThread))
		return beginBlockBesideRestore (changes);
	bool changed = adoptRestored ();
	if (takeParameterChanges (changes, processor.params))
		changed = true;
	if (changed)
	{
		processor.updateParameters (false);
		publish (processor.params, adoptedSerial);
	}
	running.values = processor.heldDerivedValues ();
	running.params = processor.params;
	runningSerial = adoptedSerial;
	release ();
	return running;
}

const PlugBlockParams& PlugStateHandOver::beginBlockBesideRestore (IParameterChanges* changes)
{
	// The main thread is installing a restored block right now. This block
	// runs on that one (or, if it is the one already running, on ours) without
	// touching the processor's fields.
	const PlugParamsSnapshot& restored = restoredStates.latest ();
	if (restored.serial != runningSerial)
		running.params = restored.params;
	takeParameterChanges (changes, running.params);
	runningSerial = restored.serial;
	runningBesideRestore = true;
	publish (running.params, runningSerial);
	running.values = PlugProcessor::deriveValues (running.params, processor.twoPiOverFs);
	return running;
}

bool PlugStateHandOver::adoptRestored ()
{
	const PlugParamsSnapshot& restored = restoredStates.latest ();
	if (runningBesideRestore)
	{
		runningBesideRestore = false;
		// The last block ran on these values, its changes included; keep them
		// unless a newer block has been restored since.
		if (restored.serial == runningSerial)
		{
			processor.params = running.params;
			adoptedSerial = runningSerial;
			return true;
		}
	}
	if (restored.serial == adoptedSerial)
		return false;
	processor.params = restored.params;
	adoptedSerial = restored.serial;
	return true;
}

void PlugStateHandOver::publish (const PlugParams& block, uint32 serial)
{
	PlugParamsSnapshot& slot = publishedParams.writeSlot ();
	slot.params = block;
	slot.serial = serial;
	publishedParams.publish ();
}

// --- main thread ---

void PlugStateHandOver::restore (const PlugParams& block)
{
	++stateSerial;
	lastRestored = block;
	PlugParamsSnapshot& slot = restoredStates.writeSlot ();
	slot.params = block;
	slot.serial = stateSerial;
	restoredStates.publish ();
	install ();
}

void PlugStateHandOver::install ()
{
	if (!tryOwn (kMainThread))
		return; // the next block adopts it
	if (restoreProbe)
		restoreProbe (restoreProbeContext);
	if (adoptedSerial != stateSerial)
	{
		processor.params = lastRestored;
		adoptedSerial = stateSerial;
		processor.updateParameters (false);
	}
	release ();
}

const PlugParams& PlugStateHandOver::current ()
{
	const PlugParamsSnapshot& published = publishedParams.latest ();
	return published.serial == stateSerial ? published.params : lastRestored;
}

void PlugStateHandOver::adoptForActivation ()
{
	// The format keeps process from running during activation; a block
	// restored while it ran is taken over here.
	const bool owned = tryOwn (kMainThread);
	if (owned && adoptedSerial != stateSerial)
	{
		processor.params = lastRestored;
		adoptedSerial = stateSerial;
	}
	processor.updateParameters (true);
	running.values = processor.heldDerivedValues ();
	if (owned)
		release ();
}

void PlugStateHandOver::setRestoreProbe (void (*probe) (void* context), void* context)
{
	restoreProbe = probe;
	restoreProbeContext = context;
}

} // namespace Vst
} // namespace Steinberg
