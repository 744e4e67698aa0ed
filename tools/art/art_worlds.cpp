// World art for the four worlds: the map picture, the emblem banner, two
// medallions (large and icon), the rune (plate, three segments at three sizes,
// the completed rune) and the two rune tiles. Texture names are
// "tex\worlds\<key>\<part>"; base/README.md lists them for the worlds data.
#include "tools/art/art_worlds.h"
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_panels.h"
#include "tools/art/art_table.h"

#include <cmath>
#include <string>

namespace {

// ---- Emblems and medal motifs, drawn in ink-like strokes within radius r.

void emblem_workshop(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    // A hammer crossed with a saw.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, art_pi / 4);
    art_rounded_rect(cr, -r * 0.85, -r * 0.3, r * 1.45, r * 0.5, r * 0.06);  // saw blade
    art_set(cr, palette::steel_light);
    cairo_fill_preserve(cr);
    art_set(cr, palette::steel_dark);
    cairo_set_line_width(cr, r * 0.05);
    cairo_stroke(cr);
    for (int i = 0; i < 9; ++i) {
        double x = -r * 0.85 + i * r * 0.16;
        cairo_move_to(cr, x, r * 0.2);
        cairo_line_to(cr, x + r * 0.08, r * 0.32);
        cairo_line_to(cr, x + r * 0.16, r * 0.2);
    }
    art_set(cr, palette::steel_dark);
    cairo_fill(cr);
    art_rounded_rect(cr, r * 0.55, -r * 0.38, r * 0.42, r * 0.66, r * 0.12);  // saw handle
    art_set(cr, palette::wood_dark);
    cairo_fill(cr);
    cairo_rotate(cr, -art_pi / 2);
    art_rounded_rect(cr, -r * 0.1, -r * 0.85, r * 0.2, r * 1.7, r * 0.08);  // hammer handle
    art_set(cr, palette::wood_light);
    cairo_fill_preserve(cr);
    art_set(cr, palette::wood_dark);
    cairo_set_line_width(cr, r * 0.05);
    cairo_stroke(cr);
    art_rounded_rect(cr, -r * 0.45, -r * 0.95, r * 0.9, r * 0.34, r * 0.06);  // head
    art_set(cr, palette::iron);
    cairo_fill(cr);
    cairo_restore(cr);
}

void emblem_mill(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    // A water wheel: rim, spokes and paddles, with water below.
    for (int i = 0; i < 12; ++i) {
        double a = i * art_pi / 6;
        cairo_save(cr);
        cairo_translate(cr, cx + std::cos(a) * r * 0.8, cy + std::sin(a) * r * 0.8);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -r * 0.16, -r * 0.09, r * 0.34, r * 0.18);
        cairo_restore(cr);
    }
    art_set(cr, palette::wood);
    cairo_fill_preserve(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r * 0.66, 0, 2 * art_pi);
    art_set(cr, palette::wood_dark);
    cairo_set_line_width(cr, r * 0.12);
    cairo_stroke(cr);
    for (int i = 0; i < 6; ++i) {
        double a = i * art_pi / 3 + 0.2;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.62, cy + std::sin(a) * r * 0.62);
    }
    art_set(cr, palette::wood_dark);
    cairo_set_line_width(cr, r * 0.08);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r * 0.14, 0, 2 * art_pi);
    art_set(cr, palette::brass);
    cairo_fill(cr);
    for (int k = 0; k < 2; ++k) {
        double y = cy + r * (0.78 + k * 0.16);
        cairo_move_to(cr, cx - r * 0.95, y);
        for (int i = 1; i <= 8; ++i)
            cairo_line_to(cr, cx - r * 0.95 + i * r * 0.2375, y + ((i % 2) ? -r * 0.06 : r * 0.06));
        art_set(cr, palette::water.shade(-0.2));
        cairo_set_line_width(cr, r * 0.07);
        cairo_stroke(cr);
    }
}

