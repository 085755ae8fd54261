// A slider of a shape, range and mode from the input receives a sequence of
// presses, drags, releases, cancels, wheel turns and keys from the input, with
// the ramp timer stepped by hand and the wheel edit's timeout played as the
// toolkit's timer plays it. After every event: the value is in its range and
// not NaN (when min <= max), every value change lies inside an edit bracket,
// a held press keeps its edit open, and a release, a cancel or Escape closes
// it. At the end, with the press released and the wheel edit timed out, every
// begin is closed by an end and no ramp runs.

#include "fuzzsupport.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/cslider.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/lib/platform/iplatformtimer.h"
#include "vstgui/lib/vstkeycode.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

using namespace VSTGUI;

namespace {

// ZY_FUZZ_TRACE=1 prints the events of an input, to read a finding
const bool trace = std::getenv ("ZY_FUZZ_TRACE") != nullptr;

#define note(...)                               \
	do                                          \
	{                                           \
		if (trace)                              \
			std::fprintf (stderr, __VA_ARGS__); \
	} while (false)

/** a slider whose ramp timer the target may step */
class ProbeSlider : public CSlider
{
public:
	using CSlider::CSlider;
	using CSliderBase::getRampTimer;
};

struct EditLog : IControlListener
{
	CControl* watched {nullptr};
	int begins {0};
	int ends {0};
	bool open () const { return begins > ends; }

