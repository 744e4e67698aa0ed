// Canvas set-up, procedural patterns, un-premultiplying with colour bleeding, and
// blurred masks.
#include "tools/art/art_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

art_canvas::art_canvas(int w, int h, double uw, double uh) : width(w), height(h), units_w(uw), units_h(uh)
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    cairo_scale(cr, scale_x(), scale_y());
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

art_canvas::~art_canvas()
{
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

namespace {

uint8_t to_byte(double v)
{
    return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

}  // namespace

cairo_pattern_t* art_canvas::procedural(const std::function<art_colour(double x, double y)>& fn, double x0,
                                        double y0, double x1, double y1) const
{
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(img);
    uint8_t* data = cairo_image_surface_get_data(img);
    int stride = cairo_image_surface_get_stride(img);
    int px0 = std::clamp(static_cast<int>(std::floor(x0 * scale_x())) - 1, 0, width);
    int px1 = std::clamp(static_cast<int>(std::ceil(x1 * scale_x())) + 1, 0, width);
    int py0 = std::clamp(static_cast<int>(std::floor(y0 * scale_y())) - 1, 0, height);
    int py1 = std::clamp(static_cast<int>(std::ceil(y1 * scale_y())) + 1, 0, height);
    for (int y = py0; y < py1; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = px0; x < px1; ++x) {
            art_colour c = fn((x + 0.5) / scale_x(), (y + 0.5) / scale_y());
            double a = std::clamp(c.a, 0.0, 1.0);
            row[x] = (uint32_t(to_byte(a)) << 24) | (uint32_t(to_byte(c.r * a)) << 16) |
                     (uint32_t(to_byte(c.g * a)) << 8) | to_byte(c.b * a);
        }
    }
    cairo_surface_mark_dirty(img);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(img);
    cairo_surface_destroy(img);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, scale_x(), scale_y());
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    return pattern;
}

image_rgba art_canvas::pixels(bool bleed) const
{
    cairo_surface_flush(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    image_rgba out;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            uint32_t p = row[x];
            uint32_t a = p >> 24;
            uint8_t* o = &out.pixels[(size_t(y) * width + x) * 4];
            o[3] = static_cast<uint8_t>(a);
            for (int k = 0; k < 3; ++k) {
                uint32_t c = (p >> (16 - 8 * k)) & 255;
                o[k] = a ? static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)) : 0;
            }
        }
    }
    if (!bleed)
        return out;
    // Push-pull fill: average the drawn colours down a pyramid of halved levels, then
    // give every transparent pixel the colour of its nearest coarser level, so empty
    // pixels next to a shape carry the shape's colour.
    bool empty = false;
    for (size_t i = 0; i < size_t(width) * height && !empty; ++i)
        empty = out.pixels[i * 4 + 3] == 0;
    if (!empty)
        return out;
    struct level {
        int w, h;
        std::vector<float> rgb, weight;
    };
    std::vector<level> levels(1);
    levels[0] = {width, height, std::vector<float>(size_t(width) * height * 3),
                 std::vector<float>(size_t(width) * height)};
    bool any = false;
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        float w = out.pixels[i * 4 + 3] ? 1.0f : 0.0f;
        any = any || w > 0;
        levels[0].weight[i] = w;
        for (int k = 0; k < 3; ++k)
            levels[0].rgb[i * 3 + k] = out.pixels[i * 4 + k] * w;
    }
    if (!any)
        return out;
    while (levels.back().w > 1 || levels.back().h > 1) {
        const level& fine = levels.back();
        level coarse{(fine.w + 1) / 2, (fine.h + 1) / 2, {}, {}};
        coarse.rgb.assign(size_t(coarse.w) * coarse.h * 3, 0);
        coarse.weight.assign(size_t(coarse.w) * coarse.h, 0);
        for (int y = 0; y < fine.h; ++y)
            for (int x = 0; x < fine.w; ++x) {
                size_t f = size_t(y) * fine.w + x, c = size_t(y / 2) * coarse.w + x / 2;
                coarse.weight[c] += fine.weight[f];
                for (int k = 0; k < 3; ++k)
                    coarse.rgb[c * 3 + k] += fine.rgb[f * 3 + k];
            }
        levels.push_back(std::move(coarse));
    }
    // Sums become means; pixels without weight take their parent's mean.
    for (size_t l = levels.size(); l-- > 0;) {
        level& lv = levels[l];
        for (int y = 0; y < lv.h; ++y)
            for (int x = 0; x < lv.w; ++x) {
                size_t i = size_t(y) * lv.w + x;
                if (lv.weight[i] > 0) {
                    for (int k = 0; k < 3; ++k)
                        lv.rgb[i * 3 + k] /= lv.weight[i];
                } else if (l + 1 < levels.size()) {
                    const level& up = levels[l + 1];
                    size_t p = size_t(y / 2) * up.w + x / 2;
                    for (int k = 0; k < 3; ++k)
                        lv.rgb[i * 3 + k] = up.rgb[p * 3 + k];
                }
            }
        for (size_t i = 0; i < lv.weight.size(); ++i)
            lv.weight[i] = lv.weight[i] > 0 ? 1.0f : 0.0f;
    }
    for (size_t i = 0; i < size_t(width) * height; ++i)
        if (out.pixels[i * 4 + 3] == 0)
            for (int k = 0; k < 3; ++k)
                out.pixels[i * 4 + k] =
                    static_cast<uint8_t>(std::clamp(levels[0].rgb[i * 3 + k], 0.0f, 255.0f) + 0.5f);
    return out;
}

art_mask::art_mask(const art_canvas& canvas) : sx(canvas.scale_x()), sy(canvas.scale_y())
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_A8, canvas.width, canvas.height);
    cr = cairo_create(surface);
    cairo_scale(cr, sx, sy);
}

art_mask::~art_mask()
{
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void art_mask::blur(double radius)
{
    cairo_surface_flush(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int r = std::max(1, static_cast<int>(std::lround(radius * sx / 1.7)));
    std::vector<int> line(size_t(std::max(w, h)));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            uint8_t* row = data + y * stride;
            for (int x = 0; x < w; ++x)
                line[x] = row[x];
            int sum = 0;
            for (int x = -r; x <= r; ++x)
                sum += line[std::clamp(x, 0, w - 1)] * (x >= 0 && x < w);
            for (int x = 0; x < w; ++x) {
                row[x] = static_cast<uint8_t>(sum / (2 * r + 1));
                int add = x + r + 1, drop = x - r;
                sum += add < w ? line[add] : 0;
                sum -= drop >= 0 ? line[drop] : 0;
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[y] = data[y * stride + x];
            int sum = 0;
            for (int y = 0; y <= r && y < h; ++y)
                sum += line[y];
            for (int y = 0; y < h; ++y) {
                data[y * stride + x] = static_cast<uint8_t>(sum / (2 * r + 1));
                int add = y + r + 1, drop = y - r;
                sum += add < h ? line[add] : 0;
                sum -= drop >= 0 ? line[drop] : 0;
            }
        }
    }
    cairo_surface_mark_dirty(surface);
}

void art_mask::paint(art_canvas& canvas, art_colour colour, double dx, double dy) const
{
    cairo_save(canvas.cr);
    cairo_identity_matrix(canvas.cr);
    cairo_set_source_rgba(canvas.cr, colour.r, colour.g, colour.b, colour.a);
    cairo_mask_surface(canvas.cr, surface, dx * sx, dy * sy);
    cairo_restore(canvas.cr);
}