void emblem_clocktower(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    // A gear with clock hands.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    art_gear_path(cr, cx, cy, r * 0.78, r * 0.98, 12);
    cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * art_pi);
    art_linear(cr, cx - r, cy - r, cx + r, cy + r,
               {{0, palette::brass_light}, {0.5, palette::brass}, {1, palette::brass_dark}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark.shade(-0.4));
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * art_pi);
    art_set(cr, palette::enamel);
    cairo_fill(cr);
    for (int i = 0; i < 12; ++i) {
        double a = i * art_pi / 6;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.4, cy + std::sin(a) * r * 0.4);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.46, cy + std::sin(a) * r * 0.46);
    }
    art_set(cr, palette::cream);
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + r * 0.02, cy - r * 0.36);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + r * 0.24, cy + r * 0.08);
    art_set(cr, palette::cream);
    cairo_set_line_width(cr, r * 0.07);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r * 0.06, 0, 2 * art_pi);
    art_set(cr, palette::brass);
    cairo_fill(cr);
}

void emblem_observatory(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    // A brass telescope on a tripod, aimed at a star.
    cairo_move_to(cr, cx - r * 0.1, cy + r * 0.1);
    cairo_line_to(cr, cx - r * 0.55, cy + r * 0.9);
    cairo_move_to(cr, cx - r * 0.1, cy + r * 0.1);
    cairo_line_to(cr, cx + r * 0.35, cy + r * 0.9);
    cairo_move_to(cr, cx - r * 0.1, cy + r * 0.1);
    cairo_line_to(cr, cx - r * 0.1, cy + r * 0.9);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, r * 0.08);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.1, cy + r * 0.05);
    cairo_rotate(cr, -0.6);
    art_rounded_rect(cr, -r * 0.55, -r * 0.13, r * 1.15, r * 0.26, r * 0.05);
    art_linear(cr, 0, -r * 0.15, 0, r * 0.15,
               {{0, palette::brass_light}, {0.5, palette::brass}, {1, palette::brass_dark}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark.shade(-0.4));
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
    art_rounded_rect(cr, r * 0.6, -r * 0.17, r * 0.12, r * 0.34, r * 0.03);
    art_set(cr, palette::walnut_dark);
    cairo_fill(cr);
    cairo_restore(cr);
    art_star_path(cr, cx + r * 0.55, cy - r * 0.6, r * 0.32, r * 0.12, 5);
    art_set(cr, palette::yellow);
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark);
    cairo_set_line_width(cr, r * 0.03);
    cairo_stroke(cr);
}

void motif_comet(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    // A comet: a bright head and a fanned tail.
    for (int k = 0; k < 3; ++k) {
        double spread = (k - 1) * 0.18;
        cairo_move_to(cr, cx + r * 0.35, cy - r * 0.35);
        cairo_curve_to(cr, cx, cy + spread * r, cx - r * 0.4, cy + r * 0.2 + spread * r, cx - r * 0.85,
                       cy + r * 0.75 + spread * r);
    }
    art_set(cr, palette::cream, 0.8);
    cairo_set_line_width(cr, r * 0.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_arc(cr, cx + r * 0.4, cy - r * 0.4, r * 0.26, 0, 2 * art_pi);
    art_radial(cr, cx + r * 0.35, cy - r * 0.45, 0, cx + r * 0.4, cy - r * 0.4, r * 0.26,
               {{0, palette::cream}, {1, palette::yellow}});
    cairo_fill(cr);
}

void motif_crate(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    double s = r * 0.62;
    cairo_rectangle(cr, cx - s, cy - s, 2 * s, 2 * s);
    art_set(cr, palette::wood);
    cairo_fill_preserve(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, r * 0.08);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - s, cy + s);
    cairo_line_to(cr, cx + s, cy - s);
    cairo_stroke(cr);
    cairo_rectangle(cr, cx - s * 0.75, cy - s * 0.75, s * 1.5, s * 1.5);
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
}

void motif_flower(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    cairo_move_to(cr, cx, cy + r * 0.9);
    cairo_curve_to(cr, cx - r * 0.1, cy + r * 0.4, cx + r * 0.1, cy + r * 0.2, cx, cy);
    art_set(cr, palette::grass_dark);
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
    for (int i = 0; i < 6; ++i) {
        double a = i * art_pi / 3;
        cairo_save(cr);
        cairo_translate(cr, cx + std::cos(a) * r * 0.32, cy - r * 0.2 + std::sin(a) * r * 0.32);
        cairo_rotate(cr, a);
        cairo_scale(cr, r * 0.3, r * 0.17);
        cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
        cairo_restore(cr);
    }
    art_set(cr, palette::cream);
    cairo_fill_preserve(cr);
    art_set(cr, palette::ink_soft, 0.6);
    cairo_set_line_width(cr, r * 0.03);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy - r * 0.2, r * 0.18, 0, 2 * art_pi);
    art_set(cr, palette::yellow);
    cairo_fill(cr);
}

