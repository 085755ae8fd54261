// The processor's running state (all-pass taps, sweep counter and low-pass,
// smoothers) as bytes, to see that a block left it as it was.
#pragma once

#include "tools/hostkit/processoraccess.h"
#include "tools/hostkit/processorhost.h"

#include <vector>

namespace zytest {

using namespace zyhost;

inline std::vector<uint8> phaserState (PlugProcessor& p)
{
	std::vector<uint8> bytes;
	auto add = [&] (const void* data, size_t size) {
		auto* begin = static_cast<const uint8*> (data);
		bytes.insert (bytes.end (), begin, begin + size);
	};
	const PlugProcessorTestAccess in = inside (p);
	add (in.allpassLeft, sizeof in.allpassLeft);
	add (in.allpassRight, sizeof in.allpassRight);
	add (&in.lfoCounter, sizeof in.lfoCounter);
	add (in.sweepLowpassState, sizeof in.sweepLowpassState);
	add (&in.levelSmoothed, sizeof in.levelSmoothed);
	add (&in.wetSmoothed, sizeof in.wetSmoothed);
	add (&in.lastLfoInc, sizeof in.lastLfoInc);
	return bytes;
}

} // namespace zytest
