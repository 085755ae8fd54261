#include "tools/host/automation.h"
#include "tools/host/numbers.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace zyhost {

bool readAutomation (std::istream& in, const std::string& sourceName,
                     std::vector<AutomationPoint>& points, std::string& error)
{
	std::string text;
	int lineNumber = 0;
	while (std::getline (in, text))
	{
		++lineNumber;
		const std::string where = sourceName + ":" + std::to_string (lineNumber) + ": ";
		if (!text.empty () && text.back () == '\r')
			text.pop_back ();
		// '#' starts a comment, at the start of a line or after a point.
		const std::string point = text.substr (0, text.find ('#'));
		std::istringstream fields (point);
		std::vector<std::string> words;
		for (std::string word; fields >> word;)
			words.push_back (word);
		if (words.empty ())
			continue;
		if (words.size () != 3)
		{
			error = where + "expected 'BLOCK TAG VALUE', got '" + text + "'";
			return false;
		}
		int64_t block = 0, tag = 0;
		double value = 0.;
		if (!parseInteger (words[0], block) || block < 0)
		{
			error = where + "bad block '" + words[0] + "' (a whole number from 0)";
			return false;
		}
		if (!parseInteger (words[1], tag) || tag < 0 || tag > UINT32_MAX)
		{
			error = where + "bad tag '" + words[1] + "' (a parameter id, a whole number)";
			return false;
		}
		if (!parseReal (words[2], value) || value < 0. || value > 1.)
		{
			error = where + "bad value '" + words[2] + "' (a normalized value from 0 to 1)";
			return false;
		}
		points.push_back ({block, static_cast<uint32_t> (tag), value, lineNumber});
	}
	if (in.bad ())
	{
		error = sourceName + ": read error";
		return false;
	}
	return true;
}

bool readAutomationFile (const std::string& path, std::vector<AutomationPoint>& points,
                         std::string& error)
{
	std::ifstream in (path);
	if (!in)
	{
		error = "cannot open automation file '" + path + "': " + std::strerror (errno);
		return false;
	}
	return readAutomation (in, path, points, error);
}

} // namespace zyhost
