// Ctrl+P in the level editor.
#include "editors/level/preview_builder.h"

#include "app/log.h"
#include "app/window/window.h"
#include "data/script.h"
#include "editors/level/preview_list.h"
#include "physics/level.h"
#include "render/level_pictures.h"

int build_level_previews(glw_window& window, pak_system& store, const std::string& root)
{
    log_line(log_always) << "BUILDING PREVIEWS";
    int written = 0;
    for (const std::string& name : le_preview_levels(store)) {
        script_handle level = script_global_tree().get(name.c_str());
        if (level.type() != script_type_block)
            continue;
        // Pictures show the level at its start: a world of its own, no replay attached.
        v_replay scratch;
        v_world world = v_world_from_level(v_mode_play, level, scratch, nullptr, name.c_str());
        std::string note;
        if (capture_level_pictures(render_target_global(), window, &store, world, root, name, note)) {
            ++written;
            log_line(log_always) << note;
        } else {
            log_line(log_always) << "the pictures of " << name << " were not written: " << note;
        }
        // The window shows that something happens between levels.
        window.swap();
        window.pump_messages();
    }
    return written;
}
