// WAVE files: the writer's output read back, other sample formats, and damaged files.
#include "sound/codec/wav_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<uint8_t> wav(uint32_t format, uint32_t channels, uint32_t bits, const std::vector<uint8_t>& data)
{
    auto put = [](std::vector<uint8_t>& o, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            o.push_back(uint8_t(v >> (8 * i)));
    };
    std::vector<uint8_t> o = {'R', 'I', 'F', 'F'};
    put(o, uint32_t(36 + data.size()), 4);
    o.insert(o.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(o, 16, 4);
    put(o, format, 2);
    put(o, channels, 2);
    put(o, 22050, 4);
    put(o, 22050 * channels * bits / 8, 4);
    put(o, channels * bits / 8, 2);
    put(o, bits, 2);
    o.insert(o.end(), {'d', 'a', 't', 'a'});
    put(o, uint32_t(data.size()), 4);
    o.insert(o.end(), data.begin(), data.end());
    return o;
}

}  // namespace

TEST(wav_file, written_file_reads_back)
{
    std::vector<int16_t> pcm = {0, -1, 32767, -32768, 1234, -4321};
    std::vector<uint8_t> bytes = w_wav_bytes(pcm.data(), 3, 44100);
    EXPECT_EQ(bytes.size(), 44u + 12u);
    w_pcm in;
    std::string error;
    ASSERT_TRUE(w_read_wav(bytes.data(), bytes.size(), in, error)) << error;
    EXPECT_EQ(in.rate, 44100u);
    EXPECT_EQ(in.source_channels, 2u);
    EXPECT_EQ(in.samples, pcm);
}

TEST(wav_file, mono_and_other_sample_widths_become_16_bit_stereo)
{
    w_pcm in;
    std::string error;
    std::vector<uint8_t> mono8 = wav(1, 1, 8, {128, 255, 0});
    ASSERT_TRUE(w_read_wav(mono8.data(), mono8.size(), in, error)) << error;
    EXPECT_EQ(in.source_channels, 1u);
    EXPECT_EQ(in.rate, 22050u);
    EXPECT_EQ(in.samples, (std::vector<int16_t>{0, 0, 127 * 256, 127 * 256, -32768, -32768}));

    std::vector<uint8_t> stereo24 = wav(1, 2, 24, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0xFF});
    ASSERT_TRUE(w_read_wav(stereo24.data(), stereo24.size(), in, error)) << error;
    EXPECT_EQ(in.samples, (std::vector<int16_t>{0x1234, -1}));

    float f[2] = {0.5f, -2.0f};
    std::vector<uint8_t> raw(8);
    std::memcpy(raw.data(), f, 8);
    std::vector<uint8_t> float32 = wav(3, 2, 32, raw);
    ASSERT_TRUE(w_read_wav(float32.data(), float32.size(), in, error)) << error;
    EXPECT_EQ(in.samples, (std::vector<int16_t>{16384, -32767}));
}

TEST(wav_file, damaged_files_are_refused_or_cut_to_what_is_there)
{
    w_pcm in;
    std::string error;
    std::vector<uint8_t> good = wav(1, 2, 16, std::vector<uint8_t>(400, 1));
    for (size_t cut : {size_t(0), size_t(11), size_t(30)})
        EXPECT_FALSE(w_read_wav(good.data(), cut, in, error)) << cut;
    // Truncated inside the samples: the whole frames that are there.
    ASSERT_TRUE(w_read_wav(good.data(), 44 + 10, in, error));
    EXPECT_EQ(in.frames(), 2u);

    std::vector<uint8_t> five = wav(1, 5, 16, std::vector<uint8_t>(20, 0));
    EXPECT_FALSE(w_read_wav(five.data(), five.size(), in, error));
    std::vector<uint8_t> adpcm = wav(2, 1, 4, std::vector<uint8_t>(20, 0));
    EXPECT_FALSE(w_read_wav(adpcm.data(), adpcm.size(), in, error));
    std::vector<uint8_t> bad_align = good;
    bad_align[32] = 3;
    EXPECT_FALSE(w_read_wav(bad_align.data(), bad_align.size(), in, error));
    // A chunk size that points far past the end does not send the walk out of bounds.
    std::vector<uint8_t> huge = good;
    huge[16] = 0xFF;
    huge[17] = 0xFF;
    huge[18] = 0xFF;
    huge[19] = 0x7F;
    EXPECT_FALSE(w_read_wav(huge.data(), huge.size(), in, error));
}
