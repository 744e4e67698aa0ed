// The play screen's states, input, timings and the success handling with its awards.
#include "game/play_logic.h"

#include "app/input_codes.h"
#include "app/log.h"
#include "app/pacing.h"
#include "app/step.h"
#include "data/asset_names.h"
#include "data/script.h"
#include "game/awards.h"
#include "game/config.h"
#include "game/profile.h"
#include "game/world_data.h"
#include "physics/level.h"
#include "physics/replay.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float highlight_per_step = 0.044444446f;
constexpr float pick_reach = 10.0f;
constexpr int32_t tip_lines_max = 6;

// Tips are remembered as bits of one integer per profile.
bool tip_bit(int32_t tip, uint32_t& bit)
{
    if (tip < 1 || tip > 31)
        return false;
    bit = uint32_t(1) << tip;
    return true;
}

void play_if(const std::function<void(const char*)>& fn, const char* name)
{
    if (fn)
        fn(name);
}

}  // namespace

bool play_state_shows_card(int32_t state)
{
    switch (state) {
    case play_award_title:
    case play_award_info:
    case play_award_leaving:
    case play_tip:
        return true;
    default:
        return false;
    }
}

bool play_state_in_cards(int32_t state)
{
    return state == play_award_intro || play_state_shows_card(state);
}

const char* play_state_name(int32_t state)
{
    static const char* const names[] = {
        "READY",        "RESTART",     "PLAYING",     "SUCCESS",    "FAILED",        "LEAVING", "SOLUTION",
        "SOLUTION_END", "AWARD_INTRO", "AWARD_TITLE", "AWARD_INFO", "AWARD_LEAVING", "TIP"};
    return state >= 0 && state < int32_t(std::size(names)) ? names[state] : "?";
}

play_level_entry play_read_entry(int32_t world, int32_t level)
{
    play_level_entry e;
    script_handle node = world_level_node(world, level);
    e.level = script_text_or_empty(node.get("level"));
    e.tip = node.get("tip").as_int();
    e.difficulty = node.get("difficulty").as_int();
    e.song = std::max(node.get("song").as_int(), 1);
    e.trophy = node.get("trophy").as_int();
    script_handle effect = node.get("effect");
    e.rain = effect.type() == script_type_int &&
             effect.as_int() == int32_t(script_global_symbols().intern("rain"));
    return e;
}

std::string play_intro_image_name(const std::string& level, int32_t index)
{
    return "tex\\" + level + std::to_string(index);
}

play_logic::play_logic(int32_t s, int32_t w, int32_t l, play_audio_t a)
    : slot(s), world_index(w), level_index(l), audio(std::move(a))
{
    entry = play_read_entry(w, l);
    solution_offered = entry.difficulty < 4;
    song_name = "music\\song" + std::to_string(entry.song);
    if (!entry.level.empty() && script_global_tree().get(entry.level.c_str()).type() != script_type_block) {
        // An empty world would count as solved at its first step.
        log_line(log_problem) << "play: the level " << entry.level << " of world " << w << "entry " << l
                              << "does not exist";
        entry.level.clear();
    }
    if (!entry.level.empty()) {
        live = build_world(v_mode_play, false);
        pristine = build_world(v_mode_play, false);
    }
}

std::unique_ptr<v_world> play_logic::build_world(int32_t mode, bool with_solution)
{
    script_handle block = script_global_tree().get(entry.level.c_str());
    ref_ptr<pak_chunkref> replay;
    if (with_solution && v_level_store())
        replay = v_level_store()->get((entry.level + "_r").c_str());
    return std::make_unique<v_world>(
        v_world_from_level(mode, block, v_replay_global(), replay, entry.level.c_str()));
}

void play_logic::replace_world()
{
    if (entry.level.empty())
        return;
    live = build_world(v_mode_play, false);
    world_replaced = true;
}

void play_logic::begin()
{
    uint32_t bit = 0;
    script_handle profile = config_node().make("saves").make(script_id(slot));
    if (entry.tip != 0 && tip_bit(entry.tip, bit) && !(uint32_t(profile.get("tips").as_int()) & bit)) {
        script_handle card = script_global_tree().get("tips").get(script_id(entry.tip));
        for (int32_t i = 1; i <= tip_lines_max; ++i) {
            const char* line = card.get(("line" + std::to_string(i)).c_str()).as_string();
            if (!line)
                break;
            tip_lines.push_back(line);
        }
        card_graphic = script_text_or_empty(card.get("graphic"));
        profile.make("tips").set_int(int32_t(uint32_t(profile.get("tips").as_int()) | bit));
        set_state(play_tip);
    } else {
        set_state(play_ready);
    }
}

