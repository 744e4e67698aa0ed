// tamble-pak sound: encoding WAVE files into "SAMP" chunk files and decoding sample
// chunks back to WAVE.
#include "tools/pak/chunk_source.h"
#include "tools/pak/commands.h"
#include "tools/pak/sound_convert.h"

#include "app/file_io.h"

#include "sound/codec/sample_chunk.h"
#include "sound/codec/sample_decoder.h"
#include "sound/codec/wav_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool parse_int(const char* text, int& out)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < -1000000 || v > 1000000)
        return false;
    out = int(v);
    return true;
}

int sound_encode(int argc, char** argv)
{
    w_encode_params params;
    std::vector<const char*> files;
    for (int i = 0; i < argc; ++i) {
        bool block = !std::strcmp(argv[i], "--block"), step = !std::strcmp(argv[i], "--step");
        if (block || step) {
            if (i + 1 >= argc || !parse_int(argv[i + 1], block ? params.block_size : params.step))
                return pak_tool_fail("sound", std::string(argv[i]) + " needs a number");
            ++i;
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.size() != 2)
        return pak_tool_fail("sound", "usage: sound encode IN.wav OUT.SAMP.pkc [--block N] [--step Q]");
    if (!w_block_size_ok(params.block_size))
        return pak_tool_fail("sound", "--block must be a power of two from " +
                                          std::to_string(w_min_block_size) + " to " +
                                          std::to_string(w_max_block_size));
    if (params.step < 1 || params.step > 255)
        return pak_tool_fail("sound", "--step must be from 1 to 255");
    build_output out;
    std::string summary, error;
    if (!encode_wav_file(files[0], params, out, summary, error))
        return pak_tool_fail("sound", error);
    tool_chunk chunk;
    chunk.code = pak_code_samp;
    chunk.container = true;
    chunk.bytes = std::move(out.bytes);
    if (!write_chunk_file(files[1], chunk, 0, error))
        return pak_tool_fail("sound", error);
    std::printf("%s\n", summary.c_str());
    return 0;
}

int sound_decode(int argc, char** argv)
{
    if (argc != 2)
        return pak_tool_fail("sound",
                             "usage: sound decode SOURCE OUT.wav (SOURCE: FILE.SAMP.pkc or ARCHIVE:NAME)");
    tool_chunk chunk;
    std::string error;
    if (!load_chunk_source(argv[0], chunk, error))
        return pak_tool_fail("sound", error);
    if (chunk.code != pak_code_samp)
        return pak_tool_fail("sound", std::string("'") + argv[0] + "' is a " + pak_code_text(chunk.code) +
                                          " chunk, not SAMP");
    w_sample_data sample;
    if (!w_read_sample_chunk(chunk.bytes.data(), uint32_t(chunk.bytes.size()), sample))
        return pak_tool_fail("sound", std::string("'") + argv[0] + "' lacks its HEAD or DATA record");
    std::vector<int16_t> pcm;
    bool short_stream = false;
    if (!w_decode_sample(sample, pcm, short_stream, error))
        return pak_tool_fail("sound", std::string("'") + argv[0] + "': " + error);
    uint32_t frames = uint32_t(pcm.size() / 2);
    std::vector<uint8_t> wav = w_wav_bytes(pcm.data(), frames, 44100);
    if (!file_write_replacing(argv[1], wav.data(), wav.size()))
        return pak_tool_fail("sound", std::string("'") + argv[1] + "': cannot write");
    if (short_stream)
        std::fprintf(stderr,
                     "tamble-pak: sound: warning: '%s' ends before its %u frames; the rest is silence\n",
                     argv[0], unsigned(sample.frames()));
    std::printf("%u frames, %.2f s\n", unsigned(frames), frames / 44100.0);
    return 0;
}

}  // namespace

bool encode_wav_file(const std::string& path, const w_encode_params& params, build_output& out,
                     std::string& summary, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!read_whole_file(path, bytes, error))
        return false;
    w_pcm pcm;
    if (!w_read_wav(bytes.data(), bytes.size(), pcm, error)) {
        error = "'" + path + "': " + error;
        return false;
    }
    w_encoded_sample encoded;
    if (!w_encode_sample(pcm.samples.data(), pcm.frames(), params, encoded)) {
        error = "'" + path + "': bad encoder parameters";
        return false;
    }
    out.bytes = w_sample_chunk_bytes(encoded.frames, encoded.stream);
    out.container = true;
    out.level = 0;
    double seconds = pcm.frames() / 44100.0;
    char line[256];
    std::snprintf(line, sizeof line, "%u frames (%.2f s), block %d, step %d: %zu bytes, %.1f kbit/s",
                  unsigned(pcm.frames()), seconds, params.block_size, params.step, encoded.stream.size(),
                  seconds > 0 ? encoded.stream.size() * 8 / seconds / 1000 : 0.0);
    summary = line;
    if (pcm.source_channels == 1)
        summary += "\n  mono source: encoded as stereo";
    if (pcm.rate != 44100)
        summary += "\n  warning: the source is " + std::to_string(pcm.rate) +
                   " Hz; samples play at 44100 Hz (not resampled)";
    if (encoded.clamps)
        summary += "\n  CLAMP! " + std::to_string(encoded.clamps) + " coefficients clamped to level 127";
    return true;
}

bool read_sound_options(const std::string& wav_path, w_encode_params& out, std::string& error)
{
    out = w_encode_params{};
    std::string expected = "\"block N\" (a power of two from " + std::to_string(w_min_block_size) + " to " +
                           std::to_string(w_max_block_size) + ") or \"step Q\" (1..255)";
    return read_sidecar_options(
        wav_path, expected.c_str(),
        [&out](const std::vector<std::string>& words) {
            int v = 0;
            if (words.size() != 2 || !parse_int(words[1].c_str(), v))
                return false;
            if (words[0] == "block" && w_block_size_ok(v)) {
                out.block_size = v;
                return true;
            }
            if (words[0] == "step" && v >= 1 && v <= 255) {
                out.step = v;
                return true;
            }
            return false;
        },
        error);
}

bool convert_wav_source(const std::string& path, build_output& out, std::string& error)
{
    w_encode_params params;
    if (!read_sound_options(path, params, error))
        return false;
    std::string summary;
    return encode_wav_file(path, params, out, summary, error);
}

int cmd_sound(int argc, char** argv)
{
    if (argc >= 1 && !std::strcmp(argv[0], "encode"))
        return sound_encode(argc - 1, argv + 1);
    if (argc >= 1 && !std::strcmp(argv[0], "decode"))
        return sound_decode(argc - 1, argv + 1);
    return pak_tool_fail(
        "sound",
        "usage: sound encode IN.wav OUT.SAMP.pkc [--block N] [--step Q] | sound decode SOURCE OUT.wav");
}
