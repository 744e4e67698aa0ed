// World drawing: a v_world as textured polygons in the current view (the 64 x 64
// playfield). Bodies, free nodes, ropes and links draw the polygons of their types through
// the program's triangle batch, sorted by depth into an opaque and a translucent pass;
// then come the debug markers and the pen of every cut waiting in a replay.
//
// Polygon textures are the type's texture names, fetched once from the store the level's
// types came from (v_level_store()) and held until release_world_textures(). Depths: a
// body polygon at its z plus the body's z_bias, a node polygon at its z, a rope at its
// type's first z; the view shows z from 0 (front) to -16 (back).
//
// The caller has the view set (glw_window::set_view, or render_target::begin_capture),
// depth testing on and the depth buffer cleared; drawing leaves blending as it found it.
#pragma once

#include "physics/world.h"

struct world_draw_style {
    // The editors' look: body outlines (grey edges, white collidable ones), markers, and
    // constraints that cannot be cut, which the game keeps invisible.
    bool debug = false;
    // Whatever would stay invisible for want of a texture is drawn plainly instead: bodies
    // as outlines (pots in their colour, catching edges thick), nodes as discs in their
    // colour, constraints as lines (springs as zigzags), highlights in white. For data
    // roots without art (the developer's viewer), so that no level becomes invisible.
    bool fallback = false;
};

void draw_world(const v_world& world, bool debug);
void draw_world(const v_world& world, const world_draw_style& style);

// Whether some body polygon hides the whole playfield when the world is drawn in an opaque
// colour: a polygon with the 64 x 64 square on the inner side of each of its edges, in the
// view's depth range, of a texture solid in every animation frame (texture.h). Whatever a
// screen draws under the world there would never show, so it need not be drawn.
bool world_hides_playfield(const v_world& world);

// The pen frame of a cut waiting in a replay: min(5, 10 - countdown / 10).
int32_t pen_frame(int32_t countdown);

// Drops the textures world drawing holds; call it before the GL context goes away.
void release_world_textures();
