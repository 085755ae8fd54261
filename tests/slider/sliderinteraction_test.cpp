// Presses, drags, releases, the ramp, the wheel and the keys of the slider.

#include "slidertestsupport.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/events.h"
#include "vstgui/lib/vstkeycode.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace ZYTest {
namespace {

using Mode = CSliderBase::SliderMode;

const CRect kWide (100, 20, 300, 40);
const CRect kTall (20, 100, 40, 300);
constexpr double kTravel = 180.;
constexpr double kFreeClickOffset = 20 * 0.5 - 1. + 100.; // handle centre one unit past the mouse
constexpr float kTolerance = 1e-6f;

// A value whose handle position is not a whole unit (0.337 x 180 = 60.66).
constexpr float kOffGrid = 0.337f;
// On the handle at kOffGrid (its whole-unit rectangle spans x 160 to 180), and beside it.
constexpr CCoord kOnHandleX = 165.;
constexpr CCoord kBesideX = 250.;

SharedPointer<ProbeSlider> sliderAt (float value, int32_t style = kHL,
									 Mode mode = Mode::kUseGlobalMode)
{
	auto slider = makeSlider (style & CSliderBase::kHorizontal ? kWide : kTall, {20, 20}, style);
	slider->setMode (mode);
	slider->setValueNormalized (value);
	slider->setDirty (false);
	return slider;
}

CMouseEventResult press (CSlider* slider, CCoord x, CCoord y, int32_t buttons)
{
	CPoint where (x, y);
	return slider->onMouseDown (where, CButtonState (buttons));
}

CMouseEventResult move (CSlider* slider, CCoord x, CCoord y, int32_t buttons)
{
	CPoint where (x, y);
	return slider->onMouseMoved (where, CButtonState (buttons));
}

CMouseEventResult release (CSlider* slider)
{
	CPoint where;
	return slider->onMouseUp (where, CButtonState (kPress));
}

CPoint centreOf (const CRect& r) { return {(r.left + r.right) / 2., (r.top + r.bottom) / 2.}; }

//-----------------------------------------------------------------------------
struct PressCase
{
	const char* name;
	Mode mode;
	CCoord x;
	CMouseEventResult result;
	float valueAfterPress;
	bool editing;
	float valueAfterMove; ///< after a move 10 units to the right
};

void PrintTo (const PressCase& c, std::ostream* os) { *os << c.name; }

class SliderPress : public ::testing::TestWithParam<PressCase>
{
};

TEST_P (SliderPress, ByMode)
{
	const auto& c = GetParam ();
	auto slider = sliderAt (kOffGrid, kHL, c.mode);
	ListenerLog log;
	slider->setListener (&log);

	EXPECT_EQ (press (slider, c.x, 30, kPress), c.result);
	EXPECT_NEAR (slider->getValueNormalized (), c.valueAfterPress, kTolerance);
	EXPECT_EQ (slider->isEditing (), c.editing);
	EXPECT_EQ (log.events.empty (), !c.editing);

	move (slider, c.x + 10, 30, kPress);
	EXPECT_NEAR (slider->getValueNormalized (), c.valueAfterMove, kTolerance);
	EXPECT_EQ (release (slider), kMouseEventHandled);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (slider->getRampTimer (), nullptr);
}

constexpr float kStep = static_cast<float> (10. / kTravel);
constexpr float kJump = static_cast<float> ((kBesideX - kFreeClickOffset) / kTravel);
constexpr float kJumpOnHandle = static_cast<float> ((kOnHandleX - kFreeClickOffset) / kTravel);

// A table, one case a line:
// clang-format off
INSTANTIATE_TEST_SUITE_P (
	Modes, SliderPress,
	::testing::Values (
		PressCase {"touchOnHandle", Mode::kTouchMode, kOnHandleX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		PressCase {"touchBesideRefused", Mode::kTouchMode, kBesideX, kMouseDownEventHandledButDontNeedMovedOrUpEvents, kOffGrid, false, kOffGrid},
		PressCase {"relativeOnHandle", Mode::kRelativeTouchMode, kOnHandleX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		PressCase {"relativeBeside", Mode::kRelativeTouchMode, kBesideX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		PressCase {"freeClickOnHandleJumps", Mode::kFreeClickMode, kOnHandleX, kMouseEventHandled, kJumpOnHandle, true, kJumpOnHandle + kStep},
		PressCase {"freeClickBeside", Mode::kFreeClickMode, kBesideX, kMouseEventHandled, kJump, true, kJump + kStep},
		PressCase {"grabOrJumpOnHandleGrabs", Mode::kGrabOrJumpMode, kOnHandleX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		PressCase {"grabOrJumpBesideJumps", Mode::kGrabOrJumpMode, kBesideX, kMouseEventHandled, kJump, true, kJump + kStep},
		// the handle's right edge lies outside it
		PressCase {"grabOrJumpOnRightEdgeJumps", Mode::kGrabOrJumpMode, 180., kMouseEventHandled, static_cast<float> ((180. - kFreeClickOffset) / kTravel), true, static_cast<float> ((190. - kFreeClickOffset) / kTravel)},
		PressCase {"globalModeGrabsOnHandle", Mode::kUseGlobalMode, kOnHandleX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		PressCase {"globalModeJumpsBeside", Mode::kUseGlobalMode, kBesideX, kMouseEventHandled, kJump, true, kJump + kStep},
		PressCase {"rampOnHandleGrabs", Mode::kRampMode, kOnHandleX, kMouseEventHandled, kOffGrid, true, kOffGrid + kStep},
		// the value is left to the ramp, which only the timer moves
		PressCase {"rampBesideWaitsForTimer", Mode::kRampMode, kBesideX, kMouseEventHandled, kOffGrid, true, kOffGrid}),
	[] (const auto& info) { return std::string (info.param.name); });
// clang-format on

//-----------------------------------------------------------------------------
// A press on the handle must not move the value, wherever the handle stands and
// whichever way the slider runs; a drag then moves it by the mouse's travel.
TEST (SliderGrab, PressOnHandleKeepsTheValueInEveryOrientation)
{
	struct Case
	{
		int32_t style;
		float direction; ///< value change per unit of mouse travel along the axis
	};
	const Case cases[] = {{kHL, 1.f}, {kHR, -1.f}, {kVT, 1.f}, {kVB, -1.f}};
	for (const auto& c : cases)
	{
		for (float value : {kOffGrid, .5f, .8f, .0421f})
		{
			for (Mode mode : {Mode::kGrabOrJumpMode, Mode::kTouchMode, Mode::kRelativeTouchMode,
							  Mode::kRampMode})
			{
				auto slider = sliderAt (value, c.style, mode);
				auto at = centreOf (slider->computeHandleRect (value));
				SCOPED_TRACE (::testing::Message ()
							  << "style " << c.style << " value " << value << " mode " << mode);
				EXPECT_EQ (press (slider, at.x, at.y, kPress), kMouseEventHandled);
				EXPECT_NEAR (slider->getValueNormalized (), value, kTolerance);
				EXPECT_EQ (slider->getRampTimer (), nullptr);

				bool horizontal = c.style & CSliderBase::kHorizontal;
				move (slider, at.x + (horizontal ? 5 : 0), at.y + (horizontal ? 0 : 5), kPress);
				EXPECT_NEAR (slider->getValueNormalized (), value + c.direction * 5 / kTravel,
							 kTolerance);
			}
		}
	}
}

TEST (SliderGrab, VerticalSliderJumpsAlongY)
{
	auto slider = sliderAt (.5f, kVT, Mode::kGrabOrJumpMode);
	EXPECT_EQ (press (slider, 30, 250, kPress), kMouseEventHandled);
	EXPECT_NEAR (slider->getValueNormalized (), (250 - kFreeClickOffset) / kTravel, kTolerance);

	auto reversed = sliderAt (.5f, kVB, Mode::kGrabOrJumpMode);
	EXPECT_EQ (press (reversed, 30, 250, kPress), kMouseEventHandled);
	EXPECT_NEAR (reversed->getValueNormalized (), 1 - (250 - kFreeClickOffset) / kTravel,
				 kTolerance);
}

TEST (SliderGrab, JumpIsClampedToTheRange)
{
	auto slider = sliderAt (.5f);
	press (slider, 99, 30, kPress);
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), 0.f);
	move (slider, 400, 30, kPress);
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), 1.f);
}

//-----------------------------------------------------------------------------
TEST (SliderFineDrag, ShiftScalesTheMouseTravelByTheZoomFactor)
{
	auto slider = sliderAt (kOffGrid);
	EXPECT_EQ (press (slider, kOnHandleX, 30, kPressShift), kMouseEventHandled);
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), kOffGrid);
	EXPECT_TRUE (slider->isEditing ());

