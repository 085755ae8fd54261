// An initialized, set-up and active processor driven with arbitrary process
// data: blocks of 0 to 8192 samples in either sample size, in place or not,
// silent or not, with missing buses, buffers and queues, odd channel counts
// and parameter changes of any id, count, offset and value; between them
// state restores, activations, setups and bus arrangements.
//
// Checked: every call answers a result code; getState always writes a
// well-formed record; a block of plain audio input (silence, a sine, a
// square) gives finite output on every channel; and so does a block of plain
// stereo input after the whole sequence.
//
// Input: a header byte (sample size and rate of the first setup), then a
// sequence of steps, each an operation byte and its operands (see runStep).
// Most blocks are small; a budget of samples per input keeps runs cheap. One
// step sets the sweep counter near its limit, as after hours of audio.
#include "tools/hostkit/processoraccess.h"
#include "processor/plugparams.h"
#include "processor/plugprocessor.h"
#include "tests/fuzz/processor/fuzzbytes.h"
#include "tests/fuzz/processor/fuzzchanges.h"
#include "tests/fuzz/processor/fuzzcheck.h"
#include "tests/fuzz/processor/fuzzinput.h"
#include "tools/hostkit/staterecord.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace zyfuzz {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int kMaxSteps = 48;
constexpr int64 kSampleBudget = 24576;
constexpr int32 kMaxBuses = 2;

const double kNaN = std::numeric_limits<double>::quiet_NaN ();
const double kInf = std::numeric_limits<double>::infinity ();

bool isResultCode (tresult result)
{
	switch (result)
	{
		case kResultOk:
		case kResultFalse:
		case kInvalidArgument:
		case kNotImplemented:
		case kInternalError:
		case kNotInitialized:
		case kOutOfMemory:
		case kNoInterface: return true;
		default: return false;
	}
}

#define ZY_FUZZ_CALL(call)                                            \
	[&] () {                                                          \
		const tresult result = (call);                                \
		ZY_FUZZ_CHECK (isResultCode (result), "answered %d", result); \
		return result;                                                \
	}()

double pickValue (FuzzBytes& in)
{
	static const double table[] = {0.0,   1.0,    0.5,    0.75, 0.1,  -0.0,  -0.5,     1.5,  2.0,
	                               1e300, -1e300, 5e-324, kNaN, kInf, -kInf, 0.999999, 1e-12};
	const uint8_t choice = in.byte ();
	if (choice < sizeof table / sizeof table[0])
		return table[choice];
	return in.raw<double> ();
}

double pickRate (FuzzBytes& in)
{
	static const double table[] = {48000.0,  44100.0,  96000.0,  192000.0, 22050.0, 8000.0,
	                               384000.0, 768000.0, 11025.0,  1e6,      1000.0,  100.0,
	                               60.0,     30.0,     1.0,      1e-3,     1e-300,  5e-324,
	                               1e300,    0.0,      -48000.0, kNaN,     kInf};
	const uint8_t choice = in.byte ();
	if (choice < sizeof table / sizeof table[0])
		return table[choice];
	return in.raw<double> ();
}

SpeakerArrangement pickArrangement (FuzzBytes& in)
{
	static const SpeakerArrangement table[] = {
	    SpeakerArr::kStereo, SpeakerArr::kMono,           SpeakerArr::kEmpty,
	    SpeakerArr::k51,     SpeakerArr::kStereoSurround, kSpeakerL | kSpeakerLfe,
	    SpeakerArr::k71Cine, ~SpeakerArrangement (0)};
	const uint8_t choice = in.byte ();
	if (choice < sizeof table / sizeof table[0])
		return table[choice];
	return in.raw<SpeakerArrangement> ();
}

// One bus's channel buffers, each of exactly the block's length, so that
// the address sanitizer sees any access past them.
struct BusMemory
{
	std::unique_ptr<float[]> floats[kMaxChannels];
	std::unique_ptr<double[]> doubles[kMaxChannels];
	void* channels[kMaxChannels] = {};
};

