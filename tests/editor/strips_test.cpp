// Each strip of the editor shows its own parameter: loaded with seven
// different values, every strip, found by its caption and not by the tags of
// the UI description, draws its handle at its parameter's value, shows that
// value's text in its value field and the parameter's units beside it. Two
// strips bound to each other's parameters, or a slider and value field bound
// to different ones, fail here.

#include "tests/editor/editorsession.h"
#include "tests/editor/pixels.h"
#include "tests/editor/sliderplace.h"
#include "tools/hostkit/staterecord.h"
#include "tests/support/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace zyhost;
using namespace zytest;

namespace {

// in tag order; none at 0.5 or a default, and no two handles closer than 12 pixels
constexpr StateValues kValues {0.89, 0.12, 0.23, 0.67, 0.34, 0.78, 0.41};
constexpr int kStrips = 7;
const char* const kFont = "DejaVu Sans";
constexpr double kValueFontSize = 11.;
constexpr double kUnitFontSize = 10.;
// A text drawn matches its own shape of ink to 0.8 or more, another text's
// (of these values and units) to 0.6 at most.
constexpr double kSameText = 0.75;
constexpr double kOtherText = 0.2;

struct Strip
{
	std::string caption;
	const UiView* slider {nullptr};
	const UiView* valueField {nullptr}; // the bitmap behind the value and the units
	const UiView* value {nullptr};
	const UiView* units {nullptr};
};

const UiView* childOf (const UiView& view, const std::string& viewClass)
{
	for (const auto& child : view.children)
		if (child->viewClass == viewClass)
			return child.get ();
	return nullptr;
}

// the containers that hold a slider, with the caption above it and the value
// field below it
std::vector<Strip> stripsOf (const UiLayout& layout)
{
	std::vector<Strip> strips;
	for (const UiView* view : layout.views ())
	{
		if (view->viewClass != "CViewContainer" || !childOf (*view, "CSlider"))
			continue;
		Strip strip;
		strip.slider = childOf (*view, "CSlider");
		if (const UiView* caption = childOf (*view, "CTextLabel"))
			strip.caption = caption->attribute ("title");
		strip.valueField = childOf (*view, "CViewContainer");
		if (strip.valueField)
		{
			strip.value = childOf (*strip.valueField, "CTextEdit");
			strip.units = childOf (*strip.valueField, "CTextLabel");
		}
		strips.push_back (strip);
	}
	return strips;
}

std::string upper (std::string text)
{
	std::transform (text.begin (), text.end (), text.begin (),
	                [] (unsigned char c) { return static_cast<char> (std::toupper (c)); });
	return text;
}

Rect rectOf (const UiView& view)
{
	return {view.left, view.top, view.width, view.height};
}

class EditorStripTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (layout.load (EditorSession::resourcePath ("plug.uidesc"), error)) << error;
		ASSERT_TRUE (loadPng (EditorSession::resourcePath ("fader_cap.png"), cap, error)) << error;
		ASSERT_TRUE (loadPng (EditorSession::resourcePath ("value_field.png"), field, error))
		    << error;
		ASSERT_TRUE (session.load (error)) << error;
	}
	void TearDown () override { session.closeAll (); }

	UiLayout layout;
	zyhost::Capture cap;
	zyhost::Capture field;
	EditorSession session;
};

