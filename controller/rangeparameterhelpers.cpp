#include "controller/rangeparameterhelpers.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cmath>
#include <cstdio>

namespace Steinberg {
namespace Vst {

void setUpRangeInfo (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                     int32 flags)
{
	if (title)
		UString (info.title, str16BufferSize (String128)).assign (title);
	if (units)
		UString (info.units, str16BufferSize (String128)).assign (units);
	info.flags = flags;
	info.id = tag;
	info.stepCount = 0;
	info.unitId = kRootUnitId;
}

void printPlainValue (ParamValue plain, int32 precision, String128 string)
{
	// UString::printFloat writes its terminator behind the text's full length
	// even when the text was cut, which lands outside a String128 for a text
	// of 128 characters or more (a huge value, or a host passing a normalized
	// value far outside [0, 1]). Such a text is treated as a failed print, and
	// so is an infinity or a NaN, which lie beyond every such value.
	if (!std::isfinite (plain))
	{
		string[0] = 0;
		return;
	}
	const int length = std::snprintf (nullptr, 0, "%.*lf", precision, plain);
	const int capacity = str16BufferSize (String128);
	UString wrapper (string, capacity);
	if (length < 0 || length >= capacity || !wrapper.printFloat (plain, precision))
		string[0] = 0;
}

} // namespace Vst
} // namespace Steinberg
