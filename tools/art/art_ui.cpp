// The screens' textures: title logo and backgrounds, the scroll, the frames in the
// margins, the HUD boxes and labels, paper, list lines, the captions and the
// world-select banner.
#include "tools/art/art_noise.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_panels.h"
#include "tools/art/art_table.h"
#include "tools/art/art_text.h"

#include <cmath>
#include <string>

namespace {

// Big letters: thick dark outline, a fill gradient, a soft shadow and a shine.
void draw_lettering(art_canvas& c, const char* text, double cx, double cy, double size, const art_colour& top,
                    const art_colour& bottom, double max_width)
{
    cairo_t* cr = c.cr;
    size = art_text_fit(cr, text, max_width, size);
    double base = cy + size * art_cap_height() / 2;
    double cap = size * art_cap_height();
    auto shape = [&](cairo_t* m) { art_text_path(m, text, cx, base, size); };
    art_drop_shadow(
        c,
        [&](cairo_t* m) {
            shape(m);
            cairo_set_line_width(m, size * 0.16);
            cairo_stroke_preserve(m);
        },
        size * 0.04, size * 0.07, size * 0.06, 0.6);
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, size * 0.14);
    cairo_stroke_preserve(cr);
    art_linear(cr, 0, base - cap, 0, base, {{0, top}, {1, bottom}});
    cairo_fill(cr);
    // Shine across the upper half of the letters.
    cairo_save(cr);
    shape(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, cx - max_width, base - cap * 1.05, 2 * max_width, cap * 0.38);
    art_set(cr, palette::cream, 0.35);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
}

void draw_caption(art_canvas& c, const char* text, const art_colour& top, const art_colour& bottom)
{
    draw_lettering(c, text, c.units_w / 2, c.units_h / 2, c.units_h * 0.78, top, bottom, c.units_w * 0.92);
}

void draw_title_logo(art_canvas& c)
{
    cairo_t* cr = c.cr;
    // A rope across the top with four glass balls hanging from it.
    double rope_y = 7;
    int colours[4] = {1, 2, 3, 4};
    double xs[4] = {4.2, 9.6, 54.4, 59.8}, drops[4] = {9.5, 4.0, 5.0, 10.0};
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, xs[i], rope_y);
        cairo_line_to(cr, xs[i], rope_y + drops[i]);
        art_set(cr, palette::wood_dark);
        cairo_set_line_width(cr, 0.35);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 1, rope_y - 1.5);
    cairo_curve_to(cr, 20, rope_y + 2, 44, rope_y + 2, 63, rope_y - 1.5);
    art_set(cr, palette::wood_dark.shade(-0.3));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke_preserve(cr);
    art_set(cr, palette::wood_light);
    cairo_set_line_width(cr, 0.5);
    cairo_set_dash(cr, std::initializer_list<double>{0.6, 0.5}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (int i = 0; i < 4; ++i) {
        double by = rope_y + drops[i] + 2.2;
        art_drop_shadow(
            c, [&](cairo_t* m) { cairo_arc(m, xs[i], by, 2.2, 0, 2 * art_pi); }, 0.3, 0.5, 0.5, 0.5);
        art_glass_ball(c, xs[i], by, 2.2, art_ball_colour(colours[i]), colours[i]);
    }
    draw_lettering(c, "Tamble", 32, 19.5, 17, palette::brass_light, palette::wood, 39);
    cairo_new_path(cr);
    art_caption(c, "a game of ropes, pots and gravity", 32, 28.8, 2.6, palette::cream, 0.8);
}

// Dark wooden panelling, two boards per tile; the tile repeats sideways.
void draw_title_bg(art_canvas& c)
{
    cairo_t* cr = c.cr;
    for (int b = 0; b < 2; ++b) {
        art_wood w{palette::wood_dark, palette::walnut_dark, 0.45, art_pi / 2, 31u + b};
        cairo_rectangle(cr, b * 8, 0, 8, 64);
        art_fill_wood(c, w);
        cairo_new_path(cr);
        art_vignette(
            c, [&](cairo_t* m) { cairo_rectangle(m, b * 8, -1, 8, 66); }, 0.8,
            palette::shadow.with_alpha(0.55));
        for (int k = 0; k < 3; ++k)
            art_screw(cr, b * 8 + 4, 6 + k * 26, 0.35, 0.4 + b + k);
    }
}

