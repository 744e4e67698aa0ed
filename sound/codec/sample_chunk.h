// The "SAMP" chunk as the sample codec sees it: a "HEAD" record (two words that
// playback does not read, then the frame count) and a "DATA" record holding the
// compressed stream, which is read in place through the sample's passive reader.
#pragma once

#include "data/bit_stream.h"

#include <cstdint>
#include <string>
#include <vector>

struct w_sample_data {
    uint32_t head[3] = {0, 0, 0};  // unused, unused, frames
    bit_iovector data;             // the "DATA" bytes; empty when a record is missing

    uint32_t frames() const { return head[2]; }

    // A reader at the start of `data`, bounded by its words: past them it reads 0
    // bits and sets its overrun flag. (The sample class nests this reader type as
    // its passive_bit_istream.)
    bit_passive_istream reader() const { return bit_passive_istream(data.words.data(), data.words.size()); }
};

// Reads the records of a "SAMP" chunk. A "HEAD" shorter than 12 bytes is padded with
// zeros. False, with `data` left empty, when "HEAD" or "DATA" is missing.
bool w_read_sample_chunk(const uint8_t* bytes, uint32_t size, w_sample_data& out);

// The content of a "SAMP" chunk (a container: its two records) for a stream.
std::vector<uint8_t> w_sample_chunk_bytes(uint32_t frames, const std::vector<uint8_t>& stream);

// Decodes a whole sample to interleaved stereo frames (as many as "HEAD" says).
// False with a message when the stream cannot be decoded at all; a stream that ends
// early decodes, and `short_stream` tells that its end was silence.
bool w_decode_sample(const w_sample_data& sample, std::vector<int16_t>& pcm, bool& short_stream,
                     std::string& error);
