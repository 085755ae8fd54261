// The module's exported entry points and its class factory, called on the
// built bundle's shared library the way a host's loader calls them.

#include "processor/plugcids.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Steinberg;

namespace {

const std::string kLibraryPath = ZY_BUNDLE_PATH "/Contents/x86_64-linux/zyPhaser.so";

// The shared library, opened and entered as a host does, left on destruction.
class LoadedLibrary
{
public:
	using EntryFunc = bool (*) (void*);
	using ExitFunc = bool (*) ();
	using FactoryFunc = IPluginFactory* (*)();

	LoadedLibrary ()
	{
		handle = dlopen (kLibraryPath.c_str (), RTLD_NOW | RTLD_LOCAL);
		if (!handle)
			return;
		entry = reinterpret_cast<EntryFunc> (dlsym (handle, "ModuleEntry"));
		exit = reinterpret_cast<ExitFunc> (dlsym (handle, "ModuleExit"));
		getFactory = reinterpret_cast<FactoryFunc> (dlsym (handle, "GetPluginFactory"));
		if (entry)
			entered = entry (handle);
	}
	~LoadedLibrary ()
	{
		if (entered && exit)
			exit ();
		if (handle)
			dlclose (handle);
	}

	void* handle {nullptr};
	EntryFunc entry {nullptr};
	ExitFunc exit {nullptr};
	FactoryFunc getFactory {nullptr};
	bool entered {false};
};

uint32 referenceCount (FUnknown* object)
{
	const uint32 count = object->addRef () - 1;
	object->release ();
	return count;
}

// The identifier's bytes: its four words in order, most significant byte first.
std::string bytesOf (const FUID& id)
{
	std::string bytes;
	for (uint32 word : {id.getLong1 (), id.getLong2 (), id.getLong3 (), id.getLong4 ()})
		for (int shift = 24; shift >= 0; shift -= 8)
			bytes += static_cast<char> ((word >> shift) & 0xff);
	return bytes;
}

class FactoryTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_NE (library.handle, nullptr) << dlerror ();
		ASSERT_TRUE (library.entered);
		ASSERT_NE (library.getFactory, nullptr);
	}
	LoadedLibrary library;
};

TEST_F (FactoryTest, ExportsTheLinuxModuleEntry)
{
	EXPECT_NE (library.exit, nullptr);
	EXPECT_EQ (dlsym (library.handle, "bundleEntry"), nullptr);
	EXPECT_EQ (dlsym (library.handle, "InitDll"), nullptr);
}

TEST_F (FactoryTest, ExitMoreOftenThanEntryAnswersFalse)
{
	EXPECT_TRUE (library.entry (library.handle));
	EXPECT_TRUE (library.exit ());
	EXPECT_TRUE (library.exit ());
	library.entered = false;
	EXPECT_FALSE (library.exit ());
}

TEST_F (FactoryTest, SameFactoryWithOneMoreReferencePerCall)
{
	IPluginFactory* first = library.getFactory ();
	ASSERT_NE (first, nullptr);
	EXPECT_EQ (referenceCount (first), 1u);
	IPluginFactory* second = library.getFactory ();
	EXPECT_EQ (second, first);
	EXPECT_EQ (referenceCount (first), 2u);
	EXPECT_EQ (second->release (), 1u);
	EXPECT_EQ (first->release (), 0u);

	// released completely: the next call builds a new one with the same classes
	IPluginFactory* fresh = library.getFactory ();
	ASSERT_NE (fresh, nullptr);
	EXPECT_EQ (referenceCount (fresh), 1u);
	ASSERT_EQ (fresh->countClasses (), 2);
	PClassInfo info {};
	ASSERT_EQ (fresh->getClassInfo (0, &info), kResultOk);
	EXPECT_STREQ (info.name, "zy Phaser");
	ASSERT_EQ (fresh->getClassInfo (1, &info), kResultOk);
	EXPECT_STREQ (info.name, "zy Phaser Controller");
	EXPECT_EQ (fresh->release (), 0u);
}

