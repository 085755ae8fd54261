// Offline rendering through a loaded plug-in's audio processor: the start
// values in place before the first sample, then the input in blocks of a
// fixed size, each block's parameter queues from the automation points, the
// output collected block by block.
#pragma once

#include "tools/host/automation.h"
#include "tools/host/stereobuffer.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <string>
#include <utility>
#include <vector>

namespace zyhost {

struct RenderSettings
{
	int32_t blockSize {512};
	bool use64Bit {false};
	// normalized values in place before the first block
	std::vector<std::pair<uint32_t, double>> startValues;
	std::vector<AutomationPoint> automation;
};

struct RenderResult
{
	size_t blocks {0};
	double seconds {0.}; // wall-clock time of the processing calls
};

bool render (Steinberg::Vst::IComponent& component, Steinberg::Vst::IAudioProcessor& processor,
             const StereoBuffer& input, const RenderSettings& settings, StereoBuffer& output,
             RenderResult& result, std::string& error);

} // namespace zyhost
