// Bit-level streams: abstract readers, writers and seekable streams, the growable
// in-memory bit vector and the passive word reader used by the sample class.
//
// Bits are numbered from the least significant bit of each little-endian 32-bit
// word, and multi-bit values are assembled least significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reading side. `read(n)` calls `read_bit()` n times unless a stream does better;
// n is at most 31 (callers never ask for 32 bits at once).
class bit_istream {
public:
    virtual uint32_t peek(int n);
    virtual uint32_t peek_bit();
    virtual uint32_t read(int n);
    virtual uint32_t read_bit() = 0;
    virtual bool at_end();

    virtual ~bit_istream() = default;
};

// Writing side: the n low bits of a value, least significant first.
class bit_ostream {
public:
    virtual void write(uint32_t value, int n) = 0;
    virtual void write_bit(uint32_t bit) = 0;

    virtual ~bit_ostream() = default;
};

class bit_iostream : public bit_istream, public bit_ostream {};

// A stream with one bit position shared by reading and writing.
class bit_seek_stream : public bit_iostream {
public:
    virtual void seek(int32_t bit_position) = 0;
    virtual int32_t tell() = 0;
    virtual int32_t size() = 0;
};

// A growable bit vector that can be read, written and repositioned.
//
// Reads go through a 64-bit read-ahead buffer filled a word at a time, so a
// multi-bit read is one masked shift. Reads past the size return 0 bits, never
// touch memory beyond the words, and set `overrun` (sticky until the next seek),
// so a decoder checks once at the end instead of after every read.
//
// Reading and writing share the position; call `seek` when switching from one to
// the other so that the read-ahead buffer is emptied (writes do not touch it).
//
// Invariant: words.size() == (length + 31) / 32, and bits at or beyond `length`
// in the last word are 0.
class bit_iovector final : public bit_seek_stream {
public:
    std::vector<uint32_t> words;
    int32_t position = 0;     // in bits; for reading, the end of what is buffered
    int32_t length = 0;       // size in bits
    uint64_t ahead = 0;       // read-ahead buffer, next bit in bit 0
    uint32_t ahead_bits = 0;  // valid bits in `ahead`
    bool overrun = false;     // a read went past the size since the last seek

    bit_iovector() = default;
    // Copies the first (bits + 7) / 8 bytes; the stream reads them in memory order,
    // each byte's low bit first. A negative size gives an empty vector.
    bit_iovector(const void* bytes, int32_t bits);

    uint32_t peek(int n) override
    {
        if (n <= 0)
            return 0;
        fill(n);
        return uint32_t(ahead & ((uint64_t(1) << n) - 1));
    }
    uint32_t peek_bit() override { return peek(1); }
    uint32_t read(int n) override
    {
        if (n <= 0)
            return 0;
        fill(n);
        uint32_t v = uint32_t(ahead & ((uint64_t(1) << n) - 1));
        ahead >>= n;
        ahead_bits -= uint32_t(n);
        if (position - int32_t(ahead_bits) > length)
            overrun = true;
        return v;
    }
    uint32_t read_bit() override { return read(1); }
    bool at_end() override { return tell() >= length; }

    void seek(int32_t bit_position) override;
    // The next bit a read would return; never beyond the size.
    int32_t tell() override
    {
        int32_t t = position - int32_t(ahead_bits);
        return t < length ? t : length;
    }
    int32_t size() override { return length; }

    void write(uint32_t value, int n) override;
    void write_bit(uint32_t bit) override;

    // The stream's bytes in memory order, (size + 7) / 8 of them.
    std::vector<uint8_t> bytes() const;

private:
    // Makes at least n (1..31) bits available in `ahead`.
    void fill(int n)
    {
        if (ahead_bits >= uint32_t(n))
            return;
        if ((position & 31) != 0)
            realign();
        while (ahead_bits < uint32_t(n)) {
            // Beyond the last word the stream yields zeros without reading memory.
            if (position >= 0 && position < length) {
                ahead |= uint64_t(words[size_t(position) >> 5]) << ahead_bits;
                position += 32;
            } else if (int64_t(position) < int64_t(length) + 96) {
                position += 32;
            }
            // Far past the end the position stays put (no overflow however long a
            // reader goes on); it is still beyond the size, so `overrun` holds.
            ahead_bits += 32;
        }
    }
    void realign();
};

// The minimal word reader that `w_sample` nests as its passive bit reader: it walks
// 32-bit words owned by someone else, one bit at a time, bit 0 of each word first.
// Only `read_bit` is its own; the other reading operations are the defaults.
// It is bounded by a word count: past the last word it returns 0 bits and sets
// `overrun` instead of reading beyond the memory.
class bit_passive_istream : public bit_istream {
public:
    const uint32_t* word = nullptr;  // the current word
    const uint32_t* end = nullptr;   // one past the last word
    int index = 0;                   // next bit (0..31) in the current word
    bool overrun = false;

    bit_passive_istream() = default;
    bit_passive_istream(const uint32_t* words, size_t word_count) : word(words), end(words + word_count) {}

    uint32_t read_bit() override;
};
