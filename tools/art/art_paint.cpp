// Shared drawing helpers: gradients, paths, materials, soft effects and the objects
// many textures reuse (glass balls, brass discs, screws, colour symbols, captions).
#include "tools/art/art_paint.h"

#include "tools/art/art_noise.h"
#include "tools/art/art_text.h"

#include <algorithm>
#include <cmath>

void art_set(cairo_t* cr, const art_colour& c)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void art_set(cairo_t* cr, const art_colour& c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}

namespace {

void add_stops(cairo_pattern_t* p, std::initializer_list<std::pair<double, art_colour>> stops)
{
    for (const auto& [offset, c] : stops)
        cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, c.a);
}

}  // namespace

void art_linear(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<std::pair<double, art_colour>> stops)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    add_stops(p, stops);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void art_radial(cairo_t* cr, double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                std::initializer_list<std::pair<double, art_colour>> stops)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1);
    add_stops(p, stops);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void art_rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -art_pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, art_pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, art_pi / 2, art_pi);
    cairo_arc(cr, x + r, y + r, r, art_pi, 3 * art_pi / 2);
    cairo_close_path(cr);
}

void art_star_path(cairo_t* cr, double cx, double cy, double r_out, double r_in, int points, double rotation)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double a = rotation + i * art_pi / points;
        double r = (i % 2) ? r_in : r_out;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void art_polygon_path(cairo_t* cr, double cx, double cy, double r, int sides, double rotation)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < sides; ++i) {
        double a = rotation + i * 2 * art_pi / sides;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void art_gear_path(cairo_t* cr, double cx, double cy, double r_root, double r_tip, int teeth)
{
    cairo_new_sub_path(cr);
    double step = 2 * art_pi / teeth;
    for (int i = 0; i < teeth; ++i) {
        double a = i * step;
        // Root, flank up, flat tip, flank down: trapezoid teeth.
        double pts[4][2] = {{a - step * 0.5, r_root},
                            {a - step * 0.22, r_tip},
                            {a + step * 0.22, r_tip},
                            {a + step * 0.5, r_root}};
        for (auto& p : pts)
            cairo_line_to(cr, cx + p[1] * std::cos(p[0]), cy + p[1] * std::sin(p[0]));
    }
    cairo_close_path(cr);
}

art_colour art_wood_at(const art_wood& w, double x, double y)
{
    double ca = std::cos(w.angle), sa = std::sin(w.angle);
    double u = x * ca + y * sa, v = -x * sa + y * ca;
    double warp = art_fbm(u * 0.18, v * 0.9, w.seed, 4);
    double rings = v * w.grain + warp * 2.6 + 0.2 * std::sin(u * 0.45 + w.seed);
    double ring = 0.5 + 0.5 * std::sin(2 * art_pi * rings);
    ring = ring * ring * ring;
    double fibre = art_fbm(u * 0.9, v * 22.0, w.seed + 7, 3);
    double patch = art_fbm(u * 0.07, v * 0.2, w.seed + 13, 2);
    double t = std::clamp(0.18 + 0.42 * ring + 0.45 * (fibre - 0.5) + 0.35 * (patch - 0.5), 0.0, 1.0);
    return w.light.mix(w.dark, t);
}

void art_fill_with(art_canvas& c, const std::function<art_colour(double, double)>& fn)
{
    double x0, y0, x1, y1;
    cairo_fill_extents(c.cr, &x0, &y0, &x1, &y1);
    cairo_pattern_t* p = c.procedural(fn, x0, y0, x1, y1);
    cairo_set_source(c.cr, p);
    cairo_fill_preserve(c.cr);
    cairo_pattern_destroy(p);
}

void art_fill_wood(art_canvas& c, const art_wood& w)
{
    art_fill_with(c, [&](double x, double y) { return art_wood_at(w, x, y); });
}

art_colour art_paper_at(double x, double y, unsigned seed, const art_colour& base)
{
    double blotch = art_fbm(x * 0.12, y * 0.12, seed, 4) - 0.5;
    double fibre = art_fbm(x * 3.1, y * 2.3, seed + 3, 2) - 0.5;
    double speck = art_noise(x * 11.0, y * 11.0, seed + 9);
    double shade = blotch * 0.12 + fibre * 0.05 - (speck > 0.93 ? 0.05 : 0);
    return base.shade(shade);
}

void art_fill_paper(art_canvas& c, unsigned seed, const art_colour& base)
{
    art_fill_with(c, [&](double x, double y) { return art_paper_at(x, y, seed, base); });
}

void art_drop_shadow(art_canvas& c, const art_shape& shape, double dx, double dy, double blur, double opacity)
{
    art_mask m(c);
    shape(m.cr);
    cairo_set_source_rgba(m.cr, 0, 0, 0, 1);
    cairo_fill(m.cr);
    m.blur(blur);
    m.paint(c, palette::shadow.with_alpha(opacity), dx, dy);
}

void art_glow(art_canvas& c, const art_shape& shape, double blur, const art_colour& colour)
{
    art_mask m(c);
    shape(m.cr);
    cairo_set_source_rgba(m.cr, 0, 0, 0, 1);
    cairo_fill(m.cr);
    m.blur(blur);
    m.paint(c, colour);
}

void art_bevel(art_canvas& c, const art_shape& shape, double width, double light, double dark)
{
    for (int side = 0; side < 2; ++side) {
        art_mask m(c);
        // The shape's outline moved against the light leaves a band along one edge.
        double d = side == 0 ? width : -width;
        cairo_save(m.cr);
        cairo_translate(m.cr, d, d);
        shape(m.cr);
        cairo_restore(m.cr);
        cairo_set_line_width(m.cr, width * 2);
        cairo_set_source_rgba(m.cr, 0, 0, 0, 1);
        cairo_stroke(m.cr);
        m.blur(width * 0.6);
        cairo_save(c.cr);
        shape(c.cr);
        cairo_clip(c.cr);
        m.paint(c, side == 0 ? palette::cream.with_alpha(light) : palette::shadow.with_alpha(dark));
        cairo_restore(c.cr);
    }
}

void art_vignette(art_canvas& c, const art_shape& shape, double width, const art_colour& colour)
{
    art_mask m(c);
    shape(m.cr);
    cairo_set_line_width(m.cr, width);
    cairo_set_source_rgba(m.cr, 0, 0, 0, 1);
    cairo_stroke(m.cr);
    m.blur(width * 0.8);
    cairo_save(c.cr);
    shape(c.cr);
    cairo_clip(c.cr);
    m.paint(c, colour);
    cairo_restore(c.cr);
}

art_colour art_ball_colour(int colour_index)
{
    switch (colour_index) {
    case 1:
        return palette::red;
    case 2:
        return palette::blue;
    case 3:
        return palette::green;
    case 4:
        return palette::yellow;
    default:
        return palette::steel;
    }
}

void art_symbol_path(cairo_t* cr, int colour_index, double cx, double cy, double r)
{
    switch (colour_index) {
    case 1:  // triangle, point up
        art_polygon_path(cr, cx, cy + r * 0.12, r * 1.05, 3, -art_pi / 2);
        break;
    case 2:  // ring
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, r * 0.82, 0, 2 * art_pi);
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx, cy, r * 0.42, 2 * art_pi, 0);
        cairo_close_path(cr);
        break;
    case 3:  // square
        art_rounded_rect(cr, cx - r * 0.68, cy - r * 0.68, r * 1.36, r * 1.36, r * 0.12);
        break;
    case 4:  // five-pointed star
        art_star_path(cr, cx, cy + r * 0.06, r * 1.0, r * 0.45, 5);
        break;
    default:
        break;
    }
}

