#include "processor/plugintake.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

bool takeParameterChanges (IParameterChanges* changes, PlugParams& block)
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
		int32 sampleOffset = 0;
		ParamValue value = 0.0;
		if (queue->getPoint (pointCount - 1, sampleOffset, value) != kResultOk)
			continue;
		// A NaN or infinite point is no value at all; it is dropped.
		if (!std::isfinite (value))
			continue;
		block.setNormalized (id, value);
		changed = true;
	}
	return changed;
}

} // namespace Vst
} // namespace Steinberg
