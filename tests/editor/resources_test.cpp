// The bundle's UI description and bitmaps: every parameter has its controls,
// sliders carry only slider attributes and no mode of their own, every
// bitmap has its double-size partner for content scale 2, and the committed
// bitmaps are what the generator draws.

#include "tests/editor/pixels.h"
#include "tests/editor/uilayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

using namespace zytest;

namespace {

std::string bundleResource (const std::string& name)
{
	return std::string (ZY_BUNDLE_PATH) + "/Contents/Resources/" + name;
}

class ResourcesTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (layout.load (bundleResource ("plug.uidesc"), error)) << error;
	}
	UiLayout layout;
};

TEST_F (ResourcesTest, EveryParameterHasItsControls)
{
	const std::map<std::string, int> expected = {{"Level", 0},  {"Frequency", 1}, {"Depth", 2},
	                                             {"Degree", 3}, {"Rate", 4},      {"Feedback", 5},
	                                             {"Mix", 6},    {"Bypass", 7}};
	EXPECT_EQ (layout.controlTags (), expected);
	for (int tag = 0; tag <= 6; ++tag)
	{
		EXPECT_NE (layout.findControl ("CSlider", tag), nullptr) << tag;
		EXPECT_NE (layout.findControl ("CTextEdit", tag), nullptr) << tag;
	}
	EXPECT_NE (layout.findControl ("COnOffButton", 7), nullptr);

	int aboutViews = 0;
	for (const UiView* view : layout.views ())
	{
		if (view->attribute ("sub-controller") != "AboutController")
			continue;
		++aboutViews;
		ASSERT_EQ (view->children.size (), 2u);
		EXPECT_EQ (view->children[0]->viewClass, "CTextLabel");
		EXPECT_EQ (view->children[1]->viewClass, "COnOffButton");
	}
	EXPECT_EQ (aboutViews, 1);
	EXPECT_EQ (layout.root ().attribute ("minSize"), layout.root ().attribute ("size"));
	EXPECT_EQ (layout.root ().attribute ("maxSize"), layout.root ().attribute ("size"));
}

TEST_F (ResourcesTest, SlidersFollowTheGlobalModeWithSliderAttributesOnly)
{
	const std::set<std::string> allowed = {
	    // the view and the control
	    "class", "origin", "size", "control-tag", "bitmap", "transparent", "mouse-enabled",
	    "opacity", "default-value", "min-value", "max-value", "wheel-inc-value",
	    // the slider's own
	    "orientation", "reverse-orientation", "handle-offset", "zoom-factor", "handle-bitmap",
	    "bitmap-offset", "draw-frame", "draw-back", "draw-value", "draw-value-inverted",
	    "draw-value-from-center", "frame-width", "draw-frame-color", "draw-back-color",
	    "draw-value-color"};
	int sliders = 0;
	for (const UiView* view : layout.views ())
	{
		if (view->viewClass != "CSlider")
			continue;
		++sliders;
		for (const auto& [name, value] : view->attributes)
			EXPECT_TRUE (allowed.count (name)) << view->attribute ("control-tag") << ": " << name;
	}
	EXPECT_EQ (sliders, 7);
}

TEST_F (ResourcesTest, EveryBitmapHasItsDoubleSizePartner)
{
	const auto& bitmaps = layout.bitmaps ();
	std::set<std::string> used;
	for (const UiView* view : layout.views ())
		for (const char* attribute : {"bitmap", "handle-bitmap"})
			if (!view->attribute (attribute).empty ())
				used.insert (view->attribute (attribute));
	for (const std::string& name : used)
	{
		SCOPED_TRACE (name);
		ASSERT_TRUE (bitmaps.count (name));
		ASSERT_TRUE (bitmaps.count (name + "#2.0x"));
		const std::string& path = bitmaps.at (name);
		EXPECT_EQ (bitmaps.at (name + "#2.0x"), path.substr (0, path.size () - 4) + "_2.0x.png");
		zyhost::Capture single, twice;
		std::string error;
		ASSERT_TRUE (loadPng (bundleResource (path), single, error)) << error;
		ASSERT_TRUE (loadPng (bundleResource (bitmaps.at (name + "#2.0x")), twice, error)) << error;
		EXPECT_EQ (twice.width, 2 * single.width);
		EXPECT_EQ (twice.height, 2 * single.height);
	}
	EXPECT_EQ (bitmaps.size (), 2 * used.size ()) << "a bitmap is declared but not used";
}

TEST_F (ResourcesTest, CommittedBitmapsAreTheGeneratorsDrawing)
{
	char folder[] = "/tmp/zy_imagegen.XXXXXX";
	ASSERT_NE (mkdtemp (folder), nullptr);
	ASSERT_EQ (std::system ((std::string (ZY_IMAGEGEN_PATH) + " " + folder).c_str ()), 0);
	for (const auto& [name, path] : layout.bitmaps ())
	{
		SCOPED_TRACE (path);
		zyhost::Capture committed, drawn;
		std::string error;
		ASSERT_TRUE (loadPng (std::string (ZY_SOURCE_RESOURCES) + "/" + path, committed, error))
		    << error;
		ASSERT_TRUE (loadPng (std::string (folder) + "/" + path, drawn, error)) << error;
		ASSERT_EQ (committed.width, drawn.width);
		ASSERT_EQ (committed.height, drawn.height);
		EXPECT_EQ (committed.pixels, drawn.pixels) << "run zy_imagegen resource/ and commit";
	}
	std::system ((std::string ("rm -rf ") + folder).c_str ());
}

} // namespace
