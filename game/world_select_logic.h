// The logic of world selection: one record per world with the profile's medallions,
// rune segments and completion, the rows of the list, hovering, selecting and choosing.
#pragma once

#include "game/ui_sound.h"

#include <cstdint>
#include <string>
#include <vector>

// At most this many worlds are listed.
constexpr int32_t world_rows_max = 6;

struct world_record {
    int32_t index = 0;
    std::string name;
    // Texture names; empty where nothing is drawn.
    std::string medallion_icons[2];  // the medallion's icon when won, else the blank
    std::string rune_icon;
    std::string segment_icons[3];  // only the segments won
    int32_t level_count = 0;
    int32_t solved_count = 0;
};

// The records of every world 0 to 31 in the data, in index order, for a profile; and
// rebuilds the ending mask from the worlds found.
std::vector<world_record> world_records(int32_t slot);

// "%d levels", and "%d% Complete" (solved * 100 / count, truncated); no completion text
// for a world without levels.
std::string world_levels_text(const world_record& record);
std::string world_completion_text(const world_record& record);

struct world_select_outcome {
    ui_sound sound = ui_sound::none;
    bool open_settings = false;
    bool back = false;
    // The row chosen with OK, -1 while none.
    int32_t chosen_row = -1;
    // The selection changed: the shell's world and the emblem follow it.
    bool selection_changed = false;
};

class world_select_logic {
public:
    int32_t rows = 0;
    int32_t selected = -1;
    int32_t hovered = -1;
    bool ok_hovered = false;
    float opening = 0.0f;
    bool open = false;

    explicit world_select_logic(int32_t record_count = 0);
    // One step; false while the screen is still opening and takes no input.
    bool step();
    // Follows the pointer (view units).
    ui_sound point(float x, float y);
    world_select_outcome press(int32_t hud_item);
};

// The layout (view units): the centre line of row i, and the selected row's OK button,
// which answers on its whole picture.
float world_row_y(int32_t row);
constexpr float world_ok_x = 56;
constexpr float world_ok_size = 4;
