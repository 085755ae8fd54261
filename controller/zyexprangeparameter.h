// The exponential range parameter: plain = min * (max / min)^normalized.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

// Needs min > 0, max > 0 and max != min.
class ZYExpRangeParameter : public RangeParameter
{
public:
	ZYExpRangeParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
	                     ParamValue minPlain, ParamValue maxPlain, ParamValue defaultValuePlain);
	~ZYExpRangeParameter () SMTG_OVERRIDE;

	void toString (ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
	// Neither conversion clamps; a plain value of 0 or below gives 0.
	ParamValue toPlain (ParamValue valueNormalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plainValue) const SMTG_OVERRIDE;
};

} // namespace Vst
} // namespace Steinberg