void motif_bell(art_canvas& c, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    cairo_move_to(cr, cx - r * 0.7, cy + r * 0.5);
    cairo_curve_to(cr, cx - r * 0.5, cy + r * 0.3, cx - r * 0.55, cy - r * 0.75, cx, cy - r * 0.75);
    cairo_curve_to(cr, cx + r * 0.55, cy - r * 0.75, cx + r * 0.5, cy + r * 0.3, cx + r * 0.7, cy + r * 0.5);
    cairo_close_path(cr);
    art_linear(cr, cx - r, 0, cx + r, 0,
               {{0, palette::brass_dark}, {0.35, palette::brass_light}, {1, palette::brass_dark}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, r * 0.05);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy + r * 0.62, r * 0.14, 0, 2 * art_pi);
    art_set(cr, palette::brass_dark);
    cairo_fill(cr);
}

// ---- Medallions: a struck metal disc on a ribbon; the large one for the award
// card (16 x 16 units), the icon for lists and tiles.

void draw_medal(art_canvas& c, const art_world& w, int which, bool large)
{
    cairo_t* cr = c.cr;
    double cx = 8, cy = large ? 9.3 : 8, r = large ? 5.6 : 7.2;
    art_colour metal = which == 1 ? palette::brass : palette::steel;
    if (large) {
        // Ribbon behind the disc.
        for (int side = 0; side < 2; ++side) {
            double s = side ? 1 : -1;
            cairo_move_to(cr, cx + s * 1.0, 0.4);
            cairo_line_to(cr, cx + s * 3.8, 0.4);
            cairo_line_to(cr, cx + s * 1.2, cy);
            cairo_line_to(cr, cx - s * 1.2, cy);
            cairo_close_path(cr);
            art_set(cr, side ? w.ribbon : w.ribbon.shade(-0.2));
            cairo_fill_preserve(cr);
            art_set(cr, w.ribbon.shade(-0.5));
            cairo_set_line_width(cr, 0.1);
            cairo_stroke(cr);
        }
        cairo_rectangle(cr, cx - 0.6, 0.4, 1.2, cy - 0.4);
        art_set(cr, palette::cream, 0.8);
        cairo_fill(cr);
    }
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, r * 0.03, r * 0.06, r * 0.07, 0.55);
    // Milled edge.
    cairo_new_path(cr);
    art_gear_path(cr, cx, cy, r * 0.96, r, 48);
    art_set(cr, metal.shade(-0.35));
    cairo_fill(cr);
    art_brass_disc(c, cx, cy, r * 0.95, metal);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.66, 0, 2 * art_pi);
    art_set(cr, w.enamel);
    cairo_fill_preserve(cr);
    art_set(cr, metal.shade(-0.5));
    cairo_set_line_width(cr, r * 0.03);
    cairo_stroke(cr);
    // Stars around the rim, as many as the medal's number.
    for (int i = 0; i < 5; ++i) {
        double a = -art_pi / 2 + (i - 2) * 0.32;
        if (which == 1 && (i == 0 || i == 4))
            continue;
        cairo_new_path(cr);
        art_star_path(cr, cx + std::cos(a) * r * 0.81, cy + std::sin(a) * r * 0.81, r * 0.08, r * 0.035, 5);
        art_set(cr, metal.shade(-0.45));
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    (which == 1 ? w.emblem : w.motif)(c, cx, cy, r * 0.52);
    cairo_new_path(cr);
    cairo_arc(cr, cx - r * 0.35, cy - r * 0.4, r * 0.45, 0, 2 * art_pi);
    art_radial(cr, cx - r * 0.35, cy - r * 0.4, 0, cx - r * 0.35, cy - r * 0.4, r * 0.45,
               {{0, art_colour{1, 1, 1, 0.35}}, {1, art_colour{1, 1, 1, 0}}});
    cairo_fill(cr);
}

