// The two glyph sheets. "tex\font\64x64_Black": 16 x 16 cells of 64 pixels, dark
// glyphs with a faint cream halo that keeps them legible on wood and maps, codes
// 32-126 and the Latin-1 letters 160-255, code 30 a star and 31 a half star. The
// game measures each glyph's advance from the sheet's alpha (a column with alpha
// above 128 starts the glyph, the first later column with nothing above 64 ends it,
// minus 6/64), so every glyph is placed in its cell to make that measure give the
// font's own advance. "tex\font\8x8_1": the editors' fixed cells, crisp white
// glyphs with a dark shadow.
#include "tools/art/art_paint.h"
#include "tools/art/art_table.h"
#include "tools/art/art_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int cell = 64;
constexpr int em_px = 50;           // the em of the text face in a cell
constexpr int baseline = 48;        // row of the baseline in a cell
constexpr int scratch_w = 160;      // a glyph is composed here before it is placed
constexpr int scratch_origin = 48;  // pen position in the scratch
constexpr double halo_alpha = 0.42;

// A glyph being composed: ink coverage, then alpha and colour blend with the halo.
struct scratch_glyph {
    std::array<float, scratch_w * cell> ink{};
    std::array<float, scratch_w * cell> halo{};
    float& at(int x, int y) { return ink[size_t(y) * scratch_w + x]; }
    float alpha(int x, int y) const
    {
        size_t i = size_t(y) * scratch_w + x;
        return ink[i] + halo[i] * (1 - ink[i]);
    }
};

void make_halo(scratch_glyph& g)
{
    // Disc dilation of radius 2.5 pixels, then a light 3 x 3 blur.
    std::array<float, scratch_w * cell> d{};
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < scratch_w; ++x) {
            float m = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    if (dx * dx + dy * dy > 7)
                        continue;
                    int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < scratch_w && sy < cell)
                        m = std::max(m, g.ink[size_t(sy) * scratch_w + sx]);
                }
            d[size_t(y) * scratch_w + x] = m;
        }
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < scratch_w; ++x) {
            float s = 0;
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < scratch_w && sy < cell) {
                        s += d[size_t(sy) * scratch_w + sx];
                        ++n;
                    }
                }
            g.halo[size_t(y) * scratch_w + x] = static_cast<float>(halo_alpha) * s / n;
        }
}

bool column_above(const scratch_glyph& g, int x, float threshold)
{
    for (int y = 0; y < cell; ++y)
        if (g.alpha(x, y) * 255.0f > threshold)
            return true;
    return false;
}

// The game's measure on the scratch: first column above 128, first column after it
// with nothing above 64. Both -1 for an empty glyph.
void measure(const scratch_glyph& g, int& start, int& end)
{
    start = end = -1;
    for (int x = 0; x < scratch_w; ++x) {
        if (start < 0) {
            if (column_above(g, x, 128))
                start = x;
        } else if (!column_above(g, x, 64)) {
            end = x;
            return;
        }
    }
    if (start >= 0)
        end = scratch_w;
}

// Glyphs made of parts side by side (quotes, guillemets, diaeresis) would end the
// measure at the first gap; a faint halo bridge at mid-height joins the parts.
void bridge_gaps(scratch_glyph& g)
{
    int start, end;
    measure(g, start, end);
    if (start < 0)
        return;
    int last = -1;
    for (int x = scratch_w - 1; x >= 0 && last < 0; --x)
        if (column_above(g, x, 64))
            last = x;
    if (last < end)
        return;
    // The row with the most ink among the columns next to the gap.
    int best_row = baseline - em_px / 3, best = -1;
    for (int y = 0; y < cell; ++y) {
        int n = 0;
        for (int x = start; x < end; ++x)
            n += g.ink[size_t(y) * scratch_w + x] > 0.5f;
        if (n > best) {
            best = n;
            best_row = y;
        }
    }
    for (int x = end - 1; x <= last; ++x)
        for (int y = best_row - 1; y <= best_row; ++y) {
            float& h = g.halo[size_t(y) * scratch_w + x];
            h = std::max(h, 0.34f);
        }
}

void render_text_glyph(unsigned code, scratch_glyph& g, double& advance_px)
{
    FT_Face face = art_font().text;
    advance_px = 0;
    if (FT_Get_Char_Index(face, code) == 0)
        return;
    FT_Set_Pixel_Sizes(face, 0, em_px);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    advance_px = slot->advance.x / 64.0;
    const FT_Bitmap& bm = slot->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row)
        for (unsigned col = 0; col < bm.width; ++col) {
            int x = scratch_origin + slot->bitmap_left + static_cast<int>(col);
            int y = baseline - slot->bitmap_top + static_cast<int>(row);
            if (x < 0 || y < 1 || x >= scratch_w || y >= cell - 1)
                continue;
            g.at(x, y) = bm.buffer[row * bm.pitch + col] / 255.0f;
        }
}