TEST_F (FactoryTest, FactoryInfo)
{
	IPtr<IPluginFactory> factory = owned (library.getFactory ());
	PFactoryInfo info {};
	ASSERT_EQ (factory->getFactoryInfo (&info), kResultOk);
	EXPECT_STREQ (info.vendor, "VARNOK Soft");
	EXPECT_EQ (std::string (info.url).rfind ("https://", 0), 0u) << info.url;
	EXPECT_EQ (std::string (info.email).rfind ("mailto:", 0), 0u) << info.email;
	EXPECT_EQ (info.flags, 16);
}

TEST_F (FactoryTest, ExactlyTwoClassEntries)
{
	const struct
	{
		const FUID& cid;
		const char* category;
		const char* name;
		uint32 classFlags;
		const char* subCategories;
	} rows[] = {
	    {Vst::PlugProcessorUID, "Audio Module Class", "zy Phaser", 1, "Fx|Modulation"},
	    {Vst::PlugControllerUID, "Component Controller Class", "zy Phaser Controller", 0, ""},
	};
	IPtr<IPluginFactory> factory = owned (library.getFactory ());
	FUnknownPtr<IPluginFactory2> factory2 (factory);
	ASSERT_TRUE (factory2);
	ASSERT_EQ (factory->countClasses (), 2);
	for (int32 index = 0; index < 2; ++index)
	{
		const auto& row = rows[index];
		PClassInfo2 info {};
		ASSERT_EQ (factory2->getClassInfo2 (index, &info), kResultOk);
		EXPECT_EQ (std::string (info.cid, sizeof (TUID)), bytesOf (row.cid)) << index;
		EXPECT_EQ (info.cardinality, 0x7FFFFFFF);
		EXPECT_STREQ (info.category, row.category);
		EXPECT_STREQ (info.name, row.name);
		EXPECT_EQ (info.classFlags, row.classFlags) << index;
		EXPECT_STREQ (info.subCategories, row.subCategories);
		EXPECT_STREQ (info.vendor, "");
		EXPECT_STREQ (info.version, "3.1.0.1");
		EXPECT_STREQ (info.sdkVersion, "VST 3.7.10");
	}
	EXPECT_NE (bytesOf (Vst::PlugProcessorUID), bytesOf (Vst::PlugControllerUID));
	PClassInfo2 none {};
	EXPECT_EQ (factory2->getClassInfo2 (2, &none), kInvalidArgument);
}

TEST_F (FactoryTest, CreateFunctionsReturnTheirInterfaceWithOneReference)
{
	const struct
	{
		const FUID& cid;
		const FUID& iid;
		const FUID& wrongIid;
	} rows[] = {
	    {Vst::PlugProcessorUID, Vst::IAudioProcessor::iid, Vst::IEditController::iid},
	    {Vst::PlugControllerUID, Vst::IEditController::iid, Vst::IAudioProcessor::iid},
	};
	IPtr<IPluginFactory> factory = owned (library.getFactory ());
	for (const auto& row : rows)
	{
		TUID cid;
		row.cid.toTUID (cid);
		FUnknown* object = nullptr;
		ASSERT_EQ (
		    factory->createInstance (cid, row.iid.toTUID (), reinterpret_cast<void**> (&object)),
		    kResultOk);
		ASSERT_NE (object, nullptr);
		// the host's reference is the only one: releasing it destroys the object
		EXPECT_EQ (object->release (), 0u);

		void* wrong = &wrong;
		EXPECT_EQ (factory->createInstance (cid, row.wrongIid.toTUID (), &wrong), kNoInterface);
		EXPECT_EQ (wrong, nullptr);
	}
	TUID unknownCid = {};
	void* none = &none;
	EXPECT_EQ (factory->createInstance (unknownCid, FUnknown::iid.toTUID (), &none), kNoInterface);
}

} // namespace
