// Reading scene sequences, and the counters, fades and skips of their scenes.
#include "game/scene_sequence.h"

#include "app/input_codes.h"
#include "app/step.h"
#include "game/world_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

scene_sequence read_scene_sequence(const script_handle& block)
{
    scene_sequence s;
    s.song = script_text_or_empty(block.get("song"));
    for (int32_t i = 0; i < script_first_name_id; ++i) {
        script_handle scene = block.get(script_id(i));
        if (!scene.exists())
            break;
        double steps = std::trunc(scene.get("time").as_real() * double(steps_per_second));
        // Scenes last at most a day; a negative time plays nothing.
        steps = std::fmin(std::fmax(steps, 0.0), double(steps_per_second) * 86400.0);
        s.scenes.push_back({script_text_or_empty(scene.get("level")), int32_t(steps)});
    }
    return s;
}

scene_sequence_logic::scene_sequence_logic(std::vector<int32_t> scene_steps) : steps(std::move(scene_steps))
{
    // A scene of no steps is over before it shows.
    while (!done() && steps[scene] <= 0)
        ++scene;
}

bool scene_sequence_logic::step()
{
    if (done())
        return true;
    ++counter;
    if (counter < steps[scene])
        return false;
    counter = 0;
    ++scene;
    while (!done() && steps[scene] <= 0)
        ++scene;
    return true;
}

float scene_sequence_logic::brightness() const
{
    if (done())
        return 0.0f;
    int32_t total = steps[scene];
    if (counter < scene_fade_steps)
        return float(counter) / float(scene_fade_steps);
    if (counter > total - scene_fade_steps)
        return float(total - counter) / float(scene_fade_steps);
    return 1.0f;
}

bool scene_sequence_logic::press(uint32_t mouse_flags)
{
    if (!(mouse_flags & left_press) || done())
        return false;
    int32_t fade_out = steps[scene] - scene_fade_steps;
    if (counter >= fade_out)
        return false;
    // Still fading in: the fade-out starts from the brightness reached, not from full.
    counter = counter < scene_fade_steps ? std::max(steps[scene] - counter, fade_out) : fade_out;
    return true;
}