// Copies the scratch into cell (col, row) of the sheet, moved so that the scratch
// column `from` lands on cell column `to`.
void place(art_canvas& c, const scratch_glyph& g, int code, int from, int to)
{
    cairo_surface_flush(c.surface);
    uint8_t* data = cairo_image_surface_get_data(c.surface);
    int stride = cairo_image_surface_get_stride(c.surface);
    int cx0 = (code & 15) * cell, cy0 = (code >> 4) * cell;
    for (int y = 1; y < cell - 1; ++y)
        for (int x = 1; x < cell - 1; ++x) {
            int sx = x - to + from;
            if (sx < 0 || sx >= scratch_w)
                continue;
            size_t i = size_t(y) * scratch_w + sx;
            float ink = g.ink[i], halo = g.halo[i];
            float a = ink + halo * (1 - ink);
            if (a <= 0)
                continue;
            // Ink over halo, premultiplied as the surface stores it.
            auto channel = [&](double ink_c, double halo_c) {
                return static_cast<uint32_t>(std::lround((ink_c * ink + halo_c * halo * (1 - ink)) * 255.0));
            };
            uint32_t A = static_cast<uint32_t>(std::lround(a * 255.0));
            uint32_t R = channel(palette::ink.r, palette::cream.r);
            uint32_t G = channel(palette::ink.g, palette::cream.g);
            uint32_t B = channel(palette::ink.b, palette::cream.b);
            reinterpret_cast<uint32_t*>(data + (cy0 + y) * stride)[cx0 + x] =
                (A << 24) | (R << 16) | (G << 8) | B;
        }
    cairo_surface_mark_dirty(c.surface);
}

void draw_star_glyph(art_canvas& c, int code, bool half)
{
    double x0 = (code & 15) * cell, y0 = (code >> 4) * cell;
    double cx = x0 + 30, cy = y0 + baseline - 17, r = 20;
    cairo_t* cr = c.cr;
    cairo_new_path(cr);
    art_star_path(cr, cx, cy, r, r * 0.48, 5);
    art_set(cr, palette::cream, halo_alpha);
    cairo_set_line_width(cr, 6);
    cairo_stroke_preserve(cr);
    art_set(cr, half ? palette::paper_shade : palette::brass);
    cairo_fill_preserve(cr);
    if (half) {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        cairo_rectangle(cr, cx - r, cy - r, r, 2 * r);
        art_set(cr, palette::brass);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_new_path(cr);
        art_star_path(cr, cx, cy, r, r * 0.48, 5);
    } else {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        art_star_path(cr, cx - 2, cy - 3, r * 0.6, r * 0.3, 5);
        art_set(cr, palette::brass_light, 0.7);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_new_path(cr);
        art_star_path(cr, cx, cy, r, r * 0.48, 5);
    }
    art_set(cr, palette::ink);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
}

void draw_big_font(art_canvas& c)
{
    std::vector<unsigned> codes;
    for (unsigned code = 33; code <= 126; ++code)
        codes.push_back(code);
    for (unsigned code = 161; code <= 255; ++code)
        codes.push_back(code);
    // Digits share one advance so that counters do not jitter.
    double digit_advance = 0;
    for (unsigned code = '0'; code <= '9'; ++code) {
        scratch_glyph g;
        double adv;
        render_text_glyph(code, g, adv);
        digit_advance = std::max(digit_advance, adv);
    }
    for (unsigned code : codes) {
        auto g = std::make_unique<scratch_glyph>();
        double adv;
        render_text_glyph(code, *g, adv);
        if (adv <= 0)
            continue;
        if (code >= '0' && code <= '9')
            adv = digit_advance;
        make_halo(*g);
        bridge_gaps(*g);
        int start, end;
        measure(*g, start, end);
        if (start < 0)
            continue;
        // Put the measured end where the game's measure gives the font's advance.
        int to = static_cast<int>(std::lround(adv)) + 6;
        int first = 0;
        while (first < scratch_w && !column_above(*g, first, 0))
            ++first;
        int last = scratch_w - 1;
        while (last > 0 && !column_above(*g, last, 0))
            --last;
        int shift = to - end;
        if (first + shift < 1)
            shift = 1 - first;
        if (last + shift > cell - 2)
            shift = cell - 2 - last;
        place(c, *g, static_cast<int>(code), 0, shift);
    }
    draw_star_glyph(c, 30, false);
    draw_star_glyph(c, 31, true);
}

void draw_fixed_font(art_canvas& c)
{
    FT_Face face = art_font().fixed;
    cairo_surface_flush(c.surface);
    uint8_t* data = cairo_image_surface_get_data(c.surface);
    int stride = cairo_image_surface_get_stride(c.surface);
    auto put = [&](int x, int y, uint32_t argb) {
        uint32_t* p = reinterpret_cast<uint32_t*>(data + y * stride) + x;
        if ((*p >> 24) < (argb >> 24))
            *p = argb;
    };
    for (unsigned code = 33; code <= 255; ++code) {
        if (code > 126 && code < 161)
            continue;
        if (FT_Get_Char_Index(face, code) == 0 ||
            FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        int x0 = (code & 15) * 8 + 1 + slot->bitmap_left, y0 = (code >> 4) * 8 + 6 - slot->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO
                              ? (bm.buffer[row * bm.pitch + col / 8] >> (7 - col % 8)) & 1
                              : bm.buffer[row * bm.pitch + col] > 127;
                if (!on)
                    continue;
                int x = x0 + static_cast<int>(col), y = y0 + static_cast<int>(row);
                int cell_x = x - (code & 15) * 8, cell_y = y - (code >> 4) * 8;
                if (cell_x < 0 || cell_y < 0 || cell_x > 6 || cell_y > 6)
                    continue;
                put(x, y, 0xFFFFFFFFu);
                if (cell_x < 6 && cell_y < 6)
                    put(x + 1, y + 1, 0xA0000000u);
            }
    }
    cairo_surface_mark_dirty(c.surface);
}

}  // namespace

void add_glyph_textures(art_table& table)
{
    art_texture& big =
        table.add("tex\\font\\64x64_Black", 16 * cell, 16 * cell, 16 * cell, 16 * cell, draw_big_font);
    big.raw = true;
    big.bleed = false;
    big.empty_colour = palette::cream;
    art_texture& fixed = table.add("tex\\font\\8x8_1", 128, 128, 128, 128, draw_fixed_font);
    fixed.raw = true;
    fixed.bleed = false;
}
