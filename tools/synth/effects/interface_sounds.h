// The interface's own sounds: hovering, selecting, cutting, and the blip of each
// star counted after a solved level.
#pragma once

#include "tools/synth/dsp/signal.h"

stereo_buffer render_rollover();
stereo_buffer render_select();
stereo_buffer render_cut();
stereo_buffer render_star_blip();
