// The fixed spectral curve of the sample codec: the offset, in tenths of natural-log
// units, that shapes the quantiser floor across frequency. It is part of the stream
// format, so the encoder and the decoder read this one table.
#pragma once

constexpr int w_spectral_curve_size = 1024;

// Indexed from the lowest frequency; values lie between 78.88 (index 99) and
// 157.58 (index 2).
extern const double w_spectral_curve[w_spectral_curve_size];
