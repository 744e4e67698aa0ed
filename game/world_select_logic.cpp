// World selection: records, rows, hover and choice.
#include "game/world_select_logic.h"

#include "app/step.h"
#include "game/awards.h"
#include "game/hit_test.h"
#include "game/hud_state.h"
#include "game/profile.h"
#include "game/user_world.h"
#include "game/world_data.h"

#include <algorithm>
#include <cmath>

namespace {

std::string text_of(const script_handle& node)
{
    return script_text_or_empty(node);
}

}  // namespace

std::vector<world_record> world_records(int32_t slot)
{
    std::vector<world_record> records;
    uint32_t& mask = awards_ending_mask();
    mask = 0;
    for (int32_t w = 0; w < world_index_limit; ++w) {
        script_handle world = world_node(w);
        if (!world.exists())
            continue;
        // The player's own levels have no medallions to win: the ending does not wait for them.
        if (!user_world_is(world))
            mask |= 1u << w;
        world_record r;
        r.index = w;
        r.name = text_of(world.get("name"));
        int32_t trophies = profile_trophies(slot, w);
        const char* medallions[2] = {"trophy1", "trophy2"};
        for (int i = 0; i < 2; ++i)
            r.medallion_icons[i] = trophies >> (i + 1) & 1 ? text_of(world.get(medallions[i]).get("tex_icon"))
                                                           : text_of(world.get("trophy_blank"));
        r.rune_icon = text_of(world.get("rune_icon"));
        const char* segments[3] = {"shard1", "shard2", "shard3"};
        for (int i = 0; i < 3; ++i)
            if (trophies >> (i + 3) & 1)
                r.segment_icons[i] = text_of(world.get(segments[i]).get("tex_icon"));
        r.level_count = world_level_count(w);
        for (int32_t l = 0; l < r.level_count; ++l) {
            int32_t state;
            if (profile_level_state(slot, w, l, state) && (state & level_solved))
                ++r.solved_count;
        }
        records.push_back(std::move(r));
    }
    return records;
}

std::string world_levels_text(const world_record& record)
{
    return std::to_string(record.level_count) + " levels";
}

std::string world_completion_text(const world_record& record)
{
    if (record.level_count == 0)
        return {};
    return std::to_string(int64_t(record.solved_count) * 100 / record.level_count) + "% Complete";
}

float world_row_y(int32_t row)
{
    return 28.0f + 3.5f * float(row);
}

world_select_logic::world_select_logic(int32_t record_count) : rows(std::min(record_count, world_rows_max))
{}

bool world_select_logic::step()
{
    if (!open) {
        opening += step_seconds;
        if (opening >= 1.0f) {
            opening = 1.0f;
            open = true;
        }
    }
    if (opening < 1.0f) {
        opening = std::min(opening + step_seconds, 1.0f);
        return false;
    }
    return true;
}

ui_sound world_select_logic::point(float x, float y)
{
    ui_sound sound = ui_sound::none;
    bool ok = selected >= 0 && within(x, y, world_ok_x, world_row_y(selected), world_ok_size / 2);
    if (ok && !ok_hovered)
        sound = ui_sound::rollover;
    ok_hovered = ok;

    int32_t row = hovered;
    if (y <= 26.35f || y >= 50.75f) {
        row = -1;
    } else if (x > 18.0f && x < 46.0f) {
        row = int32_t(std::floor((y - 26.35f) / 3.5f));
        if (row < 0 || row >= rows)
            row = -1;
    }
    if (row != hovered && row >= 0)
        sound = ui_sound::rollover;
    hovered = row;
    return sound;
}

world_select_outcome world_select_logic::press(int32_t hud_item)
{
    world_select_outcome out;
    if (hud_item != hud_item_none) {
        out.sound = ui_sound::select;
        out.open_settings = hud_item == hud_item_settings;
        out.back = hud_item == hud_item_back;
        return out;
    }
    if (ok_hovered && selected >= 0) {
        out.sound = ui_sound::select;
        out.chosen_row = selected;
        return out;
    }
    if (hovered != selected && hovered >= 0)
        out.sound = ui_sound::select;
    selected = hovered;
    out.selection_changed = true;
    ok_hovered = false;
    return out;
}
