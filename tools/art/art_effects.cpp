// Effects and overlays: rain streaks and splashes, the cutting scissors of replays,
// the solution vignette, the constraint highlights and the playfield textures.
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_table.h"

#include <cmath>
#include <string>

namespace {

// The streak uses only u 0.4921875-0.5097656 (columns 252-261 of 512): a thin drop
// trail, faint at its tail (v 0) and brightest at its head (v 1).
void draw_rain_streak(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 248, 0, 18, 256);
    art_fill_with(c, [](double x, double y) {
        double across = std::exp(-std::pow((x - 256.5) / 3.2, 2));
        double along = std::pow(y / 256.0, 1.6);
        return art_hex(0xDCEBFA).with_alpha(0.75 * across * along);
    });
    cairo_new_path(cr);
}

// A splash standing on its base (the bottom edge), frame k of 6.
void draw_rain_splash(art_canvas& c, int k)
{
    cairo_t* cr = c.cr;
    double t = k / 5.0;
    art_colour water = art_hex(0xDCEBFA);
    double fade = 1 - t * 0.75;
    // The ring where the drop hit.
    cairo_save(cr);
    cairo_translate(cr, 1, 1.9);
    cairo_scale(cr, 0.25 + 0.7 * t, 0.06 + 0.05 * t);
    cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
    cairo_restore(cr);
    art_set(cr, water, 0.7 * fade);
    cairo_set_line_width(cr, 0.06);
    cairo_stroke(cr);
    // The crown: droplets thrown up and outwards along arcs.
    for (int i = 0; i < 5; ++i) {
        double side = (i - 2) / 2.0;
        double x = 1 + side * (0.15 + 0.65 * t);
        double h = (0.9 - std::abs(side) * 0.35) * std::sin(std::min(1.0, t * 1.4 + 0.1) * art_pi * 0.95);
        double y = 1.9 - h;
        cairo_move_to(cr, 1 + side * 0.1, 1.9);
        cairo_curve_to(cr, 1 + side * 0.2, 1.9 - h * 0.5, x, y + 0.2, x, y);
        art_set(cr, water, 0.5 * fade);
        cairo_set_line_width(cr, 0.05);
        cairo_stroke(cr);
        cairo_arc(cr, x, y, 0.07 * (1 - t * 0.4), 0, 2 * art_pi);
        art_set(cr, water, 0.85 * fade);
        cairo_fill(cr);
    }
}

// Scissors closing over six frames, the rope's cut point at the texture's centre,
// between the blades just in front of the pivot.
void draw_scissors(art_canvas& c, int frame)
{
    cairo_t* cr = c.cr;
    double open = 0.42 * (1 - frame / 5.0);
    // Local frame: the blades point along -x, the pivot at the origin.
    auto place = [&](cairo_t* m, double turn) {
        cairo_translate(m, 4, 4);
        cairo_rotate(m, 0.7);
        cairo_translate(m, 1.25, 0);
        cairo_rotate(m, turn);
    };
    auto blade = [&](cairo_t* m, int side) {
        double s = side ? 1 : -1;
        cairo_save(m);
        place(m, s * open / 2);
        cairo_move_to(m, 0.25, 0);
        cairo_curve_to(m, -1.0, s * 0.42, -2.4, s * 0.32, -3.3, s * 0.02);
        cairo_curve_to(m, -2.2, s * -0.05, -1.0, s * -0.06, 0.25, s * -0.12);
        cairo_close_path(m);
        // The handle's arm and loop behind the pivot, on the other side.
        cairo_move_to(m, 0.1, s * 0.14);
        cairo_line_to(m, 1.35, -s * 0.55);
        cairo_line_to(m, 1.2, -s * 0.78);
        cairo_line_to(m, -0.05, s * -0.02);
        cairo_close_path(m);
        cairo_restore(m);
    };
    auto loop = [&](cairo_t* m, int side) {
        double s = side ? 1 : -1;
        cairo_save(m);
        place(m, s * open / 2);
        cairo_new_sub_path(m);
        cairo_arc(m, 1.85, -s * 0.95, 0.62, 0, 2 * art_pi);
        cairo_restore(m);
    };
    art_drop_shadow(
        c,
        [&](cairo_t* m) {
            for (int side = 0; side < 2; ++side) {
                blade(m, side);
                loop(m, side);
            }
        },
        0.12, 0.2, 0.12, 0.4);
    for (int side = 0; side < 2; ++side) {
        cairo_new_path(cr);
        blade(cr, side);
        art_linear(cr, 1, 2, 6, 6,
                   {{0, palette::steel_light}, {0.5, palette::steel}, {1, palette::steel_dark}});
        cairo_fill_preserve(cr);
        art_set(cr, palette::iron);
        cairo_set_line_width(cr, 0.06);
        cairo_stroke(cr);
        loop(cr, side);
        art_set(cr, side ? palette::warn_red : palette::enamel);
        cairo_set_line_width(cr, 0.3);
        cairo_stroke(cr);
    }
    cairo_save(cr);
    place(cr, 0);
    cairo_arc(cr, 0, 0, 0.16, 0, 2 * art_pi);
    cairo_restore(cr);
    art_set(cr, palette::brass);
    cairo_fill(cr);
    if (frame == 5) {
        // The snip: a little burst at the cut point.
        for (int i = 0; i < 6; ++i) {
            double a = i * art_pi / 3 + 0.3;
            cairo_move_to(cr, 4 + std::cos(a) * 0.6, 4 + std::sin(a) * 0.6);
            cairo_line_to(cr, 4 + std::cos(a) * 1.1, 4 + std::sin(a) * 1.1);
        }
        art_set(cr, palette::glow);
        cairo_set_line_width(cr, 0.16);
        cairo_stroke(cr);
    }
}