void play_logic::set_state(int32_t next)
{
    clock = 0.0f;
    switch (next) {
    case play_ready:
        replace_world();
        play_if(audio.play, music_ditty_ready);
        break;
    case play_restart:
        replace_world();
        break;
    case play_success:
    case play_award_intro:
        if (audio.duck)
            audio.duck(4.0f);
        play_if(audio.play, music_ditty_success);
        break;
    case play_failed:
        if (audio.duck)
            audio.duck(2.0f);
        play_if(audio.play, music_ditty_fail);
        break;
    case play_solution:
        show_solution();
        return;
    default:
        break;
    }
    state = next;
}

// Entering the solution: without a recorded solution the state stays as it was (its clock
// has restarted). A level whose solution was shown earns no stars any more.
void play_logic::show_solution()
{
    hovered_button = -std::abs(hovered_button);
    if (entry.level.empty() || !v_level_store() || !v_level_store()->get((entry.level + "_r").c_str()))
        return;
    live = build_world(v_mode_playback, true);
    world_replaced = true;
    // Ducked first, so that the solution's music starts at the ducked level and enters
    // after 2 s instead of sounding until the duck has faded it.
    if (audio.duck)
        audio.duck(2.0f);
    play_if(audio.music, music_solution);
    script_handle state_bits = config_node()
                                   .make("saves")
                                   .make(script_id(slot))
                                   .make(script_id(world_index))
                                   .make(script_id(level_index));
    state_bits.set_int(state_bits.as_int() | level_solution_shown);
    state = play_solution;
}

void play_logic::step(int32_t step_in_frame)
{
    if (step_in_frame < max_world_steps_per_frame && (state == play_playing || state == play_solution) &&
        live)
        live->step();
    float target = hovered_button >= 1 ? 1.0f : 0.0f;
    if (highlight < target)
        highlight = std::min(highlight + highlight_per_step, 1.0f);
    else if (highlight > target)
        highlight = std::max(highlight - highlight_per_step, 0.0f);
    clock += step_seconds;
}

void play_logic::cut_selected()
{
    if (!live || !live->selected)
        return;
    play_if(audio.play, sounds_cut_constraint);
    live->selected->cut = true;
    live->set_hovered(nullptr);
    live->set_selected(nullptr);
}

play_dev_action play_logic::key(uint32_t vk, bool control)
{
    play_dev_action action = play_dev_action::none;
    if (control) {
        if (vk == 'E') {
            ending = true;
        } else if (vk == 'P') {
            action = play_dev_action::capture;
        } else if (vk == 'B' && live) {
            log_line(log_info) << run_world_for(*live, 1.0);
        } else if (vk >= vk_f1 && vk < vk_f1 + 6) {
            award_override = int32_t(vk - vk_f1) + 1;
        }
    }
    if (vk == vk_escape && state == play_solution)
        set_state(play_solution_end);
    if (state == play_playing) {
        if (vk == vk_space)
            cut_selected();
        else if (vk == 'R')
            set_state(play_restart);
    }
    return action;
}

void play_logic::mouse(uint32_t flags, float x, float y)
{
    point_at(x, y);
    if (state == play_playing) {
        if (flags & left_press) {
            if (hovered_button == play_button_restart) {
                set_state(play_restart);
            } else if (hovered_button == play_button_solution) {
                set_state(play_solution);
            } else if (hovered_button == play_button_menu) {
                clock = 0.0f;
                state = play_leaving;
            } else {
                play_if(audio.play, sounds_select_constraint);
                if (live)
                    live->set_selected(live->hovered);
            }
        }
        if ((flags & right_press) && state == play_playing)
            cut_selected();
        return;
    }
    if ((flags & left_press) && hovered_button == play_button_continue && clock > 0.5f) {
        if (state == play_award_title)
            set_state(play_award_info);
        else if (state == play_award_info)
            set_state(play_award_leaving);
        else if (state == play_tip)
            set_state(play_ready);
    }
}

void play_logic::point_at(float x, float y)
{
    if (play_state_in_cards(state)) {
        ui_rect button = play_continue_button;
        button.y += continue_offset();
        hovered_button = inside_rect(x, y, button) ? play_button_continue : 0;
        return;
    }
    if (state != play_playing)
        return;
    if (inside_rect(x, y, play_restart_button))
        hovered_button = play_button_restart;
    else if (solution_offered && inside_rect(x, y, play_solution_button))
        hovered_button = play_button_solution;
    else if (inside_rect(x, y, play_menu_button))
        hovered_button = play_button_menu;
    else
        hovered_button = -std::abs(hovered_button);
    if (live)
        live->set_hovered(live->pick_constraint(vec2{x, y}, pick_reach, true));
}

