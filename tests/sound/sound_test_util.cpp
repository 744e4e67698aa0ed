// Test samples and the in-memory store.
#include "tests/sound/sound_test_util.h"

#include "sound/codec/sample_encoder.h"
#include "tests/data/pak_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

std::vector<int16_t> test_tone(uint32_t frames, double frequency, double level, double balance)
{
    std::vector<int16_t> pcm(2 * size_t(frames));
    for (uint32_t f = 0; f < frames; ++f) {
        double v = level * 32767.0 * std::sin(2.0 * M_PI * frequency * f / 44100.0);
        pcm[2 * f] = int16_t(std::lround(v));
        pcm[2 * f + 1] = int16_t(std::lround(v * balance));
    }
    return pcm;
}

std::vector<uint8_t> test_sample_chunk(const std::vector<int16_t>& pcm)
{
    w_encoded_sample e;
    w_encode_params params;
    params.block_size = 256;
    EXPECT_TRUE(w_encode_sample(pcm.data(), uint32_t(pcm.size() / 2), params, e));
    return w_sample_chunk_bytes(e.frames, e.stream);
}

ref_ptr<w_sample> test_sample(const std::vector<int16_t>& pcm)
{
    std::vector<uint8_t> chunk = test_sample_chunk(pcm);
    return ref_ptr<w_sample>(new w_sample(nullptr, chunk.data(), uint32_t(chunk.size())));
}

std::vector<int16_t> decoded_frames(const w_sample& sample)
{
    std::vector<int16_t> pcm;
    bool short_stream = false;
    std::string error;
    EXPECT_TRUE(w_decode_sample(sample.sample, pcm, short_stream, error)) << error;
    return pcm;
}

ref_ptr<pak_chunkref> memory_store::get(const char* name)
{
    ++lookups[name];
    return pak_module::get(name);
}

void memory_store::add(const char* name, uint32_t code, std::vector<uint8_t> bytes, bool container)
{
    ref_ptr<test_chunkref> ref(new test_chunkref);
    ref->module = this;
    ref->set_name(name);
    ref->code = code;
    ref->container = container ? 1 : 0;
    ref->uncompressed_size = ref->stored_size = uint32_t(bytes.size());
    ref->bytes = std::move(bytes);
    insert(ref);
}

sample_store::sample_store()
{
    sound_register_creators(pak);
    auto owned = std::make_unique<memory_store>(&pak);
    store = owned.get();
    pak.add_module(std::move(owned));
}

void sample_store::add_sample(const char* name, const std::vector<int16_t>& pcm)
{
    store->add(name, pak_code_samp, test_sample_chunk(pcm), true);
}
