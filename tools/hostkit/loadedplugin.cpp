#include "tools/hostkit/loadedplugin.h"

#include "public.sdk/source/vst/utility/memoryibstream.h"

#include <filesystem>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace zyhost {

namespace {

// The SDK's loader finds the library by the bundle folder's name, which a
// trailing slash (as shell completion types it) would leave empty, and a
// relative path is made absolute first.
std::string bundleFolder (const std::string& path)
{
	std::string folder = path;
	while (folder.size () > 1 && folder.back () == '/')
		folder.pop_back ();
	std::error_code failed;
	const std::filesystem::path absolute = std::filesystem::absolute (folder, failed);
	return failed ? folder : absolute.lexically_normal ().string ();
}

} // namespace

std::unique_ptr<LoadedPlugin> LoadedPlugin::load (const std::string& bundlePath, std::string& error)
{
	std::unique_ptr<LoadedPlugin> plugin (new LoadedPlugin ());
	plugin->hostApplication = std::make_unique<HostApplication> ();
	PluginContextFactory::instance ().setPluginContext (plugin->hostApplication.get ());

	std::string moduleError;
	plugin->module = VST3::Hosting::Module::create (bundleFolder (bundlePath), moduleError);
	if (!plugin->module)
	{
		error = "cannot load '" + bundlePath + "': " + moduleError;
		return nullptr;
	}
	for (const auto& info : plugin->module->getFactory ().classInfos ())
	{
		if (info.category () == kVstAudioEffectClass)
		{
			plugin->provider = owned (new PlugProvider (plugin->module->getFactory (), info, true));
			break;
		}
	}
	if (!plugin->provider)
	{
		error = "'" + bundlePath + "' holds no audio effect class";
		return nullptr;
	}
	if (!plugin->provider->initialize ())
	{
		error = "the plug-in in '" + bundlePath + "' failed to initialise";
		return nullptr;
	}
	plugin->componentPtr = plugin->provider->getComponentPtr ();
	plugin->controllerPtr = plugin->provider->getControllerPtr ();
	plugin->processorPtr = FUnknownPtr<IAudioProcessor> (plugin->componentPtr);
	if (!plugin->componentPtr || !plugin->controllerPtr || !plugin->processorPtr)
	{
		error = "the plug-in in '" + bundlePath + "' lacks a processor or a controller";
		return nullptr;
	}
	return plugin;
}

LoadedPlugin::~LoadedPlugin ()
{
	// the plug-in's objects go before the module that holds their code
	processorPtr = nullptr;
	componentPtr = nullptr;
	controllerPtr = nullptr;
	provider = nullptr;
	module.reset ();
	if (PluginContextFactory::instance ().getPluginContext () == hostApplication.get ())
		PluginContextFactory::instance ().setPluginContext (nullptr);
	hostApplication.reset ();
}

bool LoadedPlugin::syncControllerToProcessor ()
{
	ResizableMemoryIBStream stream;
	if (componentPtr->getState (&stream) != kResultOk)
		return false;
	stream.rewind ();
	return controllerPtr->setComponentState (&stream) == kResultOk;
}

} // namespace zyhost