void play_logic::playing_duties(float x, float y)
{
    intro = 1.0f;
    point_at(x, y);
    if (!live)
        return;
    if (live->verdict == v_verdict_failed)
        set_state(play_failed);
    else if (live->verdict == v_verdict_solved)
        on_success();
}

void play_logic::frame(float x, float y)
{
    float t = clock;
    switch (state) {
    case play_ready:
        intro = t - 0.25f;
        if (t >= 1.25f) {
            play_if(audio.music, song_name.c_str());
            set_state(play_playing);
        }
        break;
    case play_restart:
        intro = t < 0.25f ? 1.0f - 4.0f * t : 4.0f * t - 1.0f;
        if (t >= 0.5f)
            set_state(play_playing);
        break;
    case play_playing:
        playing_duties(x, y);
        break;
    case play_success:
        brightness = 4.0f - t;
        intro = 1.0f - t;
        if (t >= 4.0f)
            finished = true;
        break;
    case play_failed:
        intro = 1.0f - 2.0f * t;
        if (t >= 1.0f)
            set_state(play_ready);
        break;
    case play_leaving:
        brightness = 1.0f - t;
        intro = 1.0f - t;
        if (t >= 1.0f)
            finished = true;
        break;
    case play_solution:
        vignette = std::min(2.0f * t, 1.0f);
        if (v_replay_global().ended())
            set_state(play_solution_end);
        break;
    case play_solution_end:
        vignette = intro = 1.0f - 2.0f * t;
        if (vignette < 0.0f) {
            vignette = 0.0f;
            set_state(play_ready);
        }
        break;
    case play_award_intro:
        intro = 0.0f;
        if (t > 4.0f)
            set_state(play_award_title);
        break;
    case play_award_title:
    case play_award_info:
    case play_tip:
        intro = 0.0f;
        break;
    case play_award_leaving:
        brightness = 1.0f - t;
        intro = 0.0f;
        if (t > 1.0f)
            finished = true;
        break;
    default:
        break;
    }
    if (play_state_in_cards(state))
        point_at(x, y);

    if (star_counter_shown()) {
        int32_t n = std::clamp(int32_t(std::floor((clock - 1.0f) * 4.0f)), 0, entry.difficulty);
        if (n > counted)
            play_if(audio.play, sounds_star_blip);
        counted = n;
    }
}

bool play_logic::star_counter_shown() const
{
    return (state == play_success || state == play_award_intro) && new_stars != old_stars && clock > 0.5f;
}

float play_logic::continue_offset() const
{
    return state == play_tip && tip_lines.empty() ? 5.0f : 0.0f;
}

void play_logic::on_success()
{
    script_handle profile = config_node().make("saves").make(script_id(slot));
    script_handle progress = profile.make(script_id(world_index));
    old_stars = profile.get("stars").as_int();
    script_handle state_bits = progress.make(script_id(level_index));
    if (!(state_bits.as_int() & (level_solved | level_solution_shown))) {
        new_stars = old_stars + entry.difficulty;
        profile.make("stars").set_int(new_stars);
        profile_changed = true;
    } else {
        new_stars = old_stars;
    }
    award = award_override != 0 ? award_override : entry.trophy;
    state_bits.set_int(state_bits.as_int() | level_solved);

    award_grant won = awards_grant(slot, world_index, award);
    if (!won.granted) {
        set_state(play_success);
        return;
    }
    if (won.ending)
        ending = true;

    static const char* const award_keys[] = {"", "trophy1", "trophy2", "shard1", "shard2", "shard3"};
    script_handle world_entry = world_node(world_index);
    script_handle award_node =
        award < int32_t(std::size(award_keys)) ? world_entry.get(award_keys[award]) : script_handle::nil;
    card_graphic.clear();
    if (won.rune_completed)
        card_graphic = script_text_or_empty(world_entry.get("rune_large"));
    if (card_graphic.empty())
        card_graphic = script_text_or_empty(award_node.get("tex_large"));
    award_name = script_text_or_empty(award_node.get("name"));
    set_state(play_award_intro);
}

void play_counter_stars(int32_t difficulty, int32_t counted, int32_t out[4])
{
    int32_t r = difficulty - counted;
    for (int32_t i = 0; i < 4; ++i, r -= 2)
        out[i] = std::min(std::max(r, 0), 2);
}

play_crossfade play_crossfade_at(float intro)
{
    play_crossfade c;
    intro = std::clamp(intro, 0.0f, 1.0f);
    if (intro >= 1.0f) {
        c.world_only = true;
        return c;
    }
    c.lower = std::clamp(int32_t(std::floor(4.0f * intro)), 0, 3);
    c.fade = 4.0f * intro - float(c.lower);
    return c;
}