class ProcessHarness
{
public:
	explicit ProcessHarness (FuzzBytes& in)
	{
		processor = Steinberg::owned (new PlugProcessor ());
		ZY_FUZZ_CHECK (processor->initialize (nullptr) == kResultOk, "initialize");
		const uint8_t header = in.byte ();
		ProcessSetup setup {kRealtime, (header & 1) ? kSample32 : kSample64, 8192,
		                    (header & 2) ? 44100.0 : 48000.0};
		ZY_FUZZ_CHECK (processor->setupProcessing (setup) == kResultOk, "first setup");
		setupSize = setup.symbolicSampleSize;
		ZY_FUZZ_CHECK (processor->setActive (true) == kResultOk, "setActive");
		active = true;
		ZY_FUZZ_CALL (processor->setProcessing (true));
	}

	~ProcessHarness ()
	{
		processor->setProcessing (false);
		processor->setActive (false);
		processor->terminate ();
	}

	void runStep (FuzzBytes& in)
	{
		const uint8_t operation = in.byte ();
		if (operation < kFastForward)
		{
			processBlock (in);
			return;
		}
		if (operation < kFirstOtherStep)
		{
			fastForward (in);
			return;
		}
		switch (kFirstOtherStep + operation % 8)
		{
			case kRestore: restoreState (in); break;
			case kGetState: checkState (); break;
			case kDeactivate:
				ZY_FUZZ_CALL (processor->setActive (false));
				active = false;
				break;
			case kActivate:
				ZY_FUZZ_CALL (processor->setActive (true));
				active = true;
				break;
			case kSetUp: setUp (in); break;
			case kArrange: arrangeBuses (in); break;
			case kSetProcessing: ZY_FUZZ_CALL (processor->setProcessing (in.byte () & 1)); break;
			default:
			{
				const tresult result =
				    ZY_FUZZ_CALL (processor->canProcessSampleSize (in.raw<int32> ()));
				ZY_FUZZ_CHECK (result == kResultTrue || result == kResultFalse, "%d", result);
				break;
			}
		}
	}

	// A host's plain block of stereo input after whatever came before.
	void checkFiniteOutput ()
	{
		if (!active)
			ZY_FUZZ_CHECK (processor->setActive (true) == kResultOk, "setActive");
		constexpr int32 kSamples = 256;
		float floats[4][kSamples];
		double doubles[4][kSamples];
		for (int32 i = 0; i < kSamples; ++i)
		{
			const double x = 0.5 * std::sin (0.0576 * i);
			for (int c = 0; c < 2; ++c)
			{
				floats[c][i] = static_cast<float> (x);
				doubles[c][i] = x;
			}
		}
		for (int round = 0; round < 2; ++round)
		{
			void* inChannels[2] = {floats[0], floats[1]};
			void* outChannels[2] = {floats[2], floats[3]};
			if (setupSize == kSample64)
			{
				inChannels[0] = doubles[0];
				inChannels[1] = doubles[1];
				outChannels[0] = doubles[2];
				outChannels[1] = doubles[3];
			}
			AudioBusBuffers inBus;
			inBus.numChannels = 2;
			inBus.channelBuffers64 = reinterpret_cast<Sample64**> (inChannels);
			AudioBusBuffers outBus;
			outBus.numChannels = 2;
			outBus.channelBuffers64 = reinterpret_cast<Sample64**> (outChannels);
			ProcessData data;
			data.processMode = kRealtime;
			data.symbolicSampleSize = setupSize;
			data.numSamples = kSamples;
			data.numInputs = 1;
			data.numOutputs = 1;
			data.inputs = &inBus;
			data.outputs = &outBus;
			ZY_FUZZ_CHECK (processor->process (data) == kResultOk, "plain block");
			for (int c = 2; c < 4; ++c)
			{
				for (int32 i = 0; i < kSamples; ++i)
				{
					const double y = setupSize == kSample64 ? doubles[c][i] : floats[c][i];
					ZY_FUZZ_CHECK (std::isfinite (y), "round %d channel %d sample %d: %g", round,
					               c - 2, i, y);
				}
			}
		}
	}

private:
	int32 blockLength (FuzzBytes& in)
	{
		const uint8_t size = in.byte ();
		int32 length;
		if (size < 224)
			length = size % 65;
		else if (size < 252)
			length = 65 + in.raw<uint16_t> () % 1024;
		else
			length = in.raw<uint16_t> () % 8193;
		if (length > samplesLeft)
			length = static_cast<int32> (std::min<int64> (length % 17, samplesLeft));
		samplesLeft -= length;
		return length;
	}