// Darkened corner of the play square while a solution plays: (0,0) is the corner.
void draw_vignette(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 1, 1);
    art_fill_with(c, [](double u, double v) {
        double d = std::min(1.0, u + v);
        double a = std::pow(1 - d, 1.6) * 0.85;
        return palette::walnut_dark.with_alpha(a);
    });
    cairo_new_path(cr);
}

// A band across v (0 and 1 the two sides) that glows around its middle.
void draw_highlight_band(art_canvas& c, const art_colour& colour, double strength)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 1, 1);
    art_fill_with(c, [&](double, double v) {
        double d = std::abs(v - 0.5) * 2;
        double a = strength * (std::exp(-d * d * 6) * 0.8 + (d < 0.45 ? 0.25 : 0.0));
        return colour.with_alpha(std::min(1.0, a));
    });
    cairo_new_path(cr);
}

void draw_playfield_background(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_with(c, [](double x, double y) {
        double n = art_fbm(x * 0.05, y * 0.05, 141, 4) - 0.5;
        double r = std::hypot(x - 32, y - 32) / 45;
        return art_hex(0x3C4A52).mix(art_hex(0x6C7F86), 0.55 - r * 0.4 + n * 0.3);
    });
    cairo_new_path(cr);
}

void draw_playfield_tile(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 4, 4);
    art_set(cr, art_hex(0x52636B));
    cairo_fill(cr);
    cairo_rectangle(cr, 0.05, 0.05, 3.9, 3.9);
    art_set(cr, art_hex(0x6C7F86), 0.6);
    cairo_set_line_width(cr, 0.06);
    cairo_stroke(cr);
}

}  // namespace

void add_effect_textures(art_table& table)
{
    table.add(art_tex("Effect_RainStreak"), 512, 256, 512, 256, draw_rain_streak);
    art_texture& splash = table.add(art_tex("Effect_RainSpat_Frame"), 64, 64, 2, 2,
                                    [](art_canvas& c) { draw_rain_splash(c, 0); });
    splash.animated = true;
    splash.anim_speed = 12;
    for (int k = 1; k < 6; ++k)
        table.add(art_tex("Effect_RainSpat_Frame" + std::to_string(k + 1)), 64, 64, 2, 2,
                  [k](art_canvas& c) { draw_rain_splash(c, k); });
    art_texture& pen = table.add(art_ui("Pen_"), 128, 128, 8, 8, [](art_canvas& c) { draw_scissors(c, 0); });
    pen.animated = true;
    pen.anim_speed = 6;
    for (int k = 1; k < 6; ++k)
        table.add(art_ui("Pen_" + std::to_string(k + 1)), 128, 128, 8, 8,
                  [k](art_canvas& c) { draw_scissors(c, k); });
    table.add(art_ui("replay_vignette"), 256, 256, 1, 1, draw_vignette);
    table.add(art_ui("constraint_mouseover"), 64, 64, 1, 1,
              [](art_canvas& c) { draw_highlight_band(c, palette::cream, 0.55); });
    table.add(art_ui("constraint_selected"), 64, 64, 1, 1,
              [](art_canvas& c) { draw_highlight_band(c, palette::glow, 0.95); });
    table.add(art_ui("playfield_background"), 512, 512, 64, 64, draw_playfield_background);
    art_texture& tile = table.add(art_ui("playfield_tile"), 128, 128, 4, 4, draw_playfield_tile);
    tile.repeat = true;
}
