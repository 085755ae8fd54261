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

inline Steinberg::IPtr<Steinberg::FUnknown> makeVst3HostContext ()
{
	return Steinberg::owned (static_cast<Steinberg::FUnknown*> (
	    static_cast<Steinberg::Vst::IHostApplication*> (new Steinberg::Vst::HostApplication ())));
}

inline Steinberg::IPtr<Steinberg::FUnknown> makeAUHostContext ()
{
	return Steinberg::owned (static_cast<Steinberg::FUnknown*> (
	    static_cast<Steinberg::Vst::IVst3ToAUWrapper*> (new AUWrapperHostContext ())));
}

} // namespace zytest
