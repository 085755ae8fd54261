// Parameter automation for an offline render: a text file of lines
//     BLOCK TAG VALUE
// each giving the normalized VALUE that the queue of parameter TAG carries in
// block BLOCK (counted from 0). '#' starts a comment that runs to the end of
// the line; blank lines are skipped. For one block and tag the last line
// wins.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace zyhost {

struct AutomationPoint
{
	int64_t block;
	uint32_t tag;
	double value;
	int line;
};

// Appends the file's points in file order; false with a message naming the
// source and line on the first bad line.
bool readAutomation (std::istream& in, const std::string& sourceName,
                     std::vector<AutomationPoint>& points, std::string& error);
bool readAutomationFile (const std::string& path, std::vector<AutomationPoint>& points,
                         std::string& error);

} // namespace zyhost
