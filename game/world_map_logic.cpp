// World map: availability, hover, popup, difficulty and the zoom.
#include "game/world_map_logic.h"

#include "app/input_codes.h"
#include "app/step.h"
#include "data/asset_names.h"
#include "game/hit_test.h"
#include "game/hud_state.h"
#include "game/profile.h"
#include "game/world_data.h"

#include <algorithm>
#include <cmath>

namespace {

std::string text_of(const script_handle& node)
{
    return script_text_or_empty(node);
}

void fill_tiles(map_level& level, const script_handle& data)
{
    script_handle rune = data.get("rune");
    if (rune.exists()) {
        script_handle rune_world = world_node(rune.as_int());
        level.tiles[1] = text_of(rune_world.get("rune_tile1"));
        level.tiles[2] = level.tiles[3] = text_of(rune_world.get("rune_tile2"));
    } else {
        level.tiles[1] = tex_ui_tile_available;
        level.tiles[2] = level.tiles[3] = tex_ui_tile_completed;
    }
    level.tiles[0] = tex_ui_tile_unavailable;
}

}  // namespace

std::vector<map_level> map_levels(int32_t slot, int32_t world)
{
    script_handle world_data = world_node(world);
    int32_t count = world_level_count(world);
    int32_t runes = profile_runes(slot);
    std::vector<map_level> levels(size_t(std::max(count, 0)));
    std::vector<int32_t> stored(levels.size(), 0);

    for (int32_t i = 0; i < count; ++i) {
        script_handle data = world_data.get(script_id(i));
        map_level& level = levels[size_t(i)];
        level.x = float(data.get("x").as_real());
        level.y = float(data.get("y").as_real());
        if (!profile_level_state(slot, world, i, stored[size_t(i)]))
            level.state = data.get("state").as_int();
        else
            level.state = stored[size_t(i)];
        script_handle rune = data.get("rune");
        if (rune.exists() && level.state == 0) {
            int32_t r = rune.as_int();
            if (r >= 0 && r < 32 && (runes >> r & 1))
                level.state = level_available;
        }
        level.title = text_of(data.get("title"));
        level.difficulty = data.get("difficulty").as_int();
        int32_t trophy = data.get("trophy").as_int();
        if (trophy == 1 || trophy == 2)
            level.trophy_icon = text_of(world_data.get(trophy == 1 ? "trophy1" : "trophy2").get("tex_icon"));
        level.level_name = text_of(data.get("level"));
        fill_tiles(level, data);
    }

    for (int32_t i = 0; i < count; ++i) {
        script_handle data = world_data.get(script_id(i));
        if (stored[size_t(i)] & level_solved) {
            for (int32_t n = 0; n < script_first_name_id; ++n) {
                script_handle successor = data.get(script_id(n));
                if (!successor.exists())
                    break;
                int32_t k = successor.as_int();
                if (k >= 0 && k < count && levels[size_t(k)].state == 0)
                    levels[size_t(k)].state = level_available;
            }
        }
        const map_level& solved = levels[size_t(i)];
        if (!(solved.state & level_solved))
            continue;
        for (map_level& other : levels) {
            // Squares of float differences are exact in double, so the reach is kept to the
            // last bit of the positions as the data gives them.
            double dx = double(other.x) - solved.x, dy = double(other.y) - solved.y;
            if (other.state == 0 && std::sqrt(dx * dx + dy * dy) < double(map_neighbour_reach))
                other.state = level_available;
        }
    }
    return levels;
}

std::vector<std::string> map_rune_plate(int32_t slot, int32_t world)
{
    std::vector<std::string> plate;
    script_handle world_data = world_node(world);
    const char* rune = world_data.get("rune_medium").as_string();
    if (!rune)
        return plate;
    plate.push_back(rune);
    int32_t trophies = profile_trophies(slot, world);
    const char* segments[3] = {"shard1", "shard2", "shard3"};
    for (int i = 0; i < 3; ++i)
        if (trophies >> (i + 3) & 1)
            plate.push_back(text_of(world_data.get(segments[i]).get("tex_medium")));
    return plate;
}

int32_t map_tile_at(const std::vector<map_level>& levels, float x, float y)
{
    int32_t hovered = -1;
    for (size_t i = 0; i < levels.size(); ++i)
        if (levels[i].state != 0 && within(x, y, levels[i].x, levels[i].y, map_tile_size / 2))
            hovered = int32_t(i);
    return hovered;
}

