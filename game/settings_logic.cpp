// Settings: hover, the two switches, Accept.
#include "game/settings_logic.h"

#include "game/config.h"

ui_sound settings_logic::point(float x, float y)
{
    int32_t item = item_at(x, y,
                           {{settings_accept_button, settings_accept},
                            {settings_music_box, settings_music},
                            {settings_sound_box, settings_sound}},
                           settings_none);
    bool entered = item != hovered && item != settings_none;
    hovered = item;
    return entered ? ui_sound::rollover : ui_sound::none;
}

settings_outcome settings_logic::press()
{
    settings_outcome out;
    if (hovered == settings_none || accepted)
        return out;
    out.sound = ui_sound::select;
    if (hovered == settings_accept) {
        config_save();
        out.accepted = accepted = true;
    } else {
        config_toggle_switch(hovered == settings_music ? "mute_music" : "mute_sound");
    }
    return out;
}
