// Textures of the base node, constraint and body types. Each texture is drawn in
// the type's own units with the UV layout of the type's polygons (see the type
// files in base/): balls and node discs fill their square, rope textures run along
// u one unit per repeat with v across, link textures run along v (repeating, one
// unit per repeat) with u across, and body textures cover the body's quad.
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_panels.h"
#include "tools/art/art_table.h"

#include <cmath>
#include <string>

namespace {

// Colour index 1 to 4 and the names their types use.
const char* const colour_names[] = {"", "red", "blue", "green", "yellow"};

// ---- Free nodes: a disc of the node's radius centred in a square texture.

void draw_weight(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double r = 1.45, cx = 1.5, cy = 1.5;
    cairo_arc(cr, cx, cy, r, 0, 2 * art_pi);
    art_radial(cr, cx - 0.5, cy - 0.55, 0.05, cx, cy, r,
               {{0, art_hex(0x8A9098)}, {0.5, palette::iron}, {1, art_hex(0x17181B)}});
    cairo_fill(cr);
    // Cast lettering ring and a lifting eye.
    cairo_arc(cr, cx, cy, r * 0.62, 0, 2 * art_pi);
    art_set(cr, art_hex(0x17181B), 0.6);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke(cr);
    art_caption(c, "4", cx, cy + 0.05, 1.15, art_hex(0x9EA6AE), 0.5);
    cairo_arc(cr, cx - 0.5, cy - 0.6, 0.35, 0, 2 * art_pi);
    art_radial(cr, cx - 0.5, cy - 0.6, 0, cx - 0.5, cy - 0.6, 0.35,
               {{0, art_colour{1, 1, 1, 0.4}}, {1, art_colour{1, 1, 1, 0}}});
    cairo_fill(cr);
}

void draw_bumper(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double cx = 1.5, cy = 1.5;
    // Black rubber ring around a brass dome with a spring spiral.
    cairo_arc(cr, cx, cy, 1.46, 0, 2 * art_pi);
    art_radial(cr, cx - 0.4, cy - 0.5, 0.1, cx, cy, 1.46,
               {{0, art_hex(0x6A625C)}, {0.6, palette::rubber}, {1, art_hex(0x141110)}});
    cairo_fill(cr);
    for (int i = 0; i < 16; ++i) {
        double a = i * art_pi / 8;
        cairo_move_to(cr, cx + std::cos(a) * 1.05, cy + std::sin(a) * 1.05);
        cairo_line_to(cr, cx + std::cos(a) * 1.38, cy + std::sin(a) * 1.38);
    }
    art_set(cr, art_hex(0x5A524C), 0.7);
    cairo_set_line_width(cr, 0.07);
    cairo_stroke(cr);
    art_brass_disc(c, cx, cy, 0.95, palette::brass);
    for (double t = 0; t < 5.5 * art_pi; t += 0.1) {
        double rr = 0.08 + t * 0.04;
        cairo_line_to(cr, cx + std::cos(t) * rr, cy + std::sin(t) * rr);
    }
    art_set(cr, palette::brass_dark, 0.85);
    cairo_set_line_width(cr, 0.07);
    cairo_stroke(cr);
}

void draw_anchor(art_canvas& c)
{
    // A brass pin head with a slot, for fixed points ropes hang from.
    double cx = c.units_w / 2, cy = c.units_h / 2, r = c.units_w * 0.46;
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r * 0.9, 0, 2 * art_pi); }, r * 0.06, r * 0.12, r * 0.12,
        0.6);
    art_screw(c.cr, cx, cy, r * 0.9, 0.7);
}

void draw_knot(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double cx = 0.5, cy = 0.5;
    for (int i = 0; i < 3; ++i) {
        double a = i * 2 * art_pi / 3 + 0.3;
        cairo_save(cr);
        cairo_translate(cr, cx + std::cos(a) * 0.1, cy + std::sin(a) * 0.1);
        cairo_rotate(cr, a);
        cairo_scale(cr, 0.3, 0.19);
        cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
        cairo_restore(cr);
        art_radial(
            cr, cx - 0.1, cy - 0.12, 0, cx, cy, 0.42,
            {{0, palette::wood_light.shade(0.3)}, {0.6, palette::wood_light}, {1, palette::wood_dark}});
        cairo_fill_preserve(cr);
        art_set(cr, palette::wood_dark.shade(-0.3));
        cairo_set_line_width(cr, 0.04);
        cairo_stroke(cr);
    }
}

