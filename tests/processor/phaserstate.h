// The processor's running state (all-pass taps, sweep counter and low-pass,
// smoothers) as bytes, to see that a block left it as it was.
#pragma once

#include "tools/hostkit/processorhost.h"

#include <vector>

namespace zytest {

using namespace zyhost;

inline std::vector<uint8> phaserState (const PlugProcessor& p)
{
	std::vector<uint8> bytes;
	auto add = [&] (const void* data, size_t size) {
		auto* begin = static_cast<const uint8*> (data);
		bytes.insert (bytes.end (), begin, begin + size);
	};
	add (p.allpassLeft, sizeof p.allpassLeft);
	add (p.allpassRight, sizeof p.allpassRight);
	add (&p.lfoCounter, sizeof p.lfoCounter);
	add (p.sweepLowpassState, sizeof p.sweepLowpassState);
	add (&p.levelSmoothed, sizeof p.levelSmoothed);
	add (&p.wetSmoothed, sizeof p.wetSmoothed);
	add (&p.lastLfoInc, sizeof p.lastLfoInc);
	return bytes;
}

} // namespace zytest
