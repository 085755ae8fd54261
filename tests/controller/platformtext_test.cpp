// The platform text: every answer of the macOS translation query, and the
// text of this build.

#include "controller/platformtext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace Steinberg::Vst;

namespace {

ProcTranslatedAnswer gAnswer {};
int gQueries = 0;

ProcTranslatedAnswer scriptedQuery ()
{
	++gQueries;
	return gAnswer;
}

TEST (PlatformTextTest, MacTableCoversEveryAnswer)
{
	const struct
	{
		ProcTranslatedAnswer answer;
		const char* expected;
	} cases[] = {
	    {{-1, ENOENT, 0}, "x86_64-macOS"}, // no such value: an Intel system
	    {{-1, EPERM, 0}, "unknown"},
	    {{-1, ENOMEM, 1}, "unknown"},
	    {{-1, 0, 0}, "unknown"},
	    {{0, 0, 0}, "arm64-macOS"},
	    {{0, 0, 1}, "arm64-macOS (T)"},
	    {{0, 0, 2}, "x86_64-macOS"},
	    {{0, 0, 3}, "unknown"},
	    {{0, 0, -1}, "unknown"},
	    {{0, ENOENT, 1}, "arm64-macOS (T)"}, // errno counts only after a failure
	};
	for (const auto& c : cases)
	{
		gAnswer = c.answer;
		gQueries = 0;
		EXPECT_STREQ (macPlatformText (scriptedQuery), c.expected)
		    << c.answer.result << " " << c.answer.error << " " << c.answer.value;
		EXPECT_EQ (gQueries, 1);
	}
}

TEST (PlatformTextTest, NamesThePlatformOfThisBuild)
{
#if SMTG_OS_LINUX && defined(__x86_64__)
	EXPECT_STREQ (platformText (), "x86_64-Linux");
#elif SMTG_OS_MACOS
	const std::string text = platformText ();
	EXPECT_NE (text.find ("macOS"), std::string::npos);
#else
	EXPECT_NE (std::string (platformText ()).find ('-'), std::string::npos);
#endif
}

} // namespace
