// Attribute names and values from the input into the slider creators' apply
// on a fresh slider, then every attribute read back, written to a second
// slider and read back again; the slider also draws itself once.
// Never a crash; the value stays in its range; what is read back reads back
// the same after a second apply.

#include "fuzzsupport.h"
#include "recordingdevice.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/cslider.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uicontentprovider.h"
#include "vstgui/uidescription/uidescription.h"
#include "vstgui/uidescription/viewcreator/sliderviewcreator.h"
#include <cmath>
#include <map>
#include <string>

using namespace VSTGUI;

namespace {


const UIViewCreator::SliderCreator& creator ()
{
	static const UIViewCreator::SliderCreator instance;
	return instance;
}

UIDescription* description ()
{
	static const std::string text =
		std::string (ZYFuzz::kResourcesDescriptionHead) + "</vstgui-ui-description>\n";
	static MemoryContentProvider provider (text.data (), static_cast<uint32_t> (text.size ()));
	static UIDescription* desc = [] () {
		auto d = new UIDescription (&provider);
		ZYFuzz::check (d->parse (), "the attribute fuzzer's own description parses");
		return d;
	}();
	return desc;
}

const IViewCreator::StringList& attributeNames ()
{
	static const IViewCreator::StringList names = [] () {
		IViewCreator::StringList list;
		creator ().getAttributeNames (list);
		// read by apply only, and names no creator knows
		list.emplace_back ("free-click");
		list.emplace_back ("Mode");
		list.emplace_back ("origin");
		return list;
	}();
	return names;
}

std::string attributeName (FuzzedDataProvider& input)
{
	const auto& names = attributeNames ();
	if (input.ConsumeIntegralInRange<int> (0, 15) == 0)
		return input.ConsumeRandomLengthString (24);
	auto index = input.ConsumeIntegralInRange<size_t> (0, names.size () - 1);
	return *std::next (names.begin (), static_cast<long> (index));
}

void checkValueInRange (CSlider* slider, const char* when)
{
	float lo = slider->getMin ();
	float hi = slider->getMax ();
	float v = slider->getValue ();
	if (!(lo <= hi))
		return;
	ZYFuzz::check (!std::isnan (v) && lo <= v && v <= hi, when,
				   std::to_string (v) + " outside " + std::to_string (lo) + ".." +
					   std::to_string (hi));
}

std::map<std::string, std::string> readBack (CView* view, const IUIDescription* desc)
{
	std::map<std::string, std::string> values;
	for (const auto& name : attributeNames ())
	{
		std::string value;
		if (creator ().getAttributeValue (view, name, value, desc))
			values[name] = value;
	}
	return values;
}

SharedPointer<CSlider> freshSlider ()
{
	auto view = owned (creator ().create (UIAttributes (), description ()));
	auto slider = SharedPointer<CSlider> (dynamic_cast<CSlider*> (view.get ()));
	ZYFuzz::check (slider != nullptr, "the creator builds a CSlider");
	return slider;
}

} // anonymous namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
	ZYFuzz::initToolkit ();
	description ();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	FuzzedDataProvider input (data, size);
	auto* desc = description ();
	auto slider = freshSlider ();

	if (input.ConsumeBool ())
	{
		auto x = input.ConsumeIntegralInRange<int> (-50, 400);
		auto y = input.ConsumeIntegralInRange<int> (-50, 400);
		auto w = input.ConsumeIntegralInRange<int> (-10, 400);
		auto h = input.ConsumeIntegralInRange<int> (-10, 400);
		slider->setViewSize (CRect (x, y, x + w, y + h));
	}
	if (input.ConsumeBool ())
	{
		slider->setMin (input.ConsumeFloatingPointInRange<float> (-100.f, 100.f));
		slider->setMax (input.ConsumeFloatingPointInRange<float> (-100.f, 100.f));
	}
	slider->setValueNormalized (input.ConsumeProbability<float> ());

	auto rounds = input.ConsumeIntegralInRange<int> (1, 3);
	for (int round = 0; round < rounds && input.remaining_bytes () > 0; ++round)
	{
		UIAttributes attributes;
		auto count = input.ConsumeIntegralInRange<int> (0, 12);
		for (int i = 0; i < count; ++i)
		{
			auto name = attributeName (input);
			attributes.setAttribute (name, ZYFuzz::valueText (input));
		}
		const IUIDescription* with = input.ConsumeIntegralInRange<int> (0, 7) == 0 ? nullptr : desc;
		ZYFuzz::check (creator ().apply (slider, attributes, with), "apply takes a CSlider");
		checkValueInRange (slider, "value after apply");
	}

	auto [device, context] = ZYTest::RecordingDevice::makeContext (CRect (0, 0, 400, 400));
	slider->draw (context.get ());
	checkValueInRange (slider, "value after draw");

	// without a description every read-back must still work
	readBack (slider, nullptr);

	// what the editor would save, loaded into a new slider, saves the same
	auto first = readBack (slider, desc);
	UIAttributes saved;
	for (const auto& [name, value] : first)
		saved.setAttribute (name, value);
	auto again = freshSlider ();
	ZYFuzz::check (creator ().apply (again, saved, desc), "apply of read-back values");
	auto second = readBack (again, desc);
	for (const auto& [name, value] : first)
	{
		auto it = second.find (name);
		ZYFuzz::check (it != second.end (), "attribute read back again", name);
		ZYFuzz::check (it->second == value, "read-back survives a second apply",
					   name + ": '" + value + "' then '" + it->second + "'");
	}
	return 0;
}