	move (slider, kOnHandleX + 10, 30, kPressShift);
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + kStep / 10, kTolerance);
	move (slider, kOnHandleX + 20, 30, kPressShift);
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + 2 * kStep / 10, kTolerance);

	// letting go of Shift catches the handle up with the mouse
	move (slider, kOnHandleX + 20, 30, kPress);
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + 2 * kStep, kTolerance);

	// Shift again mid-drag scales from the value that stood then
	move (slider, kOnHandleX + 30, 30, kPressShift);
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + 2 * kStep + kStep / 10, kTolerance);
}

TEST (SliderFineDrag, ZoomFactorOfZeroOrBelowDoesNotScale)
{
	for (float zoom : {0.f, -2.f})
	{
		auto slider = sliderAt (kOffGrid);
		slider->setZoomFactor (zoom);
		press (slider, kOnHandleX, 30, kPressShift);
		move (slider, kOnHandleX + 10, 30, kPressShift);
		EXPECT_TRUE (std::isfinite (slider->getValue ()));
		EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + kStep, kTolerance) << zoom;
	}
}

TEST (SliderFineDrag, ZeroTravelNeitherDragsNorRamps)
{
	for (Mode mode : {Mode::kGrabOrJumpMode, Mode::kFreeClickMode, Mode::kRampMode})
	{
		auto slider = makeSlider ({0, 0, 20, 20}, {20, 20}, kHL);
		slider->setMode (mode);
		slider->setValueNormalized (.4f);
		// the handle fills the view: press beside it, past its end
		press (slider, 25, 10, kPress);
		move (slider, 28, 10, kPressShift);
		move (slider, 29, 10, kPress);
		if (auto timer = slider->getRampTimer ())
			fireTimer (timer);
		EXPECT_EQ (slider->getRampTimer (), nullptr) << mode;
		EXPECT_FLOAT_EQ (slider->getValueNormalized (), .4f) << mode;
		release (slider);
	}
}

