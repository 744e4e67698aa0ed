// The sample codec against Ogg Vorbis and Opus on one 30-second stereo test signal:
// for each codec and setting, the bitrate, the SNR of the decoded signal against the
// source, and decoding speed as a multiple of real time (one thread). Each peer is
// encoded at the bitrate one of our settings reaches, so rows compare like for like.
//
// Counters: kbps (of the coded stream), snr_db, realtime (seconds of audio decoded
// per second of CPU time). A summary table follows the benchmark output.
#include "sound/codec/sample_decoder.h"
#include "sound/codec/sample_encoder.h"
#include "tests/sound/test_signal.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#ifdef TAMBLE_HAVE_PEER_CODECS
#include <ogg/ogg.h>
#include <opus.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#endif

namespace {

constexpr double seconds = 30.0;

struct row {
    std::string name;
    double kbps = 0;
    double snr = 0;
    double realtime = 0;
};
std::map<std::string, row> rows;

const std::vector<int16_t>& source(int rate)
{
    static std::map<int, std::vector<int16_t>> cache;
    auto it = cache.find(rate);
    if (it == cache.end())
        it = cache.emplace(rate, make_test_signal(seconds, rate)).first;
    return it->second;
}

double cpu_now()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

void report(benchmark::State& state, const std::string& name, double kbps, double snr, double cpu)
{
    state.counters["kbps"] = kbps;
    state.counters["snr_db"] = snr;
    state.counters["realtime"] =
        benchmark::Counter(seconds * double(state.iterations()), benchmark::Counter::kIsRate);
    row& r = rows[name];
    r.name = name;
    r.kbps = kbps;
    r.snr = snr;
    if (cpu > 0)
        r.realtime = seconds * double(state.iterations()) / cpu;
}

// Ours: the stream is decoded the way the mixer asks for it, 256 frames at a time.
struct ours {
    w_encoded_sample encoded;
    bit_iovector data;
};

ours& ours_at(int block, int step)
{
    static std::map<std::pair<int, int>, ours> cache;
    auto key = std::make_pair(block, step);
    auto it = cache.find(key);
    if (it == cache.end()) {
        const std::vector<int16_t>& pcm = source(test_signal_rate);
        ours o;
        w_encode_params p;
        p.block_size = block;
        p.step = step;
        w_encode_sample(pcm.data(), uint32_t(pcm.size() / 2), p, o.encoded);
        o.data = bit_iovector(o.encoded.stream.data(), int32_t(o.encoded.stream.size() * 8));
        it = cache.emplace(key, std::move(o)).first;
    }
    return it->second;
}

void decode_ours(const ours& o, std::vector<int16_t>& out)
{
    out.resize(size_t(o.encoded.frames) * 2);
    bit_passive_istream reader(o.data.words.data(), o.data.words.size());
    std::unique_ptr<w_sample_decoder> d = w_sample_decoder::create(&reader);
    for (uint32_t done = 0; done < o.encoded.frames;) {
        int piece = o.encoded.frames - done < 256 ? int(o.encoded.frames - done) : 256;
        d->decode(out.data() + 2 * size_t(done), piece);
        done += uint32_t(piece);
    }
}

double ours_kbps(int block, int step)
{
    return ours_at(block, step).encoded.stream.size() * 8.0 / seconds / 1000.0;
}

void bm_ours(benchmark::State& state, int block, int step)
{
    const ours& o = ours_at(block, step);
    std::vector<int16_t> out;
    double start = cpu_now();
    for (auto _ : state) {
        decode_ours(o, out);
        benchmark::DoNotOptimize(out.data());
    }
    const std::vector<int16_t>& pcm = source(test_signal_rate);
    report(state, "tamble N=" + std::to_string(block) + " q=" + std::to_string(step), ours_kbps(block, step),
           signal_to_noise(pcm.data(), out.data(), pcm.size() / 2), cpu_now() - start);
}

#ifdef TAMBLE_HAVE_PEER_CODECS

int16_t to16(float v)
{
    int i = int(v * 32768.0f + (v >= 0 ? 0.5f : -0.5f));
    return int16_t(i > 32767 ? 32767 : i < -32768 ? -32768 : i);
}

// Ogg Vorbis in average-bitrate mode, whole Ogg stream in memory.
std::vector<uint8_t> vorbis_encode(const std::vector<int16_t>& pcm, int kbps)
{
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init(&vi, 2, test_signal_rate, -1, kbps * 1000, -1) != 0)
        return out;
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    ogg_packet h0, h1, h2, op;
    ogg_page og;
    vorbis_analysis_headerout(&vd, &vc, &h0, &h1, &h2);
    ogg_stream_packetin(&os, &h0);
    ogg_stream_packetin(&os, &h1);
    ogg_stream_packetin(&os, &h2);
    auto page = [&]() {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    while (ogg_stream_flush(&os, &og))
        page();
    size_t frames = pcm.size() / 2;
    for (size_t at = 0;; at += 1024) {
        size_t n = at < frames ? std::min<size_t>(1024, frames - at) : 0;
        if (n) {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i) {
                buf[0][i] = pcm[2 * (at + i)] / 32768.0f;
                buf[1][i] = pcm[2 * (at + i) + 1] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&vd, int(n));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og))
                    page();
            }
        }
        if (!n)
            break;
    }
    while (ogg_stream_flush(&os, &og))
        page();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

