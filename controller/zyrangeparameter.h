// The linear range parameter: its value text shows tiny values as zero.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

// Plain values closer to zero than this print as zero; approximatelyEqual
// uses the same tolerance.
static constexpr ParamValue kZeroSnapTolerance = 5e-5;

class ZYRangeParameter : public RangeParameter
{
public:
	ZYRangeParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
	                  ParamValue minPlain, ParamValue maxPlain, ParamValue defaultValuePlain);
	~ZYRangeParameter () SMTG_OVERRIDE;

	void toString (ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
};

// True unless a and b differ by kZeroSnapTolerance or more (so a difference
// that is not a number counts as equal).
bool approximatelyEqual (double a, double b);

} // namespace Vst
} // namespace Steinberg