//-----------------------------------------------------------------------------
struct DefaultClickCase
{
	const char* name;
	Mode mode;
	CCoord x;
	int32_t buttons;
	CMouseEventResult result;
	float value;
	bool editing;
};

void PrintTo (const DefaultClickCase& c, std::ostream* os) { *os << c.name; }

class SliderDefaultClick : public ::testing::TestWithParam<DefaultClickCase>
{
};

TEST_P (SliderDefaultClick, OptionWithTheLeftButtonAloneResets)
{
	const auto& c = GetParam ();
	auto slider = sliderAt (kOffGrid, kHL, c.mode);
	slider->setDefaultValue (.9f);
	EXPECT_EQ (press (slider, c.x, 30, c.buttons), c.result);
	EXPECT_NEAR (slider->getValueNormalized (), c.value, kTolerance);
	EXPECT_EQ (slider->isEditing (), c.editing);
	EXPECT_EQ (slider->getRampTimer (), nullptr);
}

constexpr int32_t kPressOptionShift = kPressOption | kShift;
constexpr int32_t kPressOptionRight = kPressOption | kRButton;

// A table, one case a line:
// clang-format off
INSTANTIATE_TEST_SUITE_P (
	Modes, SliderDefaultClick,
	::testing::Values (
		DefaultClickCase {"touchOnHandle", Mode::kTouchMode, kOnHandleX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"touchBesideRefused", Mode::kTouchMode, kBesideX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, kOffGrid, false},
		DefaultClickCase {"relativeOnHandle", Mode::kRelativeTouchMode, kOnHandleX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"relativeBesideDrags", Mode::kRelativeTouchMode, kBesideX, kPressOption, kMouseEventHandled, kOffGrid, true},
		DefaultClickCase {"freeClickBeside", Mode::kFreeClickMode, kBesideX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"grabOrJumpOnHandle", Mode::kGrabOrJumpMode, kOnHandleX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"grabOrJumpBeside", Mode::kGrabOrJumpMode, kBesideX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"rampBesideStartsNoRamp", Mode::kRampMode, kBesideX, kPressOption, kMouseDownEventHandledButDontNeedMovedOrUpEvents, .9f, false},
		DefaultClickCase {"optionShiftIsAFineDrag", Mode::kGrabOrJumpMode, kOnHandleX, kPressOptionShift, kMouseEventHandled, kOffGrid, true},
		// the edit it opens is closed by the release, which only a handled press gets
		DefaultClickCase {"optionWithRightButtonIsNoReset", Mode::kGrabOrJumpMode, kOnHandleX, kPressOptionRight, kMouseEventHandled, kOffGrid, true}),
	[] (const auto& info) { return std::string (info.param.name); });
