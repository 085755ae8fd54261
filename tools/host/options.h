// The command line of zy_host.
#pragma once

#include "tools/host/audiofiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zyhost {

// The lowest sample rate the plug-in runs at, for raw, generated and sound
// file input alike.
constexpr double kLowestSampleRate = 500.;

// A --param KEY=VALUE as given: the key is a parameter id or title, the value
// normalized or in the parameter's own words; the plug-in resolves both.
struct ParamSetting
{
	std::string argument;
	std::string key;
	std::string value;
};

struct HostOptions
{
	std::string plugin;
	bool pluginGiven {false}; // false: the default, ~/.vst3/zyPhaser.vst3
	std::string input;
	double generateSeconds {0.};
	std::string output;
	std::string saveInput;
	RawFormat raw {RawFormat::none};
	double sampleRate {0.}; // 0: not given
	int32_t blockSize {512};
	int precision {0}; // 0: not given
	std::vector<ParamSetting> params;
	std::string automation;
	double tailSeconds {0.};
	bool list {false};
	bool quiet {false};
	bool help {false};
};

// False with a message for a bad or incomplete command line.
bool parseOptions (int argc, const char* const argv[], HostOptions& options, std::string& error);
const char* usageText ();

} // namespace zyhost
