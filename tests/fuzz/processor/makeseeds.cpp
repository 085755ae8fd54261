// Writes the seed corpora of fuzz_state and fuzz_process into the folder
// given (corpus/ beside this file), the same files on every run. The state
// records come from the processor's own getState.
//   zy_fuzz_processor_seeds <corpus folder>
#include "processor/plugprocessor.h"
#include "tests/fuzz/processor/fuzzinput.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zyfuzz;
using Bytes = std::vector<uint8>;

// The stream bits of a restore's control byte.
constexpr uint8 kFaulty = streamBits (kFaultyStream);
constexpr uint8 kMissing = streamBits (kNoStream);
constexpr uint8 kClean = streamBits (kCleanStream);

Bytes recordOf (const double (&values)[7], bool bypass, bool throughState)
{
	MemoryStream stream;
	if (throughState)
	{
		// What a processor that was given these values writes.
		PlugProcessor processor;
		processor.initialize (nullptr);
		PlugParams block = {values[0], values[1], values[2], values[3],
		                    values[4], values[5], values[6], bypass};
		block.write (&stream);
		stream.seek (0, IBStream::kIBSeekSet, nullptr);
		processor.setState (&stream);
		MemoryStream out;
		processor.getState (&out);
		processor.terminate ();
		auto* begin = reinterpret_cast<const uint8*> (out.getData ());
		return {begin, begin + out.getSize ()};
	}
	PlugParams block = {values[0], values[1], values[2], values[3],
	                    values[4], values[5], values[6], bypass};
	block.write (&stream);
	auto* begin = reinterpret_cast<const uint8*> (stream.getData ());
	return {begin, begin + stream.getSize ()};
}

Bytes defaultRecord ()
{
	PlugProcessor processor;
	processor.initialize (nullptr);
	MemoryStream out;
	processor.getState (&out);
	processor.terminate ();
	auto* begin = reinterpret_cast<const uint8*> (out.getData ());
	return {begin, begin + out.getSize ()};
}

void append (Bytes& to, const Bytes& more)
{
	to.insert (to.end (), more.begin (), more.end ());
}

template <typename Value>
void appendRaw (Bytes& to, Value value)
{
	uint8 bytes[sizeof (Value)];
	std::memcpy (bytes, &value, sizeof (Value));
	to.insert (to.end (), bytes, bytes + sizeof (Value));
}

// A state step that restores from the given bytes.
Bytes restore (uint8 step, const Bytes& record)
{
	Bytes out = {step};
	if (streamKindOf (step) == kFaultyStream)
		return out; // the caller adds the fault bytes first
	out.push_back (static_cast<uint8> (record.size ()));
	append (out, record);
	return out;
}

Bytes restoreFaulty (uint8 target, uint8 failAt, uint8 chunk, const Bytes& record)
{
	Bytes out = {static_cast<uint8> (target | kFaulty), failAt, chunk,
	             static_cast<uint8> (record.size ())};
	append (out, record);
	return out;
}

Bytes cut (Bytes record, size_t length)
{
	record.resize (length);
	return record;
}

Bytes withValue (Bytes record, int index, double value)
{
	std::memcpy (record.data () + 8 + 8 * static_cast<size_t> (index), &value, 8);
	return record;
}

Bytes withWord (Bytes record, size_t offset, int32 word)
{
	std::memcpy (record.data () + offset, &word, 4);
	return record;
}

// A process step: one block of the given length (up to 64 in one byte).
Bytes block (uint8 length, uint8 flags, uint8 shape, uint8 fill)
{
	return {kBlock, length, flags, shape, fill};
}