void vorbis_decode(const std::vector<uint8_t>& ogg, std::vector<int16_t>& out)
{
    out.clear();
    ogg_sync_state oy;
    ogg_sync_init(&oy);
    char* buf = ogg_sync_buffer(&oy, long(ogg.size()));
    std::memcpy(buf, ogg.data(), ogg.size());
    ogg_sync_wrote(&oy, long(ogg.size()));
    ogg_stream_state os;
    bool stream = false;
    vorbis_info vi;
    vorbis_comment vc;
    vorbis_info_init(&vi);
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    int headers = 0;
    ogg_page og;
    ogg_packet op;
    while (ogg_sync_pageout(&oy, &og) == 1) {
        if (!stream) {
            ogg_stream_init(&os, ogg_page_serialno(&og));
            stream = true;
        }
        ogg_stream_pagein(&os, &og);
        while (ogg_stream_packetout(&os, &op) == 1) {
            if (headers < 3) {
                vorbis_synthesis_headerin(&vi, &vc, &op);
                if (++headers == 3) {
                    vorbis_synthesis_init(&vd, &vi);
                    vorbis_block_init(&vd, &vb);
                }
                continue;
            }
            if (vorbis_synthesis(&vb, &op) == 0)
                vorbis_synthesis_blockin(&vd, &vb);
            float** pcm;
            int n;
            while ((n = vorbis_synthesis_pcmout(&vd, &pcm)) > 0) {
                size_t at = out.size();
                out.resize(at + 2 * size_t(n));
                for (int i = 0; i < n; ++i) {
                    out[at + 2 * size_t(i)] = to16(pcm[0][i]);
                    out[at + 2 * size_t(i) + 1] = to16(pcm[1][i]);
                }
                vorbis_synthesis_read(&vd, n);
            }
        }
    }
    if (headers == 3) {
        vorbis_block_clear(&vb);
        vorbis_dsp_clear(&vd);
    }
    if (stream)
        ogg_stream_clear(&os);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    ogg_sync_clear(&oy);
}

void bm_vorbis(benchmark::State& state, int kbps)
{
    const std::vector<int16_t>& pcm = source(test_signal_rate);
    std::vector<uint8_t> ogg = vorbis_encode(pcm, kbps);
    std::vector<int16_t> out;
    double start = cpu_now();
    for (auto _ : state) {
        vorbis_decode(ogg, out);
        benchmark::DoNotOptimize(out.data());
    }
    size_t frames = std::min(out.size(), pcm.size()) / 2;
    report(state, "vorbis " + std::to_string(kbps) + "k", ogg.size() * 8.0 / seconds / 1000.0,
           signal_to_noise(pcm.data(), out.data(), frames), cpu_now() - start);
}

// Opus takes 48 kHz, so it codes the same music generated at that rate; packets are
// kept with their lengths, 20 ms each.
constexpr int opus_rate = 48000;
constexpr int opus_frame = 960;

