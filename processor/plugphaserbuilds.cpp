// Which build of the phaser loop a block runs: the fastest one this machine
// runs, unless a test has chosen another.
#include "processor/plugphaserbuilds.h"

#include <atomic>

namespace Steinberg {
namespace Vst {

namespace {

#if ZY_PHASER_X86
// Asked once when the module loads, so that the audio thread never runs a
// guarded first-time initialisation.
bool detectAvx ()
{
	__builtin_cpu_init ();
	return __builtin_cpu_supports ("avx") != 0;
}

const bool processorHasAvx = detectAvx ();
#endif

// The shipped choice: the fastest build this machine runs.
PlugPhaserVariant shippedVariant ()
{
#if ZY_PHASER_X86
	return processorHasAvx ? PlugPhaserVariant::kAvx : PlugPhaserVariant::kSse2;
#else
	return PlugPhaserVariant::kPortable;
#endif
}

// What the blocks run: the shipped choice unless a test overrides it.
std::atomic<PlugPhaserVariant> variantInUse {shippedVariant ()};

} // namespace

bool plugPhaserRuns (PlugPhaserVariant variant)
{
	switch (variant)
	{
		case PlugPhaserVariant::kShipped:
		case PlugPhaserVariant::kPortable: return true;
#if ZY_PHASER_X86
		case PlugPhaserVariant::kAvx: return processorHasAvx;
		case PlugPhaserVariant::kSse2: return true;
#endif
		default: return false;
	}
}

PlugPhaserVariant plugPhaserVariantInUse ()
{
	return variantInUse.load (std::memory_order_relaxed);
}

void overridePlugPhaserVariant (PlugPhaserVariant variant)
{
	const bool runs = variant != PlugPhaserVariant::kShipped && plugPhaserRuns (variant);
	variantInUse.store (runs ? variant : shippedVariant (), std::memory_order_relaxed);
}

} // namespace Vst
} // namespace Steinberg
