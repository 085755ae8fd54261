// The linear and the exponential range parameter: defaults, value text,
// conversions, text entry and construction.

#include "controller/zyexprangeparameter.h"
#include "controller/zyrangeparameter.h"
#include "tests/support/texts.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

enum class Kind
{
	level,     // linear, -36 to 12 dB, default 0, precision 2
	frequency, // exponential, 100 to 4000 Hz, default 700, precision 0
	rate,      // linear, 0 to 2 Hz, default 0.3, precision 2
};

IPtr<RangeParameter> make (Kind kind, ParamValue defaultPlain = std::nan (""))
{
	IPtr<RangeParameter> p;
	switch (kind)
	{
		case Kind::level:
			p = owned (new ZYRangeParameter (STR16 ("Level"), 0, STR16 ("dB"), 1, -36., 12.,
			                                 std::isnan (defaultPlain) ? 0. : defaultPlain));
			p->setPrecision (2);
			break;
		case Kind::frequency:
			p = owned (new ZYExpRangeParameter (STR16 ("Frequency"), 1, STR16 ("Hz"), 1, 100.,
			                                    4000.,
			                                    std::isnan (defaultPlain) ? 700. : defaultPlain));
			p->setPrecision (0);
			break;
		case Kind::rate:
			p = owned (new ZYRangeParameter (STR16 ("Rate"), 4, STR16 ("Hz"), 1, 0., 2.,
			                                 std::isnan (defaultPlain) ? 0.3 : defaultPlain));
			p->setPrecision (2);
			break;
	}
	return p;
}

std::string text (const RangeParameter& p, ParamValue normalized)
{
	String128 buffer {};
	p.toString (normalized, buffer);
	return zytest::narrow (buffer);
}

const ParamValue kFrequencyDefault = std::log (7.) / std::log (40.);

TEST (RangeParameterTest, DefaultComesFromThePlainValueUnclamped)
{
	const struct
	{
		Kind kind;
		ParamValue defaultPlain;
		ParamValue expected;
	} cases[] = {
	    {Kind::level, 0., 0.75},
	    {Kind::frequency, 700., 0.5275071124607182},
	    {Kind::rate, 0.3, 0.15},
	    {Kind::level, 24., 1.25},
	    {Kind::frequency, 50., -0.18790182470910757},
	    {Kind::frequency, 0., 0.},
	};
	for (const auto& c : cases)
	{
		auto p = make (c.kind, c.defaultPlain);
		EXPECT_EQ (p->getInfo ().defaultNormalizedValue, c.expected) << c.defaultPlain;
		EXPECT_EQ (p->getNormalized (), c.expected) << c.defaultPlain;
	}
}

TEST (RangeParameterTest, ValueText)
{
	const struct
	{
		Kind kind;
		ParamValue normalized;
		const char* expected;
	} cases[] = {
	    {Kind::level, 0.75, "0.00"},
	    {Kind::level, 0.0, "-36.00"},
	    {Kind::level, 1.0, "12.00"},
	    {Kind::level, 0.7499999, "0.00"},           // plain -0.0000048 snaps to zero
	    {Kind::level, 0.75 - 0.001 / 48., "-0.00"}, // plain -0.001 is no rounding noise
	    {Kind::level, 0.75 + 0.004 / 48., "0.00"},  // plain 0.004: rounds, not snapped
	    {Kind::rate, 0.15, "0.30"},
	    {Kind::frequency, 0.0, "100"},
	    {Kind::frequency, 1.0, "4000"},
	    {Kind::frequency, 0.5, "632"},
	    {Kind::frequency, kFrequencyDefault, "700"},
	    {Kind::frequency, -0.5, "16"}, // plain 15.8, below the range
	};
	for (const auto& c : cases)
		EXPECT_EQ (text (*make (c.kind), c.normalized), c.expected) << c.normalized;
}

