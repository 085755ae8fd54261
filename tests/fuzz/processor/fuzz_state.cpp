// Arbitrary bytes as state streams, into the processor's setState and the
// controller's setComponentState, between parameter changes and activations.
//
// Checked after every step: getState writes a well-formed record that
// setState takes back; the record equals a model of what was set (a failed
// setState changes nothing, a successful one installs exactly the record
// given); setState succeeds exactly when the stream delivers 68 bytes whose
// values are all finite; the controller's normalized values are finite, in
// 0..1 and follow the same model.
//
// Input: a sequence of steps, each a control byte and its operands
// (see runStep).
#include "controller/plugcontroller.h"
#include "processor/plugparams.h"
#include "processor/plugprocessor.h"
#include "tests/fuzz/processor/fuzzbytes.h"
#include "tests/fuzz/processor/fuzzcheck.h"
#include "tests/fuzz/processor/fuzzinput.h"
#include "tests/fuzz/processor/fuzzstream.h"
#include "tools/hostkit/processorhost.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace zyfuzz {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int kMaxSteps = 16;

// Values worth trying more often than random bit patterns find them.
double pickValue (FuzzBytes& in)
{
	static const double table[] = {0.0,
	                               1.0,
	                               0.5,
	                               0.25,
	                               -0.0,
	                               -0.5,
	                               1.5,
	                               1e300,
	                               -1e300,
	                               5e-324,
	                               std::numeric_limits<double>::quiet_NaN (),
	                               std::numeric_limits<double>::infinity (),
	                               -std::numeric_limits<double>::infinity ()};
	const uint8_t choice = in.byte ();
	if (choice < sizeof table / sizeof table[0])
		return table[choice];
	return in.raw<double> ();
}

class StateHarness
{
public:
	StateHarness ()
	{
		processor = Steinberg::owned (new PlugProcessor ());
		processor->initialize (nullptr);
		ProcessSetup setup {kRealtime, kSample64, 512, 48000.0};
		processor->setupProcessing (setup);
		processor->setActive (true);
		model = stateOf ();
		checkWellFormed (model, "fresh getState");

		controller = Steinberg::owned (new PlugController ());
		controller->initialize (nullptr);
		for (ParamID tag = 0; tag < 8; ++tag)
			controllerModel[tag] = controller->getParamNormalized (tag);
		bare = Steinberg::owned (new PlugController ());
	}

	~StateHarness ()
	{
		processor->setActive (false);
		processor->terminate ();
		controller->terminate ();
	}

	void runStep (FuzzBytes& in)
	{
		const uint8_t control = in.byte ();
		switch (control & kStateStepMask)
		{
			case kRestoreController: restore (in, control, false, true); break;
			case kRestoreBoth: restore (in, control, true, true); break;
			case kChangeParameter: changeParameter (in); break;
			case kWriteShort: writeToShortStream (in); break;
			case kReactivate: reactivate (); break;
			case kRestoreEdited: restoreEdited (in); break;
			default: restore (in, control, true, false); break;
		}
		checkProcessor ();
		checkController ();
	}

private:
	Record stateOf ()
	{
		MemoryStream stream;
		const tresult result = processor->getState (&stream);
		ZY_FUZZ_CHECK (result == kResultOk, "getState answered %d", result);
		auto* begin = reinterpret_cast<const uint8*> (stream.getData ());
		return {begin, begin + stream.getSize ()};
	}

	// A stream of the given kind over bytes; null for kNoStream.
	IPtr<IBStream> makeStream (StreamKind kind, const uint8* bytes, size_t size,
	                           const StreamFaults& faults)
	{
		switch (kind)
		{
			case kSdkMemoryStream:
			{
				auto stream = Steinberg::owned (new MemoryStream);
				int32 written = 0;
				if (size)
					stream->write (const_cast<uint8*> (bytes), static_cast<int32> (size), &written);
				stream->seek (0, IBStream::kIBSeekSet, nullptr);
				return stream;
			}
			case kFaultyStream: return Steinberg::owned (new FuzzStream (bytes, size, faults));
			case kCleanStream:
				return Steinberg::owned (new FuzzStream (bytes, size, StreamFaults ()));
			default: return nullptr;
		}
	}

	// Whether a reader of 8- and 4-byte fields gets the whole record.
	static bool deliversRecord (StreamKind kind, size_t size, const StreamFaults& faults)
	{
		if (kind == kNoStream || size < kRecordSize)
			return false;
		if (kind != kFaultyStream)
			return true;
		const bool failsInside =
		    faults.failReadsAt >= 0 && faults.failReadsAt < static_cast<int64> (kRecordSize);
		const bool splitsFields = faults.readChunk > 0 && faults.readChunk < 8;
		return !failsInside && !splitsFields;
	}

	// Step: a record of up to 255 bytes, read through a stream of the kind
	// the control byte names, by the processor, the controller or both.
	void restore (FuzzBytes& in, uint8_t control, bool toProcessor, bool toController)
	{
		const StreamKind kind = streamKindOf (control);
		StreamFaults faults;
		if (kind == kFaultyStream)
		{
			const uint8_t at = in.byte ();
			faults.failReadsAt = at == 255 ? -1 : at;
			faults.readChunk = in.byte () % 16;
		}
		size_t size = 0;
		const uint8* bytes = in.take (in.byte (), size);
		restoreBytes (kind, bytes, size, faults, toProcessor, toController);
	}

