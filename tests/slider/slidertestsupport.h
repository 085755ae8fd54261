// Shared pieces of the slider tests: the toolkit set up as a host would, a
// record of the slider's assertions, and a slider that opens its protected
// operations to the tests.

#pragma once

#include "vstgui/lib/controls/cslider.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/cvstguitimer.h"
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ZYTest {

using namespace VSTGUI;

/** an assertion raised by the slider family (other sources are not kept) */
struct SliderAssertion
{
	std::string line;
	std::string message;
};

/** the slider assertions since the last call, oldest first */
std::vector<SliderAssertion> takeSliderAssertions ();

/** a slider whose protected operations the tests may call */
class ProbeSlider : public CSlider
{
public:
	using CSlider::CSlider;
	using CSliderBase::computeGrabDelta;
	using CSliderBase::getRampTimer;
	using CSliderBase::onRampTimer;
};

/** a slider on size with a handle of handleSize and no bitmaps; the geometry
	is computed from the view size as a resize would */
SharedPointer<ProbeSlider> makeSlider (const CRect& size, const CPoint& handleSize, int32_t style,
									   const CPoint& handleOffset = CPoint (0, 0));

/** runs one tick of a timer as the run loop would */
void fireTimer (CVSTGUITimer* timer);

/** what a control told its listener, in order: 'b' begin edit, 'v' value
	changed, 'e' end edit */
struct ListenerLog : IControlListener
{
	std::string events;
	void valueChanged (CControl*) override { events += 'v'; }
	void controlBeginEdit (CControl*) override { events += 'b'; }
	void controlEndEdit (CControl*) override { events += 'e'; }
};

/** mouse button and modifier sets the tests press with */
constexpr int32_t kPress = kLButton;
constexpr int32_t kPressShift = kLButton | kShift;
constexpr int32_t kPressOption = kLButton | kAlt;

/** the orientation and direction styles the tests build sliders with */
constexpr int32_t kHL = CSliderBase::kHorizontal | CSliderBase::kLeft;
constexpr int32_t kHR = CSliderBase::kHorizontal | CSliderBase::kRight;
constexpr int32_t kVT = CSliderBase::kVertical | CSliderBase::kTop;
constexpr int32_t kVB = CSliderBase::kVertical | CSliderBase::kBottom;

/** every edge of a rectangle as expected */
inline void expectRect (const CRect& actual, const CRect& expected)
{
	EXPECT_DOUBLE_EQ (actual.left, expected.left);
	EXPECT_DOUBLE_EQ (actual.top, expected.top);
	EXPECT_DOUBLE_EQ (actual.right, expected.right);
	EXPECT_DOUBLE_EQ (actual.bottom, expected.bottom);
}

} // ZYTest

namespace ZYTest {

/** while it lives, the slider's assertions throw instead of being recorded;
	atThrow runs just before each throw */
struct ThrowingAssertions
{
	explicit ThrowingAssertions (std::function<void ()> atThrow = {});
	~ThrowingAssertions ();
};

} // ZYTest
