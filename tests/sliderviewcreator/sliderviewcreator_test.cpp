// The slider view creators: sliders built from UI descriptions, the mode
// names, read-back values, attribute names and types.

#include "slidertestsupport.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/lib/platform/linux/linuxfactory.h"
#include "vstgui/lib/platform/platformfactory.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uicontentprovider.h"
#include "vstgui/uidescription/uidescription.h"
#include "vstgui/uidescription/uiviewfactory.h"
#include "vstgui/uidescription/viewcreator/sliderviewcreator.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace ZYTest {
namespace {

using UIViewCreator::SliderBaseCreator;
using UIViewCreator::SliderCreator;
using Mode = CSliderBase::SliderMode;

constexpr int32_t kHL = CSliderBase::kHorizontal | CSliderBase::kLeft;

const char* const kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
	<bitmaps>
		<bitmap name="knob handle" path="zy-slider-handle.png"/>
	</bitmaps>
	<colors>
		<color name="accent" rgba="#10203040"/>
	</colors>
	<template name="view" class="CViewContainer" origin="0, 0" size="300, 100">
		<view class="CSlider" origin="10, 20" size="200, 20"/>
		<view class="CSlider" origin="250, 0" size="20, 100" orientation="vertical" mode="ramp" handle-bitmap="knob handle" draw-value="true"/>
	</template>
</vstgui-ui-description>
)";

// a creator to call directly; the factory keeps the one it registered first
const SliderCreator& creator ()
{
	static const SliderCreator instance;
	return instance;
}

class SliderViewCreator : public ::testing::Test
{
protected:
	static void SetUpTestSuite ()
	{
		// the handle bitmap as a file in a resource folder of this process's
		// own: ctest runs the cases of this suite side by side
		resourceFolder = ::testing::TempDir () + "zy-slider-" + std::to_string (getpid ()) + "/";
		const auto& folder = resourceFolder;
		std::filesystem::create_directories (folder);
		auto bitmap = makeOwned<CBitmap> (20., 8.);
		auto png = getPlatformFactory ().createBitmapMemoryPNGRepresentation (
			bitmap->getPlatformBitmap ());
		std::ofstream (folder + "zy-slider-handle.png", std::ios::binary)
			.write (reinterpret_cast<const char*> (png.data ()),
					static_cast<std::streamsize> (png.size ()));
		getPlatformFactory ().asLinuxFactory ()->setResourcePath (folder);

		provider =
			new MemoryContentProvider (kDescription, static_cast<uint32_t> (strlen (kDescription)));
		description = new UIDescription (provider);
		ASSERT_TRUE (description->parse ());
	}

	static void TearDownTestSuite ()
	{
		std::filesystem::remove_all (resourceFolder);
		description->forget ();
		description = nullptr;
		provider->forget ();
		provider = nullptr;
	}

	/** a slider as the factory builds it from these attributes */
	static SharedPointer<CSlider> build (const std::map<std::string, std::string>& attributes)
	{
		UIAttributes attrs;
		attrs.setAttribute ("class", "CSlider");
		attrs.setAttribute ("origin", "0, 0");
		attrs.setAttribute ("size", "200, 20");
		for (const auto& [name, value] : attributes)
			attrs.setAttribute (name, value);
		auto view = owned (description->getViewFactory ()->createView (attrs, description));
		auto slider = SharedPointer<CSlider> (dynamic_cast<CSlider*> (view.get ()));
		EXPECT_TRUE (slider) << "the factory built no CSlider";
		return slider;
	}

	static std::string readBack (CView* view, const std::string& name)
	{
		std::string value = "untouched";
		EXPECT_TRUE (creator ().getAttributeValue (view, name, value, description)) << name;
		return value;
	}

	static MemoryContentProvider* provider;
	static UIDescription* description;
	static std::string resourceFolder;
};

MemoryContentProvider* SliderViewCreator::provider = nullptr;
UIDescription* SliderViewCreator::description = nullptr;
std::string SliderViewCreator::resourceFolder;