// Plain values closer to zero than 5e-5 print as zero; 5e-5 itself does not.
// At normalized 0 the plain value is exactly the range's minimum, so the
// minimum places it on either side of the threshold.
TEST (RangeParameterTest, ZeroSnapAtItsThreshold)
{
	const double below = std::nextafter (5e-5, 0.);
	const struct
	{
		ParamValue minPlain;
		const char* expected;
	} cases[] = {
	    {5e-5, "0.000050"},
	    {below, "0.000000"},
	    {-5e-5, "-0.000050"},
	    {-below, "0.000000"}, // snapped to +0: no minus sign
	};
	for (const auto& c : cases)
	{
		auto p = owned (new ZYRangeParameter (STR16 ("Snap"), 0, nullptr, 1, c.minPlain, 1., 0.));
		p->setPrecision (6);
		ASSERT_EQ (p->toPlain (0.), c.minPlain);
		EXPECT_EQ (text (*p, 0.), c.expected) << c.minPlain;
	}
}

TEST (RangeParameterTest, ExponentialConversionsDoNotClamp)
{
	auto frequency = make (Kind::frequency);
	EXPECT_EQ (frequency->toNormalized (1000.), 0.6241963505817849);
	EXPECT_EQ (frequency->toNormalized (50.), -0.18790182470910757);
	EXPECT_EQ (frequency->toPlain (1.5), 25298.22128134704);
	EXPECT_EQ (frequency->toPlain (0.5), 632.4555320336758);
	EXPECT_EQ (frequency->toPlain (kFrequencyDefault), 699.9999999999998);
}

TEST (RangeParameterTest, ExponentialPlainOfZeroOrBelowGivesTheBottom)
{
	auto frequency = make (Kind::frequency);
	for (ParamValue plain : {0., -0., -1., -1e300, -std::numeric_limits<double>::infinity ()})
		EXPECT_EQ (frequency->toNormalized (plain), 0.) << plain;
}

TEST (RangeParameterTest, TextEntryClampsToTheRangeThenConverts)
{
	const struct
	{
		Kind kind;
		const TChar* entry;
		ParamValue expected;
	} cases[] = {
	    {Kind::frequency, STR16 ("50"), 0.0},
	    {Kind::frequency, STR16 ("5000"), 1.0},
	    {Kind::frequency, STR16 ("1000"), 0.6241963505817849},
	    {Kind::level, STR16 ("0"), 0.75},
	    {Kind::level, STR16 ("-100"), 0.0},
	    {Kind::rate, STR16 ("1.5"), 0.75},
	};
	for (const auto& c : cases)
	{
		ParamValue normalized = -1.;
		EXPECT_TRUE (make (c.kind)->fromString (c.entry, normalized));
		EXPECT_EQ (normalized, c.expected);
	}
	ParamValue untouched = 0.25;
	EXPECT_FALSE (make (Kind::level)->fromString (STR16 ("loud"), untouched));
}

TEST (RangeParameterTest, ConstructionFillsTheInfo)
{
	TChar longTitle[201];
	for (int i = 0; i < 200; ++i)
		longTitle[i] = static_cast<TChar> ('a' + i % 26);
	longTitle[200] = 0;

	IPtr<RangeParameter> parameters[] = {
	    owned (new ZYRangeParameter (longTitle, 9, nullptr, 0x10001, 0., 1., 0.)),
	    owned (new ZYExpRangeParameter (longTitle, 9, nullptr, 0x10001, 1., 10., 1.)),
	};
	for (const auto& p : parameters)
	{
		const ParameterInfo& info = p->getInfo ();
		EXPECT_EQ (tstrlen (info.title), 127);
		EXPECT_EQ (0, std::char_traits<TChar>::compare (info.title, longTitle, 127));
		EXPECT_EQ (info.units[0], 0);
		EXPECT_EQ (info.shortTitle[0], 0);
		EXPECT_EQ (info.id, 9u);
		EXPECT_EQ (info.flags, 0x10001);
		EXPECT_EQ (info.stepCount, 0);
		EXPECT_EQ (info.unitId, 0);
		EXPECT_EQ (p->getPrecision (), 4);
		EXPECT_STREQ (p->isA (), "RangeParameter");
		EXPECT_TRUE (p->isTypeOf ("Parameter", true));
		EXPECT_TRUE (p->isTypeOf ("FObject", true));
	}
}

