// Strict parsing of numbers from the command line and from files: the whole
// text must be the number, and only finite values count.
#pragma once

#include <cstdint>
#include <string>

namespace zyhost {

bool parseInteger (const std::string& text, int64_t& value);
bool parseReal (const std::string& text, double& value);

} // namespace zyhost
