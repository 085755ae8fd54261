// The SDK's UTF-16 texts as plain strings, for comparisons in the tests.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

namespace zytest {

// The text's units as 8-bit characters: the texts compared are ASCII.
inline std::string narrow (const Steinberg::Vst::TChar* text)
{
	std::string result;
	for (; *text; ++text)
		result += static_cast<char> (*text);
	return result;
}

inline std::u16string wide (const char* text)
{
	std::u16string result;
	for (; *text; ++text)
		result += static_cast<char16_t> (*text);
	return result;
}

} // namespace zytest