int32_t map_pressed_tile(const std::vector<map_level>& levels, const map_zoom& zoom, float x, float y)
{
    if (zoom.phase >= 2)
        return -1;
    float map_x, map_y;
    zoom.map_point(x, y, map_x, map_y);
    int32_t tile = map_tile_at(levels, map_x, map_y);
    return tile >= 0 && levels[size_t(tile)].state > 0 ? tile : -1;
}

const char* map_difficulty_name(int32_t difficulty)
{
    static const char* const names[8] = {"Simple", "Very Easy", "Easy",      "Medium",
                                         "Tricky", "Hard",      "Very Hard", "Master"};
    return names[std::clamp(difficulty, 1, 8) - 1];
}

int32_t map_difficulty_pip(int32_t difficulty, int32_t k)
{
    return std::clamp(difficulty - 2 * k, 0, 2);
}

map_popup map_popup_for(float tile_x, float tile_y)
{
    map_popup p;
    p.below = tile_y <= 16.0f;
    p.box_x = p.anchor_x = tile_x;
    p.box_y = p.below ? tile_y + 8.0f : tile_y - 8.0f;
    p.anchor_y = p.below ? tile_y + 7.0f : tile_y - 13.5f;
    return p;
}

void map_zoom::map_point(float x, float y, float& map_x, float& map_y) const
{
    // Both views share the window's aspect, so one scale maps x and y alike.
    float scale = half_height / 32.0f;
    map_x = centre_x + (x - 32.0f) * scale;
    map_y = centre_y + (y - 32.0f) * scale;
}

void map_zoom::start()
{
    phase = 2;
    s = 0.0f;
}

void map_zoom::cancel()
{
    phase = 1;
    s = 0.0f;
}

void map_zoom::step(float tile_x, float tile_y)
{
    if (!zooming())
        return;
    s += 1.0f / 360.0f;
    if (s >= 1.0f && phase == 2) {
        s = 1.0f;
        phase = 3;
    }
    s = std::min(s, 1.0f);
    float c = 1.0f - std::cos(s * 1.5707f);
    float z = c * c;
    half_height = 32.0f - 30.25f * z;
    centre_x = 32.0f + (tile_x - 32.0f) * z;
    centre_y = 32.0f + (tile_y - 32.0f) * z;
}

bool map_zoom::frame_start()
{
    if (phase <= 2)
        return false;
    ++phase;
    return phase > 4;
}

float map_zoom::card_angle() const
{
    float t = std::min(2.0f * s, 1.0f);
    float eased = t < 0.5f ? std::pow(2.0f * t, 3.0f) / 2.0f : 1.0f - std::pow(2.0f - 2.0f * t, 3.0f) / 2.0f;
    return eased * 3.141592f;
}

world_map_logic::world_map_logic(std::vector<map_level> map, bool returning)
    : levels(std::move(map)), brightness(returning ? 0.0f : 1.0f)
{}

ui_sound world_map_logic::point(float map_x, float map_y)
{
    if (zoom.zooming())
        return ui_sound::none;
    int32_t tile = map_tile_at(levels, map_x, map_y);
    bool entered = tile >= 0 && tile != hovered;
    hovered = tile;
    return entered ? ui_sound::rollover : ui_sound::none;
}

world_map_outcome world_map_logic::press(int32_t hud_item, float x, float y)
{
    world_map_outcome out;
    if (hud_item != hud_item_none) {
        out.sound = ui_sound::select;
        out.open_settings = hud_item == hud_item_settings;
        out.leave = leaving = !out.open_settings;
        return out;
    }
    // The tile under the press itself, in the view that is drawn, not under the pointer of
    // the last frame.
    int32_t tile = map_pressed_tile(levels, zoom, x, y);
    if (tile < 0)
        return out;
    out.sound = ui_sound::select;
    out.zoom_tile = chosen = tile;
    zoom.start();
    return out;
}

bool world_map_logic::key(uint32_t virtual_key)
{
    if (virtual_key != vk_escape || zoom.phase != 2)
        return false;
    zoom.cancel();
    return true;
}

void world_map_logic::step()
{
    brightness = std::min(brightness + step_seconds, 1.0f);
    if (zoom.zooming() && chosen >= 0)
        zoom.step(levels[size_t(chosen)].x, levels[size_t(chosen)].y);
}

void map_card_corner(float centre_x, float centre_y, float ox, float oy, float angle, float& x, float& y)
{
    float depth = std::sin(angle) * ox + 32.0f;
    x = centre_x + std::cos(angle) * ox * 32.0f / depth;
    y = centre_y + oy * 32.0f / depth;
}