TEST_F (EditorStripTest, EachStripShowsItsOwnParameter)
{
	// as a host restores a project: the processor takes the state, the
	// controller takes it from the processor, then the editor opens
	auto state = makeStateStream (kValues, 0);
	ASSERT_EQ (session.plugin ().component ()->setState (state), kResultOk);
	ASSERT_TRUE (session.plugin ().syncControllerToProcessor ());

	IEditController& controller = *session.plugin ().controller ();
	struct Expected
	{
		double value;
		std::string valueText, units;
	};
	std::map<std::string, Expected> byCaption;
	for (int32 index = 0; index < kStrips; ++index)
	{
		ParameterInfo info {};
		ASSERT_EQ (controller.getParameterInfo (index, info), kResultOk);
		const double value = controller.getParamNormalized (info.id);
		ASSERT_DOUBLE_EQ (value, kValues[info.id]);
		String128 text {};
		ASSERT_EQ (controller.getParamStringByValue (info.id, value, text), kResultOk);
		byCaption[upper (narrow (info.title))] = {value, narrow (text), narrow (info.units)};
	}
	const std::vector<Strip> strips = stripsOf (layout);
	ASSERT_EQ (strips.size (), static_cast<size_t> (kStrips));
	for (const Strip& strip : strips)
	{
		ASSERT_EQ (byCaption.count (strip.caption), 1u)
		    << "the strip \"" << strip.caption << "\" names no parameter";
		ASSERT_TRUE (strip.valueField && strip.value && strip.units)
		    << "the strip \"" << strip.caption << "\" has no value field";
	}

	std::string error;
	ASSERT_TRUE (session.open (error)) << error;
	zyhost::Capture shot;
	// how closely a text drawn in a view of a strip's value field matches
	auto match = [&] (const Strip& strip, const UiView& view, const std::string& text,
	                  double size) {
		return textInkMatch (shot, rectOf (view), field, view.left - strip.valueField->left,
		                     view.top - strip.valueField->top, text, kFont, size);
	};
	// The value fields take their texts at the editor's first deferred
	// update, after the sliders: wait until each shows one of the values,
	// whichever it is.
	auto everyFieldShowsAValue = [&] () {
		return std::all_of (strips.begin (), strips.end (), [&] (const Strip& strip) {
			return std::any_of (byCaption.begin (), byCaption.end (), [&] (const auto& other) {
				return match (strip, *strip.value, other.second.valueText, kValueFontSize) >
				       kSameText;
			});
		});
	};
	for (int wait = 0; wait < 100; ++wait)
	{
		ASSERT_TRUE (session.capture (shot, error)) << error;
		if (everyFieldShowsAValue ())
			break;
		session.pump (std::chrono::milliseconds (50));
	}

	for (const Strip& strip : strips)
	{
		SCOPED_TRACE (strip.caption);
		const Expected& expected = byCaption.at (strip.caption);

		// the handle at the parameter's value
		SliderPlace place {};
		ASSERT_TRUE (placeOf (*strip.slider, cap, place));
		// the screenshot is the capture, the handle bitmap the image
		// NOLINTNEXTLINE(readability-suspicious-call-argument)
		EXPECT_LT (meanDifference (shot, place.handleFor (expected.value), cap, 0, 0), 3.)
		    << "the handle is not at " << expected.valueText;

		// The value's text and the units, each matched against what every
		// strip would show there: its own must match, and clearly best.
		auto expectShows = [&] (const UiView& view, const char* what, double size,
		                        std::string Expected::*text) {
			const std::string& ownText = expected.*text;
			const double own = match (strip, view, ownText, size);
			std::printf ("%-10s %s \"%s\" matched to %.2f\n", strip.caption.c_str (), what,
			             ownText.c_str (), own);
			std::string closest;
			double closestMatch = 0.;
			for (const auto& [caption, other] : byCaption)
			{
				const std::string& otherText = other.*text;
				const double m = otherText == ownText ? 0. : match (strip, view, otherText, size);
				if (m > closestMatch)
				{
					closestMatch = m;
					closest = caption + "'s " + otherText;
				}
			}
			if (own > kSameText)
				EXPECT_LT (closestMatch, own - kOtherText)
				    << "the " << what << " look like " << closest << " too";
			else
				ADD_FAILURE () << "the " << what << " are not " << ownText
				               << "; closest: " << closest << " (" << closestMatch << ")";
		};
		expectShows (*strip.value, "value's digits", kValueFontSize, &Expected::valueText);
		EXPECT_EQ (strip.units->attribute ("title"), expected.units);
		expectShows (*strip.units, "units", kUnitFontSize, &Expected::units);
	}
}

} // namespace