// ---- Ropes: u along the rope (one unit per repeat), v across.

struct rope_look {
    art_colour light, dark;
    int strands;   // twists per unit
    double width;  // drawn width in units (the type's half width x 2)
};

void draw_rope(art_canvas& c, const rope_look& look)
{
    cairo_rectangle(c.cr, 0, 0, c.units_w, c.units_h);
    double h = c.units_h;
    art_fill_with(c, [&](double u, double v) {
        double across = (v / h) * 2 - 1;  // -1 .. 1
        // Round cross-section, and strands twisted across it: each strand is a
        // diagonal band, bright along its middle and dark in the grooves between.
        double round = std::sqrt(std::max(0.0, 1 - across * across));
        double phase = u * look.strands + (v / h) * 1.1;
        double f = phase - std::floor(phase);
        double strand = std::sin(art_pi * f);
        double fibre = art_noise(u * 60, v / h * 4, 171) - 0.5;
        double t =
            1.0 - 0.8 * std::pow(strand, 0.7) * round - 0.1 * round + fibre * 0.15 + 0.1 * (across > 0.3);
        art_colour col = look.light.mix(look.dark, std::clamp(t, 0.0, 1.0));
        double edge = std::clamp((1 - std::abs(across)) * 10, 0.0, 1.0);
        return col.with_alpha(edge);
    });
    cairo_new_path(c.cr);
}

void draw_rubber(art_canvas& c)
{
    cairo_rectangle(c.cr, 0, 0, c.units_w, c.units_h);
    double h = c.units_h;
    art_fill_with(c, [&](double u, double v) {
        double across = (v / h) * 2 - 1;
        double round = std::sqrt(std::max(0.0, 1 - across * across));
        double band = (std::fmod(u * 4, 1.0) < 0.12) ? 0.12 : 0.0;
        art_colour base = art_hex(0x5B4A3E).mix(art_hex(0x2A211C), 1 - round);
        art_colour col = base.shade(band + (across > -0.55 && across < -0.25 ? 0.22 : 0.0));
        double edge = std::clamp((1 - std::abs(across)) * 12, 0.0, 1.0);
        return col.with_alpha(edge);
    });
    cairo_new_path(c.cr);
}

// ---- Links: v along the link (one unit per repeat), u across.

void draw_coil(art_canvas& c, const art_colour& metal, double wire, int coils)
{
    cairo_t* cr = c.cr;
    // Across: u 0..1 spans the spring's width; along: v 0..1 is one unit.
    for (int k = -1; k <= coils; ++k) {
        double v0 = double(k) / coils;
        double step = 1.0 / coils;
        // The back half of a turn (darker), then the front half.
        cairo_move_to(cr, 0.9, v0 + step * 0.5);
        cairo_curve_to(cr, 0.65, v0 + step * 0.55, 0.35, v0 + step * 0.8, 0.1, v0 + step);
        art_set(cr, metal.shade(-0.55));
        cairo_set_line_width(cr, wire * 0.8);
        cairo_stroke(cr);
    }
    for (int k = -1; k <= coils; ++k) {
        double v0 = double(k) / coils, step = 1.0 / coils;
        cairo_move_to(cr, 0.1, v0);
        cairo_curve_to(cr, 0.35, v0 + step * 0.55, 0.65, v0 + step * 0.75, 0.9, v0 + step * 0.5);
        art_set(cr, metal.shade(-0.6));
        cairo_set_line_width(cr, wire * 1.3);
        cairo_stroke_preserve(cr);
        art_linear(cr, 0, 0, 1, 0, {{0, metal.shade(-0.2)}, {0.4, metal.shade(0.5)}, {1, metal.shade(-0.3)}});
        cairo_set_line_width(cr, wire);
        cairo_stroke(cr);
    }
}