// clang-format on

TEST (SliderDefaultClick, DefaultValueClickNotifiesInsideItsOwnEdit)
{
	auto slider = sliderAt (kOffGrid);
	slider->setDefaultValue (.9f);
	ListenerLog log;
	slider->setListener (&log);
	press (slider, kBesideX, 30, kPressOption);
	EXPECT_EQ (log.events, "bve");
}

//-----------------------------------------------------------------------------
TEST (SliderButtons, OnlyTheLeftButtonDrags)
{
	auto slider = sliderAt (kOffGrid);
	EXPECT_EQ (press (slider, kOnHandleX, 30, kRButton), kMouseEventNotHandled);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (move (slider, kBesideX, 30, kPress), kMouseEventNotHandled);

	// left and right together open the edit, but no drag follows; the press
	// is handled, so that the frame sends the release that closes the edit
	EXPECT_EQ (press (slider, kBesideX, 30, kPress | kRButton), kMouseEventHandled);
	EXPECT_TRUE (slider->isEditing ());
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), kOffGrid);
	EXPECT_EQ (release (slider), kMouseEventHandled);
	EXPECT_EQ (press (slider, kBesideX, 30, kPressShift | kRButton), kMouseEventHandled);
	EXPECT_EQ (move (slider, kBesideX, 30, kPress | kMButton), kMouseEventNotHandled);
	EXPECT_EQ (move (slider, kBesideX, 30, kPress | kDoubleClick | kControl), kMouseEventHandled);
}

TEST (SliderButtons, CancelAndEscapeRestoreTheValueAtThePress)
{
	for (bool byEscape : {false, true})
	{
		auto slider = sliderAt (kOffGrid);
		ListenerLog log;
		slider->setListener (&log);
		press (slider, kOnHandleX, 30, kPress);
		move (slider, kOnHandleX + 30, 30, kPress);
		ASSERT_GT (slider->getValueNormalized (), kOffGrid + kStep);
		ASSERT_EQ (log.events.front (), 'b');
		log.events.clear ();
		if (byEscape)
		{
			VstKeyCode escape {0, VKEY_ESCAPE, 0};
			EXPECT_EQ (slider->onKeyDown (escape), 1);
		}
		else
			EXPECT_EQ (slider->onMouseCancel (), kMouseEventHandled);
		EXPECT_FLOAT_EQ (slider->getValueNormalized (), kOffGrid);
		EXPECT_FALSE (slider->isEditing ());
		EXPECT_EQ (log.events, "ve");

		VstKeyCode escape {0, VKEY_ESCAPE, 0};
		EXPECT_EQ (slider->onKeyDown (escape), -1);
		EXPECT_EQ (slider->onMouseCancel (), kMouseEventHandled);
		EXPECT_EQ (log.events, "ve");
	}
}

