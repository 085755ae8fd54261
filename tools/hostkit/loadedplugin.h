// A VST 3 bundle loaded as a host loads it: the module through its exported
// entry points, then the audio effect's component and its edit controller,
// created, initialised and connected by the SDK's plug-in provider.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "public.sdk/source/vst/hosting/module.h"
#include "public.sdk/source/vst/hosting/plugprovider.h"

#include <memory>
#include <string>

namespace zyhost {

class LoadedPlugin
{
public:
	// Null, with the reason in error, when the bundle cannot be loaded or has
	// no audio effect class.
	static std::unique_ptr<LoadedPlugin> load (const std::string& bundlePath, std::string& error);
	~LoadedPlugin ();

	Steinberg::Vst::IComponent* component () const { return componentPtr; }
	Steinberg::Vst::IAudioProcessor* processor () const { return processorPtr; }
	Steinberg::Vst::IEditController* controller () const { return controllerPtr; }
	const VST3::Hosting::ClassInfo& classInfo () const { return provider->getClassInfo (); }
	// the module's class factory, with every class the bundle holds
	const VST3::Hosting::PluginFactory& factory () const { return module->getFactory (); }

	// Hands the processor's state to the controller, as a host does after a load.
	bool syncControllerToProcessor ();

private:
	LoadedPlugin () = default;

	// the SDK's host application does not count references: owned here
	std::unique_ptr<Steinberg::Vst::HostApplication> hostApplication;
	VST3::Hosting::Module::Ptr module;
	Steinberg::IPtr<Steinberg::Vst::PlugProvider> provider;
	Steinberg::IPtr<Steinberg::Vst::IComponent> componentPtr;
	Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processorPtr;
	Steinberg::IPtr<Steinberg::Vst::IEditController> controllerPtr;
};

} // namespace zyhost