void draw_bar(art_canvas& c, const art_colour& light, const art_colour& dark, bool grain)
{
    cairo_rectangle(c.cr, 0, 0, 1, 1);
    art_fill_with(c, [&](double u, double v) {
        double across = u * 2 - 1;
        double round = std::sqrt(std::max(0.0, 1 - across * across));
        double n = grain ? art_fbm(u * 6, v * 1.5, 181, 3) - 0.5 : art_noise(u * 3, v * 8, 183) * 0.2 - 0.1;
        double t = 0.15 + 0.75 * (1 - round) + n * 0.5 - 0.12 * (across < -0.1 && across > -0.6);
        double edge = std::clamp((1 - std::abs(across)) * 10, 0.0, 1.0);
        return light.mix(dark, std::clamp(t, 0.0, 1.0)).with_alpha(edge);
    });
    cairo_new_path(c.cr);
}

// ---- Bodies: the texture covers the body's quad, (0,0) at its first corner.

// Pot: an 8 x 6 cup with 0.6 walls, open at the top; the back wall shows the
// colour's symbol and a band of small symbols, so colour is never the only cue.
void draw_pot(art_canvas& c, int colour_index)
{
    cairo_t* cr = c.cr;
    art_colour col = art_ball_colour(colour_index);
    // Back wall, seen through the open cup.
    cairo_rectangle(cr, 0.5, 0.2, 7.0, 5.4);
    art_linear(cr, 0, 0, 0, 5.6, {{0, col.shade(-0.55)}, {0.5, col.shade(-0.4)}, {1, col.shade(-0.6)}});
    cairo_fill(cr);
    for (int i = 0; i < 7; ++i) {
        cairo_new_path(cr);
        art_symbol_path(cr, colour_index, 1.0 + i * 1.0, 0.95, 0.26);
        art_set(cr, col.shade(-0.15), 0.9);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    art_symbol_path(cr, colour_index, 4.0, 3.35, 1.55);
    art_set(cr, col.shade(0.25), 0.55);
    cairo_fill_preserve(cr);
    art_set(cr, col.shade(0.6), 0.7);
    cairo_set_line_width(cr, 0.1);
    cairo_stroke(cr);
    art_vignette(
        c, [&](cairo_t* m) { cairo_rectangle(m, 0.6, -0.5, 6.8, 5.9); }, 0.9,
        palette::shadow.with_alpha(0.6));
    // Glazed walls and floor.
    auto walls = [&](cairo_t* m) {
        cairo_new_sub_path(m);
        cairo_move_to(m, 0.0, 0.15);
        cairo_line_to(m, 0.6, 0.15);
        cairo_line_to(m, 0.6, 5.4);
        cairo_line_to(m, 7.4, 5.4);
        cairo_line_to(m, 7.4, 0.15);
        cairo_line_to(m, 8.0, 0.15);
        cairo_line_to(m, 8.0, 5.6);
        cairo_curve_to(m, 8.0, 5.9, 7.8, 6.0, 7.5, 6.0);
        cairo_line_to(m, 0.5, 6.0);
        cairo_curve_to(m, 0.2, 6.0, 0.0, 5.9, 0.0, 5.6);
        cairo_close_path(m);
    };
    cairo_new_path(cr);
    walls(cr);
    art_linear(cr, 0, 0, 8, 0,
               {{0, col.shade(-0.25)},
                {0.04, col.shade(0.35)},
                {0.09, col},
                {0.5, col.shade(0.05)},
                {0.91, col},
                {0.96, col.shade(-0.2)},
                {1, col.shade(-0.45)}});
    cairo_fill(cr);
    art_bevel(c, walls, 0.1, 0.5, 0.45);
    // Rims: round caps on the wall tops.
    for (double x : {0.3, 7.7}) {
        cairo_new_path(cr);
        art_rounded_rect(cr, x - 0.36, 0.0, 0.72, 0.42, 0.2);
        art_linear(cr, 0, 0, 0, 0.42, {{0, col.shade(0.6)}, {1, col.shade(-0.1)}});
        cairo_fill(cr);
    }
    // The symbol again, on the front of the floor, for a pot seen at a glance.
    for (int i = 0; i < 3; ++i) {
        cairo_new_path(cr);
        art_symbol_path(cr, colour_index, 2.6 + i * 1.4, 5.7, 0.2);
        art_set(cr, palette::cream, 0.85);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    walls(cr);
    art_set(cr, col.shade(-0.7), 0.8);
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
}

// Plain wooden pieces: block, crate, plank, beam.
void draw_block(art_canvas& c)
{
    cairo_t* cr = c.cr;
    auto box = [&](cairo_t* m) { art_rounded_rect(m, 0.02, 0.02, 1.96, 1.96, 0.18); };
    cairo_new_path(cr);
    box(cr);
    art_fill_wood(c, art_wood{palette::wood_light, palette::wood, 2.2, 0.0, 191});
    cairo_new_path(cr);
    art_bevel(c, box, 0.12, 0.55, 0.5);
    cairo_new_path(cr);
    art_rounded_rect(cr, 0.45, 0.45, 1.1, 1.1, 0.1);
    art_set(cr, palette::wood_dark, 0.5);
    cairo_set_line_width(cr, 0.06);
    cairo_stroke(cr);
    box(cr);
    art_set(cr, palette::wood_dark.shade(-0.4));
    cairo_set_line_width(cr, 0.04);
    cairo_stroke(cr);
}

void draw_crate(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 4, 4);
    art_set(cr, palette::walnut_dark);
    cairo_fill(cr);
    // Four boards behind, a frame and a diagonal brace in front.
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, 0.05, 0.05 + i * 0.975, 3.9, 0.92);
        art_fill_wood(c, art_wood{palette::wood, palette::wood_dark, 1.6, 0.0, 200u + i});
        cairo_new_path(cr);
    }
    auto frame = [&](cairo_t* m) {
        cairo_rectangle(m, 0, 0, 4, 4);
        cairo_rectangle(m, 3.45, 0.55, -2.9, 2.9);
    };
    auto brace = [&](cairo_t* m) {
        cairo_move_to(m, 0.55, 3.05);
        cairo_line_to(m, 3.05, 0.55);
        cairo_line_to(m, 3.45, 0.95);
        cairo_line_to(m, 0.95, 3.45);
        cairo_close_path(m);
    };
    art_drop_shadow(c, brace, 0.04, 0.08, 0.08, 0.55);
    cairo_new_path(cr);
    brace(cr);
    art_fill_wood(c, art_wood{palette::wood_light, palette::wood, 1.8, -art_pi / 4, 211});
    cairo_new_path(cr);
    art_bevel(c, brace, 0.06, 0.4, 0.4);
    cairo_new_path(cr);
    frame(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    art_fill_wood(c, art_wood{palette::wood_light, palette::wood_dark, 1.4, 0.0, 212});
    cairo_new_path(cr);
    art_bevel(c, frame, 0.08, 0.45, 0.5);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (double x : {0.27, 3.73})
        for (double y : {0.27, 3.73}) {
            cairo_arc(cr, x, y, 0.09, 0, 2 * art_pi);
            art_set(cr, palette::iron);
            cairo_fill(cr);
        }
}

