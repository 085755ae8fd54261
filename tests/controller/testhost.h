// Host contexts for the tests: the SDK's host application, and one that says
// the module runs inside an AU wrapper.
#pragma once

#include "pluginterfaces/base/funknownimpl.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace zytest {

class AUWrapperHostContext
: public Steinberg::U::Implements<Steinberg::U::Directly<Steinberg::Vst::IVst3ToAUWrapper>>
{
};

// The SDK's host application is not reference counted; one lives for the run.
inline Steinberg::IPtr<Steinberg::FUnknown> makeVst3HostContext ()
{
	static Steinberg::Vst::HostApplication hostApplication;
	return Steinberg::IPtr<Steinberg::FUnknown> (static_cast<Steinberg::FUnknown*> (
	    static_cast<Steinberg::Vst::IHostApplication*> (&hostApplication)));
}

inline Steinberg::IPtr<Steinberg::FUnknown> makeAUHostContext ()
{
	return Steinberg::owned (static_cast<Steinberg::FUnknown*> (
	    static_cast<Steinberg::Vst::IVst3ToAUWrapper*> (new AUWrapperHostContext ())));
}

} // namespace zytest
