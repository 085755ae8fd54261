// The builds of the phaser loop. On x86 the loop is built for AVX and for
// plain SSE2, and a block runs the AVX build when the processor has AVX;
// other machines run the portable build, which x86 builds too so that the
// tests can run it. All of them give the same bits.
#pragma once

namespace Steinberg {
namespace Vst {

enum class PlugPhaserVariant
{
	kShipped, // chosen by the processor's features, as shipped
	kAvx,
	kSse2,
	kPortable, // without the x86 specifics
};

// Whether this machine can run the variant.
bool plugPhaserRuns (PlugPhaserVariant variant);

// The variant that the next block runs: the override, if any, or the
// shipped choice.
PlugPhaserVariant plugPhaserVariantInUse ();

// Makes the blocks from now on run the given variant, for every processor;
// one this machine cannot run leaves the shipped choice. For tests: each
// block reads it once, before its first sample.
void overridePlugPhaserVariant (PlugPhaserVariant variant);

} // namespace Vst
} // namespace Steinberg
