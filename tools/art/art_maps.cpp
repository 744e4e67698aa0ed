// The world maps, 64 x 64 units (the play square): a workbench top, a meadow with
// a stream and a mill, and an engraved brass plate with a clock face. The lower
// right corner stays quiet for the rune plate the map draws there.
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_text.h"
#include "tools/art/art_worlds.h"

#include <algorithm>
#include <cmath>

namespace {

void chalk_line(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

void scatter_specks(art_canvas& c, unsigned seed, int count, const art_colour& colour, double size)
{
    art_random rnd(seed);
    for (int i = 0; i < count; ++i) {
        // Clustered: half the specks gather around a few heaps.
        double x, y;
        if (i % 2) {
            double hx = 10 + (i % 7) * 7.5, hy = 8 + ((i / 7) % 6) * 9;
            x = hx + rnd.range(-3, 3) * rnd.unit();
            y = hy + rnd.range(-2, 2) * rnd.unit();
        } else {
            x = rnd.range(0, 64);
            y = rnd.range(0, 64);
        }
        cairo_arc(c.cr, x, y, size * rnd.range(0.4, 1.0), 0, 2 * art_pi);
        art_set(c.cr, colour, rnd.range(0.3, 0.8));
        cairo_fill(c.cr);
    }
}

}  // namespace

void art_draw_workshop_map(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    // Bench planks, eight units wide, with dark seams.
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, 0, i * 8, 64, 8);
        art_fill_wood(c, art_wood{palette::wood_light, palette::wood, 0.55, 0.01 * (i % 3), 400u + i});
        cairo_new_path(cr);
        cairo_move_to(cr, 0, i * 8 + 0.05);
        cairo_line_to(cr, 64, i * 8 + 0.05);
        art_set(cr, palette::walnut_dark, 0.7);
        cairo_set_line_width(cr, 0.25);
        cairo_stroke(cr);
        art_vignette(
            c, [&](cairo_t* m) { cairo_rectangle(m, -1, i * 8, 66, 8); }, 0.8,
            palette::shadow.with_alpha(0.25));
    }
    // Dog holes and pegs along the front edge.
    art_random rnd(410);
    for (int i = 0; i < 7; ++i) {
        double x = 5 + i * 9, y = 60.5;
        cairo_arc(cr, x, y, 0.7, 0, 2 * art_pi);
        art_set(cr, palette::walnut_dark);
        cairo_fill(cr);
        if (i % 3 == 1) {
            cairo_arc(cr, x, y, 0.62, 0, 2 * art_pi);
            art_radial(cr, x, y, 0, x, y, 0.62,
                       {{0, palette::wood_light}, {0.6, palette::wood}, {1, palette::wood_dark}});
            cairo_fill(cr);
            for (double rr = 0.15; rr < 0.6; rr += 0.15) {
                cairo_arc(cr, x, y, rr, 0, 2 * art_pi);
                art_set(cr, palette::wood_dark, 0.5);
                cairo_set_line_width(cr, 0.04);
                cairo_stroke(cr);
            }
        }
    }
    // The paper plan, pinned at its corners, with a pencil sketch of a mechanism.
    cairo_save(cr);
    cairo_translate(cr, 22, 24);
    cairo_rotate(cr, -0.06);
    auto sheet = [](cairo_t* m) { cairo_rectangle(m, -13, -10, 26, 19); };
    cairo_restore(cr);
    art_drop_shadow(
        c,
        [&](cairo_t* m) {
            cairo_save(m);
            cairo_translate(m, 22, 24);
            cairo_rotate(m, -0.06);
            sheet(m);
            cairo_restore(m);
        },
        0.3, 0.5, 0.5, 0.5);
    cairo_save(cr);
    cairo_translate(cr, 22, 24);
    cairo_rotate(cr, -0.06);
    sheet(cr);
    art_set(cr, art_hex(0xEEF1EA));
    cairo_fill(cr);
    for (double y = -9; y < 9; y += 1.2) {
        chalk_line(cr, -13, y, 13, y);
    }
    for (double x = -12; x < 13; x += 1.2)
        chalk_line(cr, x, -10, x, 9);
    art_set(cr, art_hex(0x8FB3C9), 0.35);
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
    // Sketch: a lever on a pivot, a rope, a ball and a pot.
    art_set(cr, art_hex(0x3B4A66), 0.85);
    cairo_set_line_width(cr, 0.18);
    cairo_move_to(cr, -10, 2);
    cairo_line_to(cr, 2, -2);
    cairo_stroke(cr);
    cairo_move_to(cr, -4, 0);
    cairo_line_to(cr, -5, 3);
    cairo_line_to(cr, -3, 3);
    cairo_close_path(cr);
    cairo_stroke(cr);
    cairo_arc(cr, 0.8, -3.5, 1.1, 0, 2 * art_pi);
    cairo_stroke(cr);
    cairo_move_to(cr, 6, -9);
    cairo_line_to(cr, 6, -2);
    cairo_stroke(cr);
    cairo_arc(cr, 6, -1, 1.0, 0, 2 * art_pi);
    cairo_stroke(cr);
    cairo_move_to(cr, 3, 3);
    cairo_line_to(cr, 3, 7);
    cairo_line_to(cr, 10, 7);
    cairo_line_to(cr, 10, 3);
    cairo_stroke(cr);
    cairo_move_to(cr, 6, 0.5);
    cairo_curve_to(cr, 6.5, 2, 6.5, 3, 6.5, 4.5);
    cairo_set_dash(cr, std::initializer_list<double>{0.4, 0.3}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_move_to(cr, -11, 6.5);
    cairo_line_to(cr, 0, 6.5);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke(cr);
    art_text_path(cr, "plan no. 1", -5.5, 8.2, 1.3);
    cairo_fill(cr);
    cairo_restore(cr);
    for (double px : {-12.2, 12.2})
        for (double py : {-9.2, 8.2}) {
            double x = 22 + px * std::cos(-0.06) - py * std::sin(-0.06);
            double y = 24 + px * std::sin(-0.06) + py * std::cos(-0.06);
            art_screw(cr, x, y, 0.45, px + py);
        }
    // Chalk marks.
    art_set(cr, palette::cream, 0.55);
    cairo_set_line_width(cr, 0.3);
    chalk_line(cr, 44, 10, 48, 14);
    chalk_line(cr, 48, 10, 44, 14);
    cairo_stroke(cr);
    cairo_arc(cr, 52, 34, 3.2, 0.4, 5.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 40, 46);
    cairo_curve_to(cr, 44, 42, 48, 50, 54, 45);
    cairo_stroke(cr);
    chalk_line(cr, 54, 45, 52.5, 44.2);
    chalk_line(cr, 54, 45, 53.2, 46.5);
    cairo_stroke(cr);
    chalk_line(cr, 6, 42, 14, 42);
    chalk_line(cr, 6, 41, 6, 43);
    chalk_line(cr, 14, 41, 14, 43);
    cairo_stroke(cr);
    art_text_path(cr, "12", 10, 40.8, 1.8);
    art_set(cr, palette::cream, 0.5);
    cairo_fill(cr);
    // A ruler along the top and a pencil.
    cairo_rectangle(cr, 30, 1.2, 30, 2.6);
    art_linear(cr, 0, 1.2, 0, 3.8, {{0, art_hex(0xE9D8A6)}, {1, art_hex(0xC9B07A)}});
    cairo_fill(cr);
    for (int i = 0; i <= 60; ++i) {
        double x = 30.5 + i * 0.48;
        chalk_line(cr, x, 1.2, x, 1.2 + ((i % 5) ? 0.5 : 0.95));
    }
    art_set(cr, palette::ink, 0.8);
    cairo_set_line_width(cr, 0.06);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 8, 52);
    cairo_rotate(cr, -0.35);
    cairo_rectangle(cr, 0, -0.45, 11, 0.9);
    art_set(cr, palette::yellow.shade(-0.1));
    cairo_fill(cr);
    cairo_move_to(cr, 11, -0.45);
    cairo_line_to(cr, 12.8, 0);
    cairo_line_to(cr, 11, 0.45);
    art_set(cr, palette::wood_light);
    cairo_fill(cr);
    cairo_move_to(cr, 12.3, -0.12);
    cairo_line_to(cr, 12.8, 0);
    cairo_line_to(cr, 12.3, 0.12);
    art_set(cr, palette::ink);
    cairo_fill(cr);
    cairo_restore(cr);
    scatter_specks(c, 420, 900, palette::cream.shade(-0.05), 0.12);
}