//-----------------------------------------------------------------------------
TEST_F (SliderViewCreator, DescriptionBuildsSlidersThatGrabOrJumpByDefault)
{
	auto view = owned (description->createView ("view", nullptr));
	auto* container = view ? view->asViewContainer () : nullptr;
	ASSERT_NE (container, nullptr);
	std::vector<CSlider*> sliders;
	ASSERT_EQ (container->getChildViewsOfType<CSlider> (sliders), 2u);

	auto* plain = sliders[0];
	EXPECT_EQ (plain->getViewSize (), CRect (10, 20, 210, 40));
	EXPECT_EQ (plain->getStyle (), kHL);
	EXPECT_EQ (plain->getDrawStyle (), 0);
	EXPECT_EQ (plain->getHandle (), nullptr);
	EXPECT_EQ (plain->getHandleSize (), CPoint (1, 1));
	EXPECT_EQ (plain->getMode (), Mode::kUseGlobalMode);
	EXPECT_EQ (plain->getEffectiveMode (), Mode::kGrabOrJumpMode);
	// the resize by the base creators set the travel: the handle reaches the far end
	EXPECT_EQ (plain->computeHandleRect (1.f), CRect (209, 20, 210, 21));

	auto* vertical = sliders[1];
	EXPECT_EQ (vertical->getStyle (), CSliderBase::kVertical | CSliderBase::kLeft);
	EXPECT_EQ (vertical->getMode (), Mode::kRampMode);
	EXPECT_EQ (vertical->getDrawStyle (), CSlider::kDrawValue);
	ASSERT_NE (vertical->getHandle (), nullptr);
	EXPECT_EQ (vertical->getHandleSize (), CPoint (20, 8));
	EXPECT_EQ (vertical->computeHandleRect (1.f), CRect (250, 92, 270, 100));
	EXPECT_EQ (readBack (vertical, "handle-bitmap"), "knob handle");
	EXPECT_TRUE (takeSliderAssertions ().empty ());
}

TEST_F (SliderViewCreator, FactoryServesTheProjectsCreatorUnderCSlider)
{
	auto slider = build ({{"mode", "ZY free click"}});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getMode (), Mode::kGrabOrJumpMode);
#if VSTGUI_LIVE_EDITING
	auto factory = dynamic_cast<const UIViewFactory*> (description->getViewFactory ());
	ASSERT_NE (factory, nullptr);
	UIViewFactory::StringPtrList values;
	ASSERT_TRUE (factory->getPossibleAttributeListValues (slider, "mode", values));
	EXPECT_NE (std::find_if (values.begin (), values.end (),
							 [] (const std::string* s) { return *s == "ZY free click"; }),
			   values.end ());
	EXPECT_STREQ (factory->getViewDisplayName (slider), "Slider");
#endif
}

//-----------------------------------------------------------------------------
TEST_F (SliderViewCreator, ModeByNameOrByFreeClick)
{
	struct Case
	{
		std::map<std::string, std::string> attributes;
		Mode mode;
	};
	const Case cases[] = {
		{{{"mode", "touch"}}, Mode::kTouchMode},
		{{{"mode", "relative touch"}}, Mode::kRelativeTouchMode},
		{{{"mode", "free click"}}, Mode::kFreeClickMode},
		{{{"mode", "ZY free click"}}, Mode::kGrabOrJumpMode},
		{{{"mode", "ramp"}}, Mode::kRampMode},
		{{{"mode", "use global"}}, Mode::kUseGlobalMode},
		{{{"mode", "zy free click"}}, Mode::kUseGlobalMode},
		{{{"mode", "ramp "}}, Mode::kUseGlobalMode},
		{{{"free-click", "true"}}, Mode::kFreeClickMode},
		{{{"free-click", "false"}}, Mode::kTouchMode},
		{{{"free-click", ""}}, Mode::kTouchMode},
		{{{"free-click", "true"}, {"mode", "ramp"}}, Mode::kRampMode},
		{{{"free-click", "true"}, {"mode", "fast"}}, Mode::kFreeClickMode},
	};
	for (const auto& c : cases)
	{
		auto slider = build (c.attributes);
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getMode (), c.mode) << c.attributes.begin ()->second;
	}
}

