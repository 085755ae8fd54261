// Module entry: the class factory that hands a host the processor and the
// edit controller of zy Phaser. The module entry and exit functions
// themselves come from the SDK for each platform.

#include "controller/plugcontroller.h"
#include "processor/plugcids.h"
#include "processor/plugprocessor.h"
#include "processor/version.h"

#include "public.sdk/source/main/pluginfactory.h"

// The SDK's macros keep the factory info and the class entries in static
// storage, filled once per module load, and build a new factory whenever the
// previous one has been released completely.
// The SDK's factory layout, one class field a line:
// clang-format off
BEGIN_FACTORY_DEF (ZY_VENDOR_STR, ZY_VENDOR_URL_STR, ZY_VENDOR_EMAIL_STR)

	DEF_CLASS2 (INLINE_UID_FROM_FUID (Steinberg::Vst::PlugProcessorUID),
	            PClassInfo::kManyInstances,
	            kVstAudioEffectClass,
	            ZY_PLUGIN_NAME_STR,
	            Vst::kDistributable,
	            ZY_SUBCATEGORIES_STR,
	            ZY_VERSION_STR,
	            kVstVersionString,
	            Steinberg::Vst::PlugProcessor::createInstance)

	DEF_CLASS2 (INLINE_UID_FROM_FUID (Steinberg::Vst::PlugControllerUID),
	            PClassInfo::kManyInstances,
	            kVstComponentControllerClass,
	            ZY_CONTROLLER_NAME_STR,
	            0,
	            "",
	            ZY_VERSION_STR,
	            kVstVersionString,
	            Steinberg::Vst::PlugController::createInstance)

END_FACTORY
// clang-format on
