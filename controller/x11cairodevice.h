// Works around a fault of the toolkit's X11 platform layer.
//
// When its last editor closes, the toolkit drops its X connection without
// finishing cairo's device for it: cairo keeps that device in its cache, keyed
// by the connection's address, and hands it to the next connection that lands
// at the same address, which then crashes or never draws. The toolkit does
// finish a device that it was given (its run loop's setDevice); this hands it
// the device of its current connection, so that reopening an editor is safe.
#pragma once

#include "pluginterfaces/base/fplatform.h"

namespace Steinberg {
namespace Vst {

#if SMTG_OS_LINUX
void handCairoDeviceToToolkit ();
#else
inline void handCairoDeviceToToolkit ()
{
}
#endif

} // namespace Vst
} // namespace Steinberg
