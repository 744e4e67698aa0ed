// Quantisation and the delta-coded frame writer and reader of replays.
#include "physics/replay_format.h"

#include "data/byte_order.h"

#include <cmath>
#include <limits>

namespace {

// trunc(v) limited to the int16 range; NaN records as 0 rather than as undefined behaviour.
int16_t clamp16(float v)
{
    if (!(v == v))
        return 0;
    float t = std::trunc(v);
    if (t <= -32768.0f)
        return -32768;
    if (t >= 32767.0f)
        return 32767;
    return static_cast<int16_t>(t);
}

// Little-endian element codecs, one per section kind.
void put(std::vector<uint8_t>& out, const replay_sound_q& e)
{
    append_le16(out, e.name);
    append_le16(out, static_cast<uint16_t>(e.volume));
}
void put(std::vector<uint8_t>& out, const replay_node_q& e)
{
    append_le16(out, static_cast<uint16_t>(e.x));
    append_le16(out, static_cast<uint16_t>(e.y));
}
void put(std::vector<uint8_t>& out, const replay_body_q& e)
{
    append_le16(out, static_cast<uint16_t>(e.x));
    append_le16(out, static_cast<uint16_t>(e.y));
    append_le16(out, e.angle);
}
void put(std::vector<uint8_t>& out, uint8_t e)
{
    out.push_back(e);
}

constexpr size_t size_of(const replay_sound_q*)
{
    return 4;
}
constexpr size_t size_of(const replay_node_q*)
{
    return 4;
}
constexpr size_t size_of(const replay_body_q*)
{
    return 6;
}
constexpr size_t size_of(const uint8_t*)
{
    return 1;
}

void get(const uint8_t* p, replay_sound_q& e)
{
    e.name = uint16_t(load_le16(p));
    e.volume = static_cast<int16_t>(uint16_t(load_le16(p + 2)));
}
void get(const uint8_t* p, replay_node_q& e)
{
    e.x = static_cast<int16_t>(uint16_t(load_le16(p)));
    e.y = static_cast<int16_t>(uint16_t(load_le16(p + 2)));
}
void get(const uint8_t* p, replay_body_q& e)
{
    e.x = static_cast<int16_t>(uint16_t(load_le16(p)));
    e.y = static_cast<int16_t>(uint16_t(load_le16(p + 2)));
    e.angle = uint16_t(load_le16(p + 4));
}
void get(const uint8_t* p, uint8_t& e)
{
    e = *p;
}

// Sound events are never taken as unchanged: each one is an event of its own.
bool same(const replay_sound_q&, const replay_sound_q&)
{
    return false;
}
template <class T>
bool same(const T& a, const T& b)
{
    return a == b;
}

template <class T>
void write_section(std::vector<uint8_t>& out, const std::vector<T>& cur, const std::vector<T>& prev)
{
    if (cur.empty())
        return;
    size_t mask_at = out.size();
    out.resize(out.size() + (cur.size() + 7) / 8, 0);
    for (size_t i = 0; i < cur.size(); ++i) {
        if (i < prev.size() && same(cur[i], prev[i]))
            out[mask_at + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
        else
            put(out, cur[i]);
    }
}

// The mask is read bit by bit from the data itself, so a section of any count is read
// without a buffer that a large count could overrun.
template <class T>
bool read_section(const uint8_t* data, size_t size, size_t& pos, size_t count, const std::vector<T>& prev,
                  std::vector<T>& out)
{
    out.assign(count, T{});
    if (count == 0)
        return true;
    size_t mask_bytes = (count + 7) / 8;
    if (size - pos < mask_bytes)
        return false;
    const uint8_t* mask = data + pos;
    pos += mask_bytes;
    constexpr size_t element = size_of(static_cast<const T*>(nullptr));
    for (size_t i = 0; i < count; ++i) {
        if (mask[i / 8] & (1u << (i % 8))) {
            if (i >= prev.size())
                return false;
            out[i] = prev[i];
            continue;
        }
        if (size - pos < element)
            return false;
        get(data + pos, out[i]);
        pos += element;
    }
    return true;
}

}  // namespace

void replay_frame::clear()
{
    sounds.clear();
    nodes.clear();
    bodies.clear();
    cuts.clear();
}

int16_t replay_quantise_volume(float volume)
{
    return clamp16(volume * 32767.0f);
}

int16_t replay_quantise_coord(float v)
{
    return clamp16(v * replay_coord_scale);
}

uint16_t replay_quantise_angle(float angle)
{
    float t = std::trunc(angle * replay_angle_scale);
    if (!std::isfinite(t))
        return 0;
    double turns = std::fmod(static_cast<double>(t), 65536.0);
    if (turns < 0)
        turns += 65536.0;
    return static_cast<uint16_t>(static_cast<uint32_t>(turns));
}

float replay_volume_of(int16_t q)
{
    return static_cast<float>(q) / 32768.0f;
}

float replay_coord_of(int16_t q)
{
    return static_cast<float>(q) / replay_coord_scale;
}

float replay_angle_of(uint16_t q)
{
    return static_cast<float>(q) / replay_angle_scale;
}

bool replay_write_frame(std::vector<uint8_t>& out, const replay_frame& cur, const replay_frame& prev)
{
    constexpr size_t limit = std::numeric_limits<uint16_t>::max();
    if (cur.sounds.size() > limit || cur.nodes.size() > limit || cur.bodies.size() > limit ||
        cur.cuts.size() > limit)
        return false;
    append_le16(out, replay_frame_marker);
    append_le16(out, static_cast<uint16_t>(cur.sounds.size()));
    append_le16(out, static_cast<uint16_t>(cur.nodes.size()));
    append_le16(out, static_cast<uint16_t>(cur.bodies.size()));
    append_le16(out, static_cast<uint16_t>(cur.cuts.size()));
    write_section(out, cur.sounds, prev.sounds);
    write_section(out, cur.nodes, prev.nodes);
    write_section(out, cur.bodies, prev.bodies);
    write_section(out, cur.cuts, prev.cuts);
    return true;
}

bool replay_read_frame(const uint8_t* data, size_t size, size_t& pos, const replay_frame& prev,
                       replay_frame& out)
{
    if (pos > size || size - pos < replay_frame_header_size)
        return false;
    const uint8_t* h = data + pos;
    if (uint16_t(load_le16(h)) != replay_frame_marker)
        return false;
    size_t sounds = uint16_t(load_le16(h + 2)), nodes = uint16_t(load_le16(h + 4)),
           bodies = uint16_t(load_le16(h + 6)), cuts = uint16_t(load_le16(h + 8));
    pos += replay_frame_header_size;
    return read_section(data, size, pos, sounds, prev.sounds, out.sounds) &&
           read_section(data, size, pos, nodes, prev.nodes, out.nodes) &&
           read_section(data, size, pos, bodies, prev.bodies, out.bodies) &&
           read_section(data, size, pos, cuts, prev.cuts, out.cuts);
}