//-----------------------------------------------------------------------------
TEST (SliderRamp, GlidesToTheMouseAndLandsExactly)
{
	auto slider = sliderAt (.5f, kHL, Mode::kRampMode);
	slider->setWheelInc (.1f);
	EXPECT_EQ (press (slider, 130, 30, kPress), kMouseEventHandled);
	ASSERT_NE (slider->getRampTimer (), nullptr);

	fireTimer (slider->getRampTimer ());
	EXPECT_NEAR (slider->getValueNormalized (), .49f, kTolerance);
	fireTimer (slider->getRampTimer ());
	EXPECT_NEAR (slider->getValueNormalized (), .48f, kTolerance);

	// a move during the ramp only moves its target
	EXPECT_EQ (move (slider, 250, 30, kPress), kMouseEventHandled);
	EXPECT_NEAR (slider->getValueNormalized (), .48f, kTolerance);
	fireTimer (slider->getRampTimer ());
	EXPECT_NEAR (slider->getValueNormalized (), .49f, kTolerance);

	int ticks = 0;
	while (slider->getRampTimer () && ticks++ < 100)
		fireTimer (slider->getRampTimer ());
	EXPECT_EQ (slider->getRampTimer (), nullptr);
	EXPECT_EQ (slider->getValueNormalized (),
			   static_cast<float> ((250 - kFreeClickOffset)) / 180.f);
	EXPECT_TRUE (slider->isEditing ());

	// the drag goes on with the handle's centre one unit past the mouse
	move (slider, 260, 30, kPress);
	EXPECT_NEAR (slider->getValueNormalized (), (260 - kFreeClickOffset) / kTravel, kTolerance);
}

TEST (SliderRamp, StepsTowardTheTargetInEveryOrientation)
{
	struct Case
	{
		int32_t style;
		CPoint pressAt;
	};
	const Case cases[] = {
		{kHL, {130, 30}}, {kHL, {270, 30}}, {kHR, {130, 30}}, {kHR, {270, 30}},
		{kVT, {30, 130}}, {kVT, {30, 270}}, {kVB, {30, 130}}, {kVB, {30, 270}},
	};
	for (const auto& c : cases)
	{
		auto slider = sliderAt (.5f, c.style, Mode::kRampMode);
		bool horizontal = c.style & CSliderBase::kHorizontal;
		bool reversed = c.style & (CSliderBase::kRight | CSliderBase::kBottom);
		float target =
			static_cast<float> (((horizontal ? c.pressAt.x : c.pressAt.y) - kFreeClickOffset)) /
			180.f;
		if (reversed)
			target = 1.f - target;
		SCOPED_TRACE (::testing::Message ()
					  << "style " << c.style << " at " << c.pressAt.x << ", " << c.pressAt.y);

		press (slider, c.pressAt.x, c.pressAt.y, kPress);
		float distance = std::abs (slider->getValueNormalized () - target);
		int ticks = 0;
		while (slider->getRampTimer () && ticks++ < 100)
		{
			fireTimer (slider->getRampTimer ());
			float now = std::abs (slider->getValueNormalized () - target);
			EXPECT_LT (now, distance);
			distance = now;
		}
		EXPECT_EQ (slider->getRampTimer (), nullptr);
		EXPECT_FLOAT_EQ (slider->getValueNormalized (), target);
	}
}

TEST (SliderRamp, ReleaseAndCancelStopTheRamp)
{
	for (bool cancel : {false, true})
	{
		auto slider = sliderAt (.5f, kHL, Mode::kRampMode);
		press (slider, 130, 30, kPress);
		SharedPointer<CVSTGUITimer> timer = slider->getRampTimer ();
		ASSERT_TRUE (timer);
		fireTimer (timer);
		if (cancel)
			slider->onMouseCancel ();
		else
			release (slider);
		EXPECT_EQ (slider->getRampTimer (), nullptr);
		EXPECT_FALSE (timer->stop ()) << "the released ramp timer still runs";
		EXPECT_FLOAT_EQ (slider->getValueNormalized (), cancel ? .5f : .49f);
	}
}