void art_draw_mill_map(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_with(c, [](double x, double y) {
        double n = art_fbm(x * 0.08, y * 0.08, 500, 4);
        double fine = art_fbm(x * 1.6, y * 1.6, 501, 2);
        return palette::grass.mix(palette::grass_dark, 0.2 + 0.6 * (n - 0.3) + 0.25 * (fine - 0.5));
    });
    cairo_new_path(cr);
    // A dirt path across the meadow.
    cairo_move_to(cr, -2, 50);
    cairo_curve_to(cr, 14, 44, 20, 58, 34, 52);
    cairo_curve_to(cr, 46, 47, 50, 30, 66, 26);
    art_set(cr, art_hex(0xC9AE7C), 0.85);
    cairo_set_line_width(cr, 3.2);
    cairo_stroke_preserve(cr);
    art_set(cr, art_hex(0xE0C896), 0.5);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // The stream, winding down from the top; banks, water, ripples.
    auto stream = [](cairo_t* m) {
        cairo_move_to(m, 20, -2);
        cairo_curve_to(m, 14, 14, 34, 22, 28, 34);
        cairo_curve_to(m, 22, 46, 40, 56, 36, 66);
    };
    stream(cr);
    art_set(cr, art_hex(0x6B5A3A), 0.9);
    cairo_set_line_width(cr, 7.2);
    cairo_stroke(cr);
    stream(cr);
    art_set(cr, palette::water);
    cairo_set_line_width(cr, 5.8);
    cairo_stroke(cr);
    stream(cr);
    art_set(cr, palette::water.shade(0.35), 0.6);
    cairo_set_line_width(cr, 2.0);
    cairo_set_dash(cr, std::initializer_list<double>{1.5, 2.5}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Stepping stones where the path crosses.
    art_random rnd(510);
    double stones[][2] = {{32.5, 50.8}, {34.6, 50.0}, {36.7, 49.3}, {31.0, 52.0}};
    for (auto& s : stones) {
        double rx = rnd.range(0.8, 1.1), ry = rnd.range(0.6, 0.85);
        art_drop_shadow(
            c,
            [&](cairo_t* m) {
                cairo_save(m);
                cairo_translate(m, s[0], s[1]);
                cairo_scale(m, rx, ry);
                cairo_arc(m, 0, 0, 1, 0, 2 * art_pi);
                cairo_restore(m);
            },
            0.1, 0.2, 0.2, 0.5);
        cairo_save(cr);
        cairo_translate(cr, s[0], s[1]);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
        cairo_restore(cr);
        art_radial(cr, s[0] - 0.3, s[1] - 0.3, 0, s[0], s[1], 1.1,
                   {{0, palette::stone.shade(0.3)}, {1, palette::stone_dark}});
        cairo_fill(cr);
    }
    // The mill house, seen from above, by the stream with its wheel.
    double hx = 40, hy = 8;
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_rectangle(m, hx, hy, 14, 10); }, 0.6, 0.8, 0.8, 0.5);
    cairo_rectangle(cr, hx, hy, 14, 5);
    art_linear(cr, 0, hy, 0, hy + 5, {{0, art_hex(0xB5533C)}, {1, art_hex(0x8A3A2A)}});
    cairo_fill(cr);
    cairo_rectangle(cr, hx, hy + 5, 14, 5);
    art_linear(cr, 0, hy + 5, 0, hy + 10, {{0, art_hex(0x7A3224)}, {1, art_hex(0x9E4632)}});
    cairo_fill(cr);
    for (double y = hy + 0.8; y < hy + 10; y += 0.9) {
        chalk_line(cr, hx, y, hx + 14, y);
    }
    art_set(cr, art_hex(0x5E2418), 0.5);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke(cr);
    chalk_line(cr, hx, hy + 5, hx + 14, hy + 5);
    art_set(cr, art_hex(0x4A1C12));
    cairo_set_line_width(cr, 0.3);
    cairo_stroke(cr);
    cairo_rectangle(cr, hx + 10, hy + 1.5, 1.6, 1.6);
    art_set(cr, palette::stone_dark);
    cairo_fill(cr);
    // Water wheel on the stream side (a paddle wheel seen edge-on from above).
    cairo_rectangle(cr, hx - 3.2, hy + 2, 2.6, 6);
    art_fill_wood(c, art_wood{palette::wood, palette::wood_dark, 2.0, art_pi / 2, 520});
    cairo_new_path(cr);
    for (double y = hy + 2.4; y < hy + 8; y += 0.8)
        chalk_line(cr, hx - 3.2, y, hx - 0.6, y);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
    // Trees: round canopies with shadows.
    double trees[][3] = {{8, 10, 3.6}, {13, 6, 2.6},  {55, 38, 3.4},
                         {8, 30, 2.8}, {50, 58, 3.0}, {58, 20, 2.4}};
    for (auto& t : trees) {
        art_drop_shadow(
            c, [&](cairo_t* m) { cairo_arc(m, t[0], t[1], t[2], 0, 2 * art_pi); }, 0.9, 1.1, 0.8, 0.5);
        for (int k = 0; k < 6; ++k) {
            double a = k * art_pi / 3 + t[0];
            double x = t[0] + std::cos(a) * t[2] * 0.45, y = t[1] + std::sin(a) * t[2] * 0.45;
            cairo_arc(cr, x, y, t[2] * 0.62, 0, 2 * art_pi);
            art_radial(cr, x - t[2] * 0.2, y - t[2] * 0.25, 0, x, y, t[2] * 0.62,
                       {{0, palette::grass.shade(0.25)}, {1, palette::grass_dark.shade(-0.3)}});
            cairo_fill(cr);
        }
    }
    // Flowers scattered in the grass.
    art_random fl(530);
    const art_colour petals[] = {palette::cream, palette::yellow, art_hex(0xE7A0C0)};
    for (int i = 0; i < 160; ++i) {
        double x = fl.range(0, 64), y = fl.range(0, 64);
        cairo_arc(cr, x, y, fl.range(0.12, 0.22), 0, 2 * art_pi);
        art_set(cr, petals[i % 3], 0.9);
        cairo_fill(cr);
    }
}

