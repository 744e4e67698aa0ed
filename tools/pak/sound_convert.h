// Turning WAVE sources into "SAMP" chunk bytes, shared by `tamble-pak sound encode`
// and the ".wav" row of `tamble-pak build`.
#pragma once

#include "sound/codec/sample_encoder.h"
#include "tools/pak/build_converters.h"

#include <string>

// Reads a WAVE file and encodes it; `summary` receives one line about the result
// (and warnings such as a sample rate other than 44100 Hz or clamped levels).
bool encode_wav_file(const std::string& path, const w_encode_params& params, build_output& out,
                     std::string& summary, std::string& error);

// Encoder settings of a WAVE source, read from its optional sidecar "NAME.wav.opt":
// "block N" (a power of two, 16..4096) and "step Q" (1..255), one per line. Without a
// sidecar: the encoder's defaults. False with a message for a sidecar it cannot use.
bool read_sound_options(const std::string& wav_path, w_encode_params& out, std::string& error);

// The build converter: the sidecar's settings (or the defaults), stored uncompressed
// (the stream does not shrink further).
bool convert_wav_source(const std::string& path, build_output& out, std::string& error);