// A press that takes no drag (a default-value click, a refused touch)
// closes the edit of a press still held; the ramp of that press must not
// run on outside any edit, nor past the release.
TEST (SliderRamp, ALaterPressEndsTheRampOfAnEarlierOne)
{
	struct Case
	{
		Mode secondMode;
		CCoord x;
		int32_t buttons;
	};
	const Case cases[] = {
		{Mode::kRampMode, 130, kPressOption},
		{Mode::kTouchMode, 250, kPress},
	};
	for (const auto& c : cases)
	{
		auto slider = sliderAt (.5f, kHL, Mode::kRampMode);
		ListenerLog log;
		slider->setListener (&log);
		press (slider, 130, 30, kPress);
		ASSERT_TRUE (slider->getRampTimer ());
		slider->setMode (c.secondMode);
		EXPECT_EQ (press (slider, c.x, 30, c.buttons),
				   kMouseDownEventHandledButDontNeedMovedOrUpEvents);
		EXPECT_EQ (slider->getRampTimer (), nullptr) << c.secondMode;
		EXPECT_FALSE (slider->isEditing ());
		release (slider);
		EXPECT_EQ (slider->getRampTimer (), nullptr);
		EXPECT_EQ (log.events, "be");
	}
}

//-----------------------------------------------------------------------------
struct WheelCase
{
	int32_t style;
	CMouseWheelAxis axis;
	float distance;
	int32_t buttons;
	bool handled;
	float value;
};

TEST (SliderWheel, StepsAlongTheSlidersOwnAxis)
{
	const WheelCase cases[] = {
		{kHL, kMouseWheelAxisX, 1.f, 0, true, .4f},
		{kHL, kMouseWheelAxisY, 1.f, 0, false, .5f},
		{kHR, kMouseWheelAxisX, 1.f, 0, true, .6f},
		{kVB, kMouseWheelAxisY, 1.f, 0, true, .6f},
		{kVB, kMouseWheelAxisX, 1.f, 0, false, .5f},
		{kVT, kMouseWheelAxisY, 1.f, 0, true, .4f},
		{kVB, kMouseWheelAxisY, -2.f, 0, true, .3f},
		{kVB, kMouseWheelAxisY, 1.f, kShift, true, .51f},
		{kVB, kMouseWheelAxisY, 1.f, kAlt, true, .6f},
		{kVB, kMouseWheelAxisY, 10.f, 0, true, 1.f},
		// a distance of no number or an infinite one is left to other views
		{kVB, kMouseWheelAxisY, std::numeric_limits<float>::quiet_NaN (), 0, false, .5f},
		{kHL, kMouseWheelAxisX, -std::numeric_limits<float>::infinity (), 0, false, .5f},
		{kVT, kMouseWheelAxisY, std::numeric_limits<float>::infinity (), kShift, false, .5f},
	};
	for (const auto& c : cases)
	{
		auto slider = sliderAt (.5f, c.style);
		slider->setWheelInc (.1f);
		ListenerLog log;
		slider->setListener (&log);
		EXPECT_EQ (slider->onWheel ({}, c.axis, c.distance, CButtonState (c.buttons)), c.handled)
			<< c.style << " " << c.axis;
		EXPECT_NEAR (slider->getValueNormalized (), c.value, kTolerance)
			<< c.style << " " << c.axis;
		EXPECT_EQ (slider->isEditing (), c.handled);
		EXPECT_EQ (log.events, c.handled ? "bv" : "");
	}
}

TEST (SliderWheel, TurnPastTheEndIsHandledAndStaysAtTheEnd)
{
	auto slider = sliderAt (1.f, kVB);
	ListenerLog log;
	slider->setListener (&log);
	EXPECT_TRUE (slider->onWheel ({}, kMouseWheelAxisY, 3.f, {}));
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), 1.f);
	EXPECT_EQ (log.events, "b");
}

