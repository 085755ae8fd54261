// The platform text of the about display.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

// What the system answered when asked for the integer "sysctl.proc_translated"
// (macOS): the call's result (0 on success, -1 on failure), errno after a
// failure, and the value after a success.
struct ProcTranslatedAnswer
{
	int result;
	int error;
	int32 value;
};

// Asks the system once; tests hand in their own answers.
using ProcTranslatedQuery = ProcTranslatedAnswer (*) ();

// The macOS platform text for the query's answer: "x86_64-macOS",
// "arm64-macOS", "arm64-macOS (T)" (runs translated) or "unknown".
const char* macPlatformText (ProcTranslatedQuery query);

#if SMTG_OS_MACOS
// The system's own answer, from sysctlbyname.
ProcTranslatedAnswer askProcTranslated ();
#endif

// On macOS the text for the running process; elsewhere the architecture and
// the system the module was built for, such as "x86_64-Linux".
const char* platformText ();

} // namespace Vst
} // namespace Steinberg
