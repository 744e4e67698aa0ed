// Rendering in one include, and the conventions every drawing call shares.
//
// View space: all game drawing happens in the window's view (glw_window::set_view). The
// game sets centre (32, 32) and half-height 32: 64 units tall, y = 0 at the top and growing
// downward, x centred on 32 and as wide as the window's aspect makes it (x from -8 to 72
// on a 5:4 window). The 64 x 64 playfield of levels is x 0..64, y 0..64. Pointer positions
// come in the same units (glw_window::mouse_position).
//
// Depth: the projection keeps z from 0 (nearest) to -16 (farthest). Sprites, text and
// captions are drawn at z = -1 in the current GL colour (set brightness and fades with
// glColor4f); world polygons at their types' depths through the triangle batch.
//
//   gl_texture::draw_quad / gl_draw_quad   sprites by centre, width, height, uv corners, frame
//   glyph_font::print                      game text with left, centred, right and middle alignment
//   font::print_wrapped                    the editors' fixed-cell text
//   draw_textured_rect                     the editors' rectangles
//   blur_sequence                          dissolving captions
//   triangle_batch_global                  depth-sorted textured triangles
//   draw_world                             a level's bodies, nodes, ropes, markers and pens
//   render_target_global                   the off-screen target and its square capture
//   capture_level_pictures                 a level's four intro pictures as PNG sources
//   effect_rain                            the rain a level may name
//
// Start-up, in this order: gl_register_texture_creator(pak); parse the "INIT" chunks into the
// global script tree (texture metadata is read when a texture loads); once the window exists,
// gl_texture_choose_half_size(screen width, height) before the first texture loads, and
// render_target_global().setup(window, &pak). Each drawn frame adds one to
// gl_textures().frame_counter. Before the window goes: release_world_textures() and
// render_target_global().release(), so that no texture outlives the GL context.
#pragma once

#include "render/blur_sequence.h"
#include "render/effect.h"
#include "render/effect_rain.h"
#include "render/font.h"
#include "render/glyph_font.h"
#include "render/level_pictures.h"
#include "render/render_target.h"
#include "render/resample.h"
#include "render/texture.h"
#include "render/texture_cache.h"
#include "render/triangle_batch.h"
#include "render/world_draw.h"
