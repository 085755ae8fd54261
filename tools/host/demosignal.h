// A generated demo input that shows a phaser well: a slow progression of
// saw-wave chords, rich in harmonics, over a quiet noise bed, slightly
// different on the two channels. The same arguments give the same samples.
#pragma once

#include "tools/host/stereobuffer.h"

namespace zyhost {

StereoBuffer makeDemoSignal (double seconds, double sampleRate);

} // namespace zyhost
