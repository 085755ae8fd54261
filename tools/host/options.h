// The command line of zy_host.
#pragma once

#include "tools/host/audiofiles.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zyhost {

struct HostOptions
{
	std::string plugin;
	std::string input;
	double generateSeconds {0.};
	std::string output;
	std::string saveInput;
	RawFormat raw {RawFormat::none};
	double sampleRate {0.}; // 0: not given
	int32_t blockSize {512};
	int precision {0}; // 0: not given
	std::vector<std::pair<uint32_t, double>> startValues;
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
