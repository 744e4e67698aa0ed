// The default reading operations and the bit vector's seeking and writing.
#include "data/bit_stream.h"

uint32_t bit_istream::peek(int)
{
    return 0;
}

uint32_t bit_istream::peek_bit()
{
    return 0;
}

uint32_t bit_istream::read(int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n && i < 32; ++i)
        v |= (read_bit() & 1u) << i;
    return v;
}

bool bit_istream::at_end()
{
    return false;
}

bit_iovector::bit_iovector(const void* bytes, int32_t bits)
{
    if (bits <= 0 || !bytes)
        return;
    length = bits;
    words.assign((size_t(bits) + 31) / 32, 0);
    const uint8_t* b = static_cast<const uint8_t*>(bytes);
    size_t nbytes = (size_t(bits) + 7) / 8;
    for (size_t i = 0; i < nbytes; ++i)
        words[i >> 2] |= uint32_t(b[i]) << ((i & 3) * 8);
    // Keep the bits past the size zero, so reads there yield 0.
    if (bits & 31)
        words.back() &= (uint32_t(1) << (bits & 31)) - 1;
}

void bit_iovector::realign()
{
    // After a seek the position may sit inside a word: start the buffer there.
    int32_t drop = position & 31;
    position -= drop;
    ahead = position < length ? uint64_t(words[size_t(position) >> 5] >> drop) : 0;
    ahead_bits = uint32_t(32 - drop);
    position += 32;
}

void bit_iovector::seek(int32_t bit_position)
{
    position = (bit_position >= 0 && bit_position <= length) ? bit_position : length;
    ahead = 0;
    ahead_bits = 0;
    overrun = false;
}

void bit_iovector::write_bit(uint32_t bit)
{
    if (position < 0)
        position = 0;
    if (position >= length) {
        // Writing at (or, after a read without a seek, beyond) the end grows the
        // vector; any gap is filled with zero bits.
        length = position + 1;
        words.resize((size_t(length) + 31) / 32, 0);
    }
    uint32_t mask = uint32_t(1) << (position & 31);
    uint32_t& w = words[size_t(position) >> 5];
    w = (bit & 1) ? (w | mask) : (w & ~mask);
    ++position;
}

void bit_iovector::write(uint32_t value, int n)
{
    if (n > 32)
        n = 32;
    if (n <= 0)
        return;
    if (position < 0)
        position = 0;
    int64_t end = int64_t(position) + n;
    if (end > INT32_MAX)
        return;
    if (end > length) {
        length = int32_t(end);
        words.resize((size_t(length) + 31) / 32, 0);
    }
    // Same result as n calls of write_bit, a word piece at a time.
    while (n > 0) {
        int shift = position & 31;
        int take = 32 - shift < n ? 32 - shift : n;
        uint32_t mask = (take == 32 ? ~uint32_t(0) : ((uint32_t(1) << take) - 1)) << shift;
        uint32_t& w = words[size_t(position) >> 5];
        w = (w & ~mask) | ((value << shift) & mask);
        value = take == 32 ? 0 : value >> take;
        position += take;
        n -= take;
    }
}

std::vector<uint8_t> bit_iovector::bytes() const
{
    std::vector<uint8_t> out((size_t(length) + 7) / 8);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = uint8_t(words[i >> 2] >> ((i & 3) * 8));
    return out;
}

uint32_t bit_passive_istream::read_bit()
{
    if (word >= end) {
        overrun = true;
        return 0;
    }
    uint32_t b = (*word >> index) & 1;
    if (++index == 32) {
        index = 0;
        ++word;
    }
    return b;
}
