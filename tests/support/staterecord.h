// The state record builder lives in tools/hostkit/, shared with the tools and the
// benchmarks; this header hands it to the test files that still include it
// from here.
#pragma once

#include "tools/hostkit/staterecord.h"

namespace zytest {
using namespace zyhost;
} // namespace zytest
