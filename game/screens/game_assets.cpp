// Start-up asset loading and the screens' resource helpers.
#include "game/screens/game_assets.h"

#include "data/asset_names.h"
#include "data/pak_script.h"
#include "physics/level.h"
#include "physics/type_creators.h"
#include "sound/sample.h"
#include "sound/sound.h"

#include <unordered_map>
#include <vector>

namespace {

// The references kept for the whole run, so the play screen's interface pieces never
// wait for a load.
const char* const preloaded_names[] = {
    tex_ui_constraint_hovered,
    tex_ui_constraint_selected,
    tex_ui_pen,
    tex_ui_replay_vignette,
    sounds_rollover,
    sounds_select_constraint,
    sounds_cut_constraint,
    music_ditty_ready,
    music_ditty_success,
    music_ditty_fail,
    music_ditty_ball_in_pot,
    sounds_hit_balls_metal,
    sounds_hit_solid_wood,
};

std::vector<ref_ptr<pak_chunk>>& preloaded()
{
    static std::vector<ref_ptr<pak_chunk>> objects;
    return objects;
}

// Sample references by name, null for names the store does not have.
std::unordered_map<std::string, ref_ptr<pak_chunkref>>& sound_refs()
{
    static std::unordered_map<std::string, ref_ptr<pak_chunkref>> refs;
    return refs;
}

}  // namespace

pak_system& game_pak()
{
    static pak_system pak;
    return pak;
}

bool game_load_assets(const std::function<bool(pak_system&, std::string&)>& add_stores, std::string& error,
                      bool need_worlds)
{
    pak_system& pak = game_pak();
    script_global_tree().make_block();
    gl_register_texture_creator(pak);
    sound_register_creators(pak);
    v_register_type_creators(pak);
    if (!add_stores(pak, error))
        return false;

    // A name found in several stores is read from the first one only, so a source tree
    // given before the archive replaces the archive's chunks instead of merging into them.
    init_parser init;
    level_preloader levels;
    auto winners = [&pak](pak_enum_callback& inner) {
        return pak_enum_function([&pak, &inner](ref_ptr<pak_chunkref> ref) {
            if (ref && pak.get(ref->name) == ref)
                inner.visit(std::move(ref));
        });
    };
    auto init_winners = winners(init);
    pak.enumerate(pak_code_init, init_winners);
    auto level_winners = winners(levels);
    pak.enumerate(pak_code_levl, level_winners);

    // An archive that opens but holds no game (a damaged or foreign file) is refused here,
    // before any screen asks for what is not there.
    if (need_worlds && script_global_tree().get("worlds").type() != script_type_block) {
        error = "no worlds";
        return false;
    }
    v_level_set_store(&pak);
    v_install_default_constraint_type(pak);
    sound_set_store(&pak);

    for (const char* name : preloaded_names) {
        ref_ptr<pak_chunk> object;
        if (pak.get_object(name, object) && object)
            preloaded().push_back(object);
    }
    return true;
}

void game_release_assets()
{
    preloaded().clear();
    sound_refs().clear();
}

ref_ptr<gl_texture> game_texture(const char* name)
{
    ref_ptr<gl_texture> texture;
    if (name && *name)
        game_pak().get_object(name, texture);
    return texture;
}

ref_ptr<gl_texture> game_texture(const std::string& name)
{
    return game_texture(name.c_str());
}

void game_play(const char* sample_name)
{
    auto& refs = sound_refs();
    auto it = refs.find(sample_name);
    if (it == refs.end())
        it = refs.emplace(sample_name, game_pak().get(sample_name)).first;
    if (it->second)
        play_sample(it->second, 1.0f, 0.5f, 0);
}

void game_play(ui_sound sound)
{
    if (sound == ui_sound::rollover)
        game_play(sounds_rollover);
    else if (sound == ui_sound::select)
        game_play(sounds_select_constraint);
}

world_draw_style& game_world_style()
{
    static world_draw_style style;
    return style;
}