// The scroll: top roller (rows 0-8), bottom roller (8-16), paper (16-40).
void draw_roller(art_canvas& c, double y_centre)
{
    cairo_t* cr = c.cr;
    double r = 2.3;
    auto dowel = [&](cairo_t* m) { art_rounded_rect(m, 2.6, y_centre - r, 58.8, 2 * r, r * 0.6); };
    art_drop_shadow(c, dowel, 0.2, 0.5, 0.5, 0.5);
    cairo_new_path(cr);
    dowel(cr);
    art_fill_wood(c, art_wood{palette::wood_light, palette::wood, 0.9, 0.0, 77});
    cairo_new_path(cr);
    dowel(cr);
    art_linear(cr, 0, y_centre - r, 0, y_centre + r,
               {{0, palette::cream.with_alpha(0.35)},
                {0.3, palette::cream.with_alpha(0)},
                {0.7, palette::shadow.with_alpha(0.1)},
                {1, palette::shadow.with_alpha(0.55)}});
    cairo_fill(cr);
    // Brass caps and turned knobs at both ends.
    for (int side = 0; side < 2; ++side) {
        double x = side ? 60.3 : 3.7;
        double kx = side ? 62.2 : 1.8;
        cairo_new_path(cr);
        art_rounded_rect(cr, kx - 1.5, y_centre - r * 0.7, 3.0, r * 1.4, 0.6);
        art_linear(cr, 0, y_centre - r, 0, y_centre + r,
                   {{0, palette::walnut.shade(0.3)}, {0.5, palette::walnut}, {1, palette::walnut_dark}});
        cairo_fill(cr);
        cairo_new_path(cr);
        art_rounded_rect(cr, x - 0.9, y_centre - r * 1.08, 1.8, r * 2.16, 0.4);
        art_linear(cr, 0, y_centre - r, 0, y_centre + r,
                   {{0, palette::brass_light}, {0.45, palette::brass}, {1, palette::brass_dark}});
        cairo_fill(cr);
    }
}

void draw_scroll(art_canvas& c)
{
    // Each roller stays inside its own band: the screens draw the bands apart.
    for (int band = 0; band < 2; ++band) {
        cairo_save(c.cr);
        cairo_rectangle(c.cr, 0, band * 8, 64, 8);
        cairo_clip(c.cr);
        draw_roller(c, band ? 10.4 : 5.6);
        cairo_restore(c.cr);
    }
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 4.2, 16, 55.6, 24);
    art_fill_paper(c, 41);
    cairo_new_path(cr);
    for (int side = 0; side < 2; ++side) {
        double x = side ? 59.8 - 1.2 : 4.2;
        cairo_rectangle(cr, x, 16, 1.2, 24);
        art_linear(cr, x, 0, x + 1.2, 0,
                   {{0, palette::paper_edge.with_alpha(side ? 0.0 : 0.55)},
                    {1, palette::paper_edge.with_alpha(side ? 0.55 : 0.0)}});
        cairo_fill(cr);
    }
}

// The margins: a walnut panel with a moulded edge that overlaps the play square by
// the last two units (the right margin is the same picture turned half a turn).
void draw_frames(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, 30.2, 64);
    art_fill_wood(c, art_wood{palette::walnut, palette::walnut_dark, 0.35, art_pi / 2, 55});
    cairo_new_path(cr);
    // Inset panels behind the buttons.
    for (double y0 : {3.0, 43.0}) {
        auto panel = [&](cairo_t* m) { art_rounded_rect(m, 21.0, y0, 8.4, 18, 0.8); };
        art_bevel(c, panel, 0.3, 0.25, 0.6);
        cairo_new_path(cr);
    }
    // Moulding: a rounded brass-edged bead along the play square.
    cairo_rectangle(cr, 29.8, 0, 1.6, 64);
    art_fill_wood(c, art_wood{palette::wood, palette::walnut, 0.6, art_pi / 2, 56});
    cairo_new_path(cr);
    cairo_rectangle(cr, 29.8, 0, 1.6, 64);
    art_linear(cr, 29.8, 0, 31.4, 0,
               {{0, palette::shadow.with_alpha(0.5)},
                {0.35, palette::cream.with_alpha(0.3)},
                {1, palette::shadow.with_alpha(0.6)}});
    cairo_fill(cr);
    cairo_rectangle(cr, 31.4, 0, 0.25, 64);
    art_set(cr, palette::brass);
    cairo_fill(cr);
    // The shadow the frame throws onto the play square.
    cairo_rectangle(cr, 31.65, 0, 0.35, 64);
    art_linear(cr, 31.65, 0, 32, 0,
               {{0, palette::shadow.with_alpha(0.45)}, {1, palette::shadow.with_alpha(0)}});
    cairo_fill(cr);
    for (int k = 0; k < 5; ++k)
        art_screw(cr, 30.6, 4 + k * 14, 0.3, 0.3 * k + 0.2);
}