void art_glass_ball(art_canvas& c, double cx, double cy, double r, const art_colour& colour, int symbol)
{
    cairo_t* cr = c.cr;
    // Body: lit from the upper left, deep colour at the rim.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * art_pi);
    art_radial(
        cr, cx - r * 0.35, cy - r * 0.4, r * 0.05, cx, cy, r,
        {{0, colour.shade(0.45)}, {0.45, colour}, {0.85, colour.shade(-0.35)}, {1, colour.shade(-0.55)}});
    cairo_fill_preserve(cr);
    // Light gathered in the glass at the lower right.
    art_radial(cr, cx + r * 0.35, cy + r * 0.45, 0, cx + r * 0.35, cy + r * 0.45, r * 0.6,
               {{0, colour.shade(0.55).with_alpha(0.6)}, {1, colour.with_alpha(0)}});
    cairo_fill(cr);
    // The colour's symbol, pale and crisp, with a thin dark edge.
    if (symbol > 0) {
        cairo_new_path(cr);
        art_symbol_path(cr, symbol, cx, cy + r * 0.04, r * 0.5);
        art_set(cr, palette::shadow, 0.45);
        cairo_set_line_width(cr, r * 0.09);
        cairo_stroke_preserve(cr);
        art_set(cr, palette::cream, 0.92);
        cairo_fill(cr);
    }
    // Rim and highlights.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.97, 0, 2 * art_pi);
    art_set(cr, colour.shade(-0.7), 0.7);
    cairo_set_line_width(cr, r * 0.06);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.38, cy - r * 0.45);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, r * 0.38, r * 0.22);
    cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
    cairo_restore(cr);
    art_radial(cr, cx - r * 0.38, cy - r * 0.45, 0, cx - r * 0.38, cy - r * 0.45, r * 0.4,
               {{0, art_colour{1, 1, 1, 0.95}}, {1, art_colour{1, 1, 1, 0}}});
    cairo_fill(cr);
    cairo_arc(cr, cx + r * 0.42, cy + r * 0.5, r * 0.07, 0, 2 * art_pi);
    art_set(cr, art_colour{1, 1, 1, 0.5});
    cairo_fill(cr);
}