struct opus_stream {
    std::vector<std::vector<uint8_t>> packets;
    int lookahead = 0;
    size_t bytes = 0;
};

opus_stream opus_encode(const std::vector<int16_t>& pcm, int kbps)
{
    opus_stream s;
    int err = 0;
    OpusEncoder* enc = opus_encoder_create(opus_rate, 2, OPUS_APPLICATION_AUDIO, &err);
    if (!enc)
        return s;
    opus_encoder_ctl(enc, OPUS_SET_BITRATE(kbps * 1000));
    opus_encoder_ctl(enc, OPUS_SET_COMPLEXITY(10));
    opus_encoder_ctl(enc, OPUS_GET_LOOKAHEAD(&s.lookahead));
    size_t frames = pcm.size() / 2;
    std::vector<int16_t> frame(2 * opus_frame);
    uint8_t packet[4000];
    // Past the end the encoder is fed silence until the lookahead has come out.
    for (size_t at = 0; at < frames + size_t(s.lookahead); at += opus_frame) {
        for (int i = 0; i < 2 * opus_frame; ++i) {
            size_t k = 2 * at + size_t(i);
            frame[size_t(i)] = k < pcm.size() ? pcm[k] : 0;
        }
        int n = opus_encode(enc, frame.data(), opus_frame, packet, sizeof packet);
        if (n < 0)
            break;
        s.packets.emplace_back(packet, packet + n);
        s.bytes += size_t(n);
    }
    opus_encoder_destroy(enc);
    return s;
}

void opus_decode_all(const opus_stream& s, std::vector<int16_t>& out)
{
    int err = 0;
    OpusDecoder* dec = opus_decoder_create(opus_rate, 2, &err);
    out.resize(s.packets.size() * 2 * opus_frame);
    size_t at = 0;
    for (const std::vector<uint8_t>& p : s.packets) {
        int n = opus_decode(dec, p.data(), opus_int32(p.size()), out.data() + at, opus_frame, 0);
        if (n > 0)
            at += 2 * size_t(n);
    }
    out.resize(at);
    opus_decoder_destroy(dec);
}

void bm_opus(benchmark::State& state, int kbps)
{
    const std::vector<int16_t>& pcm = source(opus_rate);
    opus_stream s = opus_encode(pcm, kbps);
    std::vector<int16_t> out;
    double start = cpu_now();
    for (auto _ : state) {
        opus_decode_all(s, out);
        benchmark::DoNotOptimize(out.data());
    }
    size_t skip = 2 * size_t(s.lookahead);
    size_t frames = out.size() > skip ? std::min(out.size() - skip, pcm.size()) / 2 : 0;
    report(state, "opus " + std::to_string(kbps) + "k", s.bytes * 8.0 / seconds / 1000.0,
           signal_to_noise(pcm.data(), out.data() + skip, frames), cpu_now() - start);
}

#endif

// Our settings: the default (512, 28) and two around it.
const std::pair<int, int> settings[] = {{512, 28}, {256, 30}, {1024, 30}};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (auto [block, step] : settings) {
        std::string name = "tamble/N" + std::to_string(block) + "_q" + std::to_string(step);
        benchmark::RegisterBenchmark(name.c_str(), [block = block, step = step](benchmark::State& s) {
            bm_ours(s, block, step);
        })->Unit(benchmark::kMillisecond);
#ifdef TAMBLE_HAVE_PEER_CODECS
        int kbps = int(ours_kbps(block, step) + 0.5);
        benchmark::RegisterBenchmark(("vorbis/" + std::to_string(kbps) + "k").c_str(),
                                     [kbps](benchmark::State& s) { bm_vorbis(s, kbps); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("opus/" + std::to_string(kbps) + "k").c_str(),
                                     [kbps](benchmark::State& s) { bm_opus(s, kbps); })
            ->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-22s %10s %10s %12s\n", "codec", "kbit/s", "SNR dB", "x realtime");
    for (auto& [key, r] : rows)
        std::printf("%-22s %10.1f %10.2f %12.0f\n", r.name.c_str(), r.kbps, r.snr, r.realtime);
    return 0;
}