// ---- Rune: a round plate with three sector-shaped glass inlays; a glyph runs
// across all three, so each segment carries a piece of it.

void sector_path(cairo_t* cr, double cx, double cy, double r_in, double r_out, int k)
{
    double gap = 0.09;
    double a0 = -art_pi / 2 + k * 2 * art_pi / 3 + gap, a1 = a0 + 2 * art_pi / 3 - 2 * gap;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r_out, a0, a1);
    cairo_arc_negative(cr, cx, cy, r_in, a1, a0);
    cairo_close_path(cr);
}

void rune_glyph(cairo_t* cr, const art_world& w, double cx, double cy, double r)
{
    // Each world's glyph: a few strokes through the centre and out into all three sectors.
    switch (w.rune_shape) {
    case 0:  // workshop: a square with a cross (a plan)
        cairo_rectangle(cr, cx - r * 0.5, cy - r * 0.5, r, r);
        cairo_move_to(cr, cx - r * 0.75, cy);
        cairo_line_to(cr, cx + r * 0.75, cy);
        cairo_move_to(cr, cx, cy - r * 0.75);
        cairo_line_to(cr, cx, cy + r * 0.75);
        break;
    case 1:  // mill: a wave under an arc (water and wheel)
        cairo_arc(cr, cx, cy + r * 0.1, r * 0.55, art_pi, 2 * art_pi);
        cairo_move_to(cr, cx - r * 0.75, cy + r * 0.35);
        for (int i = 1; i <= 6; ++i)
            cairo_line_to(cr, cx - r * 0.75 + i * r * 0.25, cy + r * ((i % 2) ? 0.18 : 0.35));
        cairo_move_to(cr, cx, cy - r * 0.75);
        cairo_line_to(cr, cx, cy + r * 0.1);
        break;
    case 3:  // observatory: a star inside an orbit crossed by a line of sight
        cairo_new_sub_path(cr);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1.0, 0.55);
        cairo_arc(cr, 0, 0, r * 0.7, 0, 2 * art_pi);
        cairo_restore(cr);
        for (int i = 0; i < 4; ++i) {
            double a = i * art_pi / 2 + art_pi / 4;
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + std::cos(a) * r * 0.3, cy + std::sin(a) * r * 0.3);
        }
        cairo_move_to(cr, cx - r * 0.85, cy + r * 0.6);
        cairo_line_to(cr, cx + r * 0.85, cy - r * 0.6);
        break;
    default:  // clocktower: a circle with two hands and a tick
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, r * 0.6, 0, 2 * art_pi);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx, cy - r * 0.45);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * 0.38, cy + r * 0.22);
        cairo_move_to(cr, cx - r * 0.85, cy);
        cairo_line_to(cr, cx - r * 0.65, cy);
        break;
    }
}

// The plate alone (engraved empty sectors), `glow` for the completed rune.
void draw_rune_plate(art_canvas& c, const art_world& w, double cx, double cy, double r)
{
    cairo_t* cr = c.cr;
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, r * 0.04, r * 0.07, r * 0.08, 0.55);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * art_pi);
    art_fill_with(c, [&](double x, double y) {
        double n = art_fbm(x / r * 3, y / r * 3, 301, 3) - 0.5;
        return w.plate.shade(n * 0.25 - 0.1 * (y - cy) / r);
    });
    cairo_new_path(cr);
    art_bevel(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, r * 0.07, 0.45, 0.55);
    for (int k = 0; k < 3; ++k) {
        cairo_new_path(cr);
        sector_path(cr, cx, cy, r * 0.18, r * 0.8, k);
        art_set(cr, palette::shadow, 0.5);
        cairo_fill(cr);
        art_bevel(
            c, [&](cairo_t* m) { sector_path(m, cx, cy, r * 0.18, r * 0.8, k); }, r * 0.04, 0.0, 0.0);
    }
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.97, 0, 2 * art_pi);
    art_set(cr, w.plate.shade(-0.6));
    cairo_set_line_width(cr, r * 0.04);
    cairo_stroke(cr);
}