void art_brass_disc(art_canvas& c, double cx, double cy, double r, const art_colour& base)
{
    cairo_t* cr = c.cr;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * art_pi);
    art_linear(cr, cx - r, cy - r, cx + r, cy + r,
               {{0, base.shade(0.55)}, {0.45, base}, {1, base.shade(-0.45)}});
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * art_pi);
    art_linear(cr, cx - r, cy - r, cx + r, cy + r,
               {{0, base.shade(-0.3)}, {0.5, base.shade(0.1)}, {1, base.shade(0.45)}});
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.97, 0, 2 * art_pi);
    art_set(cr, base.shade(-0.6), 0.8);
    cairo_set_line_width(cr, r * 0.06);
    cairo_stroke(cr);
}

void art_screw(cairo_t* cr, double cx, double cy, double r, double angle)
{
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * art_pi);
    art_radial(cr, cx - r * 0.3, cy - r * 0.3, 0, cx, cy, r,
               {{0, palette::brass_light}, {0.7, palette::brass}, {1, palette::brass_dark}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark.shade(-0.4));
    cairo_set_line_width(cr, r * 0.15);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - r * 0.7 * std::cos(angle), cy - r * 0.7 * std::sin(angle));
    cairo_line_to(cr, cx + r * 0.7 * std::cos(angle), cy + r * 0.7 * std::sin(angle));
    art_set(cr, palette::brass_dark.shade(-0.5));
    cairo_set_line_width(cr, r * 0.25);
    cairo_stroke(cr);
}

void art_caption(art_canvas& c, const char* utf8, double cx, double cy, double size, const art_colour& colour,
                 double shadow_opacity)
{
    double baseline = cy + size * art_cap_height() / 2;
    if (shadow_opacity > 0)
        art_drop_shadow(
            c, [&](cairo_t* cr) { art_text_path(cr, utf8, cx, baseline, size); }, size * 0.04, size * 0.06,
            size * 0.06, shadow_opacity);
    cairo_new_path(c.cr);
    art_text_path(c.cr, utf8, cx, baseline, size);
    art_set(c.cr, colour);
    cairo_fill(c.cr);
}