TEST_F (SliderViewCreator, OrientationAndReversal)
{
	struct Case
	{
		std::map<std::string, std::string> attributes;
		int32_t style;
		const char* orientation;
		const char* reversed;
	};
	// A table, one case a line:
	// clang-format off
	const Case cases[] = {
		{{}, kHL, "horizontal", "false"},
		{{{"orientation", "vertical"}}, 6, "vertical", "false"},
		{{{"orientation", "Vertical"}}, kHL, "horizontal", "false"},
		{{{"orientation", "horizontal"}}, kHL, "horizontal", "false"},
		{{{"reverse-orientation", "true"}}, 9, "horizontal", "true"},
		{{{"reverse-orientation", "false"}}, kHL, "horizontal", "false"},
		{{{"orientation", "vertical"}, {"reverse-orientation", "true"}}, 2 | 4 | 16, "vertical", "true"},
		{{{"orientation", "vertical"}, {"reverse-orientation", "false"}}, 2 | 4 | 32, "vertical", "false"},
		{{{"orientation", "vertical"}, {"reverse-orientation", "True"}}, 2 | 4 | 32, "vertical", "false"},
	};
	// clang-format on
	for (const auto& c : cases)
	{
		auto slider = build (c.attributes);
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getStyle (), c.style);
		EXPECT_EQ (readBack (slider, "orientation"), c.orientation);
		EXPECT_EQ (readBack (slider, "reverse-orientation"), c.reversed);
	}
	EXPECT_TRUE (takeSliderAssertions ().empty ());
}

TEST_F (SliderViewCreator, ReversalReadBackNeedsTheMatchingDirectionBit)
{
	auto slider = build ({});
	ASSERT_TRUE (slider);
	const std::pair<int32_t, const char*> cases[] = {
		{0x11, "false"}, {0x22, "false"}, {0x12, "true"}, {0x09, "true"}};
	for (const auto& [style, expected] : cases)
	{
		slider->setStyle (style);
		EXPECT_EQ (readBack (slider, "reverse-orientation"), expected) << style;
	}
}

TEST_F (SliderViewCreator, ReadBackOfANewSlider)
{
	auto slider = build ({});
	ASSERT_TRUE (slider);
	const std::pair<const char*, const char*> cases[] = {
		{"mode", "use global"},
		{"orientation", "horizontal"},
		{"reverse-orientation", "false"},
		{"zoom-factor", "10"},
		{"handle-offset", "0, 0"},
		{"handle-bitmap", "untouched"},
		{"bitmap-offset", "0, 0"},
		{"draw-frame", "false"},
		{"draw-back", "false"},
		{"draw-value", "false"},
		{"draw-value-inverted", "false"},
		{"draw-value-from-center", "false"},
		{"frame-width", "1"},
		// the description's own names for the toolkit's standard colours
		{"draw-frame-color", "~ GreyCColor"},
		{"draw-back-color", "~ BlackCColor"},
		{"draw-value-color", "~ WhiteCColor"},
	};
	for (const auto& [name, expected] : cases)
		EXPECT_EQ (readBack (slider, name), expected) << name;

	// without a description a colour reads back as hexadecimal bytes
	const std::pair<const char*, const char*> unnamed[] = {
		{"draw-frame-color", "#7f7f7fff"},
		{"draw-back-color", "#000000ff"},
		{"draw-value-color", "#ffffffff"},
	};
	for (const auto& [name, expected] : unnamed)
	{
		std::string value;
		EXPECT_TRUE (creator ().getAttributeValue (slider, name, value, nullptr));
		EXPECT_EQ (value, expected) << name;
	}
}

TEST_F (SliderViewCreator, NumbersPointsAndTheirReadBack)
{
	struct Case
	{
		const char* name;
		const char* text;
		const char* readBack;
	};
	// A table, one case a line:
	// clang-format off
	const Case cases[] = {
		{"zoom-factor", "1.1", "1.1"},
		{"zoom-factor", "abc", "10"},
		{"zoom-factor", "-3", "-3"},
		// past the float range the slider would hold infinity, which reads back
		// as a text no description loads: the factor is left as it was
		{"zoom-factor", "1.7976931348623157e308", "10"},
		{"zoom-factor", "-3.5e38", "10"},
		{"zoom-factor", "3.4e38", "3.4e+38"},
		{"handle-offset", "3, 4.5", "3, 4.5"},
		{"handle-offset", "3", "0, 0"},
		{"bitmap-offset", "2.5, 0", "2.5, 0"},
		{"bitmap-offset", "x, y", "0, 0"},
		{"frame-width", "2.25", "2.25"},
		{"frame-width", "wide", "1"},
		{"frame-width", "-1", "-1"},
	};
	// clang-format on
	for (const auto& c : cases)
	{
		auto slider = build ({{c.name, c.text}});
		ASSERT_TRUE (slider);
		EXPECT_EQ (readBack (slider, c.name), c.readBack) << c.name << " " << c.text;
	}
	auto zoomed = build ({{"zoom-factor", "1.1"}});
	EXPECT_EQ (zoomed->getZoomFactor (), 1.1f);
}

