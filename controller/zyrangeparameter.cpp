#include "controller/zyrangeparameter.h"
#include "controller/rangeparameterhelpers.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

ZYRangeParameter::ZYRangeParameter (const TChar* title, ParamID tag, const TChar* units,
                                    int32 flags, ParamValue minPlain, ParamValue maxPlain,
                                    ParamValue defaultValuePlain)
{
	this->minPlain = minPlain;
	this->maxPlain = maxPlain;
	setUpRangeInfo (info, title, tag, units, flags);
	// not clamped: a default outside the range is kept as given
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
}

ZYRangeParameter::~ZYRangeParameter ()
{
}

void ZYRangeParameter::toString (ParamValue valueNormalized, String128 string) const
{
	ParamValue plain = toPlain (valueNormalized);
	// keeps rounding noise around the zero point from printing as "-0.00"
	if (std::fabs (plain) < kZeroSnapTolerance)
		plain = 0.;
	printPlainValue (plain, precision, string);
}

bool approximatelyEqual (double a, double b)
{
	return !(std::fabs (b - a) >= kZeroSnapTolerance);
}

} // namespace Vst
} // namespace Steinberg