void art_draw_clocktower_map(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    // Brushed brass plate in a walnut frame.
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_wood(c, art_wood{palette::walnut, palette::walnut_dark, 0.7, 0, 600});
    cairo_new_path(cr);
    auto plate = [](cairo_t* m) { art_rounded_rect(m, 2.2, 2.2, 59.6, 59.6, 2.0); };
    art_drop_shadow(c, plate, 0.3, 0.4, 0.5, 0.6);
    cairo_new_path(cr);
    plate(cr);
    art_fill_with(c, [](double x, double y) {
        double brush = art_noise(x * 0.4, y * 28, 601) - 0.5;
        double cloud = art_fbm(x * 0.06, y * 0.06, 602, 4) - 0.5;
        return palette::brass.mix(palette::brass_light, 0.35 + brush * 0.25 + cloud * 0.5);
    });
    cairo_new_path(cr);
    art_bevel(c, plate, 0.35, 0.5, 0.6);
    cairo_new_path(cr);
    art_rounded_rect(cr, 3.6, 3.6, 56.8, 56.8, 1.5);
    art_set(cr, palette::brass_dark, 0.8);
    cairo_set_line_width(cr, 0.18);
    cairo_stroke(cr);
    for (int i = 0; i < 12; ++i) {
        double t = 4.6 + i * 4.9;
        art_screw(cr, t, 2.9 + 0.0, 0.3, i);
        art_screw(cr, t, 61.1, 0.3, i + 1);
        art_screw(cr, 2.9, t, 0.3, i + 2);
        art_screw(cr, 61.1, t, 0.3, i + 3);
    }
    // Engraved gears: dark cut line with a light lip below it.
    struct gear {
        double x, y, r;
        int teeth;
    };
    const gear gears[] = {
        {16, 44, 9, 18}, {30.5, 54, 5.2, 11}, {10, 20, 5.8, 12}, {24, 12, 4, 9}, {54, 46, 6, 13}};
    for (const gear& g : gears) {
        for (int pass = 0; pass < 2; ++pass) {
            double o = pass ? 0.08 : 0;
            art_gear_path(cr, g.x + o, g.y + o, g.r * 0.86, g.r, g.teeth);
            cairo_new_sub_path(cr);
            cairo_arc(cr, g.x + o, g.y + o, g.r * 0.3, 0, 2 * art_pi);
            for (int k = 0; k < 4; ++k) {
                double a = k * art_pi / 2 + 0.4;
                cairo_move_to(cr, g.x + o + std::cos(a) * g.r * 0.3, g.y + o + std::sin(a) * g.r * 0.3);
                cairo_line_to(cr, g.x + o + std::cos(a) * g.r * 0.75, g.y + o + std::sin(a) * g.r * 0.75);
            }
            cairo_new_sub_path(cr);
            cairo_arc(cr, g.x + o, g.y + o, g.r * 0.75, 0, 2 * art_pi);
            art_set(cr, pass ? palette::brass_light : palette::brass_dark.shade(-0.3), pass ? 0.5 : 0.8);
            cairo_set_line_width(cr, 0.14);
            cairo_stroke(cr);
        }
    }
    // The clock face: blue enamel ring with numerals.
    double cx = 42, cy = 21, r = 13;
    art_drop_shadow(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, 0.3, 0.5, 0.5, 0.6);
    art_brass_disc(c, cx, cy, r);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.86, 0, 2 * art_pi);
    art_radial(cr, cx - 3, cy - 3, 0, cx, cy, r,
               {{0, palette::enamel.shade(0.35)}, {1, palette::enamel.shade(-0.3)}});
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.6, 0, 2 * art_pi);
    art_fill_with(c, [](double x, double y) {
        return palette::cream.shade((art_fbm(x * 0.5, y * 0.5, 610, 3) - 0.5) * 0.12);
    });
    cairo_new_path(cr);
    const char* numerals[] = {"XII", "I", "II", "III", "IIII", "V", "VI", "VII", "VIII", "IX", "X", "XI"};
    for (int i = 0; i < 12; ++i) {
        double a = -art_pi / 2 + i * art_pi / 6;
        double x = cx + std::cos(a) * r * 0.73, y = cy + std::sin(a) * r * 0.73;
        art_text_path(cr, numerals[i], x, y + 0.55, 1.5);
        art_set(cr, palette::cream);
        cairo_fill(cr);
    }
    for (int i = 0; i < 60; ++i) {
        double a = i * art_pi / 30;
        double r0 = (i % 5) ? r * 0.55 : r * 0.5;
        cairo_move_to(cr, cx + std::cos(a) * r0, cy + std::sin(a) * r0);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.58, cy + std::sin(a) * r * 0.58);
    }
    art_set(cr, palette::ink);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx - 2.2, cy - 5.5);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + 4.2, cy + 1.2);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
    art_brass_disc(c, cx, cy, 0.7);
}