// A value text that does not fit the host's 128-unit buffer is left empty;
// nothing is written behind the buffer.
TEST (RangeParameterTest, OversizedValueTextStaysInsideTheBuffer)
{
	struct Guarded
	{
		String128 text;
		TChar canary[512];
	};
	const struct
	{
		Kind kind;
		ParamValue normalized;
	} cases[] = {
	    {Kind::level, 1e300},
	    {Kind::level, -1e300},
	    {Kind::frequency, 150.},
	    // not finite: beyond every number that does not fit
	    {Kind::level, std::numeric_limits<double>::infinity ()},
	    {Kind::level, -std::numeric_limits<double>::infinity ()},
	    {Kind::frequency, std::numeric_limits<double>::infinity ()},
	    {Kind::level, std::nan ("")},
	    {Kind::frequency, std::nan ("")},
	};
	for (const auto& c : cases)
	{
		Guarded buffer {};
		std::fill (std::begin (buffer.text), std::end (buffer.text), TChar ('x'));
		std::fill (std::begin (buffer.canary), std::end (buffer.canary), TChar (0x5a5a));
		make (c.kind)->toString (c.normalized, buffer.text);
		EXPECT_EQ (buffer.text[0], 0) << c.normalized;
		for (TChar unit : buffer.canary)
			ASSERT_EQ (unit, TChar (0x5a5a)) << c.normalized;
	}
	// a long text that still fits is printed in full
	EXPECT_EQ (text (*make (Kind::level), 1e100 / 48.).size (), 104u);
}

// The host's buffer holds 127 units and the terminator: a text of exactly
// 128 units is refused with the empty text, one of 127 is printed in full.
TEST (RangeParameterTest, ValueTextOf128UnitsIsRefused)
{
	auto unit = owned (new ZYRangeParameter (STR16 ("Unit"), 0, nullptr, 1, 0., 1., 0.));
	unit->setPrecision (0); // plain = normalized
	auto level = make (Kind::level);
	auto frequency = make (Kind::frequency);
	const auto frequencyFor = [] (double plain) {
		return std::log (plain / 100.) / std::log (40.);
	};
	const struct
	{
		const RangeParameter* parameter;
		ParamValue normalized;
		int length; // of the text "%.*lf" prints
	} cases[] = {
	    {unit.get (), 5e126, 127},
	    {unit.get (), 5e127, 128},
	    {unit.get (), -5e125, 127},
	    {unit.get (), -5e126, 128},
	    {level.get (), 5e123 / 48., 127},
	    {level.get (), 5e124 / 48., 128}, // 2 decimals
	    {frequency.get (), frequencyFor (5e126), 127},
	    {frequency.get (), frequencyFor (5e127), 128},
	};
	for (const auto& c : cases)
	{
		const ParamValue plain = c.parameter->toPlain (c.normalized);
		const int precision = c.parameter->getPrecision ();
		char printed[256];
		ASSERT_EQ (std::snprintf (printed, sizeof printed, "%.*lf", precision, plain), c.length);

		String128 buffer {};
		c.parameter->toString (c.normalized, buffer);
		if (c.length < 128)
		{
			EXPECT_EQ (text (*c.parameter, c.normalized), printed);
			EXPECT_EQ (buffer[127], 0);
		}
		else
			EXPECT_EQ (buffer[0], 0) << printed;
	}
}

TEST (RangeParameterTest, ApproximatelyEqual)
{
	const double nan = std::nan ("");
	const struct
	{
		double a, b;
		bool expected;
	} cases[] = {
	    {1., 1., true},        {1., 1.00004, true}, {1., 1.00005, false}, {1., 0.99994, false},
	    {-2., -2.00001, true}, {nan, 1., true},     {0., nan, true},      {0., 1e300, false},
	};
	for (const auto& c : cases)
		EXPECT_EQ (approximatelyEqual (c.a, c.b), c.expected) << c.a << " " << c.b;
}

} // namespace