// What the editor saves must load again: the reader takes an exponent only
// after a decimal point.
TEST_F (SliderViewCreator, NumbersReadBackAsTextsThatLoadAgain)
{
	struct Case
	{
		const char* name;
		const char* text;
		const char* readBack;
	};
	const Case cases[] = {
		{"frame-width", "1000000000000", "1.0e+12"},
		{"frame-width", "1234567", "1.23457e+06"},
		{"zoom-factor", "0.0000001", "1.0e-07"},
		{"zoom-factor", "20000000", "2.0e+07"},
		{"handle-offset", "3000000, -0.00001", "3.0e+06, -1.0e-05"},
		{"bitmap-offset", "1.0e+12, 2", "1.0e+12, 2"},
	};
	for (const auto& c : cases)
	{
		auto slider = build ({{c.name, c.text}});
		ASSERT_TRUE (slider);
		auto saved = readBack (slider, c.name);
		EXPECT_EQ (saved, c.readBack) << c.name << " " << c.text;
		auto loaded = build ({{c.name, saved}});
		ASSERT_TRUE (loaded);
		EXPECT_EQ (readBack (loaded, c.name), saved) << c.name << " " << c.text;
	}
}

TEST_F (SliderViewCreator, DrawStyleFlagsTakeOnlyTheExactTrue)
{
	struct Case
	{
		std::map<std::string, std::string> attributes;
		int32_t drawStyle;
	};
	const Case cases[] = {
		{{{"draw-frame", "true"}}, CSlider::kDrawFrame},
		{{{"draw-back", "true"}, {"draw-value", "true"}}, CSlider::kDrawBack | CSlider::kDrawValue},
		{{{"draw-value", "TRUE"}}, 0},
		{{{"draw-value-inverted", "true"}, {"draw-value-from-center", "true"}},
		 CSlider::kDrawInverted | CSlider::kDrawValueFromCenter},
	};
	for (const auto& c : cases)
	{
		auto slider = build (c.attributes);
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getDrawStyle (), c.drawStyle);
		for (const auto& [name, text] : c.attributes)
			EXPECT_EQ (readBack (slider, name), text == "true" ? "true" : "false") << name;
	}

	// an absent flag leaves the bit, any text but "true" clears it
	auto slider = build ({{"draw-value", "true"}, {"draw-back", "true"}});
	UIAttributes again;
	again.setAttribute ("draw-value", "false");
	EXPECT_TRUE (creator ().apply (slider, again, description));
	EXPECT_EQ (slider->getDrawStyle (), CSlider::kDrawBack);
	again.setAttribute ("draw-back", "TRUE");
	creator ().apply (slider, again, description);
	EXPECT_EQ (slider->getDrawStyle (), 0);
}

TEST_F (SliderViewCreator, ColoursByNameHexOrEmpty)
{
	struct Case
	{
		const char* text;
		CColor colour;
		const char* readBack;
	};
	const Case cases[] = {
		{"accent", CColor (0x10, 0x20, 0x30, 0x40), "accent"},
		{"#11223344", CColor (0x11, 0x22, 0x33, 0x44), "#11223344"},
		{"", CColor (255, 255, 255, 0), "~ TransparentCColor"},
		// a colour the description does not know changes nothing
		{"no such colour", CColor (0, 0, 0, 255), "~ BlackCColor"},
	};
	for (const auto& c : cases)
	{
		auto slider = build ({{"draw-back-color", c.text}});
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getBackColor (), c.colour) << c.text;
		EXPECT_EQ (readBack (slider, "draw-back-color"), c.readBack) << c.text;
	}
	auto all = build ({{"draw-frame-color", "accent"}, {"draw-value-color", "#01020304"}});
	EXPECT_EQ (all->getFrameColor (), CColor (0x10, 0x20, 0x30, 0x40));
	EXPECT_EQ (all->getValueColor (), CColor (1, 2, 3, 4));
}

