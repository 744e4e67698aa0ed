// Helpers of the mixer, music and collision-sound tests: test samples made by the encoder
// (with the exact frames the decoder gives back, to predict the mix), and a store of chunks
// in memory that counts how often each name is looked up.
#pragma once

#include "data/pak_system.h"
#include "sound/sample.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A stereo sine of `frames` frames at `level` (0..1 of full scale); right = left * balance.
std::vector<int16_t> test_tone(uint32_t frames, double frequency, double level, double balance = 1.0);
// The "SAMP" chunk bytes of encoded frames (block size 256, so short samples stay short).
std::vector<uint8_t> test_sample_chunk(const std::vector<int16_t>& pcm);
// A sample object made straight from encoded frames.
ref_ptr<w_sample> test_sample(const std::vector<int16_t>& pcm);
// What the decoder gives for a sample: the frames the mixer will read.
std::vector<int16_t> decoded_frames(const w_sample& sample);

// One voice's contribution as the mixer computes it, for a channel gain g (0..768).
inline int32_t scaled(int16_t s, int32_t g)
{
    return (int32_t(s) * g) >> 11;
}
// The final scale of a sum, saturated.
inline int16_t final_sample(int64_t sum)
{
    int64_t s = sum * 8;
    return int16_t(s < -32768 ? -32768 : s > 32767 ? 32767 : s);
}

// Chunks held in memory. Lookups are counted by name.
class memory_store : public pak_module {
public:
    std::map<std::string, int> lookups;

    explicit memory_store(pak_system* sys) : pak_module(sys, false) {}
    bool is_directory() const override { return false; }
    ref_ptr<pak_chunkref> write(const pak_editchunk&, int, bool) override { return nullptr; }
    ref_ptr<pak_chunkref> write_raw(uint32_t, const char*, uint32_t, bool, const void*, int, bool) override
    {
        return nullptr;
    }
    ref_ptr<pak_chunkref> get(const char* name) override;

    void add(const char* name, uint32_t code, std::vector<uint8_t> bytes, bool container);
};

// A resource system with the sample creator and one memory store.
struct sample_store {
    pak_system pak;
    memory_store* store;

    sample_store();
    void add_sample(const char* name, const std::vector<int16_t>& pcm);
};
