// Pictures of sounds for people who review them: a waveform overview above a
// spectrogram on a logarithmic frequency axis (30 Hz to 20 kHz), written as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `pcm` is interleaved 16-bit stereo at 44100 Hz. False with a message when the file
// cannot be written.
bool write_spectrogram(const std::vector<int16_t>& pcm, const std::string& png_path, std::string& error);
