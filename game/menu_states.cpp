// The menu flow's transitions.
#include "game/menu_states.h"

#include "data/asset_names.h"

int32_t menu_run_states(const menu_screens_t& s)
{
    menu_state state = menu_state::player_select;
    bool returning = false;
    bool hud_alive = true;
    int32_t level = -1, entered = 0;
    auto quitting = [&] { return s.quitting && s.quitting(); };
    while (state != menu_state::shutdown) {
        ++entered;
        if (quitting() && state != menu_state::exit_sequence) {
            // The window is gone: nothing more to show, the services go down.
            state = menu_state::shutdown;
            break;
        }
        switch (state) {
        case menu_state::player_select: {
            s.make_title_world();
            int32_t slot = s.player_select();
            if (slot < 0) {
                state = menu_state::exit_sequence;
            } else {
                s.set_profile(slot);
                state = menu_state::title_scroll;
            }
            break;
        }
        case menu_state::title_scroll:
            s.title_scroll();
            state = menu_state::world_select;
            break;
        case menu_state::world_select: {
            int32_t world = s.world_select();
            if (world < 0) {
                state = menu_state::player_select;
            } else {
                s.set_world(world);
                returning = false;
                state = menu_state::level_select;
            }
            break;
        }
        case menu_state::level_select:
            level = s.world_map(returning);
            if (level < 0) {
                s.music(music_title);
                state = menu_state::world_select;
            } else {
                state = menu_state::play;
            }
            break;
        case menu_state::play:
            if (s.play(level)) {
                state = menu_state::ending;
            } else {
                returning = true;
                state = menu_state::level_select;
            }
            break;
        case menu_state::ending: {
            bool quit = s.ending();
            s.music(music_title);
            if (quit) {
                s.destroy_hud();
                hud_alive = false;
                state = menu_state::shutdown;
            } else {
                state = menu_state::player_select;
            }
            break;
        }
        case menu_state::exit_sequence:
            s.destroy_hud();
            hud_alive = false;
            if (!quitting())
                s.exit_sequence();
            state = menu_state::shutdown;
            break;
        case menu_state::shutdown:
            break;
        }
    }
    if (hud_alive)
        s.destroy_hud();
    return entered;
}
