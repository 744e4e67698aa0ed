// Drawing helpers shared by every kind of texture: paths, gradients, the materials
// (wood, paper, brass, glass), soft shadows and bevels, and the colour symbols that
// tell the ball colours apart without relying on hue.
#pragma once

#include "tools/art/art_canvas.h"
#include "tools/art/art_palette.h"

#include <cairo.h>

#include <functional>
#include <initializer_list>
#include <utility>

constexpr double art_pi = 3.14159265358979323846;

using art_shape = std::function<void(cairo_t*)>;

void art_set(cairo_t* cr, const art_colour& c);
void art_set(cairo_t* cr, const art_colour& c, double alpha);
// Linear and radial gradients as the source, stops as (offset, colour).
void art_linear(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<std::pair<double, art_colour>> stops);
void art_radial(cairo_t* cr, double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                std::initializer_list<std::pair<double, art_colour>> stops);

// Paths.
void art_rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
void art_star_path(cairo_t* cr, double cx, double cy, double r_out, double r_in, int points,
                   double rotation = -art_pi / 2);
void art_polygon_path(cairo_t* cr, double cx, double cy, double r, int sides, double rotation);
void art_gear_path(cairo_t* cr, double cx, double cy, double r_root, double r_tip, int teeth);

// Materials: procedural fills of the current path (the path is kept).
struct art_wood {
    art_colour light = palette::wood_light;
    art_colour dark = palette::wood_dark;
    double grain = 1.0;  // rings per unit across the grain
    double angle = 0;    // grain direction, radians from +x
    unsigned seed = 1;
};
art_colour art_wood_at(const art_wood& w, double x, double y);
void art_fill_wood(art_canvas& c, const art_wood& w);
art_colour art_paper_at(double x, double y, unsigned seed, const art_colour& base = palette::paper);
void art_fill_paper(art_canvas& c, unsigned seed, const art_colour& base = palette::paper);
// Fills with a procedural colour function.
void art_fill_with(art_canvas& c, const std::function<art_colour(double, double)>& fn);

// Soft effects built on blurred masks.
void art_drop_shadow(art_canvas& c, const art_shape& shape, double dx, double dy, double blur,
                     double opacity);
void art_glow(art_canvas& c, const art_shape& shape, double blur, const art_colour& colour);
// Light along the upper-left inner edge of a shape and shade along the lower-right.
void art_bevel(art_canvas& c, const art_shape& shape, double width, double light, double dark);
// Darkening towards the inside edge of a shape (worn, aged look).
void art_vignette(art_canvas& c, const art_shape& shape, double width, const art_colour& colour);

// Objects.
void art_glass_ball(art_canvas& c, double cx, double cy, double r, const art_colour& colour, int symbol);
void art_brass_disc(art_canvas& c, double cx, double cy, double r, const art_colour& base = palette::brass);
void art_screw(cairo_t* cr, double cx, double cy, double r, double angle);
// The colour symbol of a colour index (1 triangle, 2 ring, 3 square, 4 star) as a
// path centred on (cx, cy) fitting a circle of radius r.
void art_symbol_path(cairo_t* cr, int colour_index, double cx, double cy, double r);
art_colour art_ball_colour(int colour_index);

// A line of text in the game's face with a soft shadow: `colour` fill, baseline
// placed so that capitals are centred on cy.
void art_caption(art_canvas& c, const char* utf8, double cx, double cy, double size, const art_colour& colour,
                 double shadow_opacity = 0.35);
