#include "tools/host/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace zyhost {

bool parseInteger (const std::string& text, int64_t& value)
{
	if (text.empty () || std::isspace (static_cast<unsigned char> (text[0])))
		return false;
	errno = 0;
	char* end = nullptr;
	const long long parsed = std::strtoll (text.c_str (), &end, 10);
	if (errno != 0 || *end != '\0')
		return false;
	value = parsed;
	return true;
}

bool parseReal (const std::string& text, double& value)
{
	if (text.empty () || std::isspace (static_cast<unsigned char> (text[0])))
		return false;
	errno = 0;
	char* end = nullptr;
	const double parsed = std::strtod (text.c_str (), &end);
	if (errno == ERANGE || *end != '\0' || !std::isfinite (parsed))
		return false;
	value = parsed;
	return true;
}

} // namespace zyhost
