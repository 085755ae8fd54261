// Texts and values a host or the editor may hand the edit controller that
// must never come back as a NaN, a value outside [0, 1] or an exception.
// The controller's tests and the bundle's tests run the same checks on them.
#pragma once

#include "tests/support/texts.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace zytest {

// Every parameter tag, Bypass (7) included.
constexpr Steinberg::Vst::ParamID kTagCount = 8;

// A value no parameter starts at, to see that a refusal changes nothing.
constexpr Steinberg::Vst::ParamValue kUntouched = 0.3125;

struct RefusedEntry
{
	const char* what;
	std::u16string text;
};

// Texts that name no value: the answer is kResultFalse, the value untouched.
inline std::vector<RefusedEntry> refusedEntries ()
{
	return {
	    {"nan", u"nan"},
	    {"-nan", u"-nan"},
	    {"NaN(1)", u"NaN(1)"},
	    {"NAN", u"NAN"},
	    // UTF-16 that is not well formed: the SDK's conversion throws on it
	    {"lone low surrogate", {u'1', char16_t (0xdc00), u'2'}},
	    {"lone high surrogate", {u'1', char16_t (0xd800), u'2'}},
	    {"high surrogate before a digit", {char16_t (0xd800), u'1'}},
	    {"no number", u"loud"},
	    {"empty", u""},
	};
}

struct ClampedEntry
{
	const char* text;
	Steinberg::Vst::ParamValue normalized;
};

// Numbers beyond a parameter's range, infinities among them: the answer is
// kResultTrue with the range's end, on every parameter.
inline std::vector<ClampedEntry> clampedEntries ()
{
	return {
	    {"inf", 1.},    {"-inf", 0.},  {"infinity", 1.}, {"1e999", 1.},
	    {"-1e999", 0.}, {"1e300", 1.}, {"-1e300", 0.},
	};
}

struct NonFiniteText
{
	Steinberg::Vst::ParamValue normalized;
	Steinberg::tresult result;
	const char* text;
};

// The value text of a NaN and of the infinities for the parameter of the tag.
// A NaN is refused with an empty text. An infinity is a value like any other
// beyond the range: Bypass shows "On" or "Off", and a plain value that is not
// finite gets the empty text, as a number too long for the buffer does.
inline std::vector<NonFiniteText> nonFiniteTexts (Steinberg::Vst::ParamID tag)
{
	const double inf = std::numeric_limits<double>::infinity ();
	const bool bypass = tag == 7;
	const bool frequency = tag == 1;
	return {
	    {std::numeric_limits<double>::quiet_NaN (), Steinberg::kResultFalse, ""},
	    {-std::numeric_limits<double>::quiet_NaN (), Steinberg::kResultFalse, ""},
	    {inf, Steinberg::kResultTrue, bypass ? "On" : ""},
	    // 100 Hz times 40 to the power of minus infinity is 0 Hz
	    {-inf, Steinberg::kResultTrue,
	     bypass      ? "Off"
	     : frequency ? "0"
	                 : ""},
	};
}

// The host's text as the interface takes it.
inline Steinberg::Vst::TChar* units (std::u16string& text)
{
	return reinterpret_cast<Steinberg::Vst::TChar*> (text.data ());
}

// Every refused text on every parameter: kResultFalse, the value untouched,
// nothing thrown.
inline void expectTextThatNamesNoValueIsRefused (Steinberg::Vst::IEditController& controller)
{
	for (Steinberg::Vst::ParamID tag = 0; tag < kTagCount; ++tag)
	{
		for (auto entry : refusedEntries ())
		{
			Steinberg::Vst::ParamValue value = kUntouched;
			Steinberg::tresult result = Steinberg::kResultTrue;
			EXPECT_NO_THROW (result =
			                     controller.getParamValueByString (tag, units (entry.text), value))
			    << tag << " " << entry.what;
			EXPECT_EQ (result, Steinberg::kResultFalse) << tag << " " << entry.what;
			EXPECT_EQ (value, kUntouched) << tag << " " << entry.what;
		}
	}
}