	void valueChanged (CControl* control) override
	{
		if (control != watched)
			return;
		ZYFuzz::check (open (), "value change inside an edit bracket");
	}
	void controlBeginEdit (CControl* control) override
	{
		if (control != watched)
			return;
		ZYFuzz::check (!open (), "begin edit while the bracket is open");
		++begins;
	}
	void controlEndEdit (CControl* control) override
	{
		if (control != watched)
			return;
		ZYFuzz::check (open (), "end edit without a begin");
		++ends;
	}
};

CBitmap* handleBitmap (FuzzedDataProvider& input)
{
	static SharedPointer<CBitmap> bitmaps[] = {
		makeOwned<CBitmap> (20., 8.), makeOwned<CBitmap> (8., 20.), makeOwned<CBitmap> (36., 12.),
		makeOwned<CBitmap> (1., 1.)};
	auto index = input.ConsumeIntegralInRange<size_t> (0, std::size (bitmaps));
	return index < std::size (bitmaps) ? bitmaps[index].get () : nullptr;
}

int32_t styleFor (FuzzedDataProvider& input, bool vertical)
{
	if (input.ConsumeIntegralInRange<int> (0, 15) == 0)
	{
		// any bits, but one orientation: the slider asserts on anything else
		auto bits = input.ConsumeIntegral<int32_t> () &
					~(CSliderBase::kHorizontal | CSliderBase::kVertical);
		return bits | (vertical ? CSliderBase::kVertical : CSliderBase::kHorizontal);
	}
	if (vertical)
		return input.ConsumeBool () ? CSliderBase::kBottom : CSliderBase::kTop;
	return input.ConsumeBool () ? CSliderBase::kLeft : CSliderBase::kRight;
}

float rangeValue (FuzzedDataProvider& input)
{
	switch (input.ConsumeIntegralInRange<int> (0, 5))
	{
		case 0: return 0.f;
		case 1: return 1.f;
		case 2: return input.ConsumeFloatingPointInRange<float> (-1000.f, 1000.f);
		case 3: return input.ConsumeFloatingPointInRange<float> (-1e30f, 1e30f);
		case 4: return static_cast<float> (input.ConsumeIntegralInRange<int> (-10, 10));
		default: return input.ConsumeFloatingPointInRange<float> (0.f, 1.f);
	}
}

float oddFloat (FuzzedDataProvider& input, float low, float high)
{
	switch (input.ConsumeIntegralInRange<int> (0, 11))
	{
		case 0: return std::numeric_limits<float>::quiet_NaN ();
		case 1: return std::numeric_limits<float>::infinity ();
		case 2: return -std::numeric_limits<float>::infinity ();
		case 3: return 0.f;
		case 4: return input.ConsumeFloatingPoint<float> ();
		default: return input.ConsumeFloatingPointInRange<float> (low, high);
	}
}

CPoint position (FuzzedDataProvider& input, const CRect& size)
{
	if (input.ConsumeIntegralInRange<int> (0, 3) == 0)
		return {input.ConsumeFloatingPointInRange<double> (-1000., 1000.),
				input.ConsumeFloatingPointInRange<double> (-1000., 1000.)};
	auto inside = [&] (CCoord a, CCoord b) {
		if (input.ConsumeBool ())
			return std::floor (a + (b - a) * input.ConsumeProbability<double> ());
		return a + (b - a) * input.ConsumeProbability<double> ();
	};
	return {inside (size.left - 2, size.right + 2), inside (size.top - 2, size.bottom + 2)};
}

int32_t modifiers (FuzzedDataProvider& input)
{
	int32_t bits = 0;
	auto pick = input.ConsumeIntegral<uint8_t> ();
	if (pick & 1)
		bits |= kShift;
	if (pick & 2)
		bits |= kAlt;
	if ((pick & 0x1c) == 0x1c)
		bits |= kControl;
	if ((pick & 0x60) == 0x60)
		bits |= kApple;
	return bits;
}

int32_t pressButtons (FuzzedDataProvider& input)
{
	int32_t buttons = kLButton;
	switch (input.ConsumeIntegralInRange<int> (0, 9))
	{
		case 0: buttons = kRButton; break;
		case 1: buttons = kMButton; break;
		case 2: buttons = kLButton | kRButton; break;
		case 3: buttons = 0; break;
		default: break;
	}
	if (input.ConsumeIntegralInRange<int> (0, 5) == 0)
		buttons |= kDoubleClick;
	return buttons | modifiers (input);
}

VstKeyCode keyCode (FuzzedDataProvider& input)
{
	// Packed:
	// clang-format off
	static const unsigned char keys[] = {VKEY_LEFT, VKEY_UP, VKEY_RIGHT, VKEY_DOWN, VKEY_PAGEUP,
										 VKEY_PAGEDOWN, VKEY_ESCAPE, VKEY_RETURN, VKEY_ENTER,
										 VKEY_HOME, VKEY_END, VKEY_SPACE, 0};
	// clang-format on
	VstKeyCode code {};
	code.virt = keys[input.ConsumeIntegralInRange<size_t> (0, std::size (keys) - 1)];
	// any byte as the character, the negative ones that no platform sends too
	if (code.virt == 0)
		code.character = input.ConsumeIntegral<char> (); // NOLINT(bugprone-signed-char-misuse)
	code.modifier = input.ConsumeIntegralInRange<unsigned char> (0, 15);
	return code;
}

struct Session
{
	SharedPointer<ProbeSlider> slider;
	EditLog log;
	bool pressHeld {false};
	bool wheelTimerPending {false};

	void checkValue (const char* when) const
	{
		float lo = slider->getMin ();
		float hi = slider->getMax ();
		float v = slider->getValue ();
		ZYFuzz::check (!(lo <= hi) || !std::isnan (v), "value is a number", when);
		if (lo <= hi)
			ZYFuzz::check (lo <= v && v <= hi, "value within its range",
						   std::string (when) + ": " + std::to_string (v) + " outside " +
							   std::to_string (lo) + ".." + std::to_string (hi));
	}

	void checkBracket (const char* when) const
	{
		ZYFuzz::check (log.open () == slider->isEditing (), "listener sees the edit state", when);
		if (pressHeld)
			ZYFuzz::check (slider->isEditing (), "a held press keeps its edit open", when);
	}

	void checkClosed (const char* when) const
	{
		ZYFuzz::check (!slider->isEditing () && !log.open (), "edit closed", when);
	}

	// the toolkit's wheel-edit timer ends the edit once and stops
	void wheelTimeout ()
	{
		if (!wheelTimerPending)
			return;
		wheelTimerPending = false;
		slider->endEdit ();
	}

