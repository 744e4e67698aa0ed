// Tip-card pictures (16 x 16 units, shown beside a tip's lines): small scenes that
// teach one mechanism each. Names "tex\tips\<name>", listed in base/README.md.
#include "tools/art/art_paint.h"
#include "tools/art/art_table.h"

#include <cmath>
#include <string>

namespace {

void rope(cairo_t* cr, double x0, double y0, double x1, double y1, double sag)
{
    double mx = (x0 + x1) / 2, my = (y0 + y1) / 2 + sag;
    for (int pass = 0; pass < 2; ++pass) {
        cairo_move_to(cr, x0, y0);
        cairo_curve_to(cr, mx, my, mx, my, x1, y1);
        art_set(cr, pass ? art_hex(0xE8C88C) : art_hex(0x6E4E2A));
        cairo_set_line_width(cr, pass ? 0.22 : 0.42);
        if (pass)
            cairo_set_dash(cr, std::initializer_list<double>{0.35, 0.2}.begin(), 2, 0);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void pin(art_canvas& c, double x, double y)
{
    art_screw(c.cr, x, y, 0.45, 0.6);
}

void arrow(cairo_t* cr, double x0, double y0, double x1, double y1, const art_colour& colour)
{
    double a = std::atan2(y1 - y0, x1 - x0);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1 - std::cos(a) * 0.6, y1 - std::sin(a) * 0.6);
    art_set(cr, colour);
    cairo_set_line_width(cr, 0.35);
    cairo_stroke(cr);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x1 - std::cos(a - 0.5) * 1.2, y1 - std::sin(a - 0.5) * 1.2);
    cairo_line_to(cr, x1 - std::cos(a + 0.5) * 1.2, y1 - std::sin(a + 0.5) * 1.2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void pot(cairo_t* cr, double cx, double top, int colour)
{
    art_colour col = art_ball_colour(colour);
    cairo_rectangle(cr, cx - 2.6, top, 5.2, 3.6);
    art_set(cr, col.shade(-0.45));
    cairo_fill(cr);
    cairo_new_path(cr);
    art_symbol_path(cr, colour, cx, top + 1.8, 0.9);
    art_set(cr, col.shade(0.3), 0.7);
    cairo_fill(cr);
    cairo_move_to(cr, cx - 2.8, top);
    cairo_line_to(cr, cx - 2.8, top + 4.0);
    cairo_line_to(cr, cx + 2.8, top + 4.0);
    cairo_line_to(cr, cx + 2.8, top);
    art_set(cr, col);
    cairo_set_line_width(cr, 0.55);
    cairo_stroke(cr);
}

void mouse_right(cairo_t* cr, double x, double y)
{
    art_rounded_rect(cr, x - 1.1, y - 1.6, 2.2, 3.2, 1.0);
    art_set(cr, palette::cream);
    cairo_fill_preserve(cr);
    art_set(cr, palette::ink);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
    cairo_move_to(cr, x, y - 1.6);
    cairo_line_to(cr, x, y - 0.3);
    cairo_move_to(cr, x - 1.1, y - 0.3);
    cairo_line_to(cr, x + 1.1, y - 0.3);
    cairo_stroke(cr);
    cairo_rectangle(cr, x + 0.06, y - 1.5, 0.95, 1.14);
    art_set(cr, palette::warn_red);
    cairo_fill(cr);
}

void draw_cut(art_canvas& c)
{
    cairo_t* cr = c.cr;
    rope(cr, 5, 2, 5, 9, 0.0);
    pin(c, 5, 2);
    art_glass_ball(c, 5, 10.2, 1.3, palette::red, 1);
    // Scissors snipping the rope.
    cairo_move_to(cr, 5.2, 5.4);
    cairo_line_to(cr, 8.6, 3.8);
    cairo_move_to(cr, 5.2, 5.4);
    cairo_line_to(cr, 8.6, 7.0);
    art_set(cr, palette::steel_dark);
    cairo_set_line_width(cr, 0.35);
    cairo_stroke(cr);
    for (double y : {3.5, 7.3}) {
        cairo_arc(cr, 9.4, y, 0.75, 0, 2 * art_pi);
        art_set(cr, palette::warn_red);
        cairo_set_line_width(cr, 0.3);
        cairo_stroke(cr);
    }
    mouse_right(cr, 12.5, 11.5);
    arrow(cr, 5, 12.4, 5, 15.2, palette::ink_soft);
}

void draw_colours(art_canvas& c)
{
    cairo_t* cr = c.cr;
    for (int k = 0; k < 2; ++k) {
        int colour = k ? 4 : 1;
        double x = k ? 11.5 : 4.5;
        art_glass_ball(c, x, 3.0, 1.5, art_ball_colour(colour), colour);
        arrow(cr, x, 5.0, x, 8.6, palette::ink_soft);
        pot(cr, x, 10.5, colour);
    }
}

void draw_timing(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_arc(cr, 8, 2, 7, art_pi * 0.3, art_pi * 0.7);
    art_set(cr, palette::ink_soft, 0.6);
    cairo_set_line_width(cr, 0.2);
    cairo_set_dash(cr, std::initializer_list<double>{0.5, 0.4}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    rope(cr, 8, 2, 11.9, 7.4, 0.2);
    pin(c, 8, 2);
    art_glass_ball(c, 12.6, 8.2, 1.2, palette::blue, 2);
    pot(cr, 12.0, 11.6, 2);
    // A little stopwatch.
    art_brass_disc(c, 3.5, 11.5, 2.2);
    cairo_arc(cr, 3.5, 11.5, 1.6, 0, 2 * art_pi);
    art_set(cr, palette::cream);
    cairo_fill(cr);
    cairo_move_to(cr, 3.5, 11.5);
    cairo_line_to(cr, 4.4, 10.6);
    art_set(cr, palette::ink);
    cairo_set_line_width(cr, 0.2);
    cairo_stroke(cr);
}

void coil(cairo_t* cr, double x, double y0, double y1, double w)
{
    int turns = 7;
    for (int i = 0; i < turns; ++i) {
        double a = y0 + (y1 - y0) * i / turns, b = y0 + (y1 - y0) * (i + 1) / turns;
        cairo_move_to(cr, x - w, a);
        cairo_curve_to(cr, x, a - 0.2, x + w, (a + b) / 2 - 0.2, x + w, (a + b) / 2);
        cairo_curve_to(cr, x + w, (a + b) / 2 + 0.3, x, b + 0.2, x - w, b);
    }
    art_set(cr, palette::steel_dark);
    cairo_set_line_width(cr, 0.3);
    cairo_stroke(cr);
}

void draw_spring(art_canvas& c)
{
    cairo_t* cr = c.cr;
    coil(cr, 6, 2, 9.5, 1.1);
    pin(c, 6, 2);
    art_glass_ball(c, 6, 11, 1.4, palette::green, 3);
    arrow(cr, 8.2, 11.5, 13.2, 6.5, palette::ink_soft);
    cairo_arc(cr, 6, 11, 2.4, art_pi * 0.2, art_pi * 0.8);
    art_set(cr, palette::ink_soft, 0.5);
    cairo_set_line_width(cr, 0.15);
    cairo_stroke(cr);
}

void draw_lever(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, 8, 9);
    cairo_rotate(cr, -0.25);
    art_rounded_rect(cr, -7, -0.5, 14, 1.0, 0.3);
    cairo_restore(cr);
    art_linear(cr, 0, 7, 0, 11, {{0, palette::wood_light}, {1, palette::wood_dark}});
    cairo_fill(cr);
    pin(c, 8, 9);
    cairo_move_to(cr, 8, 9.8);
    cairo_line_to(cr, 6.8, 13);
    cairo_line_to(cr, 9.2, 13);
    cairo_close_path(cr);
    art_set(cr, palette::walnut);
    cairo_fill(cr);
    art_glass_ball(c, 12.6, 6.4, 1.2, palette::yellow, 4);
    arrow(cr, 3.5, 4.0, 3.5, 7.3, palette::ink_soft);
    art_caption(c, "4", 3.5, 2.2, 2.0, palette::ink, 0);
}

void draw_bumper(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_arc(cr, 7, 11, 2.2, 0, 2 * art_pi);
    art_set(cr, palette::rubber);
    cairo_fill(cr);
    art_brass_disc(c, 7, 11, 1.4);
    art_glass_ball(c, 4.2, 4.2, 1.2, palette::red, 1);
    cairo_move_to(cr, 4.6, 5.6);
    cairo_line_to(cr, 6.2, 8.6);
    cairo_curve_to(cr, 8, 6, 10, 4, 13.5, 3.5);
    art_set(cr, palette::ink_soft, 0.8);
    cairo_set_line_width(cr, 0.22);
    cairo_set_dash(cr, std::initializer_list<double>{0.5, 0.35}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    arrow(cr, 12, 3.7, 14.4, 3.4, palette::ink_soft);
}

void draw_wheel(art_canvas& c)
{
    cairo_t* cr = c.cr;
    art_polygon_path(cr, 8, 8, 5, 8, art_pi / 8);
    art_set(cr, palette::wood);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    for (int i = 0; i < 4; ++i) {
        double a = i * art_pi / 4;
        cairo_move_to(cr, 8 - std::cos(a) * 4.6, 8 - std::sin(a) * 4.6);
        cairo_line_to(cr, 8 + std::cos(a) * 4.6, 8 + std::sin(a) * 4.6);
    }
    art_set(cr, palette::wood_dark);
    cairo_set_line_width(cr, 0.45);
    cairo_stroke(cr);
    art_brass_disc(c, 8, 8, 1.2);
    cairo_arc(cr, 8, 8, 6.6, -art_pi * 0.45, art_pi * 0.05);
    art_set(cr, palette::ink_soft);
    cairo_set_line_width(cr, 0.3);
    cairo_stroke(cr);
    arrow(cr, 14.3, 7.0, 14.45, 8.6, palette::ink_soft);
}

void draw_slider(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_move_to(cr, 1, 9);
    cairo_line_to(cr, 15, 9);
    art_set(cr, palette::steel_dark);
    cairo_set_line_width(cr, 0.35);
    cairo_stroke(cr);
    art_rounded_rect(cr, 5.5, 7.6, 5, 2.8, 0.5);
    art_linear(cr, 0, 7.6, 0, 10.4, {{0, palette::steel_light}, {1, palette::steel_dark}});
    cairo_fill(cr);
    pin(c, 8, 9);
    arrow(cr, 5, 12.5, 1.5, 12.5, palette::ink_soft);
    arrow(cr, 11, 12.5, 14.5, 12.5, palette::ink_soft);
    rope(cr, 8, 10, 8, 4.2, 0);
    art_glass_ball(c, 8, 3.2, 1.2, palette::blue, 2);
}

void draw_rod(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_move_to(cr, 3, 3);
    cairo_line_to(cr, 10, 11);
    art_set(cr, palette::iron);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    pin(c, 3, 3);
    art_glass_ball(c, 10.6, 11.6, 1.3, palette::green, 3);
    // No scissors: a crossed-out snip.
    cairo_arc(cr, 12, 4.5, 2.2, 0, 2 * art_pi);
    art_set(cr, palette::warn_red);
    cairo_set_line_width(cr, 0.4);
    cairo_stroke(cr);
    cairo_move_to(cr, 10.5, 3);
    cairo_line_to(cr, 13.5, 6);
    cairo_stroke(cr);
}

void draw_awards(art_canvas& c)
{
    cairo_t* cr = c.cr;
    art_brass_disc(c, 5, 6, 3.2);
    cairo_new_path(cr);
    art_star_path(cr, 5, 6.1, 1.8, 0.8, 5);
    art_set(cr, palette::brass_dark);
    cairo_fill(cr);
    for (int k = 0; k < 3; ++k) {
        double a0 = -art_pi / 2 + k * 2 * art_pi / 3 + 0.1, a1 = a0 + 2 * art_pi / 3 - 0.2;
        cairo_new_sub_path(cr);
        cairo_arc(cr, 11, 10, 3.4, a0, a1);
        cairo_arc_negative(cr, 11, 10, 0.8, a1, a0);
        cairo_close_path(cr);
        art_set(cr, k == 2 ? palette::shadow.with_alpha(0.35) : art_hex(0xE89A3C));
        cairo_fill(cr);
    }
}

}  // namespace

void add_tip_textures(art_table& table)
{
    struct tip {
        const char* name;
        void (*draw)(art_canvas&);
    };
    const tip tips[] = {
        {"cut", draw_cut},     {"colours", draw_colours}, {"timing", draw_timing}, {"spring", draw_spring},
        {"lever", draw_lever}, {"bumper", draw_bumper},   {"wheel", draw_wheel},   {"slider", draw_slider},
        {"rod", draw_rod},     {"awards", draw_awards},
    };
    for (const tip& t : tips)
        table.add(art_tex("tips\\" + std::string(t.name)), 256, 256, 16, 16, t.draw);
}
