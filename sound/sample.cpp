// Samples and their streams: loading the chunk, opening decoders, topping FIFOs up, and
// reading with the single wrap of looping streams.
#include "sound/sample.h"

#include "app/log.h"
#include "data/pak_system.h"

#include <algorithm>

void sample_fifo::reserve(size_t samples)
{
    if (ring.size() != samples) {
        ring.assign(samples, 0);
        head = count = 0;
    }
}

size_t sample_fifo::push(const int16_t* in, size_t n)
{
    n = std::min(n, room());
    size_t tail = (head + count) % ring.size();
    size_t first = std::min(n, ring.size() - tail);
    std::copy(in, in + first, ring.begin() + std::ptrdiff_t(tail));
    std::copy(in + first, in + n, ring.begin());
    count += n;
    return n;
}

size_t sample_fifo::pop(int16_t* out, size_t n)
{
    n = std::min(n, count);
    if (n == 0)
        return 0;
    size_t first = std::min(n, ring.size() - head);
    std::copy(ring.begin() + std::ptrdiff_t(head), ring.begin() + std::ptrdiff_t(head + first), out);
    std::copy(ring.begin(), ring.begin() + std::ptrdiff_t(n - first), out + first);
    head = (head + n) % ring.size();
    count -= n;
    return n;
}

w_sample::w_sample(ref_ptr<pak_chunkref> r) : pak_chunk(std::move(r))
{
    pak_rawchunk bytes(ref);
    if (!w_read_sample_chunk(bytes.data, bytes.size, sample))
        log_line(log_problem) << "w_sample: '" << (ref ? ref->get_name() : "") << "' lacks its HEAD or DATA record";
}

w_sample::w_sample(ref_ptr<pak_chunkref> r, const uint8_t* bytes, uint32_t size) : pak_chunk(std::move(r))
{
    w_read_sample_chunk(bytes, size, sample);
}

bool w_sample::valid(int32_t index) const
{
    return index >= 0 && index < stream_count && streams[index].open && streams[index].decoder;
}

bool w_sample::restart(sample_stream& s)
{
    s.decoder.reset();
    s.reader = sample.reader();
    s.decoder = w_sample_decoder::create(&s.reader);
    s.remaining = s.decoder ? int32_t(std::min<uint32_t>(frames(), INT32_MAX)) : 0;
    return s.decoder != nullptr;
}

bool w_sample::rewind(sample_stream& s)
{
    s.reader = sample.reader();
    s.remaining = s.decoder->rewind() ? int32_t(std::min<uint32_t>(frames(), INT32_MAX)) : 0;
    return s.remaining > 0;
}

int32_t w_sample::open_stream()
{
    if (!playable())
        return -1;
    for (int32_t i = 0; i < stream_count; ++i) {
        sample_stream& s = streams[i];
        if (s.open)
            continue;
        if (!restart(s))
            return -1;  // the header is damaged: no stream will ever open
        s.open = true;
        s.fifo.reserve(size_t(2 * sample_ahead_frames));
        s.fifo.clear();
        return i;
    }
    return -1;
}

int32_t w_sample::decode(sample_stream& s, int16_t* out, int32_t frames)
{
    int32_t n = std::min(frames, s.remaining);
    if (n <= 0)
        return 0;
    s.decoder->decode(out, n);
    s.remaining -= n;
    // Data that ended early decodes to silence from the damaged block on; the stream
    // stops here instead of playing (or looping) that silence for the length HEAD claims.
    if (s.decoder->exhausted())
        s.remaining = -1;
    return n;
}

void w_sample::refill(int32_t index, int32_t frames)
{
    if (!valid(index))
        return;
    sample_stream& s = streams[index];
    size_t want = std::min(size_t(std::max(frames, 0)) * 2, s.fifo.capacity());
    int16_t piece[2 * sample_refill_piece];
    while (s.fifo.size() < want && s.remaining > 0) {
        int32_t n = int32_t(std::min<size_t>((want - s.fifo.size()) / 2, sample_refill_piece));
        int32_t got = decode(s, piece, n);
        s.fifo.push(piece, size_t(2 * got));
        if (got < n)
            break;
    }
}

int32_t w_sample::read(int32_t index, int32_t frames, int16_t* out, bool loop)
{
    if (!valid(index) || frames <= 0)
        return 0;
    sample_stream& s = streams[index];
    int32_t done = int32_t(s.fifo.pop(out, size_t(2 * frames)) / 2);
    done += decode(s, out + 2 * done, frames - done);
    // A damaged stream (remaining < 0) is not looped: its voice ends.
    if (done < frames && loop && s.remaining == 0 && rewind(s))
        done += decode(s, out + 2 * done, frames - done);
    return done;
}

void w_sample::close_stream(int32_t index)
{
    if (index < 0 || index >= stream_count)
        return;
    sample_stream& s = streams[index];
    s.decoder.reset();
    s.fifo.clear();
    s.remaining = 0;
    s.open = false;
}

void sound_register_creators(pak_system& pak)
{
    static pak_chunk_creator<w_sample> samples;
    pak.register_creator(pak_code_samp, &samples);
}