	void fill (FuzzBytes& in, uint8_t mode, BusMemory& bus, int32 channels, int32 length, bool is32)
	{
		const double specials[] = {kNaN, kInf, -kInf, 1e300, 3.4e38, 1e-310, -1.0, 1.0};
		const uint8_t kind = mode & kFillKindMask;
		const double constant = kind == kConstant ? pickValue (in) : 0.0;
		size_t rawSize = 0;
		const uint8_t* raw = in.take (kind == kRaw ? 32 : 0, rawSize);
		for (int32 c = 0; c < channels; ++c)
		{
			for (int32 i = 0; i < length; ++i)
			{
				double x = 0.0;
				switch (kind)
				{
					case kSine: x = 0.8 * std::sin (0.05 * i + c); break;
					case kRaw:
						if (rawSize >= 8)
						{
							double bits;
							std::memcpy (&bits,
							             raw + (8 * static_cast<size_t> (i + c)) %
							                       (rawSize - rawSize % 8),
							             8);
							x = bits;
						}
						break;
					case kSpecials: x = (i % 7 == 3) ? specials[(i + c) % 8] : 0.25; break;
					case kConstant: x = constant; break;
					case kSquare: x = (i & 1) ? 1.0 : -1.0; break;
					case kDenormal: x = 1e-310; break;
					default: break;
				}
				if (is32)
					bus.floats[c][i] = static_cast<float> (x);
				else
					bus.doubles[c][i] = x;
			}
		}
	}

	void allocate (BusMemory& bus, int32 channels, int32 length, bool is32)
	{
		for (int32 c = 0; c < channels; ++c)
		{
			if (is32)
			{
				bus.floats[c].reset (new float[length]());
				bus.channels[c] = bus.floats[c].get ();
			}
			else
			{
				bus.doubles[c].reset (new double[length]());
				bus.channels[c] = bus.doubles[c].get ();
			}
		}
	}

	void checkFinite (const AudioBusBuffers& bus, int32 length, bool is32)
	{
		if (!bus.channelBuffers64)
			return;
		for (int32 c = 0; c < bus.numChannels; ++c)
		{
			if (!bus.channelBuffers64[c])
				continue;
			for (int32 i = 0; i < length; ++i)
			{
				const double y = is32 ? bus.channelBuffers32[c][i] : bus.channelBuffers64[c][i];
				ZY_FUZZ_CHECK (std::isfinite (y), "channel %d sample %d of %d: %g", c, i, length,
				               y);
			}
		}
	}

	void decodeChanges (FuzzBytes& in)
	{
		changes.count = in.byte () % (FuzzChanges::kQueues + 3);
		// More than there are, or negative; a host holds one queue per
		// parameter at most, so no count runs into the billions.
		if (changes.count > FuzzChanges::kQueues)
			changes.count = in.raw<int16> ();
		const int32 queues =
		    std::min<int32> (std::max<int32> (changes.count, 0), FuzzChanges::kQueues);
		for (int32 q = 0; q < queues; ++q)
		{
			FuzzQueue& queue = changes.queues[q];
			const uint8_t idByte = in.byte ();
			changes.missing[q] = idByte >= 250;
			if (idByte < 8 || idByte >= 250)
				queue.id = idByte & 7;
			else if (idByte < 240)
				queue.id = idByte;
			else
				queue.id = in.raw<ParamID> ();
			const uint8_t countByte = in.byte ();
			queue.stored = 1 + countByte % FuzzQueue::kStored;
			if (countByte < 200)
				queue.pointCount = queue.stored;
			else if (countByte < 220)
				queue.pointCount = 0;
			else
				queue.pointCount = in.raw<int32> (); // many, or negative
			for (int32 p = 0; p < queue.stored; ++p)
			{
				const uint8_t offsetByte = in.byte ();
				queue.offsets[p] = offsetByte < 128 ? offsetByte : in.raw<int32> ();
				queue.values[p] = pickValue (in);
			}
		}
	}