// Segment k alone: its glass inlay with its piece of the glyph.
void draw_rune_segment(art_canvas& c, const art_world& w, double cx, double cy, double r, int k)
{
    cairo_t* cr = c.cr;
    cairo_new_path(cr);
    sector_path(cr, cx, cy, r * 0.18, r * 0.8, k);
    art_radial(cr, cx, cy, r * 0.15, cx, cy, r * 0.85,
               {{0, w.glass.shade(0.5)}, {0.6, w.glass}, {1, w.glass.shade(-0.35)}});
    cairo_fill_preserve(cr);
    art_set(cr, w.glass.shade(-0.6));
    cairo_set_line_width(cr, r * 0.035);
    cairo_stroke(cr);
    cairo_save(cr);
    sector_path(cr, cx, cy, r * 0.18, r * 0.8, k);
    cairo_clip(cr);
    cairo_new_path(cr);
    rune_glyph(cr, w, cx, cy, r);
    art_set(cr, palette::cream, 0.92);
    cairo_set_line_width(cr, r * 0.09);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void draw_rune_complete(art_canvas& c, const art_world& w)
{
    double cx = 8, cy = 8, r = 6.4;
    art_glow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r * 1.02, 0, 2 * art_pi); }, r * 0.12,
        w.glass.shade(0.4).with_alpha(0.9));
    draw_rune_plate(c, w, cx, cy, r);
    for (int k = 0; k < 3; ++k)
        draw_rune_segment(c, w, cx, cy, r, k);
    cairo_new_path(c.cr);
    rune_glyph(c.cr, w, cx, cy, r);
    art_set(c.cr, palette::cream, 0.35);
    cairo_set_line_width(c.cr, r * 0.03);
    cairo_stroke(c.cr);
}

// Rune tiles: the token of a level locked behind this world's rune, open (1) or solved (2).
void draw_rune_tile(art_canvas& c, const art_world& w, int state)
{
    cairo_t* cr = c.cr;
    double cx = 2, cy = 2, r = 1.82;
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, 0.05, 0.12, 0.12, 0.55);
    art_brass_disc(c, cx, cy, r, w.plate);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.74, 0, 2 * art_pi);
    art_radial(cr, cx - 0.3, cy - 0.4, 0, cx, cy, r * 0.8,
               {{0, w.glass.shade(state == 2 ? 0.6 : 0.35)}, {0.7, w.glass}, {1, w.glass.shade(-0.4)}});
    cairo_fill(cr);
    cairo_new_path(cr);
    rune_glyph(cr, w, cx, cy, r * 0.72);
    art_set(cr, palette::cream, state == 2 ? 1.0 : 0.85);
    cairo_set_line_width(cr, 0.16);
    cairo_stroke(cr);
    if (state == 2) {
        cairo_new_path(cr);
        art_star_path(cr, cx + r * 0.62, cy + r * 0.62, 0.55, 0.24, 5);
        art_set(cr, palette::brass_light);
        cairo_fill_preserve(cr);
        art_set(cr, palette::walnut_dark);
        cairo_set_line_width(cr, 0.06);
        cairo_stroke(cr);
    }
}

void draw_trophy_blank(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_arc(cr, 8, 8, 6.6, 0, 2 * art_pi);
    art_set(cr, palette::shadow, 0.35);
    cairo_fill_preserve(cr);
    art_set(cr, palette::paper_shade, 0.8);
    cairo_set_line_width(cr, 0.6);
    cairo_set_dash(cr, std::initializer_list<double>{1.2, 0.8}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    art_caption(c, "?", 8, 8, 8, palette::paper_shade.with_alpha(0.85), 0);
}

std::string world_name(const art_world& w, const std::string& part)
{
    return art_tex("worlds\\" + std::string(w.key) + "\\" + part);
}

}  // namespace

