// The surface one texture is drawn on: a cairo image whose user space is the
// texture's drawing space in units (so shapes keep their proportions on screen
// whatever the pixel size), and the step that turns it into straight RGBA.
#pragma once

#include "render/image/image_codec.h"
#include "tools/art/art_palette.h"

#include <cairo.h>

#include <functional>

class art_canvas {
public:
    // `units_w` x `units_h` is the drawing space spread over `width` x `height` pixels.
    art_canvas(int width, int height, double units_w, double units_h);
    ~art_canvas();
    art_canvas(const art_canvas&) = delete;
    art_canvas& operator=(const art_canvas&) = delete;

    cairo_surface_t* surface;
    cairo_t* cr;
    int width, height;
    double units_w, units_h;

    double scale_x() const { return width / units_w; }
    double scale_y() const { return height / units_h; }

    // A pattern in drawing units whose colour at (x, y) comes from `fn`; the caller
    // destroys it. Computed for the pixels inside the box (x0, y0)-(x1, y1) in
    // drawing units, transparent elsewhere.
    cairo_pattern_t* procedural(const std::function<art_colour(double x, double y)>& fn, double x0, double y0,
                                double x1, double y1) const;

    // Straight (not premultiplied) RGBA. With `bleed`, fully transparent pixels take
    // the colour of the nearest drawn ones, so that filtering and the codec never
    // pull a dark fringe into the edges of shapes.
    image_rgba pixels(bool bleed) const;
};

// An alpha mask the size of a canvas: draw a shape into it, blur it, and use it to
// paint soft shadows and glows.
class art_mask {
public:
    explicit art_mask(const art_canvas& canvas);
    ~art_mask();
    art_mask(const art_mask&) = delete;
    art_mask& operator=(const art_mask&) = delete;

    cairo_surface_t* surface;
    cairo_t* cr;  // same user space as the canvas

    // Box blur three times, `radius` in drawing units (horizontal scale).
    void blur(double radius);
    // Paints `colour` through the mask onto the canvas, moved by (dx, dy) units.
    void paint(art_canvas& canvas, art_colour colour, double dx = 0, double dy = 0) const;

private:
    double sx, sy;
};