// A beam filling the rectangle (x, y, w, h) of the canvas, nailed every `nails_every` units.
void draw_beam_at(art_canvas& c, double x, double y, double w, double h, const art_wood& wood,
                  double nails_every)
{
    cairo_t* cr = c.cr;
    auto shape = [&](cairo_t* m) { art_rounded_rect(m, x + 0.02, y + 0.02, w - 0.04, h - 0.04, h * 0.2); };
    cairo_new_path(cr);
    shape(cr);
    art_fill_wood(c, wood);
    cairo_new_path(cr);
    art_bevel(c, shape, h * 0.1, 0.5, 0.55);
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, wood.dark.shade(-0.5));
    cairo_set_line_width(cr, h * 0.05);
    cairo_stroke(cr);
    if (nails_every > 0)
        for (double nx = x + nails_every / 2; nx < x + w; nx += nails_every)
            for (double ny : {y + h * 0.28, y + h * 0.72}) {
                cairo_arc(cr, nx, ny, h * 0.07, 0, 2 * art_pi);
                art_set(cr, palette::iron);
                cairo_fill(cr);
            }
}

void draw_beam(art_canvas& c, const art_wood& wood, double nails_every)
{
    draw_beam_at(c, 0, 0, c.units_w, c.units_h, wood, nails_every);
}

