// The observatory's pictures: its map, a star chart on dark blue paper in a plum frame with
// constellation lines and a brass dome, and the level backdrop, a night sky seen through the
// dome's slit. The chart's lower right corner stays quiet for the rune plate.
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_worlds.h"

#include <algorithm>
#include <cmath>

namespace {

const art_colour night = art_hex(0x1C2648);
const art_colour night_deep = art_hex(0x0E1328);
const art_colour chart_ink = art_hex(0xC9D4F2);

// Stars scattered by a seed over a rectangle, brighter ones fewer.
void scatter_stars(art_canvas& c, unsigned seed, int count, double x0, double y0, double x1, double y1,
                   double alpha)
{
    art_random rnd(seed);
    for (int i = 0; i < count; ++i) {
        double x = rnd.range(x0, x1), y = rnd.range(y0, y1);
        double size = 0.05 + 0.25 * std::pow(rnd.unit(), 4.0);
        cairo_arc(c.cr, x, y, size, 0, 2 * art_pi);
        art_set(c.cr, palette::cream, alpha * rnd.range(0.35, 1.0));
        cairo_fill(c.cr);
    }
}

void dome(art_canvas& c, double cx, double base_y, double r)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, cx - r * 1.05, base_y, r * 2.1, r * 0.9);
    art_set(cr, art_hex(0x6B5A7E));
    cairo_fill(cr);
    cairo_arc(cr, cx, base_y, r, art_pi, 2 * art_pi);
    cairo_close_path(cr);
    art_linear(cr, cx - r, 0, cx + r, 0,
               {{0, palette::brass_dark}, {0.35, palette::brass_light}, {1, palette::brass_dark}});
    cairo_fill(cr);
    // The slit, and the telescope looking out of it.
    cairo_move_to(cr, cx - r * 0.12, base_y);
    cairo_line_to(cr, cx - r * 0.12, base_y - r * 0.97);
    cairo_line_to(cr, cx + r * 0.12, base_y - r * 0.97);
    cairo_line_to(cr, cx + r * 0.12, base_y);
    cairo_close_path(cr);
    art_set(cr, night_deep);
    cairo_fill(cr);
    for (int i = 1; i < 4; ++i) {
        double a = art_pi + i * art_pi / 4;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.2, base_y + std::sin(a) * r * 0.2);
        cairo_line_to(cr, cx + std::cos(a) * r, base_y + std::sin(a) * r);
    }
    art_set(cr, palette::brass_dark, 0.7);
    cairo_set_line_width(cr, r * 0.03);
    cairo_stroke(cr);
}

}  // namespace

