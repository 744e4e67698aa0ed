// "tamble-pak build" packing WAVE sources: the encoder settings of a source's
// sidecar "NAME.wav.opt" reach its stream, and a sidecar it cannot use stops the build.
#include "data/pak_store.h"
#include "sound/codec/sample_chunk.h"
#include "sound/codec/wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

int run(const std::string& args)
{
    std::string command = std::string(TAMBLE_PAK) + " " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct sound_tool : ::testing::Test {
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tamble_sound_tool_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "root" / "sounds");
        std::vector<int16_t> pcm(2 * 4000);
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = int16_t(8000.0 * std::sin(double(i / 2) * 0.05));
        std::vector<uint8_t> wav = w_wav_bytes(pcm.data(), 4000, 44100);
        for (const char* name : {"Plain", "Tuned"})
            std::ofstream(dir / "root" / "sounds" / (std::string(name) + ".wav"), std::ios::binary)
                .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    // The block size and step written at the head of a packed sample's stream.
    std::pair<uint32_t, uint32_t> header_of(const char* archive, const char* name)
    {
        pak_system sys;
        pak_file file(&sys, false, (dir / archive).string().c_str());
        ref_ptr<pak_chunkref> chunk = file.get(name);
        if (!chunk)
            return {0, 0};
        std::vector<uint8_t> bytes(chunk->uncompressed_size);
        w_sample_data sample;
        if (chunk->read(bytes.data()) != 0 ||
            !w_read_sample_chunk(bytes.data(), uint32_t(bytes.size()), sample))
            return {0, 0};
        EXPECT_EQ(sample.frames(), 4000u);
        uint32_t word = sample.data.words.empty() ? 0 : sample.data.words[0];
        return {word & 0xffff, (word >> 16) & 0xff};
    }
};

}  // namespace

TEST_F(sound_tool, build_follows_the_codec_settings_of_wav_sidecars)
{
    std::ofstream(dir / "root/sounds/Tuned.wav.opt") << "# music: long blocks\nblock 2048\n\nstep 30\n";
    ASSERT_EQ(run("build -o " + at("out.pk2") + " " + at("root")), 0);
    EXPECT_EQ(header_of("out.pk2", "sounds\\Plain"), (std::pair<uint32_t, uint32_t>{512, 28}));
    EXPECT_EQ(header_of("out.pk2", "sounds\\Tuned"), (std::pair<uint32_t, uint32_t>{2048, 30}));
    EXPECT_FALSE(fs::exists(dir / "root/sounds/Tuned.wav.opt.SAMP.pkc"));
}

TEST_F(sound_tool, a_sidecar_it_cannot_use_stops_the_build)
{
    for (const char* bad : {"block 1000\n", "block 8192\n", "step 0\n", "step 256\n", "quality 90\n",
                            "step\n", "block 512 1024\n"}) {
        std::ofstream(dir / "root/sounds/Tuned.wav.opt") << bad;
        EXPECT_NE(run("build -o " + at("bad.pk2") + " " + at("root")), 0) << bad;
    }
}