	static int32 busCount (uint8_t code)
	{
		return code == kNoBusCode ? 0 : (code == kTwoBusesCode ? 2 : 1);
	}

	// Step: one block. Operands: length, flags, shape, null masks, fill,
	// silence flags and parameter changes.
	void processBlock (FuzzBytes& in)
	{
		const int32 length = blockLength (in);
		const uint8_t flags = in.byte ();
		const uint8_t shape = in.byte ();
		const int32 sampleSize =
		    (flags & kFlipSize) ? (setupSize == kSample32 ? kSample64 : kSample32) : setupSize;
		const bool is32 = sampleSize == kSample32;
		const bool inPlace = flags & kInPlace;

		const int32 numInputs = busCount (shape & kBusCountMask);
		const int32 numOutputs = busCount ((shape >> kOutputBusShift) & kBusCountMask);
		const int32 inChannels = kChannelCounts[(shape >> kChannelIndexShift) & 7];
		const int32 outChannels =
		    (shape & kOwnOutputChannels) ? kChannelCounts[in.byte () & 7] : inChannels;
		const uint8_t nullInputs = (flags & kNullChannels) ? in.byte () : 0;
		const uint8_t nullOutputs = (flags & kNullChannels) ? in.byte () : 0;

		BusMemory inMemory[kMaxBuses];
		BusMemory outMemory[kMaxBuses];
		AudioBusBuffers inBuses[kMaxBuses];
		AudioBusBuffers outBuses[kMaxBuses];
		const uint8_t fillMode = in.byte ();
		for (int32 b = 0; b < kMaxBuses; ++b)
		{
			allocate (inMemory[b], inChannels, length, is32);
			fill (in, b == 0 ? fillMode : 0, inMemory[b], inChannels, length, is32);
			allocate (outMemory[b], outChannels, length, is32);
			// In place: the output channels that have an input channel share it.
			for (int32 c = 0; inPlace && c < std::min (inChannels, outChannels); ++c)
				outMemory[b].channels[c] = inMemory[b].channels[c];
			// Null channel pointers on the main bus only; a mask of 0 keeps all.
			for (int32 c = 0; c < kMaxChannels && b == 0; ++c)
			{
				if (nullInputs & (1 << c))
					inMemory[b].channels[c] = nullptr;
				if (nullOutputs & (1 << c))
					outMemory[b].channels[c] = nullptr;
			}
			inBuses[b].numChannels = inChannels;
			inBuses[b].silenceFlags = 0;
			inBuses[b].channelBuffers64 = reinterpret_cast<Sample64**> (inMemory[b].channels);
			outBuses[b].numChannels = outChannels;
			outBuses[b].silenceFlags = 0;
			outBuses[b].channelBuffers64 = reinterpret_cast<Sample64**> (outMemory[b].channels);
		}
		if (flags & kSilence)
			inBuses[0].silenceFlags = in.byte () < 128 ? ~uint64 (0) : in.raw<uint64> ();
		if (flags & kNoInputBuffers)
			inBuses[0].channelBuffers64 = nullptr;
		if (flags & kNoOutputBuffers)
			outBuses[0].channelBuffers64 = nullptr;

		ProcessContext context {};
		context.sampleRate = 48000.0;
		context.tempo = 120.0;
		context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid;

		ProcessData data;
		data.processMode = kRealtime;
		data.symbolicSampleSize = sampleSize;
		data.numSamples = length;
		data.numInputs = numInputs;
		data.numOutputs = numOutputs;
		// A bus array may be missing where it holds no bus.
		data.inputs = (numInputs == 0 && (shape & kMissingBusArrays)) ? nullptr : inBuses;
		data.outputs = (numOutputs == 0 && (shape & kMissingBusArrays)) ? nullptr : outBuses;
		data.processContext = (flags & kContext) ? &context : nullptr;
		if (flags & kChanges)
		{
			decodeChanges (in);
			data.inputParameterChanges = &changes;
		}
		ZY_FUZZ_CALL (processor->process (data));
		if (isPlainAudio (fillMode) && numOutputs > 0)
			checkFinite (outBuses[0], length, is32);
	}

