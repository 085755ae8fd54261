// Parameter changes as odd as the interface lets a host send them: queues
// that are missing, ids beyond the plug-in's, point counts of any size
// (negative, zero, far more than stored), any offsets and values. Fixed
// storage, so a block's changes cost no allocation.
#pragma once

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace zyfuzz {

using namespace Steinberg;
using namespace Steinberg::Vst;

class FuzzQueue : public U::Implements<U::Directly<IParamValueQueue>>
{
public:
	static constexpr int32 kStored = 8;

	ParamID PLUGIN_API getParameterId () SMTG_OVERRIDE { return id; }
	int32 PLUGIN_API getPointCount () SMTG_OVERRIDE { return pointCount; }

	// Points beyond the stored ones repeat them, so a queue can claim many.
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) SMTG_OVERRIDE
	{
		if (index < 0 || index >= pointCount || stored == 0)
			return kResultFalse;
		sampleOffset = offsets[index % stored];
		value = values[index % stored];
		return kResultTrue;
	}

	tresult PLUGIN_API addPoint (int32, ParamValue, int32&) SMTG_OVERRIDE { return kResultFalse; }

	ParamID id = 0;
	int32 pointCount = 0;
	int32 stored = 0;
	int32 offsets[kStored] = {};
	ParamValue values[kStored] = {};
};

class FuzzChanges : public U::Implements<U::Directly<IParameterChanges>>
{
public:
	static constexpr int32 kQueues = 12;

	int32 PLUGIN_API getParameterCount () SMTG_OVERRIDE { return count; }

	IParamValueQueue* PLUGIN_API getParameterData (int32 index) SMTG_OVERRIDE
	{
		if (index < 0 || index >= count || index >= kQueues || missing[index])
			return nullptr;
		return &queues[index];
	}

	IParamValueQueue* PLUGIN_API addParameterData (const ParamID&, int32& index) SMTG_OVERRIDE
	{
		index = -1;
		return nullptr;
	}

	int32 count = 0;
	bool missing[kQueues] = {};
	FuzzQueue queues[kQueues];
};

} // namespace zyfuzz
