// A triple buffer: the wait-free hand-over of a small record from one writer
// thread to one reader thread. The writer fills its own slot and publishes
// it; the reader takes the latest published slot. Of the three slots one is
// the writer's, one the reader's and one in between, so neither side ever
// waits for the other or allocates. A slot stays its owner's until that side
// calls publish (writer) or latest (reader) again.
#pragma once

#include <atomic>
#include <cstdint>

namespace Steinberg {
namespace Vst {

template <typename Record>
class PlugHandOver
{
public:
	explicit PlugHandOver (const Record& initial)
	{
		for (Record& slot : slots)
			slot = initial;
	}

	// Writer side: fill this slot, then publish it.
	Record& writeSlot () { return slots[writeIndex]; }

	void publish ()
	{
		writeIndex = shared.exchange (writeIndex | kFresh, std::memory_order_acq_rel) & kIndexMask;
	}

	// Reader side: the latest published record (or the one taken before, when
	// nothing new was published since).
	const Record& latest ()
	{
		if (shared.load (std::memory_order_relaxed) & kFresh)
			readIndex = shared.exchange (readIndex, std::memory_order_acq_rel) & kIndexMask;
		return slots[readIndex];
	}

private:
	static constexpr std::uint32_t kIndexMask = 3;
	static constexpr std::uint32_t kFresh = 4;

	Record slots[3];
	std::uint32_t writeIndex = 0;          // owned by the writer
	std::uint32_t readIndex = 1;           // owned by the reader
	std::atomic<std::uint32_t> shared {2}; // the slot in between, and whether it is new
};

} // namespace Vst
} // namespace Steinberg