	// Step: the sweep counter as it stands after hours of audio, up to a few
	// blocks before it wraps (about 12 hours at 48 kHz), which no fuzz run
	// would otherwise reach.
	void fastForward (FuzzBytes& in)
	{
		const uint8_t how = in.byte ();
		const int32 before = how < 128 ? 4 * how : in.raw<int32> () & 0x7fffffff;
		zyhost::inside (*processor).lfoCounter = INT32_MAX - before;
	}

	// Step: a restore from a record of seven picked values and a bypass
	// word, or from up to 79 raw bytes.
	void restoreState (FuzzBytes& in)
	{
		MemoryStream stream;
		int32 written = 0;
		const uint8_t form = in.byte ();
		if (form < 192)
		{
			double values[7];
			for (double& value : values)
				value = pickValue (in);
			const int32 bypass = in.byte () & 1;
			std::vector<uint8> bytes = zyhost::record (0, values, bypass);
			stream.write (bytes.data (), static_cast<int32> (bytes.size ()), &written);
		}
		else
		{
			size_t size = 0;
			const uint8_t* bytes = in.take (in.byte () % 80, size);
			if (size)
				stream.write (const_cast<uint8_t*> (bytes), static_cast<int32> (size), &written);
		}
		stream.seek (0, IBStream::kIBSeekSet, nullptr);
		ZY_FUZZ_CALL (processor->setState (&stream));
		checkState ();
	}

	void checkState ()
	{
		MemoryStream stream;
		ZY_FUZZ_CHECK (processor->getState (&stream) == kResultOk, "getState");
		auto* begin = reinterpret_cast<const uint8*> (stream.getData ());
		const Record record (begin, begin + stream.getSize ());
		checkWellFormed (record, "getState");
		stream.seek (0, IBStream::kIBSeekSet, nullptr);
		ZY_FUZZ_CHECK (processor->setState (&stream) == kResultOk, "own record refused");
	}

	// Step: a setup of any sample size and rate, while active or not.
	void setUp (FuzzBytes& in)
	{
		const uint8_t how = in.byte ();
		ProcessSetup setup {(how & 8) ? kOffline : kRealtime, how & 1 ? kSample32 : kSample64, 8192,
		                    pickRate (in)};
		if (how & 2)
			setup.symbolicSampleSize = in.raw<int32> ();
		if ((how & 4) && active)
		{
			ZY_FUZZ_CALL (processor->setActive (false));
			active = false;
		}
		if (ZY_FUZZ_CALL (processor->setupProcessing (setup)) == kResultOk)
			setupSize = setup.symbolicSampleSize;
		if (how & 16)
		{
			ZY_FUZZ_CALL (processor->setActive (true));
			active = true;
		}
	}

	// Step: arrangements of any counts, arrays missing or not.
	void arrangeBuses (FuzzBytes& in)
	{
		const uint8_t how = in.byte ();
		SpeakerArrangement inputs[3] = {pickArrangement (in), pickArrangement (in),
		                                SpeakerArr::kStereo};
		SpeakerArrangement outputs[3] = {pickArrangement (in), pickArrangement (in),
		                                 SpeakerArr::kStereo};
		const int32 numIns = static_cast<int32> (how & 3) - 1;
		const int32 numOuts = static_cast<int32> ((how >> 2) & 3) - 1;
		ZY_FUZZ_CALL (processor->setBusArrangements ((how & 16) ? nullptr : inputs, numIns,
		                                             (how & 32) ? nullptr : outputs, numOuts));
	}

	IPtr<PlugProcessor> processor;
	FuzzChanges changes;
	int32 setupSize = kSample64;
	bool active = false;
	int64 samplesLeft = kSampleBudget;
};

} // namespace
} // namespace zyfuzz

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	zyfuzz::FuzzBytes in (data, size);
	zyfuzz::ProcessHarness harness (in);
	for (int step = 0; step < zyfuzz::kMaxSteps && !in.empty (); ++step)
		harness.runStep (in);
	harness.checkFiniteOutput ();
	return 0;
}