const std::vector<art_world>& art_worlds()
{
    static const std::vector<art_world> worlds = {
        {"workshop", "The Workshop", art_wood{palette::wood_light, palette::wood_dark, 0.9, 0, 311},
         art_hex(0xC96A2B), art_hex(0x8C3B2A), art_hex(0xB98A4A), art_hex(0xE89A3C), 0, emblem_workshop,
         motif_crate, art_draw_workshop_map, art_draw_workshop_backdrop},
        {"mill", "The Mill", art_wood{art_hex(0xD9C9A0), art_hex(0x7D6B4A), 0.9, 0, 312}, art_hex(0x3E8A4F),
         art_hex(0x2F6E7E), palette::stone, art_hex(0x49B89A), 1, emblem_mill, motif_flower,
         art_draw_mill_map, art_draw_mill_backdrop},
        {"clocktower", "The Clocktower", art_wood{palette::walnut, palette::walnut_dark, 0.9, 0, 313},
         palette::enamel, art_hex(0x1F3F73), palette::brass, art_hex(0x4E86D8), 2, emblem_clocktower,
         motif_bell, art_draw_clocktower_map, art_draw_clocktower_backdrop},
        {"observatory", "The Observatory", art_wood{art_hex(0x5A4A6A), art_hex(0x2E2538), 0.9, 0, 314},
         art_hex(0x5B3F8C), art_hex(0x22305E), palette::steel_light, art_hex(0x8FA8F0), 3, emblem_observatory,
         motif_comet, art_draw_observatory_map, art_draw_observatory_backdrop},
    };
    return worlds;
}

void add_world_textures(art_table& table)
{
    for (const art_world& w : art_worlds()) {
        const art_world* wp = &w;
        art_texture& map =
            table.add(world_name(w, "map"), 1024, 1024, 64, 64, [wp](art_canvas& c) { wp->map(c, *wp); });
        map.quality = 85;
        art_texture& backdrop = table.add(world_name(w, "backdrop"), 1024, 1024, 64, 64,
                                          [wp](art_canvas& c) { wp->backdrop(c, *wp); });
        backdrop.quality = 85;
        table.add(world_name(w, "emblem"), 512, 128, 40, 10,
                  [wp](art_canvas& c) { art_banner(c, wp->board, wp->name, wp->emblem); });
        for (int m = 1; m <= 2; ++m) {
            table.add(world_name(w, "medal" + std::to_string(m) + "_large"), 256, 256, 16, 16,
                      [wp, m](art_canvas& c) { draw_medal(c, *wp, m, true); });
            table.add(world_name(w, "medal" + std::to_string(m) + "_icon"), 64, 64, 16, 16,
                      [wp, m](art_canvas& c) { draw_medal(c, *wp, m, false); });
        }
        for (int k = 0; k < 3; ++k) {
            std::string shard = "shard" + std::to_string(k + 1);
            // Large: the plate with this segment lit, for the award card.
            table.add(world_name(w, shard + "_large"), 256, 256, 16, 16, [wp, k](art_canvas& c) {
                draw_rune_plate(c, *wp, 8, 8, 6.4);
                draw_rune_segment(c, *wp, 8, 8, 6.4, k);
            });
            // Medium and icon: the segment alone, drawn over the plate or the rune icon.
            table.add(world_name(w, shard + "_medium"), 128, 128, 16, 16,
                      [wp, k](art_canvas& c) { draw_rune_segment(c, *wp, 8, 8, 7.2, k); });
            table.add(world_name(w, shard + "_icon"), 64, 64, 16, 16,
                      [wp, k](art_canvas& c) { draw_rune_segment(c, *wp, 8, 8, 7.2, k); });
        }
        table.add(world_name(w, "rune_medium"), 128, 128, 16, 16,
                  [wp](art_canvas& c) { draw_rune_plate(c, *wp, 8, 8, 7.2); });
        table.add(world_name(w, "rune_icon"), 64, 64, 16, 16,
                  [wp](art_canvas& c) { draw_rune_plate(c, *wp, 8, 8, 7.2); });
        table.add(world_name(w, "rune_large"), 256, 256, 16, 16,
                  [wp](art_canvas& c) { draw_rune_complete(c, *wp); });
        table.add(world_name(w, "rune_tile1"), 128, 128, 4, 4,
                  [wp](art_canvas& c) { draw_rune_tile(c, *wp, 1); });
        table.add(world_name(w, "rune_tile2"), 128, 128, 4, 4,
                  [wp](art_canvas& c) { draw_rune_tile(c, *wp, 2); });
    }
    table.add(art_tex("worlds\\trophy_blank"), 64, 64, 16, 16, draw_trophy_blank);
}
