// Parsing and writing RIFF WAVE files. Every size is checked against the bytes that
// are there before anything is read.
#include "sound/codec/wav_file.h"
#include "data/byte_order.h"

#include <cmath>
#include <cstring>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr uint32_t format_pcm = 1;
constexpr uint32_t format_float = 3;
constexpr uint32_t format_extensible = 0xFFFE;

int16_t sample_at(const uint8_t* p, uint32_t format, uint32_t bits)
{
    if (format == format_float) {
        uint32_t u = load_le32(p);
        float f;
        std::memcpy(&f, &u, 4);
        if (!(f > -1.0f))
            f = f != f ? 0.0f : -1.0f;
        if (f > 1.0f)
            f = 1.0f;
        return int16_t(std::lround(f * 32767.0f));
    }
    switch (bits) {
    case 8:
        return int16_t((int32_t(p[0]) - 128) * 256);
    case 16:
        return int16_t(load_le16(p));
    case 24:
        return int16_t(load_le16(p + 1));
    default:
        return int16_t(load_le16(p + 2));
    }
}

}  // namespace

bool w_read_wav(const uint8_t* bytes, size_t size, w_pcm& out, std::string& error)
{
    out = w_pcm{};
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) || std::memcmp(bytes + 8, "WAVE", 4)) {
        error = "not a RIFF WAVE file";
        return false;
    }
    const uint8_t* fmt = nullptr;
    const uint8_t* data = nullptr;
    size_t fmt_size = 0, data_size = 0;
    size_t at = 12;
    while (at + 8 <= size) {
        size_t length = load_le32(bytes + at + 4);
        size_t body = at + 8;
        size_t room = size - body;
        if (!std::memcmp(bytes + at, "fmt ", 4) && !fmt) {
            fmt = bytes + body;
            fmt_size = length < room ? length : room;
        } else if (!std::memcmp(bytes + at, "data", 4) && !data) {
            // A truncated file keeps the samples that are there.
            data = bytes + body;
            data_size = length < room ? length : room;
        }
        if (length >= room)
            break;
        at = body + length + (length & 1);
    }
    if (!fmt || fmt_size < 16) {
        error = "no format record";
        return false;
    }
    if (!data) {
        error = "no data record";
        return false;
    }
    uint32_t format = load_le16(fmt);
    uint32_t channels = load_le16(fmt + 2);
    uint32_t rate = load_le32(fmt + 4);
    uint32_t align = load_le16(fmt + 12);
    uint32_t bits = load_le16(fmt + 14);
    if (format == format_extensible) {
        if (fmt_size < 26) {
            error = "short extensible format record";
            return false;
        }
        format = load_le16(fmt + 24);  // the first two bytes of the sub-format GUID
    }
    if (channels < 1 || channels > 2) {
        error = "only mono and stereo are supported (" + std::to_string(channels) + " channels)";
        return false;
    }
    bool integer = format == format_pcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    bool floating = format == format_float && bits == 32;
    if (!integer && !floating) {
        error =
            "unsupported sample format " + std::to_string(format) + " with " + std::to_string(bits) + " bits";
        return false;
    }
    if (rate == 0) {
        error = "sample rate 0";
        return false;
    }
    uint32_t bytes_per_sample = bits / 8;
    if (align != bytes_per_sample * channels) {
        error = "block alignment does not match the format";
        return false;
    }
    size_t frames = data_size / align;
    if (frames > UINT32_MAX / 2) {
        error = "too many frames";
        return false;
    }
    out.rate = rate;
    out.source_channels = channels;
    out.samples.resize(frames * 2);
    for (size_t f = 0; f < frames; ++f) {
        const uint8_t* p = data + f * align;
        int16_t l = sample_at(p, format, bits);
        int16_t r = channels == 2 ? sample_at(p + bytes_per_sample, format, bits) : l;
        out.samples[2 * f] = l;
        out.samples[2 * f + 1] = r;
    }
    return true;
}

std::vector<uint8_t> w_wav_bytes(const int16_t* pcm, uint32_t frames, uint32_t rate)
{
    uint32_t data_bytes = frames * 4;
    std::vector<uint8_t> out;
    out.reserve(44 + size_t(data_bytes));
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + data_bytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, format_pcm);
    put16(out, 2);
    put32(out, rate);
    put32(out, rate * 4);
    put16(out, 4);
    put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, data_bytes);
    for (size_t i = 0; i < size_t(frames) * 2; ++i)
        put16(out, uint16_t(pcm[i]));
    return out;
}
