// The logic of the world map: which levels of a world a profile may play (stored state
// over the data's "state", runes, successors and neighbours on the map), the tile under
// the pointer, the popup's place and difficulty display, and the zoom into a chosen tile
// with its flipping card.
#pragma once

#include "app/view_space.h"
#include "game/ui_sound.h"

#include <cstdint>
#include <string>
#include <vector>

// A tile opens its locked neighbours closer than this once it is solved.
constexpr float map_neighbour_reach = 3.01f;

struct map_level {
    float x = 0, y = 0;
    // Level state bits: 1 available, 2 solved, 4 solution shown, as stored. Only state & 3
    // picks the tile picture; any non-zero state can be hovered and chosen.
    int32_t state = 0;
    std::string title;
    int32_t difficulty = 0;
    // Tile pictures by state & 3 (texture names).
    std::string tiles[4];
    // The icon of the medallion the level awards; empty for none.
    std::string trophy_icon;
    // The level's resource name; "tex\<name>0" is the picture the card reveals.
    std::string level_name;
};

// The levels of a world for a profile, in level order, with their availability.
std::vector<map_level> map_levels(int32_t slot, int32_t world);

// The textures of the rune plate: the world's "rune_medium" and the segments the profile
// has found in this world, bottom first. Empty without "rune_medium".
std::vector<std::string> map_rune_plate(int32_t slot, int32_t world);

// A tile is drawn map_tile_size across and answers the pointer on that square (hovered, it
// is drawn larger, over the menu).
constexpr float map_tile_size = 3;

// The last tile with a non-zero state whose square (map_tile_size across) holds the
// pointer; -1 for none.
int32_t map_tile_at(const std::vector<map_level>& levels, float x, float y);

// "Simple" for difficulty 1 (and below) up to "Master" for 8 (and above).
const char* map_difficulty_name(int32_t difficulty);
// Pip k (0 to 3) of a difficulty: 0 off, 1 half, 2 on.
int32_t map_difficulty_pip(int32_t difficulty, int32_t k);

// The popup of a hovered tile: above it, or below it (flipped) near the top of the map.
struct map_popup {
    bool below = false;
    float box_x = 0, box_y = 0;        // centre of the 30 x 12 box
    float anchor_x = 0, anchor_y = 0;  // the texts are placed from here
};
map_popup map_popup_for(float tile_x, float tile_y);

// The zoom onto a chosen tile. Phases: 0 idle, 1 idle after a cancelled zoom, 2 zooming,
// 3 and more finishing.
struct map_zoom {
    int32_t phase = 0;
    float s = 0.0f;
    float centre_x = view_centre, centre_y = view_centre, half_height = view_size / 2;

    bool zooming() const { return phase >= 2; }
    // The pointer and clicks are read in the whole map's view (centre (32, 32), half-height
    // 32), where the menu is drawn. This is the point of the view the map is drawn in that
    // lies under (x, y): after a cancelled zoom the two differ.
    void map_point(float x, float y, float& map_x, float& map_y) const;
    void start();
    // Escape: back to idle; the view stays where the zoom had brought it.
    void cancel();
    // One step towards the tile (2 seconds in all).
    void step(float tile_x, float tile_y);
    // At the start of a frame; true when the screen leaves with the chosen level (one
    // frame is drawn after the zoom completes).
    bool frame_start();
    // The card's turn in radians: eased over the first second, from 0 to pi.
    float card_angle() const;
};

// The tile a left press at (x, y) of the whole map's view chooses: the open tile drawn
// under it in the view as it stands; -1 for none, and always while a zoom runs.
int32_t map_pressed_tile(const std::vector<map_level>& levels, const map_zoom& zoom, float x, float y);

// What a press on the map asks of the screen.
struct world_map_outcome {
    ui_sound sound = ui_sound::none;
    bool open_settings = false;
    // Back: the player leaves the map without a level.
    bool leave = false;
    // The tile the zoom has started into: the screen reveals its level's first picture and
    // plays the zoom's music. -1 for none.
    int32_t zoom_tile = -1;
};

// The map's rules: the tile under the pointer, presses on the menu and on tiles, Escape,
// the zoom into the chosen tile and the fade-in on return from a level.
class world_map_logic {
public:
    std::vector<map_level> levels;
    map_zoom zoom;
    // The open tile under the pointer (-1 for none); it stays as it was while a zoom runs.
    int32_t hovered = -1;
    // The tile zoomed into, and once the zoom is over the level chosen; -1 for none.
    int32_t chosen = -1;
    bool leaving = false;
    float brightness = 1.0f;

    world_map_logic() = default;
    // `returning`: back from a level, the map fades in from black over a second.
    world_map_logic(std::vector<map_level> map, bool returning);
    // Follows the pointer, in the view the map is drawn in (the zoom's, which after a
    // cancelled zoom is not the menu's). Entering a tile asks for the rollover.
    ui_sound point(float map_x, float map_y);
    // A left press at (x, y) of the whole map's view, where the menu is and where the window
    // reports it: `hud_item` first, else the open tile drawn under it starts the zoom.
    world_map_outcome press(int32_t hud_item, float x, float y);
    // A key event, pressed or released: Escape cancels a running zoom (true then).
    bool key(uint32_t virtual_key);
    // One step: the fade-in, and the zoom towards the chosen tile.
    void step();
};

// A corner of the flipping card at offset (ox, oy) from the tile centre, in perspective.
void map_card_corner(float centre_x, float centre_y, float ox, float oy, float angle, float& x, float& y);
