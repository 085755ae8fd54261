// The parameter intake: a block's parameter changes into a parameter block.
#pragma once

#include "processor/plugparams.h"

namespace Steinberg {
namespace Vst {

class IParameterChanges;

// Takes the last point of each queue of tags 0 to 7 into block; the last
// point stands for the whole block. Answers whether any value was taken.
bool takeParameterChanges (IParameterChanges* changes, PlugParams& block);

} // namespace Vst
} // namespace Steinberg
