// Runs the module initialisers as a host's module entry does, so that VSTGUI
// is set up before any test builds a view or an editor.

#include "pluginterfaces/base/fplatform.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

extern "C" {
bool ModuleEntry (void* sharedLibraryHandle);
bool ModuleExit ();
}

int main (int argc, char** argv)
{
	::testing::InitGoogleTest (&argc, argv);
	ModuleEntry (dlopen (nullptr, RTLD_LAZY));
	const int result = RUN_ALL_TESTS ();
	ModuleExit ();
	return result;
}