bool writeFile (const std::string& path, const Bytes& bytes)
{
	FILE* file = std::fopen (path.c_str (), "wb");
	if (!file)
		return false;
	const bool ok = std::fwrite (bytes.data (), 1, bytes.size (), file) == bytes.size ();
	return std::fclose (file) == 0 && ok;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf (stderr, "usage: %s <corpus folder>\n", argv[0]);
		return 2;
	}
	const std::string root = argv[1];
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const double inf = std::numeric_limits<double>::infinity ();

	const Bytes fresh = defaultRecord ();
	const double otherValues[7] = {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8};
	const Bytes other = recordOf (otherValues, true, true);
	const double outsideValues[7] = {-1.0, 2.0, 1e300, -1e-300, 0.5, 100.0, -0.0};
	const Bytes outside = recordOf (outsideValues, false, false);

	struct Seed
	{
		const char* name;
		Bytes bytes;
	};
	// Seeds as byte runs, one step a group:
	// clang-format off
	std::vector<Seed> state = {
	    {"default-record", restore (kRestoreBoth, fresh)},
	    {"other-record", restore (kRestoreBoth, other)},
	    {"outside-range", restore (kRestoreBoth, outside)},
	    {"empty", restore (kRestoreBoth, {})},
	    {"short-8", restore (kRestoreBoth, cut (other, 8))},
	    {"short-40", restore (kRestoreBoth, cut (other, 40))},
	    {"short-67", restore (kRestoreBoth, cut (other, 67))},
	    {"longer-72", restore (kRestoreBoth, [&] {
		     Bytes longer = other;
		     append (longer, {9, 9, 9, 9});
		     return longer;
	     }())},
	    {"nan-depth", restore (kRestoreBoth, withValue (other, kDepthTag, nan))},
	    {"inf-level", restore (kRestoreBoth, withValue (other, kLevelTag, -inf))},
	    {"words", restore (kRestoreBoth, withWord (withWord (other, 64, -1), 0, 12345))},
	    {"bypass-2", restore (kRestoreProcessor | kClean, withWord (fresh, 64, 2))},
	    {"fails-at-40", restoreFaulty (kRestoreBoth, 40, 0, other)},
	    {"fails-at-68", restoreFaulty (kRestoreBoth, 68, 0, other)},
	    {"reads-4-at-a-time", restoreFaulty (kRestoreBoth, 255, 4, other)},
	    {"reads-8-at-a-time", restoreFaulty (kRestoreBoth, 255, 8, other)},
	    {"no-stream", {kRestoreBoth | kMissing, 0}},
	    {"change-then-restore", [&] {
		     Bytes s = {kChangeParameter, kMixTag, 2};	// Mix to 0.5
		     append (s, {kChangeParameter, kBypassTag, 1});
		     append (s, {kChangeParameter, 9, 0});	// an id beyond the eight
		     append (s, {kChangeParameter, kDepthTag, 10});	// NaN
		     append (s, restoreFaulty (kRestoreProcessor, 20, 0, other));
		     append (s, {kWriteShort, 67, kWriteShort, 68});
		     append (s, {kReactivate});
		     append (s, restore (kRestoreProcessor, fresh));
		     return s;
	     }()},
	    {"edited", {kRestoreEdited, 30, 0xff, kRestoreEdited, 64, 0x80, kRestoreEdited, 14, 0x7f}},
	};
	// clang-format on

	Bytes restoreOther = {kRestore, 0};
	for (double value : otherValues)
	{
		restoreOther.push_back (255); // not one of the picked values: raw
		appendRaw (restoreOther, value);
	}
	restoreOther.push_back (1);
	// Seeds as byte runs, one step a group:
	// clang-format off
	std::vector<Seed> process = {
	    {"stereo-64", [&] {
		     Bytes s = {0};
		     for (int i = 0; i < 4; ++i)
			     append (s, block (64, 0, kStereo, kSine));
		     return s;
	     }()},
	    {"stereo-32-in-place", [&] {
		     Bytes s = {1};
		     for (int i = 0; i < 4; ++i)
			     append (s, block (48, kInPlace, kStereo, kSine));
		     return s;
	     }()},
	    {"sizes-flipped", {0, kBlock, 64, kFlipSize, kStereo, kSine, kBlock, 33, 0, kStereo, kSine}},
	    {"silence", {0, kBlock, 64, kSilence, kStereo, kSine, 0, kBlock, 64,
	                 kSilence | kInPlace, kStereo, kSine, 200, 1, 0, 0, 0, 0, 0, 0, 0}},
	    {"changes", [&] {
		     Bytes s = {0, kBlock, 64, kChanges, kStereo, kSine, 4};
		     // Queues: id, stored points less one (or a count that follows), then
		     // offset and value of each point.
		     append (s, {kMixTag, 1, 0, 2, 10, 3});	// two points
		     append (s, {kBypassTag, 0, 0, 1});
		     append (s, {42, 0, 0, 1});	// an id beyond the eight
		     append (s, {kLevelTag, 224, 0, 0, 0x10, 0, 0, 7});	// claims a million points
		     append (s, {kBlock, 64, kChanges, kStereo, kSine, 2, kFeedbackTag, 0, 0, 12,
		                 kRateTag, 210, 0, 1, 1, 2, 2, 3});	// NaN; three points, count 0
		     return s;
	     }()},
	    {"null-buffers", {0, kBlock, 16, kNoInputBuffers, kStereo, kSine, kBlock, 16,
	                      kNoOutputBuffers, kStereo, kSine, kBlock, 16, kNullChannels, kStereo,
	                      0x01, 0x02, kSine, kBlock, 0, 0, kNoBuses, 0}},
	    {"odd-channels", {0, kBlock, 40, 0, kMonoIn, kSine, kBlock, 40, 0, kThreeIn, kSine,
	                      kBlock, 40, kInPlace, kThreeIn | 0x80, 4, kSine}},
	    {"large-block", {1, kBlock, 252, 0x00, 0x20, 0, kStereo, kSine}},
	    {"specials-and-raw", {0, kBlock, 64, 0, kStereo, kSpecials, kBlock, 64, kFlipSize,
	                          kStereo, kRaw, 1, 2, 3, 4, 5, 6, 7, 8}},
	    {"state-and-activation", [&] {
		     Bytes s = {0};
		     append (s, restoreOther);
		     append (s, block (32, 0, kStereo, kSine));
		     append (s, {kGetState, kDeactivate, kActivate});
		     append (s, {kRestore, 200, 40});	// 40 raw bytes
		     append (s, cut (other, 40));
		     append (s, block (32, 0, kStereo, kSine));
		     return s;
	     }()},
	    {"setups", {0, kSetUp, 0x15, 2, kBlock, 64, 0, kStereo, kSine, kSetUp, 0x07, 13, 5, 0,
	                0, 0, kSetUp, 0x14, 14, kBlock, 64, 0, kStereo, kSine, kSetProcessing, 0,
	                kCanProcess, 2, 0, 0, 0}},
	    // numIns and numOuts: (how & 3) - 1 and ((how >> 2) & 3) - 1; then two
	    // arrangements each way.
	    {"counter-near-limit", {0, kFastForward, 0, kBlock, 64, 0, kStereo, kSine, kFastForward,
	                            10, kBlock, 64, kChanges, kStereo, kSine, 1, kRateTag, 0, 0, 1,
	                            kBlock, 64, 0, kStereo, kSine, kFastForward, 200, 0, 0, 0, 0x40,
	                            kBlock, 64, kChanges, kStereo, kSine, 1, kRateTag, 0, 0, 4}},
	    {"arrangements", {0, kArrange, 0x0a, 4, 0, 5, 0, kBlock, 64, 0, kStereo, kSine,
	                      kArrange, 0x0a, 3, 3, 1, 1, kArrange, 0x0f, 0, 0, 0, 0, kArrange, 0x35,
	                      0, 0, 0, 0, kArrange, 0x00, 0, 0, 0, 0, kBlock, 64, 0, kStereo, kSine}},
	};
	// clang-format on

	bool ok = true;
	for (const Seed& seed : state)
		ok = writeFile (root + "/fuzz_state/" + seed.name, seed.bytes) && ok;
	for (const Seed& seed : process)
		ok = writeFile (root + "/fuzz_process/" + seed.name, seed.bytes) && ok;
	if (!ok)
		std::fprintf (stderr, "could not write every seed under %s\n", root.c_str ());
	return ok ? 0 : 1;
}
