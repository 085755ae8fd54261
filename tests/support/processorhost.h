// The in-process processor host lives in tools/hostkit/, shared with the tools and the
// benchmarks; this header hands it to the test files that still include it
// from here.
#pragma once

#include "tools/hostkit/processorhost.h"

namespace zytest {
using namespace zyhost;
} // namespace zytest
