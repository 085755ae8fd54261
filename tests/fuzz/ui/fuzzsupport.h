// Pieces the editor's fuzz targets share: the toolkit set up once as a host
// sets it up (no X needed), loud checks, and texts decoded from the input.

#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <initializer_list>
#include <string>

namespace ZYFuzz {

/** sets up the platform factory once per process, its resource folder on the
	project's resource/ folder */
void initToolkit ();

/** the opening of a description with the project's bitmaps, one bitmap of a
	missing file and a colour, for the sliders' attributes to name; the caller
	adds its own elements and the closing tag */
extern const char* const kResourcesDescriptionHead;

/** prints what failed and traps, so that libFuzzer keeps the input */
[[noreturn]] void fail (const char* what, const std::string& detail = {});

inline void check (bool condition, const char* what, const std::string& detail = {})
{
	if (!condition)
		fail (what, detail);
}

/** one of the texts, picked by the input */
std::string pickText (FuzzedDataProvider& input, std::initializer_list<const char*> texts);

/** a text that numbers, points, colours and flags are read from: mostly
	near-valid, sometimes garbage */
std::string valueText (FuzzedDataProvider& input);

} // ZYFuzz
