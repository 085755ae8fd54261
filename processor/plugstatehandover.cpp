#include "processor/plugstatehandover.h"

namespace Steinberg {
namespace Vst {

PlugStateHandOver::PlugStateHandOver (const PlugParams& initial)
: restoredStates ({initial, {}, 0}), publishedParams ({initial, 0}), lastRestored (initial)
{
}

// --- main thread ---

void PlugStateHandOver::restore (const PlugParams& block, const PlugDerivedValues& values)
{
	++stateSerial;
	lastRestored = block;
	PlugRestoredState& slot = restoredStates.writeSlot ();
	slot.params = block;
	slot.values = values;
	slot.serial = stateSerial;
	restoredStates.publish ();
}

const PlugParams& PlugStateHandOver::current ()
{
	const PlugParamsSnapshot& published = publishedParams.latest ();
	return published.serial == stateSerial ? published.params : lastRestored;
}

// --- audio thread ---

const PlugRestoredState* PlugStateHandOver::takeRestored ()
{
	const PlugRestoredState& restored = restoredStates.latest ();
	if (restored.serial == adoptedSerial)
		return nullptr;
	adoptedSerial = restored.serial;
	return &restored;
}

void PlugStateHandOver::publish (const PlugParams& block)
{
	PlugParamsSnapshot& slot = publishedParams.writeSlot ();
	slot.params = block;
	slot.serial = adoptedSerial;
	publishedParams.publish ();
}

} // namespace Vst
} // namespace Steinberg
