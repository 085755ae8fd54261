// The on/off parameter (Bypass): the SDK's two-state parameter, which shows
// "On" and "Off", reading those words back as well as a number.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class ZYOnOffParameter : public Parameter
{
public:
	ZYOnOffParameter (const TChar* title, ParamID tag, int32 flags);

	// "On" gives 1 and "Off" 0, in any letter case and with blanks around
	// them; any other text is read as the SDK reads a number.
	bool fromString (const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;
};

} // namespace Vst
} // namespace Steinberg
