// What the bitmap slider draws, and when it asks to be redrawn.

#include "recordingdevice.h"
#include "slidertestsupport.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/coffscreencontext.h"
#include <gtest/gtest.h>
#include <functional>
#include <optional>

namespace ZYTest {
namespace {

const CRect kWideView (0, 0, 40, 20);
const CRect kTallView (0, 0, 20, 40);

const CColor kFrame (127, 127, 127, 255);
const CColor kBack (0, 0, 0, 255);
const CColor kValue (255, 255, 255, 255);

std::vector<DrawCall> drawCalls (CSlider* slider,
								 std::shared_ptr<RecordingDevice>* deviceOut = nullptr)
{
	auto [device, context] = RecordingDevice::makeContext (CRect (0, 0, 400, 400));
	slider->draw (context.get ());
	if (deviceOut)
		*deviceOut = device;
	return device->calls;
}

TEST (SliderDraw, NewSliderHasItsLookDefaultsAndPaintsNothing)
{
	auto slider = makeSlider (kWideView, {1, 1}, kHL);
	EXPECT_DOUBLE_EQ (slider->getFrameWidth (), 1.);
	EXPECT_EQ (slider->getDrawStyle (), 0);
	EXPECT_EQ (slider->getFrameColor (), kFrame);
	EXPECT_EQ (slider->getBackColor (), kBack);
	EXPECT_EQ (slider->getValueColor (), kValue);
	EXPECT_EQ (slider->getBitmapOffset (), CPoint (0, 0));
	EXPECT_EQ (slider->getHandle (), nullptr);

	slider->setDirty (true);
	EXPECT_TRUE (drawCalls (slider).empty ());
	EXPECT_FALSE (slider->isDirty ());
}

//-----------------------------------------------------------------------------
struct BarCase
{
	const char* name;
	int32_t style;
	int32_t drawStyle;
	float value;
	std::optional<CRect> bar;
};

void PrintTo (const BarCase& c, std::ostream* os) { *os << c.name; }

class SliderValueBar : public ::testing::TestWithParam<BarCase>
{
};

TEST_P (SliderValueBar, RunsFromTheViewsEdgeOrCentre)
{
	const auto& c = GetParam ();
	auto slider =
		makeSlider (c.style & CSliderBase::kHorizontal ? kWideView : kTallView, {1, 1}, c.style);
	slider->setDrawStyle (c.drawStyle);
	slider->setValueNormalized (c.value);

	std::shared_ptr<RecordingDevice> device;
	auto calls = drawCalls (slider, &device);
	if (!c.bar)
	{
		EXPECT_TRUE (calls.empty ());
		EXPECT_NE (device->fillColor, kValue) << "the value colour is set for a bar not drawn";
		return;
	}
	ASSERT_EQ (calls.size (), 1u);
	EXPECT_EQ (calls[0].kind, DrawCall::kFillPath);
	expectRect (calls[0].rect, *c.bar);
	EXPECT_EQ (calls[0].fillColor, kValue);
	EXPECT_EQ (calls[0].drawMode.modeIgnoringIntegralMode (), kAliasing);
}

constexpr int32_t kBar = CSlider::kDrawValue;
constexpr int32_t kInverted = CSlider::kDrawValue | CSlider::kDrawInverted;
constexpr int32_t kCentre = CSlider::kDrawValue | CSlider::kDrawValueFromCenter;
constexpr int32_t kCentreInverted = kCentre | CSlider::kDrawInverted;

INSTANTIATE_TEST_SUITE_P (
	Cases, SliderValueBar,
	::testing::Values (
		BarCase {"horizontalLeftQuarter", kHL, kBar, .25f, CRect (0, 0, 10, 20)},
		BarCase {"reversedStyleDoesNotMoveTheBar", kHR, kBar, .25f, CRect (0, 0, 10, 20)},
		BarCase {"horizontalInvertedRightQuarter", kHL, kInverted, .25f, CRect (30, 0, 40, 20)},
		BarCase {"verticalBottomQuarter", kVB, kBar, .25f, CRect (0, 30, 20, 40)},
		BarCase {"verticalTopStyleSameBar", kVT, kBar, .25f, CRect (0, 30, 20, 40)},
		BarCase {"verticalInvertedTopQuarter", kVB, kInverted, .25f, CRect (0, 0, 20, 10)},
		BarCase {"centreAtHalfIsEmpty", kHL, kCentre, .5f, std::nullopt},
		BarCase {"centreHorizontalThirdQuarter", kHL, kCentre, .75f, CRect (20, 0, 30, 20)},
		BarCase {"centreHorizontalBelowHalf", kHL, kCentre, .25f, CRect (10, 0, 20, 20)},
		BarCase {"centreVerticalRunsDown", kVB, kCentre, .75f, CRect (0, 20, 20, 30)},
		BarCase {"centreVerticalInvertedRunsUp", kVB, kCentreInverted, .75f, CRect (0, 10, 20, 20)},
		BarCase {"zeroValueDrawsNothing", kHL, kBar, 0.f, std::nullopt},
		BarCase {"sliverBelowHalfAUnitDrawsNothing", kHL, kBar, .01f, std::nullopt}),
	[] (const auto& info) { return std::string (info.param.name); });

//-----------------------------------------------------------------------------
TEST (SliderDraw, FrameBackAndBarInsetByTheLineWidth)
{
	auto slider = makeSlider (kWideView, {1, 1}, kHL);
	slider->setDrawStyle (CSlider::kDrawFrame | CSlider::kDrawBack | CSlider::kDrawValue);
	slider->setFrameWidth (2.);
	slider->setValueNormalized (1.f);

	auto calls = drawCalls (slider);
	ASSERT_EQ (calls.size (), 3u);
	EXPECT_EQ (calls[0].kind, DrawCall::kFillPath);
	expectRect (calls[0].rect, CRect (1, 1, 39, 19));
	EXPECT_EQ (calls[0].fillColor, kBack);
	EXPECT_EQ (calls[1].kind, DrawCall::kStrokePath);
	expectRect (calls[1].rect, CRect (1, 1, 39, 19));
	EXPECT_EQ (calls[1].frameColor, kFrame);
	EXPECT_DOUBLE_EQ (calls[1].lineWidth, 2.);
	EXPECT_EQ (calls[1].drawMode.modeIgnoringIntegralMode (), kAntiAliasing);
	EXPECT_EQ (calls[2].kind, DrawCall::kFillPath);
	expectRect (calls[2].rect, CRect (2, 2, 38, 18));
	EXPECT_EQ (calls[2].fillColor, kValue);
}

TEST (SliderDraw, FrameOrBackAlone)
{
	struct Case
	{
		int32_t drawStyle;
		CCoord frameWidth;
		DrawCall::Kind kind;
		CRect rect;
		CCoord lineWidth;
	};
	const Case cases[] = {
		{CSlider::kDrawBack, 3., DrawCall::kFillPath, {0, 0, 40, 20}, 3.},
		{CSlider::kDrawFrame, 4., DrawCall::kStrokePath, {2, 2, 38, 18}, 4.},
		// a negative width draws a hairline
		{CSlider::kDrawFrame, -1., DrawCall::kStrokePath, {.5, .5, 39.5, 19.5}, 1.},
		{CSlider::kDrawFrame, 0., DrawCall::kStrokePath, {0, 0, 40, 20}, 0.},
	};
	for (const auto& c : cases)
	{
		auto slider = makeSlider (kWideView, {1, 1}, kHL);
		slider->setDrawStyle (c.drawStyle);
		slider->setFrameWidth (c.frameWidth);
		auto calls = drawCalls (slider);
		ASSERT_EQ (calls.size (), 1u) << c.drawStyle << " " << c.frameWidth;
		EXPECT_EQ (calls[0].kind, c.kind);
		expectRect (calls[0].rect, c.rect);
		EXPECT_DOUBLE_EQ (calls[0].lineWidth, c.lineWidth);
	}
}

TEST (SliderDraw, BackgroundThenBarThenHandle)
{
	auto handle = makeOwned<CBitmap> (20., 20.);
	auto background = makeOwned<CBitmap> (200., 20.);
	auto slider = makeOwned<CSlider> (CRect (100, 20, 300, 40), nullptr, 0, 100, 280, handle,
									  background, CPoint (3, 4), kHL);
	slider->setValueNormalized (.5f);
	slider->setDrawStyle (CSlider::kDrawValue);

	auto calls = drawCalls (slider);
	ASSERT_EQ (calls.size (), 3u);
	EXPECT_EQ (calls[0].kind, DrawCall::kBitmap);
	expectRect (calls[0].rect, CRect (100, 20, 300, 40));
	EXPECT_EQ (calls[0].offset, CPoint (3, 4));
	EXPECT_EQ (calls[1].kind, DrawCall::kFillPath);
	EXPECT_EQ (calls[2].kind, DrawCall::kBitmap);
	expectRect (calls[2].rect, slider->computeHandleRect (.5f));
	expectRect (calls[2].rect, CRect (190, 20, 210, 40));
	EXPECT_EQ (calls[2].offset, CPoint (0, 0));
}

TEST (SliderDraw, OffscreenPixelsShowTheBar)
{
	auto slider = makeSlider (kWideView, {1, 1}, kHL);
	slider->setDrawStyle (CSlider::kDrawBack | CSlider::kDrawValue);
	slider->setValueNormalized (.25f);

	auto offscreen = COffscreenContext::create (CPoint (40, 20));
	ASSERT_TRUE (offscreen);
	offscreen->beginDraw ();
	slider->draw (offscreen);
	offscreen->endDraw ();
	auto pixels = owned (CBitmapPixelAccess::create (offscreen->getBitmap ()));
	ASSERT_TRUE (pixels);

	auto colourAt = [&] (uint32_t x, uint32_t y) {
		CColor c;
		pixels->setPosition (x, y);
		pixels->getColor (c);
		return c;
	};
	EXPECT_EQ (colourAt (5, 10), kValue);
	EXPECT_EQ (colourAt (8, 2), kValue);
	EXPECT_EQ (colourAt (12, 10), kBack);
	EXPECT_EQ (colourAt (35, 18), kBack);
}

//-----------------------------------------------------------------------------
TEST (SliderDraw, OnlyChangesOfTheLookAskForARedraw)
{
	auto bitmap = makeOwned<CBitmap> (20., 20.);
	struct Case
	{
		const char* what;
		std::function<void (CSlider*)> change;
		bool invalidates;
	};
	const Case cases[] = {
		{"same draw style", [] (CSlider* s) { s->setDrawStyle (0); }, false},
		{"new draw style", [] (CSlider* s) { s->setDrawStyle (CSlider::kDrawBack); }, true},
		{"same frame width", [] (CSlider* s) { s->setFrameWidth (1.); }, false},
		{"new frame width", [] (CSlider* s) { s->setFrameWidth (1.5); }, true},
		{"same frame colour", [] (CSlider* s) { s->setFrameColor (kFrame); }, false},
		{"frame alpha", [] (CSlider* s) { s->setFrameColor (CColor (127, 127, 127, 254)); }, true},
		{"same back colour", [] (CSlider* s) { s->setBackColor (kBack); }, false},
		{"back alpha", [] (CSlider* s) { s->setBackColor (CColor (0, 0, 0, 0)); }, true},
		{"same value colour", [] (CSlider* s) { s->setValueColor (kValue); }, false},
		{"value red", [] (CSlider* s) { s->setValueColor (CColor (254, 255, 255, 255)); }, true},
		{"bitmap offset", [] (CSlider* s) { s->setBitmapOffset (CPoint (5, 5)); }, false},
		{"handle", [&] (CSlider* s) { s->setHandle (bitmap); }, false},
	};
	for (const auto& c : cases)
	{
		auto slider = makeSlider (kWideView, {1, 1}, kHL);
		slider->setDirty (true);
		c.change (slider);
		EXPECT_EQ (!slider->isDirty (), c.invalidates) << c.what;
	}
}

} // anonymous namespace
} // ZYTest