// Every number beyond the range on every parameter ends at the range's end.
inline void expectTextBeyondTheRangeEndsAtItsEnds (Steinberg::Vst::IEditController& controller)
{
	for (Steinberg::Vst::ParamID tag = 0; tag < kTagCount; ++tag)
	{
		for (const auto& entry : clampedEntries ())
		{
			std::u16string text = wide (entry.text);
			Steinberg::Vst::ParamValue value = kUntouched;
			EXPECT_EQ (controller.getParamValueByString (tag, units (text), value),
			           Steinberg::kResultTrue)
			    << tag << " " << entry.text;
			EXPECT_EQ (value, entry.normalized) << tag << " " << entry.text;
		}
	}
}

// setParamNormalized refuses a NaN and leaves the value and its text as they
// were; infinities clamp to the ends.
inline void expectNaNIsNeverStored (Steinberg::Vst::IEditController& controller,
                                    Steinberg::Vst::ParamID tag)
{
	auto valueText = [&] () {
		Steinberg::Vst::String128 text {};
		EXPECT_EQ (
		    controller.getParamStringByValue (tag, controller.getParamNormalized (tag), text),
		    Steinberg::kResultTrue);
		return narrow (text);
	};
	ASSERT_EQ (controller.setParamNormalized (tag, 0.25), Steinberg::kResultTrue);
	const std::string textBefore = valueText ();
	for (double nan : {std::nan (""), -std::nan ("")})
	{
		EXPECT_EQ (controller.setParamNormalized (tag, nan), Steinberg::kResultFalse) << tag;
		EXPECT_EQ (controller.getParamNormalized (tag), 0.25) << tag;
		EXPECT_EQ (valueText (), textBefore) << tag;
	}
	const double inf = std::numeric_limits<double>::infinity ();
	EXPECT_EQ (controller.setParamNormalized (tag, inf), Steinberg::kResultTrue) << tag;
	EXPECT_EQ (controller.getParamNormalized (tag), 1.) << tag;
	EXPECT_EQ (controller.setParamNormalized (tag, -inf), Steinberg::kResultTrue) << tag;
	EXPECT_EQ (controller.getParamNormalized (tag), 0.) << tag;
}

// The value text of NaN and the infinities on every parameter, written over
// a buffer full of junk.
inline void expectValueTextOfValuesThatAreNotFinite (Steinberg::Vst::IEditController& controller)
{
	for (Steinberg::Vst::ParamID tag = 0; tag < kTagCount; ++tag)
	{
		for (const auto& c : nonFiniteTexts (tag))
		{
			Steinberg::Vst::String128 text;
			std::fill (std::begin (text), std::end (text), Steinberg::Vst::TChar ('x'));
			EXPECT_EQ (controller.getParamStringByValue (tag, c.normalized, text), c.result)
			    << tag << " " << c.normalized;
			EXPECT_EQ (narrow (text), c.text) << tag << " " << c.normalized;
		}
	}
}

// The step between two neighbouring texts: 1 for a text with no decimals
// (for Bypass, whose plain value is its normalized one, the whole range from
// "Off" to "On"), else one unit of its last decimal.
inline double displayStep (const std::string& text)
{
	const auto point = text.find ('.');
	const auto decimals = point == std::string::npos ? 0 : text.size () - point - 1;
	return std::pow (10., -static_cast<double> (decimals));
}

// The text shown for a value, handed back as a host or a user types it, reads
// back within one display step of that value, on every parameter.
inline void expectValueTextReadsBack (Steinberg::Vst::IEditController& controller)
{
	const Steinberg::Vst::ParamValue values[] = {
	    0.,    1e-9,      0.125, 0.25,  0.375,       0.5275071124607182, 0.5,
	    0.625, 0.7499166, 0.75,  0.875, 0.123456789, 0.999999,           1.};
	for (Steinberg::Vst::ParamID tag = 0; tag < kTagCount; ++tag)
	{
		for (const auto value : values)
		{
			Steinberg::Vst::String128 shown {};
			ASSERT_EQ (controller.getParamStringByValue (tag, value, shown), Steinberg::kResultTrue)
			    << tag << " " << value;
			const std::string text = narrow (shown);
			Steinberg::Vst::ParamValue readBack = kUntouched;
			EXPECT_EQ (controller.getParamValueByString (tag, shown, readBack),
			           Steinberg::kResultTrue)
			    << tag << " \"" << text << "\"";
			const double distance = std::fabs (controller.normalizedParamToPlain (tag, readBack) -
			                                   controller.normalizedParamToPlain (tag, value));
			EXPECT_LE (distance, displayStep (text) * (1. + 1e-9)) << tag << " \"" << text << "\"";
		}
	}
}

} // namespace zytest