// ---- Level backdrops: side views behind a whole level (the backdrop body types),
// darker, cooler and calmer than the maps so that balls, ropes and pots stand out.

void art_draw_workshop_backdrop(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, i * 8, 0, 8, 64);
        // Boards painted slate green: cool against the warm wood of the pieces and frames.
        art_fill_wood(
            c, art_wood{art_hex(0x6A8279), art_hex(0x3F504B), 0.4, art_pi / 2 + 0.01 * (i % 3), 700u + i});
        cairo_new_path(cr);
        art_vignette(
            c, [&](cairo_t* m) { cairo_rectangle(m, i * 8, -1, 8, 66); }, 0.9,
            palette::shadow.with_alpha(0.45));
        for (double y : {3.0, 61.0})
            art_screw(cr, i * 8 + 4, y, 0.3, i + y);
    }
    art_vignette(
        c, [](cairo_t* m) { cairo_rectangle(m, 0, 0, 64, 64); }, 14, palette::shadow.with_alpha(0.55));
}

void art_draw_mill_backdrop(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_with(c, [](double x, double y) {
        double cloud = art_fbm(x * 0.06 + 3, y * 0.12, 710, 5);
        art_colour sky = art_hex(0x6E9FC4).mix(art_hex(0xCFE0DD), y / 48);
        double puff = std::clamp((cloud - 0.55) * 3.5, 0.0, 1.0) * std::clamp(1.2 - y / 40, 0.0, 1.0);
        return sky.mix(palette::cream, puff * 0.7);
    });
    cairo_new_path(cr);
    // Far hills, then near hills; a small mill on the far ridge.
    cairo_move_to(cr, 0, 46);
    cairo_curve_to(cr, 14, 40, 26, 44, 38, 41);
    cairo_curve_to(cr, 48, 38, 56, 42, 64, 40);
    cairo_line_to(cr, 64, 64);
    cairo_line_to(cr, 0, 64);
    cairo_close_path(cr);
    art_set(cr, art_hex(0x7FA27A));
    cairo_fill(cr);
    double mx = 47, my = 39.3;
    cairo_rectangle(cr, mx - 1.2, my - 3.2, 2.4, 3.4);
    cairo_move_to(cr, mx - 1.6, my - 3.2);
    cairo_line_to(cr, mx, my - 5);
    cairo_line_to(cr, mx + 1.6, my - 3.2);
    art_set(cr, art_hex(0x5D7A68));
    cairo_fill(cr);
    for (int k = 0; k < 4; ++k) {
        double a = 0.4 + k * art_pi / 2;
        cairo_move_to(cr, mx, my - 3.8);
        cairo_line_to(cr, mx + std::cos(a) * 3.2, my - 3.8 + std::sin(a) * 3.2);
    }
    cairo_set_line_width(cr, 0.35);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, 54);
    cairo_curve_to(cr, 18, 48, 34, 56, 48, 51);
    cairo_curve_to(cr, 56, 49, 60, 52, 64, 51);
    cairo_line_to(cr, 64, 64);
    cairo_line_to(cr, 0, 64);
    cairo_close_path(cr);
    art_fill_with(c, [](double x, double y) {
        return palette::grass_dark.mix(palette::grass, 0.4 + 0.4 * (art_fbm(x * 0.3, y * 0.3, 720, 3) - 0.5));
    });
    cairo_new_path(cr);
    art_vignette(
        c, [](cairo_t* m) { cairo_rectangle(m, 0, 0, 64, 64); }, 12, palette::shadow.with_alpha(0.3));
}

