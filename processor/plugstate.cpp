// Parameter intake and state restore, and how the two threads share params.
//
// params and the derived values belong to whichever thread holds paramOwner.
// process takes it for the intake only and runs its audio on a copy of the
// derived values. setState takes it when it is free and installs the restored
// block at once; when process holds it, the restored block waits in
// restoredStates and process adopts it at the start of its next block. The
// audio thread never waits: should the main thread hold paramOwner when a
// block starts, that block runs on the restored block from restoredStates.
// getState reads the block that process last published, or the last
// restored block when process has not taken that one over yet.

#include "processor/plugprocessor.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

bool PlugProcessor::takeParameterChanges (IParameterChanges* changes, PlugParams& block)
{
	if (!changes)
		return false;
	bool changed = false;
	const int32 queueCount = changes->getParameterCount ();
	for (int32 index = 0; index < queueCount; ++index)
	{
		IParamValueQueue* queue = changes->getParameterData (index);
		if (!queue)
			continue;
		const int32 pointCount = queue->getPointCount ();
		const ParamID id = queue->getParameterId ();
		if (id > kBypassTag || pointCount <= 0)
			continue;
		// The last point stands for the whole block.
		int32 sampleOffset = 0;
		ParamValue value = 0.0;
		if (queue->getPoint (pointCount - 1, sampleOffset, value) != kResultOk)
			continue;
		// A NaN or infinite point is no value at all; it is dropped.
		if (!std::isfinite (value))
			continue;
		switch (id)
		{
			case kLevelTag: block.level = value; break;
			case kFrequencyTag: block.frequency = value; break;
			case kDepthTag: block.depth = value; break;
			case kDegreeTag: block.degree = value; break;
			case kRateTag: block.rate = value; break;
			case kFeedbackTag: block.feedback = value; break;
			case kMixTag: block.mix = value; break;
			default: block.bypass = value > 0.5; break;
		}
		changed = true;
	}
	return changed;
}

bool PlugProcessor::tryOwnParams (int32 owner)
{
	int32 expected = kNobody;
	return paramOwner.compare_exchange_strong (expected, owner, std::memory_order_acquire,
	                                           std::memory_order_acquire);
}

void PlugProcessor::releaseParams ()
{
	paramOwner.store (kNobody, std::memory_order_release);
}

bool PlugProcessor::adoptHandedOverState ()
{
	const PlugParamsRecord& restored = restoredStates.latest ();
	if (hasCarried)
	{
		hasCarried = false;
		// The last block ran on these values; keep them unless a newer state
		// has been restored since.
		if (restored.serial == carriedSerial)
		{
			params = carried;
			adoptedSerial = carriedSerial;
			return true;
		}
	}
	if (restored.serial == adoptedSerial)
		return false;
	params = restored.params;
	adoptedSerial = restored.serial;
	return true;
}

void PlugProcessor::publishParams (const PlugParams& block, uint32 serial)
{
	PlugParamsRecord& record = publishedParams.writeSlot ();
	record.params = block;
	record.serial = serial;
	publishedParams.publish ();
}

void PlugProcessor::installRestoredState ()
{
	if (!tryOwnParams (kMainThread))
		return; // process adopts it at the start of its next block
	if (adoptedSerial != stateSerial)
	{
		params = lastRestored;
		adoptedSerial = stateSerial;
		updateParameters (false);
	}
	releaseParams ();
}

tresult PLUGIN_API PlugProcessor::setState (IBStream* state)
{
	PlugParams restored = lastRestored;
	const tresult result = restored.read (state);
	// A failed read leaves the block, and so the derived values, as they are.
	if (result != kResultOk)
		return result;

	++stateSerial;
	lastRestored = restored;
	PlugParamsRecord& record = restoredStates.writeSlot ();
	record.params = restored;
	record.serial = stateSerial;
	restoredStates.publish ();
	installRestoredState ();
	return result;
}

tresult PLUGIN_API PlugProcessor::getState (IBStream* state)
{
	const PlugParamsRecord& published = publishedParams.latest ();
	const PlugParams& current = published.serial == stateSerial ? published.params : lastRestored;
	return current.write (state);
}

} // namespace Vst
} // namespace Steinberg