// The HUD's menu card at the screen's top left: only its right part (u up to 0.95)
// and lower three quarters show, and its two lines of text fill that part, so the
// card runs to the shown edge with one rounded corner.
void draw_menu_box(art_canvas& c)
{
    double right = c.units_w * 0.95 - 0.3, bottom = c.units_h - 0.9, r = 2.2;
    auto shape = [&](cairo_t* m) {
        cairo_new_sub_path(m);
        cairo_move_to(m, -1, -1);
        cairo_line_to(m, right, -1);
        cairo_arc(m, right - r, bottom - r, r, 0, art_pi / 2);
        cairo_line_to(m, -1, bottom);
        cairo_close_path(m);
    };
    art_drop_shadow(c, shape, 0.15, 0.3, 0.35, 0.5);
    cairo_new_path(c.cr);
    shape(c.cr);
    art_fill_paper(c, 61);
    cairo_new_path(c.cr);
    art_vignette(c, shape, 1.0, palette::paper_edge.with_alpha(0.5));
    cairo_new_path(c.cr);
    shape(c.cr);
    art_set(c.cr, palette::paper_edge.shade(-0.35));
    cairo_set_line_width(c.cr, 0.12);
    cairo_stroke(c.cr);
}

// The shell's labels show the picture up to u 0.95 and keep their text 3 units (world name)
// or 4 units (star total) short of that end: the rounded end and its eyelet fit in what is
// left, 0.4 short of the edge.
void draw_label(art_canvas& c)
{
    art_tag(c, -2, 0.5, c.units_w * 0.95 - 0.4 + 2, c.units_h - 1.4, true, 62);
}

// The level popup above a map tile: a paper card over the top 8 units, its tail
// pointing down at the tile (the map flips it for tiles near the top).
void draw_level_popup(art_canvas& c)
{
    cairo_t* cr = c.cr;
    auto shape = [](cairo_t* m) {
        double x0 = 0.6, x1 = 29.4, y0 = 0.4, y1 = 7.9, r = 1.4;
        cairo_new_sub_path(m);
        cairo_arc(m, x1 - r, y0 + r, r, -art_pi / 2, 0);
        cairo_arc(m, x1 - r, y1 - r, r, 0, art_pi / 2);
        cairo_line_to(m, 16.6, y1);
        cairo_curve_to(m, 15.8, y1 + 1.2, 15.3, y1 + 2.5, 15.0, 11.4);
        cairo_curve_to(m, 14.7, y1 + 2.5, 14.2, y1 + 1.2, 13.4, y1);
        cairo_arc(m, x0 + r, y1 - r, r, art_pi / 2, art_pi);
        cairo_arc(m, x0 + r, y0 + r, r, art_pi, 3 * art_pi / 2);
        cairo_close_path(m);
    };
    art_drop_shadow(c, shape, 0.2, 0.35, 0.35, 0.5);
    cairo_new_path(cr);
    shape(cr);
    art_fill_paper(c, 63);
    cairo_new_path(cr);
    art_vignette(c, shape, 0.9, palette::paper_edge.with_alpha(0.5));
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, palette::paper_edge.shade(-0.35));
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
}

void draw_highlight_bar(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double w = c.units_w, h = c.units_h;
    art_rounded_rect(cr, 0.3, h * 0.12, w - 0.6, h * 0.76, h * 0.38);
    art_linear(cr, 0, 0, w, 0,
               {{0, palette::glow.with_alpha(0)},
                {0.12, palette::glow.with_alpha(0.55)},
                {0.88, palette::glow.with_alpha(0.55)},
                {1, palette::glow.with_alpha(0)}});
    cairo_fill(cr);
    cairo_move_to(cr, w * 0.08, h * 0.84);
    cairo_line_to(cr, w * 0.92, h * 0.84);
    art_set(cr, palette::brass, 0.7);
    cairo_set_line_width(cr, h * 0.05);
    cairo_stroke(cr);
}

