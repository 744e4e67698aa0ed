// The "SAMP" chunk object: a compressed sample that up to four voices play at once, each
// through its own stream (a decoder over the sample's data and a FIFO of decoded frames
// waiting to be mixed).
//
// Threads: the main thread opens and closes streams and fills them before a voice starts;
// while the voice plays, only the mixer thread reads and refills its stream. The mixer's
// voice states hand a stream from one thread to the other (see sound/mixer.h).
#pragma once

#include "data/pak_chunk.h"
#include "sound/codec/sample_chunk.h"
#include "sound/codec/sample_decoder.h"

#include <cstdint>
#include <memory>
#include <vector>

class pak_system;

// A fixed-capacity ring of interleaved int16 samples. It never allocates after `reserve`,
// so the mixer thread can fill and drain it.
class sample_fifo {
public:
    void reserve(size_t samples);
    void clear() { head = count = 0; }
    size_t size() const { return count; }
    size_t capacity() const { return ring.size(); }
    size_t room() const { return ring.size() - count; }
    // Appends at most room() samples; returns how many it took.
    size_t push(const int16_t* in, size_t n);
    // Takes at most size() samples; returns how many it gave.
    size_t pop(int16_t* out, size_t n);

private:
    std::vector<int16_t> ring;
    size_t head = 0;  // index of the oldest sample
    size_t count = 0;
};

// Frames a stream keeps decoded ahead of the mixer. The mixer tops every playing stream up
// to this after each pass, so a pass (512 frames on the device) never waits for the decoder,
// while a voice holds no more than this much decoded sound however long its sample is.
constexpr int32_t sample_ahead_frames = 4096;
// Frames decoded on the main thread when a voice starts: two device buffers, enough for
// the first passes, so starting a sound stays cheap; the mixer tops up the rest.
constexpr int32_t sample_start_frames = 1024;
// Frames the decoder produces per call while refilling.
constexpr int32_t sample_refill_piece = 256;

class w_sample : public pak_chunk {
public:
    using passive_bit_istream = bit_passive_istream;

    static constexpr int32_t stream_count = 4;

    // One playback cursor into the sample.
    struct sample_stream {
        bool open = false;  // claimed by a voice (the main thread's bookkeeping)
        std::unique_ptr<w_sample_decoder> decoder;
        passive_bit_istream reader;
        int32_t remaining = 0;  // frames not yet decoded
        sample_fifo fifo;
    };

    w_sample_data sample;  // head words and the "DATA" bit vector
    sample_stream streams[stream_count];

    // Reads the chunk's "HEAD" and "DATA" records; a chunk lacking either leaves the data
    // empty, and such a sample never opens a stream.
    explicit w_sample(ref_ptr<pak_chunkref> r);
    // The same from the chunk's bytes (tests, tools).
    w_sample(ref_ptr<pak_chunkref> r, const uint8_t* bytes, uint32_t size);

    uint32_t frames() const { return sample.frames(); }
    bool playable() const { return sample.data.length > 0; }

    // Claims a free stream and starts a decoder at the start of the data: the stream's
    // index, or -1 when all four are open, the data is empty or its header is damaged.
    int32_t open_stream();
    // Decodes until the stream's FIFO holds `frames` frames (at most its capacity), or
    // the sample is decoded to its end.
    void refill(int32_t index, int32_t frames);
    // Delivers up to `frames` frames: first from the FIFO, the rest decoded straight into
    // `out`. A looping stream that reaches its end restarts once in the call and fills
    // what is missing from the start; the result is the number of frames delivered.
    int32_t read(int32_t index, int32_t frames, int16_t* out, bool loop);
    // Frees the stream: its decoder is destroyed and its FIFO emptied.
    void close_stream(int32_t index);

private:
    bool valid(int32_t index) const;
    // A fresh reader and decoder at the start of the data; false when the header is damaged.
    bool restart(sample_stream& s);
    // The same for a looping stream at its end, reusing the stream's decoder: the mixer
    // thread wraps loops, and it must not allocate.
    bool rewind(sample_stream& s);
    // Decodes at most `frames` frames into `out`, limited to what remains; a stream whose
    // data ran out ends here (the damaged rest is not played).
    int32_t decode(sample_stream& s, int16_t* out, int32_t frames);
};

// Registers the "SAMP" creator, so that samples are made when their chunks are fetched.
void sound_register_creators(pak_system& pak);