void draw_lever(art_canvas& c)
{
    draw_beam(c, art_wood{palette::wood_light, palette::wood_dark, 3.0, 0.0, 221}, 0);
    // Brass pivot boss at the centre node.
    art_brass_disc(c, 8, 0.5, 0.44);
    art_screw(c.cr, 8, 0.5, 0.18, 0.5);
    for (double x : {0.6, 15.4}) {
        cairo_rectangle(c.cr, x - 0.25, 0.08, 0.5, 0.84);
        art_set(c.cr, palette::brass_dark, 0.9);
        cairo_fill(c.cr);
    }
}

void draw_windmill(art_canvas& c)
{
    cairo_t* cr = c.cr;
    // Two lattice sails on a painted stock, the hub in the middle.
    draw_beam(c, art_wood{art_hex(0xB8564A), art_hex(0x6E2C25), 4.0, 0.0, 231}, 0);
    for (int side = 0; side < 2; ++side) {
        double x0 = side ? 6.9 : 0.5, x1 = side ? 11.5 : 5.1;
        cairo_rectangle(cr, x0, 0.12, x1 - x0, 0.76);
        art_set(cr, palette::paper, 0.92);
        cairo_fill(cr);
        for (double x = x0; x <= x1 + 0.01; x += (x1 - x0) / 6) {
            cairo_move_to(cr, x, 0.12);
            cairo_line_to(cr, x, 0.88);
        }
        cairo_move_to(cr, x0, 0.5);
        cairo_line_to(cr, x1, 0.5);
        art_set(cr, palette::wood_dark);
        cairo_set_line_width(cr, 0.06);
        cairo_stroke(cr);
    }
    art_brass_disc(c, 6, 0.5, 0.46);
    art_screw(cr, 6, 0.5, 0.2, 1.1);
}

// The wheel's polygon is the square (-2.1, -2.1)-(2.1, 2.1); its rim is the
// octagon of the collision outline (corners at radius 2, 22.5 degrees off axis).
void draw_wheel(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double cx = 2.1, cy = 2.1;
    auto rim = [&](cairo_t* m) {
        art_polygon_path(m, cx, cy, 2.0, 8, art_pi / 8);
        art_polygon_path(m, cx, cy, 1.45, 8, art_pi / 8);
    };
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    // Spokes.
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * art_pi / 4);
        cairo_rectangle(cr, -1.6, -0.16, 3.2, 0.32);
        cairo_restore(cr);
        art_fill_wood(c, art_wood{palette::wood_light, palette::wood, 2.0, i * art_pi / 4, 240u + i});
        cairo_new_path(cr);
    }
    cairo_new_path(cr);
    rim(cr);
    art_fill_wood(c, art_wood{palette::wood, palette::wood_dark, 2.5, 0.5, 245});
    cairo_new_path(cr);
    art_bevel(c, rim, 0.08, 0.45, 0.5);
    cairo_new_path(cr);
    rim(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (int i = 0; i < 8; ++i) {
        double a = art_pi / 8 + i * art_pi / 4;
        cairo_arc(cr, cx + std::cos(a) * 1.72, cy + std::sin(a) * 1.72, 0.07, 0, 2 * art_pi);
        art_set(cr, palette::brass_dark);
        cairo_fill(cr);
    }
    art_brass_disc(c, cx, cy, 0.55);
    art_screw(cr, cx, cy, 0.22, 0.3);
}

