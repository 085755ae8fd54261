// Where a vertical slider of the UI description draws its handle for a
// value: its handle bitmap's size, its handle offset, and the minimum at the
// bottom ("reverse-orientation" false on a vertical slider).
#pragma once

#include "tests/editor/pixels.h"
#include "tests/editor/uilayout.h"

#include <cmath>
#include <cstdio>

namespace zytest {

struct SliderPlace
{
	Rect view;
	int handleWidth, handleHeight;
	int offsetX, offsetY;

	int travel () const { return view.height - handleHeight - 2 * offsetY; }

	Rect handleFor (double normalized) const
	{
		const float inverted = 1.f - static_cast<float> (normalized);
		const int top = static_cast<int> (std::floor (double (inverted) * travel ())) + offsetY;
		return {view.left + offsetX, view.top + std::max (top, offsetY), handleWidth, handleHeight};
	}
	// the value whose handle centre lies at y (editor coordinates); the centre
	// is the whole row top + height / 2 that the tests press on
	double valueAtCentre (int y) const
	{
		// NOLINTNEXTLINE(bugprone-integer-division)
		return 1. - double (y - view.top - offsetY - handleHeight / 2) / travel ();
	}
};

inline bool placeOf (const UiView& slider, const zyhost::Capture& handleBitmap, SliderPlace& out)
{
	out.view = {slider.left, slider.top, slider.width, slider.height};
	out.handleWidth = handleBitmap.width;
	out.handleHeight = handleBitmap.height;
	return std::sscanf (slider.attribute ("handle-offset").c_str (), "%d, %d", &out.offsetX,
	                    &out.offsetY) == 2 &&
	       slider.attribute ("orientation") == "vertical" &&
	       slider.attribute ("reverse-orientation") == "false";
}

} // namespace zytest