	void restoreBytes (StreamKind kind, const uint8* bytes, size_t size, const StreamFaults& faults,
	                   bool toProcessor, bool toController)
	{
		const bool readable = deliversRecord (kind, size, faults) && valuesFinite (bytes);
		if (toProcessor)
		{
			const Record before = stateOf ();
			const tresult result = processor->setState (makeStream (kind, bytes, size, faults));
			ZY_FUZZ_CHECK ((result == kResultOk) == readable, "setState answered %d for %s", result,
			               hexOf (Record (bytes, bytes + size)));
			if (result == kResultOk)
				model = normalizedRecord (bytes);
			else
				ZY_FUZZ_CHECK (stateOf () == before, "failed setState changed the state");
		}
		if (toController)
		{
			ParamValue before[8];
			for (ParamID tag = 0; tag < 8; ++tag)
				before[tag] = controller->getParamNormalized (tag);
			const tresult result =
			    controller->setComponentState (makeStream (kind, bytes, size, faults));
			ZY_FUZZ_CHECK ((result == kResultOk) == readable, "setComponentState answered %d",
			               result);
			if (result == kResultOk)
			{
				for (int tag = 0; tag < 7; ++tag)
				{
					const double value = recordValue (bytes, tag);
					controllerModel[tag] = value > 1.0 ? 1.0 : (value < 0.0 ? 0.0 : value);
				}
				controllerModel[kBypassTag] = recordBypassWord (bytes) > 0 ? 1.0 : 0.0;
			}
			else
			{
				for (ParamID tag = 0; tag < 8; ++tag)
					ZY_FUZZ_CHECK (controller->getParamNormalized (tag) == before[tag],
					               "failed setComponentState moved parameter %u", tag);
			}

			// One that was never initialized has no parameters to set.
			bare->setComponentState (makeStream (kind, bytes, size, faults));
			ZY_FUZZ_CHECK (bare->getParameterCount () == 0, "parameters appeared");
		}
	}

	// Step: the last getState record with one byte replaced, read back.
	void restoreEdited (FuzzBytes& in)
	{
		Record record = stateOf ();
		const uint8_t at = in.byte () % kRecordSize;
		record[at] = in.byte ();
		restoreBytes (kSdkMemoryStream, record.data (), record.size (), StreamFaults (), true,
		              true);
	}

	// Step: one process block with a parameter change of any id and value.
	void changeParameter (FuzzBytes& in)
	{
		const ParamID id = in.byte () % 12;
		const double value = pickValue (in);
		zyhost::Block block (*processor, kSample64, 8);
		block.change (id, value);
		const tresult result = block.run ();
		ZY_FUZZ_CHECK (result == kResultOk, "process answered %d", result);
		if (id <= kBypassTag && std::isfinite (value))
		{
			if (id == kBypassTag)
			{
				const int32 word = value > 0.5 ? 1 : 0;
				std::memcpy (model.data () + kBypassOffset, &word, 4);
			}
			else
				std::memcpy (model.data () + kValuesOffset + 8 * size_t (id), &value, 8);
		}
	}

	// Step: getState into a stream that takes only so many bytes.
	void writeToShortStream (FuzzBytes& in)
	{
		StreamFaults faults;
		faults.writeLimit = static_cast<Steinberg::int64> (in.byte () % (kRecordSize + 8));
		auto stream = Steinberg::owned (new FuzzStream (nullptr, 0, faults));
		const tresult result = processor->getState (stream);
		const bool fits = faults.writeLimit >= static_cast<int64> (kRecordSize);
		ZY_FUZZ_CHECK ((result == kResultOk) == fits, "getState answered %d with room for %lld",
		               result, static_cast<long long> (faults.writeLimit));
		if (fits)
			ZY_FUZZ_CHECK (stream->bytes () == model, "getState wrote %s",
			               hexOf (stream->bytes ()));
	}

	// Step: off and on again, which takes over a restored state.
	void reactivate ()
	{
		ZY_FUZZ_CHECK (processor->setActive (false) == kResultOk, "setActive (false)");
		ZY_FUZZ_CHECK (processor->setActive (true) == kResultOk, "setActive (true)");
	}

	void checkProcessor ()
	{
		const Record record = stateOf ();
		checkWellFormed (record, "getState");
		ZY_FUZZ_CHECK (record == model, "getState wrote %s", hexOf (record));

		// Whatever getState writes, setState takes back unchanged.
		auto stream = zyhost::streamOf (record);
		ZY_FUZZ_CHECK (processor->setState (stream) == kResultOk, "own record refused");
		ZY_FUZZ_CHECK (stateOf () == record, "own record read back differently");
	}

	void checkController ()
	{
		for (ParamID tag = 0; tag < 8; ++tag)
		{
			const ParamValue value = controller->getParamNormalized (tag);
			ZY_FUZZ_CHECK (std::isfinite (value) && value >= 0.0 && value <= 1.0,
			               "parameter %u at %g", tag, value);
			ZY_FUZZ_CHECK (value == controllerModel[tag], "parameter %u at %g, not %g", tag, value,
			               controllerModel[tag]);
			String128 text {};
			controller->getParamStringByValue (tag, value, text);
		}
	}

	IPtr<PlugProcessor> processor;
	IPtr<PlugController> controller;
	IPtr<PlugController> bare;
	Record model;
	ParamValue controllerModel[8] = {};
};

} // namespace
} // namespace zyfuzz

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	zyfuzz::FuzzBytes in (data, size);
	zyfuzz::StateHarness harness;
	for (int step = 0; step < zyfuzz::kMaxSteps && !in.empty (); ++step)
		harness.runStep (in);
	return 0;
}
