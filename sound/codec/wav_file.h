// RIFF WAVE files: reading PCM sources (8, 16, 24 or 32-bit integer, or 32-bit float;
// mono or stereo) as 16-bit stereo, and writing 16-bit stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct w_pcm {
    uint32_t rate = 44100;
    uint32_t source_channels = 2;  // what the file held; `samples` is always stereo
    std::vector<int16_t> samples;  // interleaved left, right

    uint32_t frames() const { return uint32_t(samples.size() / 2); }
};

// False with a message for anything that is not a well-formed PCM WAVE file of one
// or two channels. Mono is duplicated to both channels.
bool w_read_wav(const uint8_t* bytes, size_t size, w_pcm& out, std::string& error);

// A 16-bit stereo WAVE file of interleaved frames.
std::vector<uint8_t> w_wav_bytes(const int16_t* interleaved, uint32_t frames, uint32_t rate);