void art_draw_clocktower_backdrop(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_wood(c, art_wood{palette::walnut, palette::walnut_dark, 0.5, art_pi / 2, 730});
    cairo_new_path(cr);
    // Faint gears turning behind the wall's panels.
    struct gear {
        double x, y, r;
        int teeth;
    };
    const gear gears[] = {
        {14, 18, 11, 22}, {33, 30, 7, 14}, {50, 14, 9, 18}, {48, 50, 12, 24}, {16, 52, 7, 14}};
    for (const gear& g : gears) {
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        art_gear_path(cr, g.x, g.y, g.r * 0.88, g.r, g.teeth);
        cairo_new_sub_path(cr);
        cairo_arc(cr, g.x, g.y, g.r * 0.7, 0, 2 * art_pi);
        art_set(cr, palette::brass, 0.16);
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        for (int k = 0; k < 6; ++k) {
            double a = k * art_pi / 3;
            cairo_move_to(cr, g.x, g.y);
            cairo_line_to(cr, g.x + std::cos(a) * g.r * 0.72, g.y + std::sin(a) * g.r * 0.72);
        }
        art_set(cr, palette::brass, 0.16);
        cairo_set_line_width(cr, g.r * 0.08);
        cairo_stroke(cr);
    }
    art_vignette(
        c, [](cairo_t* m) { cairo_rectangle(m, 0, 0, 64, 64); }, 14, palette::shadow.with_alpha(0.6));
}