void draw_yes_no_highlight(art_canvas& c)
{
    // Only the middle band (v 0.3 to 0.7) is shown: an oval glow.
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, 4, 5);
    cairo_scale(cr, 3.8, 1.85);
    cairo_arc(cr, 0, 0, 1, 0, 2 * art_pi);
    cairo_restore(cr);
    art_radial(cr, 4, 5, 0, 4, 5, 3.8,
               {{0, palette::glow.with_alpha(0.75)},
                {0.6, palette::glow.with_alpha(0.45)},
                {1, palette::glow.with_alpha(0)}});
    cairo_fill(cr);
}

// Rows of a list: v 0-0.125 the hovered row, 0.125-0.25 a plain row (rows of 4 units).
void draw_list_lines(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double w = c.units_w;
    art_rounded_rect(cr, 0.4, 0.35, w - 0.8, 3.3, 1.4);
    art_linear(cr, 0, 0, w, 0,
               {{0, palette::glow.with_alpha(0)},
                {0.1, palette::glow.with_alpha(0.5)},
                {0.9, palette::glow.with_alpha(0.5)},
                {1, palette::glow.with_alpha(0)}});
    cairo_fill(cr);
    for (int band = 0; band < 2; ++band) {
        double y = band * 4 + 3.55;
        cairo_move_to(cr, 1.5, y);
        cairo_line_to(cr, w - 1.5, y);
        art_linear(cr, 0, 0, w, 0,
                   {{0, palette::ink_soft.with_alpha(0)},
                    {0.1, palette::ink_soft.with_alpha(band ? 0.45 : 0.7)},
                    {0.9, palette::ink_soft.with_alpha(band ? 0.45 : 0.7)},
                    {1, palette::ink_soft.with_alpha(0)}});
        cairo_set_line_width(cr, 0.14);
        cairo_set_dash(cr, std::initializer_list<double>{0.5, 0.35}.begin(), 2, 0);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

// The selected row: a honey-coloured ribbon (u 0.1-0.9 shown).
void draw_label_bar(art_canvas& c)
{
    cairo_t* cr = c.cr;
    double w = c.units_w, x0 = w * 0.1, x1 = w * 0.9;
    auto shape = [&](cairo_t* m) {
        cairo_new_sub_path(m);
        cairo_move_to(m, x0, 0.35);
        cairo_line_to(m, x1, 0.35);
        cairo_line_to(m, x1 - 1.1, 2.0);
        cairo_line_to(m, x1, 3.65);
        cairo_line_to(m, x0, 3.65);
        cairo_line_to(m, x0 + 1.1, 2.0);
        cairo_close_path(m);
    };
    art_drop_shadow(c, shape, 0.1, 0.2, 0.2, 0.4);
    cairo_new_path(cr);
    shape(cr);
    art_fill_with(c, [&](double x, double y) {
        double n = art_fbm(x * 0.5, y * 3, 71, 3) - 0.5;
        return palette::glow.mix(palette::wood_light, 0.35 + n * 0.3 + y * 0.08);
    });
    cairo_new_path(cr);
    art_bevel(c, shape, 0.18, 0.5, 0.35);
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, palette::wood_dark, 0.9);
    cairo_set_line_width(cr, 0.1);
    cairo_stroke(cr);
    cairo_move_to(cr, x0 + 1.4, 0.75);
    cairo_line_to(cr, x1 - 1.4, 0.75);
    cairo_move_to(cr, x0 + 1.4, 3.25);
    cairo_line_to(cr, x1 - 1.4, 3.25);
    art_set(cr, palette::wood_dark, 0.5);
    cairo_set_line_width(cr, 0.06);
    cairo_set_dash(cr, std::initializer_list<double>{0.3, 0.2}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace

// The banner above the world list: a cartouche with an emblem on its left and a
// name on its right; only u 0.125 to 0.875 (x 5 to 35) is shown.
void art_banner(art_canvas& c, const art_wood& wood, const char* name, const art_emblem& emblem)
{
    art_board(c, 5.6, 0.8, 28.8, 8.4, 1.6, wood);
    cairo_t* cr = c.cr;
    cairo_new_path(cr);
    art_rounded_rect(cr, 13.6, 2.2, 19.4, 5.6, 0.9);
    art_fill_paper(c, 83);
    cairo_new_path(cr);
    art_rounded_rect(cr, 13.6, 2.2, 19.4, 5.6, 0.9);
    art_set(cr, palette::brass_dark);
    cairo_set_line_width(cr, 0.18);
    cairo_stroke(cr);
    for (double x : {6.9, 33.1})
        for (double y : {2.2, 7.8})
            art_screw(cr, x, y, 0.38, x * 0.1 + y);
    emblem(c, 9.9, 5.0, 3.4);
    double size = art_text_fit(cr, name, 17.4, 3.6);
    art_caption(c, name, 23.3, 5.0, size, palette::ink, 0.0);
}

// The program's icon on the desktop: a red glass ball hanging by a rope over a round
// walnut plate with a brass rim, legible down to 16 pixels.
void draw_app_icon(art_canvas& c)
{
    cairo_t* cr = c.cr;
    auto plate = [](cairo_t* m) { cairo_arc(m, 4, 4, 3.7, 0, 2 * art_pi); };
    art_brass_disc(c, 4, 4, 3.9);
    cairo_new_path(cr);
    plate(cr);
    art_fill_wood(c, art_wood{palette::wood_dark, palette::walnut_dark, 1.0, art_pi / 2, 57});
    cairo_new_path(cr);
    art_vignette(c, plate, 0.5, art_colour{0, 0, 0, 0.45});
    cairo_move_to(cr, 4, 0.9);
    cairo_curve_to(cr, 4.1, 2.0, 3.9, 3.0, 4, 4.2);
    art_set(cr, palette::wood_light);
    cairo_set_line_width(cr, 0.22);
    cairo_stroke(cr);
    art_screw(cr, 4, 0.9, 0.3, 0.4);
    art_glass_ball(c, 4, 5.1, 1.6, palette::red, 1);
}

void add_ui_textures(art_table& table)
{
    table.add(art_ui("app_icon"), 256, 256, 8, 8, draw_app_icon);
    table.add(art_ui("title_logo"), 1024, 512, 64, 32, draw_title_logo);
    art_texture& bg = table.add(art_ui("title_bg"), 128, 512, 16, 64, draw_title_bg);
    bg.repeat = true;
    table.add(art_ui("title_scroll_segments"), 1024, 1024, 64, 64, draw_scroll);
    table.add(art_ui("frames"), 512, 1024, 32, 64, draw_frames);
    table.add(art_ui("InfoBox_Settings"), 512, 256, 24 / 0.95, 16, draw_menu_box);
    table.add(art_ui("InfoBox_Label"), 512, 128, 28 / 0.95, 8, draw_label);
    table.add(art_ui("InfoBox_LevelPop"), 512, 256, 30, 12, draw_level_popup);
    table.add(art_ui("MouseOver_Settings"), 512, 64, 22, 3, draw_highlight_bar);
    table.add(art_ui("MouseOver_YesNo"), 128, 128, 8, 10, draw_yes_no_highlight);
    table.add(art_ui("InfoBox_Paper_512"), 512, 512, 40, 30,
              [](art_canvas& c) { art_paper_sheet(c, 0.8, 0.8, 38.4, 28.2, 91); });
    table.add(art_ui("InfoBox_Paper_1024"), 1024, 512, 64, 32,
              [](art_canvas& c) { art_paper_sheet(c, 1.0, 0.9, 62, 30, 92); });
    table.add(art_ui("List_Lines"), 512, 512, 36, 32, draw_list_lines);
    table.add(art_ui("LabelBar"), 1024, 64, 67.5, 4, draw_label_bar);
    table.add(art_ui("text_READY"), 512, 128, 32, 10,
              [](art_canvas& c) { draw_caption(c, "READY", palette::cream, palette::wood_light); });
    table.add(art_ui("text_SUCCESS"), 512, 128, 32, 10,
              [](art_canvas& c) { draw_caption(c, "SUCCESS!", palette::brass_light, palette::brass); });
    table.add(art_ui("text_FAILED"), 512, 128, 32, 10,
              [](art_canvas& c) { draw_caption(c, "FAILED", art_hex(0xF08A6C), palette::warn_red); });
    table.add(art_ui("Emblem_Default"), 512, 128, 40, 10, [](art_canvas& c) {
        art_banner(c, art_wood{palette::wood_light, palette::wood_dark, 0.8, 0, 84}, "Choose a world",
                   [](art_canvas& cc, double x, double y, double r) {
                       cairo_t* cr = cc.cr;
                       art_brass_disc(cc, x, y, r * 0.95);
                       art_star_path(cr, x, y, r * 0.72, r * 0.2, 4, -art_pi / 2);
                       art_set(cr, palette::walnut_dark);
                       cairo_fill(cr);
                       art_star_path(cr, x, y, r * 0.45, r * 0.13, 4, -art_pi / 4);
                       art_set(cr, palette::warn_red, 0.85);
                       cairo_fill(cr);
                   });
    });
}