TEST_F (SliderViewCreator, HandleBitmapByNameAndItsRemoval)
{
	auto slider = build ({{"handle-bitmap", "knob handle"}});
	ASSERT_TRUE (slider);
	ASSERT_NE (slider->getHandle (), nullptr);
	EXPECT_EQ (slider->getHandleSize (), CPoint (20, 8));
	EXPECT_EQ (readBack (slider, "handle-bitmap"), "knob handle");
	// the handle size entered the travel: the handle reaches the far end
	EXPECT_EQ (slider->computeHandleRect (1.f), CRect (180, 0, 200, 8));

	for (const char* text : {"", "no such bitmap"})
	{
		UIAttributes attrs;
		attrs.setAttribute ("handle-bitmap", "knob handle");
		creator ().apply (slider, attrs, description);
		ASSERT_NE (slider->getHandle (), nullptr);
		attrs.setAttribute ("handle-bitmap", text);
		EXPECT_TRUE (creator ().apply (slider, attrs, description));
		EXPECT_EQ (slider->getHandle (), nullptr) << text;
		EXPECT_EQ (slider->getHandleSize (), CPoint (1, 1));
	}
}

TEST_F (SliderViewCreator, ApplyWithoutAttributesChangesNothing)
{
	auto slider = build ({});
	ASSERT_TRUE (slider);
	slider->setStyle (0);
	takeSliderAssertions ();
	slider->setMode (Mode::kRampMode);
	EXPECT_TRUE (creator ().apply (slider, UIAttributes (), description));
	EXPECT_EQ (slider->getStyle (), 0);
	EXPECT_EQ (slider->getMode (), Mode::kRampMode);
	// the style was not stored again: no new assertion
	EXPECT_TRUE (takeSliderAssertions ().empty ());
}

//-----------------------------------------------------------------------------
TEST_F (SliderViewCreator, OtherViewsAreRefused)
{
	auto button = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
	UIAttributes attrs;
	attrs.setAttribute ("mode", "ramp");
	EXPECT_FALSE (creator ().apply (button, attrs, description));
	EXPECT_FALSE (creator ().apply (nullptr, attrs, description));
	for (const char* name : {"mode", "handle-bitmap", "draw-frame", "zoom-factor"})
	{
		std::string value = "untouched";
		EXPECT_FALSE (creator ().getAttributeValue (button, name, value, description));
		EXPECT_FALSE (creator ().getAttributeValue (nullptr, name, value, description));
		EXPECT_EQ (value, "untouched");
	}
}

TEST_F (SliderViewCreator, ModeOutsideTheTableIsNotReadBack)
{
	auto slider = build ({});
	ASSERT_TRUE (slider);
	for (int32_t mode : {-1, 6, 1000})
	{
		slider->setMode (static_cast<Mode> (mode));
		std::string value = "untouched";
		EXPECT_FALSE (creator ().getAttributeValue (slider, "mode", value, description));
		EXPECT_EQ (value, "untouched");
	}
	std::string value = "untouched";
	EXPECT_FALSE (creator ().getAttributeValue (slider, "free-click", value, description));
	EXPECT_EQ (value, "untouched");
}

TEST_F (SliderViewCreator, EveryModeNameReadsBackAsSet)
{
	const auto& names = SliderBaseCreator::sliderModeNames ();
	ASSERT_EQ (names.size (), 6u);
	for (size_t index = 0; index < names.size (); ++index)
	{
		auto slider = build ({{"mode", names[index]}});
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getMode (), static_cast<Mode> (index));
		EXPECT_EQ (readBack (slider, "mode"), names[index]);
	}
}

