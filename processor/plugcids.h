// The two class identifiers of zy Phaser. Hosts find the classes by them and
// store them in their projects: never change these values.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Vst {

static const FUID PlugProcessorUID (0x3EE8CC99, 0x0BD32080, 0xE9A815E1, 0x76FFFA94);
static const FUID PlugControllerUID (0x028BBF20, 0x7DF409EB, 0x62D78714, 0xFF6BE4CE);

} // namespace Vst
} // namespace Steinberg
