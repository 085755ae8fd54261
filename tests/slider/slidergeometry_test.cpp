// Handle geometry, style bits and the click modes of the slider base.

#include "slidertestsupport.h"
#include <gtest/gtest.h>

namespace ZYTest {
namespace {

TEST (SliderGeometry, NewSliderFollowsTheGrabOrJumpModeWithUnitHandle)
{
	auto slider = makeOwned<CSlider> (CRect (10, 20, 10, 20), nullptr, 0, 10, 10, nullptr, nullptr);
	EXPECT_EQ (slider->getMode (), CSliderBase::kUseGlobalMode);
	EXPECT_EQ (slider->getEffectiveMode (), CSliderBase::kGrabOrJumpMode);
	EXPECT_EQ (CSliderBase::getGlobalMode (), CSliderBase::kGrabOrJumpMode);
	EXPECT_FLOAT_EQ (slider->getZoomFactor (), 10.f);
	EXPECT_EQ (slider->getHandleSize (), CPoint (1, 1));
	EXPECT_EQ (slider->getHandleOffset (), CPoint (0, 0));
	EXPECT_DOUBLE_EQ (slider->getMinPos (), 0.);
	EXPECT_EQ (slider->getStyle (), kHL);
	EXPECT_TRUE (slider->wantsFocus ());
	// no travel: the 1 x 1 handle rests at the view's origin for every value
	expectRect (slider->computeHandleRect (0.7f), CRect (10, 20, 11, 21));
	EXPECT_TRUE (takeSliderAssertions ().empty ());
}

struct HandleRectCase
{
	const char* name;
	CRect view;
	CPoint handle;
	CPoint offset;
	int32_t style;
	float value;
	CRect expected;
};

void PrintTo (const HandleRectCase& c, std::ostream* os) { *os << c.name; }

class SliderHandleRect : public ::testing::TestWithParam<HandleRectCase>
{
};

TEST_P (SliderHandleRect, FollowsTheValue)
{
	const auto& c = GetParam ();
	auto slider = makeSlider (c.view, c.handle, c.style, c.offset);
	expectRect (slider->computeHandleRect (c.value), c.expected);
}

const CRect kWide (100, 20, 300, 40);
const CRect kTall (20, 100, 40, 300);

// A table, one case a line:
// clang-format off
INSTANTIATE_TEST_SUITE_P (
	Cases, SliderHandleRect,
	::testing::Values (
		HandleRectCase {"leftAtMin", kWide, {20, 20}, {}, kHL, 0.f, {100, 20, 120, 40}},
		HandleRectCase {"leftAtMax", kWide, {20, 20}, {}, kHL, 1.f, {280, 20, 300, 40}},
		HandleRectCase {"leftAtHalf", kWide, {20, 20}, {}, kHL, .5f, {190, 20, 210, 40}},
		HandleRectCase {"rightAtMin", kWide, {20, 20}, {}, kHR, 0.f, {280, 20, 300, 40}},
		HandleRectCase {"rightAtMax", kWide, {20, 20}, {}, kHR, 1.f, {100, 20, 120, 40}},
		HandleRectCase {"horizontalBottomBitInverts", kWide, {20, 20}, {},
						CSliderBase::kHorizontal | CSliderBase::kBottom, 0.f, {280, 20, 300, 40}},
		HandleRectCase {"fractionIsFloored", {0, 0, 121, 10}, {20, 10}, {}, kHL, .5f, {50, 0, 70, 10}},
		HandleRectCase {"negativeLiftedToLimit", kWide, {20, 20}, {}, kHL, -.5f, {100, 20, 120, 40}},
		HandleRectCase {"pastMaxCutAtLimit", kWide, {20, 20}, {}, kHL, 1.1f, {298, 20, 300, 40}},
		HandleRectCase {"viewNarrowerThanHandle", {0, 0, 10, 20}, {20, 20}, {}, kHL, 1.f, {0, 0, 10, 20}},
		HandleRectCase {"offsetInsetsBothAxes", kWide, {20, 14}, {3, 3}, kHL, 1.f, {277, 23, 297, 37}},
		HandleRectCase {"topAtMin", kTall, {20, 20}, {}, kVT, 0.f, {20, 100, 40, 120}},
		HandleRectCase {"topAtQuarter", kTall, {20, 20}, {}, kVT, .25f, {20, 145, 40, 165}},
		HandleRectCase {"bottomAtMin", kTall, {20, 20}, {}, kVB, 0.f, {20, 280, 40, 300}},
		HandleRectCase {"bottomAtMax", kTall, {20, 20}, {}, kVB, 1.f, {20, 100, 40, 120}}),
	[] (const auto& info) { return std::string (info.param.name); });
// clang-format on

TEST (SliderGeometry, ViewNarrowerThanHandleKeepsTheHandleInsideForEveryValue)
{
	auto slider = makeSlider ({0, 0, 10, 20}, {20, 20}, kHL);
	for (float v : {0.f, .3f, .5f, 1.f})
		expectRect (slider->computeHandleRect (v), CRect (0, 0, 10, 20));
}

TEST (SliderGeometry, StyleTests)
{
	struct Case
	{
		int32_t style;
		bool horizontal, right, bottom, inverse;
	};
	const Case cases[] = {
		{kHL, true, false, false, false},
		{kHR, true, true, false, true},
		{kVT, false, false, false, true},
		{kVB, false, false, true, false},
		// the inverse direction reads right for horizontal sliders, top otherwise
		{CSliderBase::kHorizontal | CSliderBase::kTop, true, false, false, false},
		{CSliderBase::kVertical | CSliderBase::kRight, false, true, false, false},
	};
	auto slider = makeSlider (kWide, {20, 20}, kHL);
	for (const auto& c : cases)
	{
		slider->setStyle (c.style);
		EXPECT_EQ (slider->getStyle (), c.style);
		EXPECT_EQ (slider->isStyleHorizontal (), c.horizontal) << c.style;
		EXPECT_EQ (slider->isStyleRight (), c.right) << c.style;
		EXPECT_EQ (slider->isStyleBottom (), c.bottom) << c.style;
		EXPECT_EQ (slider->isInverseStyle (), c.inverse) << c.style;
	}
	EXPECT_TRUE (takeSliderAssertions ().empty ());
}

TEST (SliderGeometry, StyleWithoutExactlyOneOrientationAssertsAndIsStored)
{
	auto slider = makeSlider (kWide, {20, 20}, kHL);
	for (int32_t style : {0, 3, 3 | CSliderBase::kRight})
	{
		slider->setStyle (style);
		auto raised = takeSliderAssertions ();
		ASSERT_EQ (raised.size (), 1u) << style;
		EXPECT_EQ (raised[0].line, "123");
		EXPECT_EQ (raised[0].message, "");
		EXPECT_EQ (slider->getStyle (), style);
		EXPECT_EQ (slider->isStyleHorizontal (), (style & 1) != 0);
	}
}

TEST (SliderGeometry, ViewSizeRecomputesTravelAlongTheCurrentAxis)
{
	auto slider = makeSlider (kWide, {20, 20}, kHL);
	slider->setViewSize ({50, 0, 150, 40});
	EXPECT_DOUBLE_EQ (slider->getMinPos (), 0.);
	expectRect (slider->computeHandleRect (1.f), CRect (130, 0, 150, 20));

	// an orientation change takes effect at the next resize
	slider->setStyle (kVT);
	slider->setViewSize ({50, 0, 70, 100});
	expectRect (slider->computeHandleRect (0.f), CRect (50, 0, 70, 20));
	expectRect (slider->computeHandleRect (1.f), CRect (50, 80, 70, 100));
	EXPECT_EQ (slider->getViewExtent (), CPoint (20, 100));
}

struct ModeGuard
{
	~ModeGuard () { CSliderBase::setGlobalMode (CSliderBase::kGrabOrJumpMode); }
};

TEST (SliderGeometry, GlobalModeReachesSlidersThatFollowIt)
{
	ModeGuard restore;
	auto follower = makeSlider (kWide, {20, 20}, kHL);
	auto ownMode = makeSlider (kWide, {20, 20}, kHL);
	ownMode->setMode (CSliderBase::kRampMode);

	CSliderBase::setGlobalMode (CSliderBase::kTouchMode);
	EXPECT_EQ (follower->getEffectiveMode (), CSliderBase::kTouchMode);
	EXPECT_EQ (follower->getMode (), CSliderBase::kUseGlobalMode);
	EXPECT_EQ (ownMode->getEffectiveMode (), CSliderBase::kRampMode);
	EXPECT_TRUE (takeSliderAssertions ().empty ());

	CSliderBase::setGlobalMode (CSliderBase::kUseGlobalMode);
	auto raised = takeSliderAssertions ();
	ASSERT_EQ (raised.size (), 1u);
	EXPECT_EQ (raised[0].line, "195");
	EXPECT_EQ (raised[0].message, "do not set the global mode to use global");
	EXPECT_EQ (CSliderBase::getGlobalMode (), CSliderBase::kUseGlobalMode);
	EXPECT_EQ (follower->getEffectiveMode (), CSliderBase::kUseGlobalMode);
}

} // anonymous namespace
} // ZYTest
