#include "controller/platformtext.h"

#include <cerrno>

#if SMTG_OS_MACOS
#include <sys/sysctl.h>
#endif

namespace Steinberg {
namespace Vst {

const char* macPlatformText (ProcTranslatedQuery query)
{
	const ProcTranslatedAnswer answer = query ();
	if (answer.result != 0)
		// an Intel system has no such value at all
		return answer.error == ENOENT ? "x86_64-macOS" : "unknown";
	switch (answer.value)
	{
		case 0: return "arm64-macOS";
		case 1: return "arm64-macOS (T)";
		case 2: return "x86_64-macOS";
		default: return "unknown";
	}
}

#if SMTG_OS_MACOS
ProcTranslatedAnswer askProcTranslated ()
{
	int value = 0;
	size_t size = sizeof (value);
	ProcTranslatedAnswer answer {};
	answer.result = sysctlbyname ("sysctl.proc_translated", &value, &size, nullptr, 0);
	answer.error = answer.result != 0 ? errno : 0;
	answer.value = value;
	return answer;
}
#endif

#if !SMTG_OS_MACOS
// The architecture and the system of this build.
#if defined(__x86_64__) || defined(_M_X64)
#define ZY_BUILT_ARCH "x86_64"
#elif defined(__aarch64__) || defined(_M_ARM64)
#define ZY_BUILT_ARCH "arm64"
#elif defined(__i386__) || defined(_M_IX86)
#define ZY_BUILT_ARCH "i386"
#elif defined(__arm__) || defined(_M_ARM)
#define ZY_BUILT_ARCH "arm"
#else
#define ZY_BUILT_ARCH "unknown"
#endif

#if SMTG_OS_LINUX
#define ZY_BUILT_SYSTEM "Linux"
#elif SMTG_OS_WINDOWS
#define ZY_BUILT_SYSTEM "Windows"
#else
#define ZY_BUILT_SYSTEM "unknown"
#endif
#endif

const char* platformText ()
{
#if SMTG_OS_MACOS
	return macPlatformText (askProcTranslated);
#else
	return ZY_BUILT_ARCH "-" ZY_BUILT_SYSTEM;
#endif
}

} // namespace Vst
} // namespace Steinberg