void draw_slider(art_canvas& c)
{
    cairo_t* cr = c.cr;
    auto body = [&](cairo_t* m) { art_rounded_rect(m, 0.03, 0.03, 3.94, 1.94, 0.3); };
    cairo_new_path(cr);
    body(cr);
    art_linear(cr, 0, 0, 0, 2, {{0, palette::steel_light}, {0.45, palette::steel}, {1, palette::steel_dark}});
    cairo_fill(cr);
    art_bevel(c, body, 0.1, 0.5, 0.5);
    // Brass rollers top and bottom, riveted plate in the middle.
    for (double x : {0.8, 3.2})
        for (double y : {0.35, 1.65}) {
            art_brass_disc(c, x, y, 0.26);
        }
    cairo_new_path(cr);
    art_rounded_rect(cr, 1.35, 0.55, 1.3, 0.9, 0.12);
    art_set(cr, palette::enamel);
    cairo_fill(cr);
    cairo_move_to(cr, 1.55, 1.0);
    cairo_line_to(cr, 2.45, 1.0);
    cairo_move_to(cr, 1.75, 0.8);
    cairo_line_to(cr, 1.55, 1.0);
    cairo_line_to(cr, 1.75, 1.2);
    cairo_move_to(cr, 2.25, 0.8);
    cairo_line_to(cr, 2.45, 1.0);
    cairo_line_to(cr, 2.25, 1.2);
    art_set(cr, palette::cream);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke(cr);
}

// The balance: a beam hung from a brass stirrup whose pin sits 2 units above its middle.
// The texture spans 16 x 4 units, the beam along its bottom unit, the top unit empty.
void draw_balance(art_canvas& c)
{
    cairo_t* cr = c.cr;
    // Stirrup: two straps from the beam up to the pin, a dark edge under a bright face.
    for (auto [colour, width] : {std::pair{palette::brass_dark, 0.34}, std::pair{palette::brass, 0.2}}) {
        cairo_move_to(cr, 4.2, 3.1);
        cairo_line_to(cr, 8.0, 1.55);
        cairo_line_to(cr, 11.8, 3.1);
        art_set(cr, colour);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    }
    draw_beam_at(c, 0, 3.0, 16, 1, art_wood{palette::wood_light, palette::wood_dark, 3.0, 0.0, 261}, 0);
    for (double x : {0.5, 4.5, 11.5, 15.5}) {
        cairo_arc(cr, x, 3.5, 0.12, 0, 2 * art_pi);
        art_set(cr, palette::iron);
        cairo_fill(cr);
    }
    art_brass_disc(c, 8.0, 1.55, 0.5);
    art_screw(cr, 8.0, 1.55, 0.2, 0.7);
}

// A chute: a smooth dark board with raised edges, so a ball lands dead on it.
void draw_chute(art_canvas& c)
{
    draw_beam(c, art_wood{palette::walnut, palette::walnut_dark, 5.0, 0.0, 262}, 0);
    cairo_t* cr = c.cr;
    for (double y : {0.16, 0.84}) {
        cairo_move_to(cr, 0.3, y);
        cairo_line_to(cr, c.units_w - 0.3, y);
    }
    art_set(cr, palette::wood_light, 0.55);
    cairo_set_line_width(cr, 0.07);
    cairo_stroke(cr);
}

// The motor gear: 8 x 8 units, its teeth reaching the collision circle of radius 4.
void draw_gear(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double cx = 4, cy = 4;
    auto body = [&](cairo_t* m) {
        art_gear_path(m, cx, cy, 3.35, 3.95, 16);
        cairo_new_sub_path(m);
        cairo_arc(m, cx, cy, 0.7, 0, 2 * art_pi);
    };
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    art_drop_shadow(c, body, 0.06, 0.1, 0.12, 0.5);
    cairo_new_path(cr);
    body(cr);
    art_radial(cr, cx - 1, cy - 1, 0.5, cx, cy, 4.2,
               {{0, palette::brass_light}, {0.55, palette::brass}, {1, palette::brass_dark}});
    cairo_fill(cr);
    art_bevel(c, body, 0.12, 0.5, 0.55);
    // Four windows between the spokes.
    for (int i = 0; i < 4; ++i) {
        double a0 = i * art_pi / 2 + 0.22, a1 = (i + 1) * art_pi / 2 - 0.22;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 2.7, a0, a1);
        cairo_arc_negative(cr, cx, cy, 1.25, a1, a0);
        cairo_close_path(cr);
        art_set(cr, palette::walnut_dark, 0.85);
        cairo_fill(cr);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    art_brass_disc(c, cx, cy, 0.9, palette::steel);
    art_screw(cr, cx, cy, 0.35, 0.4);
}

}  // namespace

