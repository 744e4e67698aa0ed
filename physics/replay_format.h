// The byte format of recorded replays: quantised elements and the delta-coded frames.
// Nothing here knows the world; the recorder and player of replay.h drive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Marker that opens every frame.
constexpr uint16_t replay_frame_marker = 0xAAAA;
// Header: marker and the four element counts, two bytes each.
constexpr size_t replay_frame_header_size = 10;
// Scale of a recorded coordinate (1/64 unit) and of an angle (65536 steps per turn).
constexpr float replay_coord_scale = 64.0f;
constexpr float replay_angle_scale = 10430.378f;

struct replay_sound_q {
    uint16_t name = 0;   // index into the replay's name table
    int16_t volume = 0;  // volume * 32767
};

struct replay_node_q {
    int16_t x = 0, y = 0;
    bool operator==(const replay_node_q&) const = default;
};

struct replay_body_q {
    int16_t x = 0, y = 0;
    uint16_t angle = 0;
    bool operator==(const replay_body_q&) const = default;
};

// One keyframe: the four element arrays in file order.
struct replay_frame {
    std::vector<replay_sound_q> sounds;
    std::vector<replay_node_q> nodes;
    std::vector<replay_body_q> bodies;
    std::vector<uint8_t> cuts;

    void clear();
};

int16_t replay_quantise_volume(float volume);
int16_t replay_quantise_coord(float v);
// Kept modulo one turn, so 2*pi + 0.1 and 0.1 give the same value.
uint16_t replay_quantise_angle(float angle);
float replay_volume_of(int16_t q);
float replay_coord_of(int16_t q);
float replay_angle_of(uint16_t q);

// Appends `cur` to `out` as one frame, each section masked against the same section of
// `prev`. Sections longer than 65535 elements cannot be written: the call then writes
// nothing and returns false.
bool replay_write_frame(std::vector<uint8_t>& out, const replay_frame& cur, const replay_frame& prev);

// Reads the frame at `pos` of data[0, size) into `out`; elements whose mask bit is set
// take the value of `prev`. On success `pos` moves past the frame. A frame that is cut
// short, lacks the marker, or marks an element as unchanged that `prev` does not have
// gives false, with `pos` and `out` unspecified.
bool replay_read_frame(const uint8_t* data, size_t size, size_t& pos, const replay_frame& prev,
                       replay_frame& out);
