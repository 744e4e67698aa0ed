// Peak limiting: turns down only the few moments where coinciding attacks would peak
// above a ceiling, with a gain that looks ahead and moves smoothly, so the music keeps
// its loudness and nothing is clipped.
#pragma once

#include "tools/synth/dsp/signal.h"

// Holds every sample at or below `ceiling` (linear, full scale 1). With `circular` the
// buffer is a loop: the gain is computed around the seam as well, so that the limited
// loop still joins without a step.
void limit_peaks(stereo_buffer& buffer, float ceiling, bool circular);