	void release (bool cancel)
	{
		if (cancel)
			slider->onMouseCancel ();
		else
		{
			CPoint where;
			slider->onMouseUp (where, CButtonState (kLButton));
		}
		pressHeld = false;
		checkClosed (cancel ? "after cancel" : "after release");
	}
};

SharedPointer<ProbeSlider> buildSlider (FuzzedDataProvider& input)
{
	bool vertical = input.ConsumeBool ();
	auto x = input.ConsumeIntegralInRange<int> (-20, 200);
	auto y = input.ConsumeIntegralInRange<int> (-20, 200);
	CCoord w = 0, h = 0;
	if (input.ConsumeIntegralInRange<int> (0, 7) != 0)
	{
		w = input.ConsumeIntegralInRange<int> (-4, 300);
		h = input.ConsumeIntegralInRange<int> (-4, 300);
	}
	CRect size (x, y, x + w, y + h);
	auto* handle = handleBitmap (input);
	auto style = styleFor (input, vertical);
	CPoint offset (input.ConsumeIntegralInRange<int> (-4, 8),
				   input.ConsumeIntegralInRange<int> (-4, 8));
	SharedPointer<ProbeSlider> slider;
	if (input.ConsumeBool ())
	{
		auto from = input.ConsumeIntegralInRange<int32_t> (-50, 350);
		auto to = input.ConsumeIntegralInRange<int32_t> (-50, 350);
		slider = makeOwned<ProbeSlider> (
			size, nullptr, 1, from, to, handle, nullptr, CPoint (),
			style | (vertical ? CSliderBase::kVertical : CSliderBase::kHorizontal));
	}
	else
	{
		auto range = input.ConsumeIntegralInRange<int32_t> (-10, 350);
		slider = makeOwned<ProbeSlider> (
			size, nullptr, 1, offset, range, handle, nullptr, CPoint (),
			style | (vertical ? CSliderBase::kVertical : CSliderBase::kHorizontal));
	}
	switch (input.ConsumeIntegralInRange<int> (0, 3))
	{
		case 0: break;
		// as the view creators leave it: travel from the view size
		case 1: slider->setViewSize (size); break;
		case 2:
			slider->setHandleOffset (offset);
			slider->setHandleSize (input.ConsumeIntegralInRange<int> (0, 40),
								   input.ConsumeIntegralInRange<int> (0, 40));
			slider->setViewSize (size);
			break;
		default:
			slider->setHandleSize (input.ConsumeIntegralInRange<int> (-4, 40),
								   input.ConsumeIntegralInRange<int> (-4, 40));
			break;
	}
	return slider;
}

} // anonymous namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
	ZYFuzz::initToolkit ();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	FuzzedDataProvider input (data, size);
	CSliderBase::setGlobalMode (
		static_cast<CSliderBase::SliderMode> (input.ConsumeIntegralInRange<int> (0, 4)));

	Session s;
	s.slider = buildSlider (input);
	auto* slider = s.slider.get ();
	slider->setMode (
		static_cast<CSliderBase::SliderMode> (input.ConsumeIntegralInRange<int> (0, 5)));
	slider->setZoomFactor (oddFloat (input, -2.f, 50.f));
	float lo = rangeValue (input);
	float hi = input.ConsumeIntegralInRange<int> (0, 5) == 0 ? lo : rangeValue (input);
	slider->setMin (lo);
	slider->setMax (hi);
	slider->setDefaultValue (input.ConsumeBool () ? rangeValue (input) : lo + (hi - lo) * 0.5f);
	if (input.ConsumeBool ())
		slider->setWheelInc (input.ConsumeFloatingPointInRange<float> (-1.f, 1.f));
	if (input.ConsumeIntegralInRange<int> (0, 15) == 0)
		slider->setMouseEnabled (false);
	slider->setValueNormalized (input.ConsumeProbability<float> ());
	slider->setDirty (false);

	note ("slider %g,%g,%g,%g style %x mode %d global %d range %g..%g value %g\n",
		  slider->getViewSize ().left, slider->getViewSize ().top, slider->getViewSize ().right,
		  slider->getViewSize ().bottom, slider->getStyle (), slider->getMode (),
		  CSliderBase::getGlobalMode (), slider->getMin (), slider->getMax (), slider->getValue ());
	s.log.watched = slider;
	slider->setListener (&s.log);
	s.checkValue ("at start");

	const auto& view = slider->getViewSize ();
	for (int step = 0; step < 64 && input.remaining_bytes () > 0; ++step)
	{
		switch (input.ConsumeIntegralInRange<int> (0, 9))
		{
			case 0:
			case 1:
			{
				auto where = position (input, view);
				CButtonState buttons (pressButtons (input));
				auto result = slider->onMouseDown (where, buttons);
				note ("down %g,%g buttons %x -> %d editing %d value %g\n", where.x, where.y,
					  buttons.getButtonState () | buttons.getModifierState (), result,
					  slider->isEditing (), slider->getValue ());
				if (buttons & kLButton)
				{
					s.wheelTimerPending = false; // the press drops the wheel-edit timer
					// the frame sends no release to a press it saw unhandled
					if (result != kMouseEventHandled)
						s.checkClosed ("after a press that wants no release");
					s.pressHeld = result == kMouseEventHandled && slider->isEditing ();
				}
				else
					ZYFuzz::check (result == kMouseEventNotHandled, "only the left button presses");
				s.checkValue ("after press");
				break;
			}
			case 2:
			case 3:
			{
				auto where = position (input, view);
				int32_t buttons = input.ConsumeIntegralInRange<int> (0, 7) == 0 ? 0 : kLButton;
				slider->onMouseMoved (where, CButtonState (buttons | modifiers (input)));
				note ("move %g,%g value %g\n", where.x, where.y, slider->getValue ());
				s.checkValue ("after move");
				break;
			}
			case 4:
				note ("up\n");
				s.release (false);
				break;
			case 5:
				note ("cancel\n");
				s.release (true);
				break;
			case 6:
			{
				auto where = position (input, view);
				auto axis = input.ConsumeBool () ? kMouseWheelAxisX : kMouseWheelAxisY;
				float distance = oddFloat (input, -5.f, 5.f);
				float before = slider->getValue ();
				// a wheel edit starts its timer; a held press owns the edit and
				// the wheel leaves it alone
				if (slider->onWheel (where, axis, distance, CButtonState (modifiers (input))))
				{
					if (s.pressHeld)
						ZYFuzz::check (slider->getValue () == before,
									   "a wheel turn during a press leaves the value");
					else
						s.wheelTimerPending = true;
				}
				note ("wheel %d %g pending %d value %g\n", axis, distance, s.wheelTimerPending,
					  slider->getValue ());
				if (std::isnan (distance))
					ZYFuzz::check (slider->getValue () == before || std::isnan (before),
								   "a wheel turn of no number leaves the value");
				s.checkValue ("after wheel");
				break;
			}
			case 7:
			{
				auto code = keyCode (input);
				bool wasEditing = slider->isEditing ();
				slider->onKeyDown (code);
				note ("key %d mod %d value %g editing %d\n", code.virt, code.modifier,
					  slider->getValue (), slider->isEditing ());
				if (code.virt == VKEY_ESCAPE && wasEditing)
				{
					s.pressHeld = false;
					s.checkClosed ("after Escape");
				}
				s.checkValue ("after key");
				break;
			}
			case 8:
			{
				auto ticks = input.ConsumeIntegralInRange<int> (1, 16);
				for (int i = 0; i < ticks; ++i)
				{
					auto* timer = slider->getRampTimer ();
					if (!timer)
						break;
					static_cast<IPlatformTimerCallback*> (timer)->fire ();
					note ("ramp step value %g\n", slider->getValue ());
					s.checkValue ("after ramp step");
				}
				break;
			}
			default:
				note ("wheel timeout pending %d\n", s.wheelTimerPending);
				s.wheelTimeout ();
				break;
		}
		s.checkBracket ("after event");
	}

	note ("final release\n");
	s.release (input.ConsumeBool ());
	s.wheelTimeout ();
	s.checkClosed ("at the end");
	ZYFuzz::check (s.log.begins == s.log.ends, "every begin edit closed by an end edit");
	ZYFuzz::check (slider->getRampTimer () == nullptr, "no ramp runs after the release");
	slider->setListener (nullptr);
	return 0;
}
