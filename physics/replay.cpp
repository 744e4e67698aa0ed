// The replay recorder and player: keyframe timing, the name table, save and load,
// interpolation between keyframes.
#include "physics/replay.h"

#include "data/pak_store.h"

void v_replay::init()
{
    phase = 0;
    ended_flag = false;
    read_pos = 0;
    names.clear();
    name_index.clear();
    current.clear();
    previous.clear();
    stream.clear();
    overflowed = false;
    frames = 0;
    recording = false;
    has_expected = false;
    expected = {};
}

void v_replay::record_node(vec2 position)
{
    if (phase == 0)
        current.nodes.push_back({replay_quantise_coord(position.x), replay_quantise_coord(position.y)});
}

void v_replay::record_body(vec2 position, float angle)
{
    if (phase == 0)
        current.bodies.push_back({replay_quantise_coord(position.x), replay_quantise_coord(position.y),
                                  replay_quantise_angle(angle)});
}

void v_replay::record_cut(bool cut)
{
    if (phase == 0)
        current.cuts.push_back(cut ? 1 : 0);
}

void v_replay::record_sound(const char* name, float volume)
{
    if (!name || !recording)
        return;
    // Indices and counts are 16 bits wide: sounds beyond them are not recorded.
    if (current.sounds.size() >= 0xFFFF)
        return;
    auto found = name_index.find(name);
    uint16_t index;
    if (found != name_index.end()) {
        index = found->second;
    } else {
        if (names.size() > 0xFFFF)
            return;
        index = static_cast<uint16_t>(names.size());
        names.emplace_back(name);
        name_index.emplace(names.back(), index);
    }
    current.sounds.push_back({index, replay_quantise_volume(volume)});
}

// Keyframes on recording steps 1, 10, 19, ...: every 9 steps (see replay.h for why
// playback takes 10 per keyframe).
void v_replay::end_step()
{
    if (phase != 0) {
        phase += 1;
        if (phase == 9)
            phase = 0;
        return;
    }
    phase = 1;
    if (replay_write_frame(stream, current, previous))
        ++frames;
    else
        overflowed = true;
    previous = std::move(current);
    current.clear();
}

std::vector<uint8_t> v_replay::chunk_bytes() const
{
    std::vector<uint8_t> out;
    for (const std::string& n : names)
        out.insert(out.end(), n.c_str(), n.c_str() + n.size() + 1);
    out.push_back(0);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

bool v_replay::save(const char* path) const
{
    if (stream.empty() || overflowed)
        return false;
    // A stored chunk file, so the directory store and the archive builder take the file
    // beside the level as the level's "RPLY" chunk. It is written beside the old file and
    // renamed over it: a save that fails leaves the previous replay as it was.
    std::vector<uint8_t> bytes = chunk_bytes();
    return bytes.size() <= pak_max_chunk_size &&
           pak_write_chunk_file(path, false, 0, bytes.data(), uint32_t(bytes.size()));
}

bool v_replay::load(const uint8_t* data, size_t size, const v_replay_counts* counts)
{
    ended_flag = false;
    stream.assign(data, data + size);
    names.clear();
    name_index.clear();
    current.clear();
    previous.clear();
    frames = 0;
    has_expected = counts != nullptr;
    expected = counts ? *counts : v_replay_counts{};

    size_t pos = 0;
    for (;;) {
        size_t end = pos;
        while (end < stream.size() && stream[end] != 0)
            ++end;
        if (end >= stream.size()) {
            // The name table never ended: no frame can follow.
            ended_flag = true;
            return false;
        }
        if (end == pos)
            break;
        std::string name(reinterpret_cast<const char*>(stream.data() + pos), end - pos);
        if (!name_index.count(name) && names.size() <= 0xFFFF) {
            name_index.emplace(name, static_cast<uint16_t>(names.size()));
        }
        names.push_back(std::move(name));
        pos = end + 1;
    }
    if (pos + 1 > 0xFFFFFFFFu) {
        ended_flag = true;
        return false;
    }
    read_pos = static_cast<uint32_t>(pos + 1);

    phase = 9;
    if (!advance()) {
        ended_flag = true;
        return false;
    }
    phase = 9;
    return advance();
}

bool v_replay::read_next_frame()
{
    size_t pos = read_pos;
    replay_frame next;
    if (!replay_read_frame(stream.data(), stream.size(), pos, current, next))
        return false;
    if (has_expected && (next.nodes.size() != expected.nodes || next.bodies.size() != expected.bodies ||
                         next.cuts.size() != expected.cuts))
        return false;
    read_pos = static_cast<uint32_t>(pos);
    previous = std::move(current);
    current = std::move(next);
    ++frames;
    if (play_sound) {
        for (const replay_sound_q& s : current.sounds)
            if (s.name < names.size())
                play_sound(names[s.name].c_str(), replay_volume_of(s.volume));
    }
    return true;
}

// Ten calls per keyframe: phases 1 to 9 interpolate, the call after phase 9 reads the
// next frame.
bool v_replay::advance()
{
    if (phase != 9) {
        phase += 1;
        return true;
    }
    phase = 0;
    if (ended_flag || !read_next_frame()) {
        // Hold the newest frame: the world goes on showing where the recording ended
        // instead of snapping back to the older keyframe.
        phase = 9;
        ended_flag = true;
        return false;
    }
    return true;
}

vec2 v_replay::node(size_t i) const
{
    if (i >= current.nodes.size())
        return vec2{0.0f, 0.0f};
    const replay_node_q& b = current.nodes[i];
    const replay_node_q& a = i < previous.nodes.size() ? previous.nodes[i] : b;
    float f = static_cast<float>(phase) / 9.0f;
    return vec2{replay_coord_of(a.x) * (1.0f - f) + replay_coord_of(b.x) * f,
                replay_coord_of(a.y) * (1.0f - f) + replay_coord_of(b.y) * f};
}

void v_replay::body(size_t i, vec2& position, float& angle) const
{
    if (i >= current.bodies.size()) {
        position = vec2{0.0f, 0.0f};
        angle = 0.0f;
        return;
    }
    const replay_body_q& b = current.bodies[i];
    const replay_body_q& a = i < previous.bodies.size() ? previous.bodies[i] : b;
    float f = static_cast<float>(phase) / 9.0f;
    position = vec2{replay_coord_of(a.x) * (1.0f - f) + replay_coord_of(b.x) * f,
                    replay_coord_of(a.y) * (1.0f - f) + replay_coord_of(b.y) * f};
    // Unwrap across the seam of the 16-bit angle so the body turns the short way.
    float older = replay_angle_of(a.angle), newer = replay_angle_of(b.angle);
    if (older - newer > 3.14159f)
        newer += 6.28318f;
    else if (newer - older > 3.14159f)
        older += 6.28318f;
    angle = older * (1.0f - f) + newer * f;
}

bool v_replay::cut(size_t i) const
{
    return i < current.cuts.size() && (current.cuts[i] & 1) != 0;
}

v_replay& v_replay_global()
{
    static v_replay replay;
    return replay;
}

bool v_replay_read_file(const char* path, std::vector<uint8_t>& out)
{
    return pak_read_chunk_file(path, out);
}