void add_type_textures(art_table& table)
{
    for (int k = 1; k <= 4; ++k) {
        table.add(art_tex("balls\\" + std::string(colour_names[k])), 128, 128, 2, 2,
                  [k](art_canvas& c) { art_glass_ball(c, 1, 1, 0.97, art_ball_colour(k), k); });
        table.add(art_tex("bodies\\pot_" + std::string(colour_names[k])), 256, 256, 8, 6,
                  [k](art_canvas& c) { draw_pot(c, k); });
    }
    table.add(art_tex("nodes\\weight"), 128, 128, 3, 3, draw_weight);
    table.add(art_tex("nodes\\bumper"), 128, 128, 3, 3, draw_bumper);
    table.add(art_tex("nodes\\anchor"), 64, 64, 1.2, 1.2, draw_anchor);
    table.add(art_tex("nodes\\pin"), 64, 64, 0.8, 0.8, draw_anchor);
    table.add(art_tex("nodes\\knot"), 64, 64, 1, 1, draw_knot);

    struct rope_row {
        const char* name;
        rope_look look;
    };
    const rope_row ropes[] = {
        {"rope", {art_hex(0xE8C88C), art_hex(0x8E6A3A), 3, 0.44}},
        {"hemp", {art_hex(0xC9A56A), art_hex(0x5E4326), 2, 0.5}},
    };
    for (const rope_row& r : ropes) {
        art_texture& t = table.add(art_tex("ropes\\" + std::string(r.name)), 64, 32, 1, r.look.width,
                                   [look = r.look](art_canvas& c) { draw_rope(c, look); });
        t.repeat = true;
    }
    art_texture& rubber = table.add(art_tex("ropes\\rubber"), 64, 32, 1, 0.44, draw_rubber);
    rubber.repeat = true;

    struct link_row {
        const char* name;
        std::function<void(art_canvas&)> draw;
    };
    const link_row links[] = {
        {"stick", [](art_canvas& c) { draw_bar(c, palette::wood_light, palette::wood_dark, true); }},
        {"rod", [](art_canvas& c) { draw_bar(c, art_hex(0x7A7F86), palette::iron, false); }},
        {"rod_steel", [](art_canvas& c) { draw_bar(c, palette::steel_light, palette::steel_dark, false); }},
        {"bar", [](art_canvas& c) { draw_bar(c, palette::brass_light, palette::brass_dark, false); }},
        {"spring", [](art_canvas& c) { draw_coil(c, palette::steel, 0.09, 3); }},
        {"spring_soft", [](art_canvas& c) { draw_coil(c, art_hex(0xC98B4E), 0.07, 2); }},
        {"spring_stiff", [](art_canvas& c) { draw_coil(c, palette::steel_dark.shade(0.2), 0.13, 4); }},
    };
    for (const link_row& l : links) {
        art_texture& t = table.add(art_tex("links\\" + std::string(l.name)), 64, 64, 1, 1, l.draw);
        t.repeat = true;
    }

    table.add(art_tex("bodies\\block"), 128, 128, 2, 2, draw_block);
    table.add(art_tex("bodies\\crate"), 256, 256, 4, 4, draw_crate);
    table.add(art_tex("bodies\\plank"), 512, 64, 12, 1, [](art_canvas& c) {
        draw_beam(c, art_wood{palette::wood_light, palette::wood_dark, 3.0, 0.0, 251}, 2.0);
    });
    table.add(art_tex("bodies\\floor"), 1024, 64, 40, 2, [](art_canvas& c) {
        draw_beam(c, art_wood{palette::wood, palette::walnut, 1.6, 0.0, 252}, 4.0);
    });
    table.add(art_tex("bodies\\lever"), 1024, 64, 16, 1, draw_lever);
    table.add(art_tex("bodies\\windmill"), 512, 64, 12, 1, draw_windmill);
    table.add(art_tex("bodies\\wheel"), 256, 256, 4.2, 4.2, draw_wheel);
    table.add(art_tex("bodies\\slider"), 256, 128, 4, 2, draw_slider);
    table.add(art_tex("bodies\\balance"), 1024, 256, 16, 4, draw_balance);
    table.add(art_tex("bodies\\chute"), 512, 64, 12, 1, draw_chute);
    table.add(art_tex("bodies\\gear"), 256, 256, 8, 8, draw_gear);
}
