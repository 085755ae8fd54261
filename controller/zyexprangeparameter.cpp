#include "controller/zyexprangeparameter.h"
#include "controller/rangeparameterhelpers.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

ZYExpRangeParameter::ZYExpRangeParameter (const TChar* title, ParamID tag, const TChar* units,
                                          int32 flags, ParamValue minPlain, ParamValue maxPlain,
                                          ParamValue defaultValuePlain)
{
	this->minPlain = minPlain;
	this->maxPlain = maxPlain;
	setUpRangeInfo (info, title, tag, units, flags);
	// not clamped: a default outside the range is kept as given; the mapping
	// meant is this class's own
	// NOLINTNEXTLINE(clang-analyzer-optin.cplusplus.VirtualCall)
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
}

ZYExpRangeParameter::~ZYExpRangeParameter ()
{
}

void ZYExpRangeParameter::toString (ParamValue valueNormalized, String128 string) const
{
	printPlainValue (toPlain (valueNormalized), precision, string);
}

ParamValue ZYExpRangeParameter::toPlain (ParamValue valueNormalized) const
{
	return getMin () * std::exp (std::log (getMax () / getMin ()) * valueNormalized);
}

ParamValue ZYExpRangeParameter::toNormalized (ParamValue plainValue) const
{
	// the logarithm has no finite value there; the bottom of the range is
	// the nearest answer a host can use
	if (plainValue <= 0.)
		return 0.;
	return std::log (plainValue / getMin ()) / std::log (getMax () / getMin ());
}

} // namespace Vst
} // namespace Steinberg
