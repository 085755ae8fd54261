#include "fuzzsupport.h"

#include "vstgui/lib/platform/linux/linuxfactory.h"
#include "vstgui/lib/platform/platformfactory.h"
#include "vstgui/lib/vstguiinit.h"
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ZYFuzz {

// The bitmaps are the project's own files; "missing" names a file that is
// not there.
const char* const kResourcesDescriptionHead = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
	<bitmaps>
		<bitmap name="fader_cap" path="fader_cap.png"/>
		<bitmap name="fader_cap#2.0x" path="fader_cap_2.0x.png"/>
		<bitmap name="fader_track" path="fader_track.png"/>
		<bitmap name="background" path="background.png"/>
		<bitmap name="missing" path="zy-no-such-file.png"/>
	</bitmaps>
	<colors>
		<color name="accent" rgba="#10203040"/>
	</colors>
)";

void initToolkit ()
{
	static const bool done = [] () {
		VSTGUI::init (nullptr);
		VSTGUI::getPlatformFactory ().asLinuxFactory ()->setResourcePath (ZY_RESOURCE_DIR "/");
		return true;
	}();
	(void)done;
}

void fail (const char* what, const std::string& detail)
{
	std::fprintf (stderr, "[zy fuzz] check failed: %s %s\n", what, detail.c_str ());
	std::fflush (stderr);
	std::abort ();
}

std::string pickText (FuzzedDataProvider& input, std::initializer_list<const char*> texts)
{
	auto index = input.ConsumeIntegralInRange<size_t> (0, texts.size () - 1);
	return *(texts.begin () + index);
}

namespace {

std::string numberText (FuzzedDataProvider& input)
{
	switch (input.ConsumeIntegralInRange<int> (0, 5))
	{
		case 0: return std::to_string (input.ConsumeIntegral<int32_t> ());
		case 1: return std::to_string (input.ConsumeFloatingPoint<double> ());
		case 2: return std::to_string (input.ConsumeFloatingPointInRange<double> (-4., 4.));
		case 3:
			return pickText (input, {"nan",	   "NaN",	   "-nan",	 "inf",
									 "-inf",   "infinity", "1e999",	 "-1e999",
									 "1e-320", "0x1p9",	   "3.4e38", "1.7976931348623157e308",
									 "0",	   "-0",	   "+1",	 ".5",
									 "5.",	   "1e",	   "--1",	 "1,5"});
		case 4: return pickText (input, {"0", "1", "10", "20", "0.1", "1.1", "-1", "-3", "200"});
		default: return input.ConsumeRandomLengthString (12);
	}
}

} // anonymous namespace

std::string valueText (FuzzedDataProvider& input)
{
	switch (input.ConsumeIntegralInRange<int> (0, 7))
	{
		case 0: return numberText (input);
		case 1:
		{
			auto x = numberText (input);
			auto separator = pickText (input, {", ", ",", " , ", " ", ",,", ""});
			return x + separator + numberText (input);
		}
		case 2:
			return pickText (input, {"touch", "relative touch", "free click", "ZY free click",
									 "ramp", "use global", "zy free click", "ramp ", "horizontal",
									 "vertical", "Vertical", "vertical-inverse"});
		case 3:
			return pickText (input, {"fader_cap", "fader_track", "background", "missing",
									 "fader_cap#2.0x", "knob", "~ BlackCColor", "accent"});
		case 4:
			return pickText (input,
							 {"#10203040", "#ffffffff", "#000", "#1234567", "#gg000000", "#",
							  "~ WhiteCColor", "~ TransparentCColor", "accent", "no such colour"});
		case 5: return pickText (input, {"true", "false", "TRUE", "True", "1", "yes"});
		case 6: return {};
		default: return input.ConsumeRandomLengthString (40);
	}
}

} // ZYFuzz
