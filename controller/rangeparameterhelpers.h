// Steps shared by the two range-parameter classes.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

// Fills the parts of a parameter info that both classes set the same way:
// title and units (each cut to 127 UTF-16 units), flags and id; step count and
// unit id 0.
void setUpRangeInfo (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                     int32 flags);

// Prints plain as "%.*lf" at precision into string; the text is empty when
// plain is not finite, printing fails or the number does not fit the buffer.
void printPlainValue (ParamValue plain, int32 precision, String128 string);

} // namespace Vst
} // namespace Steinberg
