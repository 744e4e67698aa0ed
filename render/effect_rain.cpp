// effect_rain: streak spawning and falling, splash placing and timing, drawing.
#include "render/effect_rain.h"

#include "data/asset_names.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The strip in the middle of the streak texture that every streak shows.
constexpr float streak_u0 = 0.4921875f, streak_u1 = 0.5097656f;
constexpr int32_t splash_cycle = 16384;

float random_unit()
{
    return float(std::rand() & 0x7FFF) / 32767.0f;
}

}  // namespace

effect_rain::effect_rain(pak_system* store, const v_world* on_world) : world(on_world)
{
    if (store) {
        store->get_object(tex_rain_streak, streak_texture);
        store->get_object(tex_rain_splash, splash_texture);
    }
    for (int32_t q = 0; q < streak_count; ++q) {
        effect_vertex* v = streaks + q * 4;
        v[0].u = v[3].u = streak_u0;
        v[1].u = v[2].u = streak_u1;
        v[0].v = v[1].v = 0.0f;
        v[2].v = v[3].v = 1.0f;
        spawn(q, 128.0f);
    }
    for (int32_t k = 0; k < splash_count; ++k) {
        splash_timers[k] = std::rand() & 0x3FFF;
        effect_vertex* v = splashes + k * 4;
        const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            v[i].x = v[i].y = 0.0f;
            v[i].u = uv[i][0];
            v[i].v = uv[i][1];
        }
    }
    update();
}

void effect_rain::spawn(int32_t q, float spread)
{
    float sa = std::sin(angle), ca = std::cos(angle);
    float s = random_unit() * 4.0f + 1.0f;
    float cx = 32.0f * sa + (sa * 64.0f + 64.0f) * random_unit();
    float cy = -(random_unit() * spread + 32.0f);
    float w = 0.2f * s, l = 6.0f * s;
    effect_vertex* v = streaks + q * 4;
    v[0].x = cx - w * ca + l * sa;
    v[0].y = cy - l * ca - w * sa;
    v[1].x = cx + w * ca + l * sa;
    v[1].y = cy - l * ca + w * sa;
    v[2].x = cx + w * ca - l * sa;
    v[2].y = cy + l * ca + w * sa;
    v[3].x = cx - w * ca - l * sa;
    v[3].y = cy + l * ca - w * sa;
    speeds[q] = s * speed_scale;
}

void effect_rain::place_splash(int32_t k)
{
    effect_vertex* v = splashes + k * 4;
    if (!world || world->markers.empty()) {
        for (int i = 0; i < 4; ++i)
            v[i].x = v[i].y = 0.0f;
        return;
    }
    const v_marker& m = world->markers[size_t(std::rand()) % world->markers.size()];
    float st = std::sin(m.angle), ct = std::cos(m.angle);
    const float corners[4][2] = {
        {-ct + 2.0f * st, -st - 2.0f * ct},
        {ct + 2.0f * st, st - 2.0f * ct},
        {ct, st},
        {-ct, -st},
    };
    for (int i = 0; i < 4; ++i) {
        v[i].x = m.x + corners[i][0];
        v[i].y = m.y + corners[i][1];
    }
}

int32_t effect_rain::splash_frame(int32_t k) const
{
    int32_t count = splash_texture ? splash_texture->frame_count() : 1;
    int32_t frame = int32_t((int64_t(count) * splash_timers[k]) >> 14);
    return std::clamp(frame, 0, count - 1);
}

void effect_rain::update()
{
    float dx = -std::sin(angle), dy = std::cos(angle);
    for (int32_t q = 0; q < streak_count; ++q) {
        effect_vertex* v = streaks + q * 4;
        for (int i = 0; i < 4; ++i) {
            v[i].x += dx * speeds[q];
            v[i].y += dy * speeds[q];
        }
        if (v[0].y > 96.0f)
            spawn(q, 1.0f);
    }
    for (int32_t k = 0; k < splash_count; ++k) {
        splash_timers[k] += 200;
        if (splash_timers[k] > splash_cycle) {
            place_splash(k);
            splash_timers[k] = 0;
        }
    }
}

void effect_rain::draw()
{
    glPushAttrib(GL_ENABLE_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    if (streak_texture) {
        streak_texture->bind(-1);
        glVertexPointer(3, GL_FLOAT, sizeof(effect_vertex), &streaks[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(effect_vertex), &streaks[0].u);
        glDrawArrays(GL_QUADS, 0, streak_count * 4);
    }
    if (splash_texture) {
        glVertexPointer(3, GL_FLOAT, sizeof(effect_vertex), &splashes[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(effect_vertex), &splashes[0].u);
        for (int32_t k = 0; k < splash_count; ++k) {
            splash_texture->bind(splash_frame(k));
            glDrawArrays(GL_QUADS, k * 4, 4);
        }
    }
    glPopClientAttrib();
    glPopAttrib();
}