TEST (SliderWheel, EscapeDuringAWheelEditRestoresTheValueBeforeIt)
{
	auto slider = sliderAt (kOffGrid, kVB);
	// an earlier gesture left another start value behind
	press (slider, 30, 150, kPress);
	release (slider);
	slider->setValueNormalized (.5f);
	slider->setWheelInc (.1f);
	EXPECT_TRUE (slider->onWheel ({}, kMouseWheelAxisY, 1.f, {}));
	EXPECT_TRUE (slider->onWheel ({}, kMouseWheelAxisY, 1.f, {}));
	ASSERT_NEAR (slider->getValueNormalized (), .7f, kTolerance);
	VstKeyCode escape {0, VKEY_ESCAPE, 0};
	EXPECT_EQ (slider->onKeyDown (escape), 1);
	EXPECT_FLOAT_EQ (slider->getValueNormalized (), .5f);
	EXPECT_FALSE (slider->isEditing ());
}

TEST (SliderWheel, DisabledMouseIgnoresTheWheelAndAPressEndsTheWheelEdit)
{
	auto slider = sliderAt (.5f, kVB);
	slider->setMouseEnabled (false);
	EXPECT_FALSE (slider->onWheel ({}, kMouseWheelAxisY, 1.f, {}));
	EXPECT_FALSE (slider->isEditing ());

	slider->setMouseEnabled (true);
	slider->setMode (Mode::kTouchMode);
	EXPECT_TRUE (slider->onWheel ({}, kMouseWheelAxisY, 1.f, {}));
	EXPECT_TRUE (slider->isEditing ());
	// a refused press still closes the pending wheel edit
	EXPECT_EQ (press (slider, 10, 10, kPress), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_FALSE (slider->isEditing ());
}

// The wheel edit ends on a timer; during a press that timer would end the
// press's edit mid-drag and leave a ramp running outside any edit.
TEST (SliderWheel, TurnDuringAPressIsIgnored)
{
	for (Mode mode : {Mode::kGrabOrJumpMode, Mode::kRampMode})
	{
		auto slider = sliderAt (.5f, kVB, mode);
		slider->setWheelInc (.1f);
		ListenerLog log;
		slider->setListener (&log);
		auto handle = centreOf (slider->computeHandleRect (.5f));
		press (slider, handle.x, mode == Mode::kRampMode ? 290 : handle.y, kPress);
		float atPress = slider->getValueNormalized ();
		EXPECT_TRUE (slider->onWheel ({}, kMouseWheelAxisY, 1.f, {})) << mode;
		EXPECT_FLOAT_EQ (slider->getValueNormalized (), atPress);
		EXPECT_TRUE (slider->isEditing ());
		release (slider);
		EXPECT_FALSE (slider->isEditing ());
		EXPECT_EQ (log.events, "be") << mode;
	}
}

//-----------------------------------------------------------------------------
TEST (SliderKeys, ArrowsStepInBothOrientations)
{
	struct Case
	{
		int32_t style;
		unsigned char key;
		unsigned char modifier;
		float value;
	};
	const Case cases[] = {
		{kHL, VKEY_LEFT, 0, .4f},
		{kHL, VKEY_RIGHT, 0, .6f},
		{kHL, VKEY_UP, 0, .6f},
		{kHL, VKEY_DOWN, 0, .4f},
		{kHR, VKEY_LEFT, 0, .6f},
		{kHR, VKEY_UP, 0, .4f},
		{kVB, VKEY_UP, 0, .6f},
		{kVB, VKEY_RIGHT, 0, .6f},
		{kVB, VKEY_DOWN, 0, .4f},
		{kVB, VKEY_LEFT, 0, .4f},
		{kVT, VKEY_UP, 0, .4f},
		{kVT, VKEY_DOWN, 0, .6f},
		{kVB, VKEY_UP, MODIFIER_SHIFT, .51f},
		{kVB, VKEY_UP, MODIFIER_ALTERNATE | MODIFIER_SHIFT, .51f},
		{kVB, VKEY_UP, MODIFIER_ALTERNATE, .6f},
		{kVB, VKEY_UP, MODIFIER_CONTROL, .6f},
	};
	for (const auto& c : cases)
	{
		auto slider = sliderAt (.5f, c.style);
		slider->setWheelInc (.1f);
		ListenerLog log;
		slider->setListener (&log);
		VstKeyCode key {0, c.key, c.modifier};
		EXPECT_EQ (slider->onKeyDown (key), 1);
		EXPECT_NEAR (slider->getValueNormalized (), c.value, kTolerance)
			<< c.style << " key " << int (c.key) << " modifier " << int (c.modifier);
		EXPECT_EQ (log.events, "bve");
		EXPECT_FALSE (slider->isEditing ());
	}
}

TEST (SliderKeys, ArrowAtTheEndIsHandledSilentlyAndOtherKeysAreNot)
{
	auto slider = sliderAt (1.f, kVB);
	ListenerLog log;
	slider->setListener (&log);
	VstKeyCode up {0, VKEY_UP, 0};
	EXPECT_EQ (slider->onKeyDown (up), 1);
	EXPECT_EQ (log.events, "");
	for (unsigned char other : {VKEY_RETURN, VKEY_PAGEUP, VKEY_SPACE})
	{
		VstKeyCode key {0, other, 0};
		EXPECT_EQ (slider->onKeyDown (key), -1);
	}
	VstKeyCode letter {'a', 0, 0};
	EXPECT_EQ (slider->onKeyDown (letter), -1);
}

//-----------------------------------------------------------------------------
// Through the toolkit's event dispatch, as the frame delivers a press.
TEST (SliderEvents, DefaultValueClickFollowsTheSlidersRules)
{
	auto dispatchOptionPress = [] (CControl* control, CPoint where) {
		MouseDownEvent event (where, MouseButton::Left);
		event.modifiers.add (ModifierKey::Alt);
		control->dispatchEvent (event);
		return event;
	};

	auto touch = sliderAt (kOffGrid, kHL, Mode::kTouchMode);
	touch->setDefaultValue (.9f);
	dispatchOptionPress (touch, {kBesideX, 30});
	EXPECT_FLOAT_EQ (touch->getValueNormalized (), kOffGrid);

	auto grab = sliderAt (kOffGrid);
	grab->setDefaultValue (.9f);
	auto event = dispatchOptionPress (grab, {kBesideX, 30});
	EXPECT_FLOAT_EQ (grab->getValueNormalized (), .9f);
	EXPECT_TRUE (static_cast<bool> (event.consumed));
	EXPECT_TRUE (event.ignoreFollowUpMoveAndUpEvents ());

	// other controls keep the toolkit's reset, now on Option
	auto button = makeOwned<COnOffButton> (CRect (0, 0, 20, 20));
	button->setDefaultValue (1.f);
	dispatchOptionPress (button, {5, 5});
	EXPECT_FLOAT_EQ (button->getValue (), 1.f);
}

TEST (SliderEvents, PressAndDragArriveThroughTheDispatch)
{
	auto slider = sliderAt (kOffGrid);
	MouseDownEvent down (CPoint (kOnHandleX, 30), MouseButton::Left);
	slider->dispatchEvent (down);
	EXPECT_TRUE (static_cast<bool> (down.consumed));
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid, kTolerance);

	MouseMoveEvent drag;
	drag.mousePosition = CPoint (kOnHandleX + 10, 30);
	drag.buttonState = MouseButton::Left;
	slider->dispatchEvent (drag);
	EXPECT_NEAR (slider->getValueNormalized (), kOffGrid + kStep, kTolerance);

	MouseUpEvent up;
	up.mousePosition = drag.mousePosition;
	up.buttonState = MouseButton::Left;
	slider->dispatchEvent (up);
	EXPECT_FALSE (slider->isEditing ());
}

} // anonymous namespace
} // ZYTest