//-----------------------------------------------------------------------------
TEST (SliderCreatorInterface, NamesTypesAndListValues)
{
	IViewCreator::StringList names {"earlier"};
	EXPECT_TRUE (creator ().getAttributeNames (names));
	// The names in the creator's order, packed:
	// clang-format off
	const IViewCreator::StringList expected {
		"earlier", "mode", "orientation", "reverse-orientation", "handle-offset", "zoom-factor",
		"handle-bitmap", "bitmap-offset", "draw-frame", "draw-back", "draw-value",
		"draw-value-inverted", "draw-value-from-center", "frame-width", "draw-frame-color",
		"draw-back-color", "draw-value-color"};
	// clang-format on
	EXPECT_EQ (names, expected);

	const std::pair<const char*, IViewCreator::AttrType> types[] = {
		{"mode", IViewCreator::kListType},
		{"orientation", IViewCreator::kListType},
		{"reverse-orientation", IViewCreator::kBooleanType},
		{"handle-offset", IViewCreator::kPointType},
		{"zoom-factor", IViewCreator::kFloatType},
		{"handle-bitmap", IViewCreator::kBitmapType},
		{"bitmap-offset", IViewCreator::kPointType},
		{"draw-frame", IViewCreator::kBooleanType},
		{"draw-back", IViewCreator::kBooleanType},
		{"draw-value", IViewCreator::kBooleanType},
		{"draw-value-inverted", IViewCreator::kBooleanType},
		{"draw-value-from-center", IViewCreator::kBooleanType},
		{"frame-width", IViewCreator::kFloatType},
		{"draw-frame-color", IViewCreator::kColorType},
		{"draw-back-color", IViewCreator::kColorType},
		{"draw-value-color", IViewCreator::kColorType},
		{"free-click", IViewCreator::kUnknownType},
		{"Mode", IViewCreator::kUnknownType},
		{"origin", IViewCreator::kUnknownType},
	};
	for (const auto& [name, type] : types)
		EXPECT_EQ (creator ().getAttributeType (name), type) << name;

	EXPECT_STREQ (creator ().getViewName (), "CSlider");
	EXPECT_STREQ (creator ().getBaseViewName (), "CControl");
	EXPECT_STREQ (creator ().getDisplayName (), "Slider");
	double low = 7, high = 8;
	EXPECT_FALSE (creator ().getAttributeValueRange ("zoom-factor", low, high));
}

TEST (SliderCreatorInterface, ListValuesPointIntoTheModeTable)
{
	IViewCreator::ConstStringPtrList modes;
	ASSERT_TRUE (creator ().getPossibleListValues ("mode", modes));
	const auto& names = SliderBaseCreator::sliderModeNames ();
	ASSERT_EQ (modes.size (), 6u);
	size_t index = 0;
	for (const auto* name : modes)
		EXPECT_EQ (name, &names[index++]);
	EXPECT_EQ (*modes.front (), "touch");
	EXPECT_EQ (**std::next (modes.begin (), 3), "ZY free click");
	EXPECT_EQ (*modes.back (), "use global");

	IViewCreator::ConstStringPtrList orientations;
	ASSERT_TRUE (creator ().getPossibleListValues ("orientation", orientations));
	ASSERT_EQ (orientations.size (), 2u);
	EXPECT_EQ (*orientations.front (), "horizontal");
	EXPECT_EQ (*orientations.back (), "vertical");

	for (const char* other : {"free-click", "handle-offset", "zoom-factor", "draw-frame"})
	{
		IViewCreator::ConstStringPtrList values {&names[0]};
		EXPECT_FALSE (creator ().getPossibleListValues (other, values)) << other;
		EXPECT_EQ (values.size (), 1u);
	}
}

TEST (SliderCreatorInterface, CreatesAHorizontalSliderThatFollowsTheGlobalMode)
{
	auto view = owned (creator ().create (UIAttributes (), nullptr));
	auto* slider = dynamic_cast<CSlider*> (view.get ());
	ASSERT_NE (slider, nullptr);
	EXPECT_EQ (slider->getViewSize (), CRect (0, 0, 0, 0));
	EXPECT_EQ (slider->getTag (), -1);
	EXPECT_EQ (slider->getListener (), nullptr);
	EXPECT_EQ (slider->getStyle (), kHL);
	EXPECT_EQ (slider->getMode (), Mode::kUseGlobalMode);
	EXPECT_EQ (slider->getEffectiveMode (), Mode::kGrabOrJumpMode);
	EXPECT_EQ (slider->getBackground (), nullptr);
}

} // anonymous namespace
} // ZYTest
