// Paper sheets, wooden boards and tags.
#include "tools/art/art_panels.h"

#include "tools/art/art_noise.h"

#include <algorithm>
#include <cmath>

void art_paper_outline(cairo_t* cr, double x, double y, double w, double h, unsigned seed)
{
    // Deckled edge: the border wanders by a little noise along each side.
    const int steps = 48;
    double wobble = std::min(w, h) * 0.012;
    cairo_new_sub_path(cr);
    auto edge = [&](double t, int side) {
        return (art_noise(t * 9.0, side * 13.0, seed) - 0.5) * 2 * wobble;
    };
    for (int i = 0; i < steps; ++i) {
        double t = double(i) / steps;
        cairo_line_to(cr, x + w * t, y + edge(t, 0));
    }
    for (int i = 0; i < steps; ++i) {
        double t = double(i) / steps;
        cairo_line_to(cr, x + w + edge(t, 1), y + h * t);
    }
    for (int i = 0; i < steps; ++i) {
        double t = double(i) / steps;
        cairo_line_to(cr, x + w * (1 - t), y + h + edge(t, 2));
    }
    for (int i = 0; i < steps; ++i) {
        double t = double(i) / steps;
        cairo_line_to(cr, x + edge(t, 3), y + h * (1 - t));
    }
    cairo_close_path(cr);
}

void art_paper_sheet(art_canvas& c, double x, double y, double w, double h, unsigned seed)
{
    double s = std::min(w, h);
    auto shape = [&](cairo_t* cr) { art_paper_outline(cr, x, y, w, h, seed); };
    art_drop_shadow(c, shape, s * 0.012, s * 0.02, s * 0.025, 0.45);
    cairo_new_path(c.cr);
    shape(c.cr);
    art_fill_paper(c, seed);
    cairo_new_path(c.cr);
    art_vignette(c, shape, s * 0.06, palette::paper_edge.with_alpha(0.55));
    cairo_new_path(c.cr);
    shape(c.cr);
    art_set(c.cr, palette::paper_edge, 0.8);
    cairo_set_line_width(c.cr, s * 0.006);
    cairo_stroke(c.cr);
}

void art_board(art_canvas& c, double x, double y, double w, double h, double radius, const art_wood& wood)
{
    auto shape = [&](cairo_t* cr) { art_rounded_rect(cr, x, y, w, h, radius); };
    double s = std::min(w, h);
    art_drop_shadow(c, shape, s * 0.03, s * 0.05, s * 0.06, 0.5);
    cairo_new_path(c.cr);
    shape(c.cr);
    art_fill_wood(c, wood);
    cairo_new_path(c.cr);
    art_bevel(c, shape, s * 0.06, 0.45, 0.5);
    cairo_new_path(c.cr);
    shape(c.cr);
    art_set(c.cr, wood.dark.shade(-0.55), 0.9);
    cairo_set_line_width(c.cr, s * 0.025);
    cairo_stroke(c.cr);
}

void art_tag(art_canvas& c, double x, double y, double w, double h, bool round_right, unsigned seed)
{
    double r = h * 0.5;
    auto shape = [&](cairo_t* cr) {
        cairo_new_sub_path(cr);
        if (round_right) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + w - r, y);
            cairo_arc(cr, x + w - r, y + r, r, -art_pi / 2, art_pi / 2);
            cairo_line_to(cr, x, y + h);
        } else {
            cairo_move_to(cr, x + w, y);
            cairo_line_to(cr, x + r, y);
            cairo_arc_negative(cr, x + r, y + r, r, -art_pi / 2, -3 * art_pi / 2);
            cairo_line_to(cr, x + w, y + h);
        }
        cairo_close_path(cr);
    };
    art_drop_shadow(c, shape, h * 0.04, h * 0.08, h * 0.08, 0.45);
    cairo_new_path(c.cr);
    shape(c.cr);
    art_fill_paper(c, seed);
    cairo_new_path(c.cr);
    art_vignette(c, shape, h * 0.16, palette::paper_edge.with_alpha(0.5));
    cairo_new_path(c.cr);
    shape(c.cr);
    art_set(c.cr, palette::paper_edge.shade(-0.3), 0.9);
    cairo_set_line_width(c.cr, h * 0.03);
    cairo_stroke(c.cr);
    // An eyelet near the rounded end.
    double ex = round_right ? x + w - std::min(r * 0.9, 1.4) : x + std::min(r * 0.9, 1.4), ey = y + h / 2;
    cairo_arc(c.cr, ex, ey, h * 0.11, 0, 2 * art_pi);
    art_set(c.cr, palette::brass);
    cairo_set_line_width(c.cr, h * 0.05);
    cairo_stroke_preserve(c.cr);
    art_set(c.cr, palette::walnut_dark, 0.8);
    cairo_fill(c.cr);
}