void art_draw_observatory_map(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_wood(c, art_wood{art_hex(0x5A4A6A), art_hex(0x2E2538), 0.7, 0, 800});
    cairo_new_path(cr);
    auto chart = [](cairo_t* m) { art_rounded_rect(m, 2.2, 2.2, 59.6, 59.6, 1.2); };
    art_drop_shadow(c, chart, 0.3, 0.4, 0.5, 0.6);
    cairo_new_path(cr);
    chart(cr);
    art_fill_with(c, [](double x, double y) {
        double cloud = art_fbm(x * 0.05, y * 0.05, 801, 4) - 0.5;
        double fibre = art_noise(x * 2.5, y * 2.5, 802) - 0.5;
        return night.mix(art_hex(0x2E3C6E), 0.35 + cloud * 0.8).shade(fibre * 0.06);
    });
    cairo_new_path(cr);
    art_bevel(c, chart, 0.3, 0.3, 0.5);
    scatter_stars(c, 803, 420, 3, 3, 61, 61, 0.8);
    // Graticule: circles of declination around the pole and hour lines out of it.
    double px = 24, py = 22;
    cairo_save(cr);
    chart(cr);
    cairo_clip(cr);
    for (int k = 1; k <= 5; ++k) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, px, py, k * 8.5, 0, 2 * art_pi);
    }
    for (int i = 0; i < 12; ++i) {
        double a = i * art_pi / 6;
        cairo_move_to(cr, px + std::cos(a) * 3, py + std::sin(a) * 3);
        cairo_line_to(cr, px + std::cos(a) * 60, py + std::sin(a) * 60);
    }
    art_set(cr, chart_ink, 0.16);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
    cairo_restore(cr);
    // A few constellations: bright stars joined by thin lines.
    const double figures[][5][2] = {
        {{8, 9}, {13, 6}, {18, 10}, {16, 16}, {10, 15}},
        {{42, 7}, {47, 11}, {53, 8}, {57, 13}, {55, 19}},
        {{6, 34}, {11, 40}, {8, 47}, {14, 52}, {19, 48}},
        {{33, 34}, {38, 30}, {44, 33}, {41, 39}, {35, 40}},
    };
    for (const auto& f : figures) {
        cairo_move_to(cr, f[0][0], f[0][1]);
        for (int k = 1; k < 5; ++k)
            cairo_line_to(cr, f[k][0], f[k][1]);
        art_set(cr, chart_ink, 0.45);
        cairo_set_line_width(cr, 0.14);
        cairo_set_dash(cr, std::initializer_list<double>{0.6, 0.4}.begin(), 2, 0);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        for (int k = 0; k < 5; ++k) {
            art_star_path(cr, f[k][0], f[k][1], 0.7, 0.25, 4);
            art_set(cr, palette::cream, 0.9);
            cairo_fill(cr);
        }
    }
    // The pole star and the observatory on its hill at the bottom left.
    art_glow(
        c, [&](cairo_t* m) { cairo_arc(m, px, py, 0.9, 0, 2 * art_pi); }, 1.6, palette::cream.with_alpha(0.7));
    art_star_path(cr, px, py, 1.6, 0.4, 4);
    art_set(cr, palette::cream);
    cairo_fill(cr);
    cairo_move_to(cr, 2.2, 58);
    cairo_curve_to(cr, 10, 54, 22, 54.5, 34, 61.8);
    cairo_line_to(cr, 2.2, 61.8);
    cairo_close_path(cr);
    art_set(cr, night_deep);
    cairo_fill(cr);
    dome(c, 16, 55.2, 3.6);
    art_vignette(c, chart, 5, palette::shadow.with_alpha(0.45));
}

void art_draw_observatory_backdrop(art_canvas& c, const art_world&)
{
    cairo_t* cr = c.cr;
    // The dome's inside: dark plum ribs at the edges, and the sky through a slit wide enough
    // that the pieces of a level stand against the sky, not against the wall.
    cairo_rectangle(cr, 0, 0, 64, 64);
    art_fill_with(c, [](double x, double y) {
        double grain = art_fbm(x * 0.2, y * 0.03, 810, 3) - 0.5;
        return art_hex(0x3A3047).mix(art_hex(0x241D2E), 0.5 + grain * 0.6);
    });
    cairo_new_path(cr);
    auto slit = [](cairo_t* m) { cairo_rectangle(m, 5, 0, 54, 64); };
    slit(cr);
    art_fill_with(c, [](double x, double y) {
        double haze = art_fbm(x * 0.08 + 5, y * 0.08, 811, 4) - 0.5;
        return night_deep.mix(night, std::clamp(y / 64 + haze * 0.6, 0.0, 1.0));
    });
    cairo_new_path(cr);
    scatter_stars(c, 812, 390, 5, 0, 59, 64, 0.45);
    for (double x : {5.0, 59.0}) {
        cairo_rectangle(cr, x - 0.8, 0, 1.6, 64);
        art_set(cr, palette::brass_dark, 0.55);
        cairo_fill(cr);
        for (int i = 0; i < 8; ++i)
            art_screw(cr, x, 4 + i * 8, 0.3, i + x);
    }
    for (int i = 0; i < 6; ++i) {
        double y = 5 + i * 11;
        for (double x0 : {0.0, 59.8}) {
            cairo_rectangle(cr, x0, y, 4.2, 0.6);
            art_set(cr, palette::shadow, 0.35);
            cairo_fill(cr);
        }
    }
    art_vignette(c, slit, 3, palette::shadow.with_alpha(0.4));
    art_vignette(
        c, [](cairo_t* m) { cairo_rectangle(m, 0, 0, 64, 64); }, 14, palette::shadow.with_alpha(0.55));
}
