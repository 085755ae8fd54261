// The layout of the processor fuzz targets' inputs: the codes that their
// decoders read and that makeseeds writes, kept in one place so that the
// seeds go on meaning what they were made for.
#pragma once

#include <cstdint>

namespace zyfuzz {

//-----------------------------------------------------------------------------
// fuzz_state: one control byte a step. Its low three bits pick the step; for
// a restore, the two bits above pick the stream the record is read from.
enum StateStep : uint8_t
{
	kRestoreProcessor = 0, // 1 restores the processor too
	kRestoreController = 2,
	kRestoreBoth = 3,
	kChangeParameter = 4,
	kWriteShort = 5,
	kReactivate = 6,
	kRestoreEdited = 7,
};
constexpr uint8_t kStateStepMask = 7;

enum StreamKind : uint8_t
{
	kSdkMemoryStream,
	kFaultyStream,
	kNoStream,
	kCleanStream,
};
constexpr int kStreamKindShift = 3;

constexpr uint8_t streamBits (StreamKind kind)
{
	return static_cast<uint8_t> (kind << kStreamKindShift);
}

constexpr StreamKind streamKindOf (uint8_t control)
{
	return static_cast<StreamKind> ((control >> kStreamKindShift) & 3);
}

//-----------------------------------------------------------------------------
// fuzz_process: one operation byte a step. Every byte below kFastForward is a
// block, the common case; from kFirstOtherStep on, the byte modulo 8 picks
// one of the steps below.
enum ProcessStep : uint8_t
{
	kBlock = 0,
	kFastForward = 152,
	kFirstOtherStep = 160,
	kRestore = kFirstOtherStep,
	kGetState,
	kDeactivate,
	kActivate,
	kSetUp,
	kArrange,
	kSetProcessing,
	kCanProcess,
};
static_assert (kFirstOtherStep % 8 == 0, "steps are picked modulo 8 from kRestore on");

// The flags byte of a block.
enum BlockFlag : uint8_t
{
	kFlipSize = 0x01,        // the other sample size than the setup's
	kInPlace = 0x02,         // outputs share the inputs' channel buffers
	kSilence = 0x04,         // an operand: the main input's silence flags
	kNoInputBuffers = 0x08,  // the main input bus without channel array
	kChanges = 0x10,         // parameter changes follow
	kContext = 0x20,         // a process context
	kNullChannels = 0x40,    // two operands: masks of null channel pointers
	kNoOutputBuffers = 0x80, // the main output bus without channel array
};

// The shape byte of a block: bits 0-1 and 2-3 the input and output bus
// counts (0 and 1: one bus, 2: two, 3: none), bits 4-6 an index into
// kChannelCounts for each bus's channels. With bit 7 an operand byte gives the
// outputs their own index. Where a direction has no bus, bit 6 leaves its
// array out too.
constexpr int32_t kMaxChannels = 8;
constexpr int32_t kChannelCounts[8] = {2, 2, 2, 2, 1, 3, 0, kMaxChannels};
constexpr uint8_t kBusCountMask = 3;
constexpr uint8_t kNoBusCode = 3;
constexpr uint8_t kTwoBusesCode = 2;
constexpr int kOutputBusShift = 2;
constexpr int kChannelIndexShift = 4;
constexpr uint8_t kOwnOutputChannels = 0x80;
constexpr uint8_t kMissingBusArrays = 0x40;

constexpr uint8_t kStereo = 0x00;  // one bus each way, two channels
constexpr uint8_t kMonoIn = 0x40;  // channel index 4: one channel
constexpr uint8_t kThreeIn = 0x50; // channel index 5: three channels
constexpr uint8_t kNoBuses = 0x4f; // no bus either way, the arrays missing

// The fill byte of a block: its low three bits pick the main input's samples.
enum FillKind : uint8_t
{
	kZeros = 0,
	kSine = 1,
	kRaw = 2,      // 32 operand bytes as doubles
	kSpecials = 3, // NaN, infinities, huge and denormal values among 0.25
	kConstant = 4, // an operand value
	kSquare = 5,
	kDenormal = 6,
};
constexpr uint8_t kFillKindMask = 7;

// Input the phaser is bound to keep finite: plain audio.
constexpr bool isPlainAudio (uint8_t fill)
{
	const uint8_t kind = fill & kFillKindMask;
	return kind != kRaw && kind != kSpecials && kind != kConstant;
}

} // namespace zyfuzz
