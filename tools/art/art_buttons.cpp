// Stars, difficulty pips, level tiles, the margin buttons with their labels, the
// player-select buttons, check boxes, pointers and the editors' list widgets.
#include "tools/art/art_paint.h"
#include "tools/art/art_panels.h"
#include "tools/art/art_table.h"
#include "tools/art/art_text.h"

#include <cmath>

namespace {

// 0 empty, 1 half, 2 full; a star of outer radius r centred on (cx, cy).
void draw_star(art_canvas& c, double cx, double cy, double r, int fill)
{
    cairo_t* cr = c.cr;
    auto shape = [&](cairo_t* m) { art_star_path(m, cx, cy + r * 0.06, r, r * 0.5, 5); };
    if (fill > 0)
        art_drop_shadow(c, shape, r * 0.04, r * 0.08, r * 0.08, 0.5);
    // The empty socket: a dark, sunken star.
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, palette::walnut_dark, 0.55);
    cairo_fill(cr);
    if (fill > 0) {
        cairo_save(cr);
        if (fill == 1) {
            cairo_rectangle(cr, cx - r * 1.2, cy - r * 1.2, r * 1.2, r * 2.4);
            cairo_clip(cr);
        }
        cairo_new_path(cr);
        shape(cr);
        art_radial(cr, cx - r * 0.3, cy - r * 0.4, 0, cx, cy, r * 1.1,
                   {{0, palette::brass_light}, {0.5, palette::brass}, {1, palette::brass_dark}});
        cairo_fill(cr);
        art_bevel(c, shape, r * 0.07, 0.6, 0.45);
        cairo_restore(cr);
    } else {
        art_bevel(c, shape, r * 0.06, 0.15, 0.6);
    }
    cairo_new_path(cr);
    shape(cr);
    art_set(cr, palette::walnut_dark, 0.9);
    cairo_set_line_width(cr, r * 0.06);
    cairo_stroke(cr);
}

void draw_pip(art_canvas& c, int fill)
{
    cairo_t* cr = c.cr;
    cairo_arc(cr, 1, 1, 0.92, 0, 2 * art_pi);
    art_set(cr, palette::paper_shade);
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark);
    cairo_set_line_width(cr, 0.1);
    cairo_stroke(cr);
    cairo_new_path(cr);
    draw_star(c, 1, 1, 0.74, fill);
}

// Level tokens on the map: locked (0), open (1), solved (2).
void draw_tile(art_canvas& c, int state)
{
    cairo_t* cr = c.cr;
    double cx = 2, cy = 2, r = 1.82;
    auto disc = [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); };
    art_drop_shadow(c, disc, 0.05, 0.12, 0.12, 0.55);
    art_brass_disc(c, cx, cy, r, state == 0 ? palette::steel_dark : palette::brass);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.74, 0, 2 * art_pi);
    if (state == 0)
        art_fill_wood(c, art_wood{palette::walnut, palette::walnut_dark, 1.5, 0.4, 91});
    else
        art_fill_paper(c, 92, state == 2 ? palette::paper.mix(palette::glow, 0.35) : palette::paper);
    cairo_new_path(cr);
    art_vignette(
        c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r * 0.74, 0, 2 * art_pi); }, 0.25,
        palette::shadow.with_alpha(0.45));
    cairo_new_path(cr);
    if (state == 0) {
        // Padlock.
        art_rounded_rect(cr, cx - 0.55, cy - 0.1, 1.1, 0.85, 0.12);
        art_set(cr, palette::steel);
        cairo_fill_preserve(cr);
        art_set(cr, palette::iron);
        cairo_set_line_width(cr, 0.06);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy - 0.12, 0.36, art_pi, 2 * art_pi);
        art_set(cr, palette::steel_light);
        cairo_set_line_width(cr, 0.16);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy + 0.25, 0.11, 0, 2 * art_pi);
        art_set(cr, palette::iron);
        cairo_fill(cr);
    } else if (state == 1) {
        // An open token: a brass ring with a bright centre, inviting a click.
        cairo_arc(cr, cx, cy, 0.62, 0, 2 * art_pi);
        art_set(cr, palette::brass);
        cairo_set_line_width(cr, 0.16);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, 0.32, 0, 2 * art_pi);
        art_set(cr, palette::warn_red, 0.9);
        cairo_fill(cr);
    } else {
        // Solved: an ink tick.
        cairo_move_to(cr, cx - 0.72, cy + 0.02);
        cairo_line_to(cr, cx - 0.2, cy + 0.55);
        cairo_line_to(cr, cx + 0.8, cy - 0.62);
        art_set(cr, palette::ok_green.shade(-0.3));
        cairo_set_line_width(cr, 0.34);
        cairo_stroke(cr);
    }
    cairo_arc(cr, cx - 0.6, cy - 0.75, 0.5, 0, 2 * art_pi);
    art_radial(cr, cx - 0.6, cy - 0.75, 0, cx - 0.6, cy - 0.75, 0.5,
               {{0, art_colour{1, 1, 1, 0.45}}, {1, art_colour{1, 1, 1, 0}}});
    cairo_fill(cr);
}

void draw_under_glow(art_canvas& c, double strength)
{
    cairo_t* cr = c.cr;
    cairo_arc(cr, 5, 5, 5, 0, 2 * art_pi);
    art_radial(cr, 5, 5, 0, 5, 5, 5,
               {{0, palette::glow.with_alpha(0.9 * strength)},
                {0.3, palette::glow.with_alpha(0.65 * strength)},
                {0.65, palette::brass.with_alpha(0.25 * strength)},
                {1, palette::brass.with_alpha(0)}});
    cairo_fill(cr);
}

// Icons for the margin buttons, drawn in ink inside a circle of radius r.
void icon_restart(cairo_t* cr, double cx, double cy, double r)
{
    cairo_arc(cr, cx, cy, r * 0.55, -art_pi * 0.35, art_pi * 1.45);
    cairo_set_line_width(cr, r * 0.2);
    cairo_stroke(cr);
    double a = -art_pi * 0.35, tx = cx + r * 0.55 * std::cos(a), ty = cy + r * 0.55 * std::sin(a);
    cairo_move_to(cr, tx + r * 0.38, ty - r * 0.05);
    cairo_line_to(cr, tx - r * 0.2, ty - r * 0.34);
    cairo_line_to(cr, tx - r * 0.02, ty + r * 0.36);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void icon_bulb(cairo_t* cr, double cx, double cy, double r)
{
    cairo_arc(cr, cx, cy - r * 0.15, r * 0.45, art_pi * 0.78, art_pi * 2.22);
    cairo_line_to(cr, cx + r * 0.18, cy + r * 0.42);
    cairo_line_to(cr, cx - r * 0.18, cy + r * 0.42);
    cairo_close_path(cr);
    cairo_set_line_width(cr, r * 0.13);
    cairo_stroke(cr);
    for (int i = 0; i < 2; ++i) {
        cairo_move_to(cr, cx - r * 0.2, cy + r * (0.55 + 0.15 * i));
        cairo_line_to(cr, cx + r * 0.2, cy + r * (0.55 + 0.15 * i));
    }
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        double a = -art_pi / 2 + (i - 2) * 0.62;
        cairo_move_to(cr, cx + r * 0.62 * std::cos(a), cy - r * 0.15 + r * 0.62 * std::sin(a));
        cairo_line_to(cr, cx + r * 0.82 * std::cos(a), cy - r * 0.15 + r * 0.82 * std::sin(a));
    }
    cairo_set_line_width(cr, r * 0.09);
    cairo_stroke(cr);
}

void icon_map(cairo_t* cr, double cx, double cy, double r)
{
    double w = r * 0.36, h = r * 0.62;
    for (int i = 0; i < 3; ++i) {
        double x = cx + (i - 1.5) * w, dy = (i % 2) ? r * 0.1 : -r * 0.1;
        cairo_move_to(cr, x, cy - h + dy);
        cairo_line_to(cr, x + w, cy - h - dy);
        cairo_line_to(cr, x + w, cy + h - dy);
        cairo_line_to(cr, x, cy + h + dy);
        cairo_close_path(cr);
    }
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - r * 0.4, cy + r * 0.25);
    cairo_curve_to(cr, cx - r * 0.1, cy - r * 0.1, cx + r * 0.1, cy + r * 0.3, cx + r * 0.35, cy - r * 0.25);
    cairo_set_line_width(cr, r * 0.07);
    cairo_set_dash(cr, std::initializer_list<double>{r * 0.12, r * 0.08}.begin(), 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_move_to(cr, cx + r * 0.25, cy - r * 0.35);
    cairo_line_to(cr, cx + r * 0.45, cy - r * 0.15);
    cairo_move_to(cr, cx + r * 0.45, cy - r * 0.35);
    cairo_line_to(cr, cx + r * 0.25, cy - r * 0.15);
    cairo_set_line_width(cr, r * 0.08);
    cairo_stroke(cr);
}

// A margin button: a walnut plate with a round brass-rimmed button in its middle.
void draw_margin_button(art_canvas& c, void (*icon)(cairo_t*, double, double, double))
{
    cairo_t* cr = c.cr;
    auto plate = [&](cairo_t* m) { art_rounded_rect(m, 1.2, 0.6, 5.6, 14.8, 2.6); };
    art_drop_shadow(c, plate, 0.15, 0.3, 0.3, 0.5);
    cairo_new_path(cr);
    plate(cr);
    art_fill_wood(c, art_wood{palette::wood_dark, palette::walnut_dark, 1.2, art_pi / 2, 101});
    cairo_new_path(cr);
    art_bevel(c, plate, 0.2, 0.35, 0.5);
    art_screw(cr, 4, 2.1, 0.4, 0.5);
    art_screw(cr, 4, 13.9, 0.4, 2.0);
    double r = 3.3;
    auto button = [&](cairo_t* m) { cairo_arc(m, 4, 8, r, 0, 2 * art_pi); };
    art_drop_shadow(c, button, 0.1, 0.25, 0.25, 0.6);
    art_brass_disc(c, 4, 8, r);
    cairo_new_path(cr);
    cairo_arc(cr, 4, 8, r * 0.76, 0, 2 * art_pi);
    art_fill_paper(c, 102, palette::paper);
    cairo_new_path(cr);
    art_vignette(
        c, [&](cairo_t* m) { cairo_arc(m, 4, 8, r * 0.76, 0, 2 * art_pi); }, 0.5,
        palette::shadow.with_alpha(0.4));
    art_set(cr, palette::ink);
    icon(cr, 4, 8, r * 0.72);
}

void draw_button_label(art_canvas& c, const char* text, bool round_right)
{
    art_tag(c, round_right ? -0.5 : 0.3, 0.35, 16.2, 3.3, round_right, 111);
    double size = art_text_fit(c.cr, text, 11.4, 2.1);
    art_caption(c, text, round_right ? 6.6 : 9.4, 2.0, size, palette::ink, 0);
}

// Round enamel buttons of the player-select list.
void draw_round_button(art_canvas& c, const art_colour& colour, bool hover, bool tick)
{
    cairo_t* cr = c.cr;
    double cx = c.units_w / 2, cy = c.units_h / 2, r = c.units_w * 0.4;
    if (hover)
        art_glow(
            c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r * 1.05, 0, 2 * art_pi); }, r * 0.18,
            palette::glow.with_alpha(0.9));
    else
        art_drop_shadow(
            c, [&](cairo_t* m) { cairo_arc(m, cx, cy, r, 0, 2 * art_pi); }, r * 0.04, r * 0.08, r * 0.08,
            0.55);
    art_brass_disc(c, cx, cy, r);
    art_colour face = hover ? colour.shade(0.2) : colour;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.76, 0, 2 * art_pi);
    art_radial(cr, cx - r * 0.3, cy - r * 0.35, 0, cx, cy, r * 0.8,
               {{0, face.shade(0.4)}, {0.6, face}, {1, face.shade(-0.4)}});
    cairo_fill(cr);
    if (tick) {
        cairo_move_to(cr, cx - r * 0.4, cy + r * 0.02);
        cairo_line_to(cr, cx - r * 0.1, cy + r * 0.32);
        cairo_line_to(cr, cx + r * 0.42, cy - r * 0.34);
    } else {
        cairo_move_to(cr, cx - r * 0.3, cy - r * 0.3);
        cairo_line_to(cr, cx + r * 0.3, cy + r * 0.3);
        cairo_move_to(cr, cx + r * 0.3, cy - r * 0.3);
        cairo_line_to(cr, cx - r * 0.3, cy + r * 0.3);
    }
    art_set(cr, palette::shadow, 0.5);
    cairo_set_line_width(cr, r * 0.26);
    cairo_stroke_preserve(cr);
    art_set(cr, palette::cream);
    cairo_set_line_width(cr, r * 0.16);
    cairo_stroke(cr);
    cairo_arc(cr, cx - r * 0.3, cy - r * 0.38, r * 0.25, 0, 2 * art_pi);
    art_radial(cr, cx - r * 0.3, cy - r * 0.38, 0, cx - r * 0.3, cy - r * 0.38, r * 0.25,
               {{0, art_colour{1, 1, 1, 0.55}}, {1, art_colour{1, 1, 1, 0}}});
    cairo_fill(cr);
}

void draw_checkbox(art_canvas& c, int kind)
{
    cairo_t* cr = c.cr;
    auto box = [&](cairo_t* m) { art_rounded_rect(m, 0.45, 0.45, 2.1, 2.1, 0.3); };
    if (kind == 2) {
        // Hover: a warm ring drawn over the box.
        cairo_new_path(cr);
        art_rounded_rect(cr, 0.2, 0.2, 2.6, 2.6, 0.45);
        art_set(cr, palette::glow, 0.9);
        cairo_set_line_width(cr, 0.22);
        cairo_stroke(cr);
        art_glow(
            c, [&](cairo_t* m) { art_rounded_rect(m, 0.1, 0.1, 2.8, 2.8, 0.5); }, 0.2,
            palette::glow.with_alpha(0.35));
        return;
    }
    art_drop_shadow(c, box, 0.03, 0.08, 0.08, 0.45);
    cairo_new_path(cr);
    box(cr);
    art_fill_paper(c, 121, palette::cream);
    cairo_new_path(cr);
    art_bevel(c, box, 0.12, 0.2, 0.55);
    cairo_new_path(cr);
    box(cr);
    art_set(cr, palette::wood_dark);
    cairo_set_line_width(cr, 0.14);
    cairo_stroke(cr);
    if (kind == 1) {
        cairo_move_to(cr, 0.85, 1.55);
        cairo_line_to(cr, 1.35, 2.1);
        cairo_curve_to(cr, 1.7, 1.3, 2.1, 0.8, 2.75, 0.35);
        art_set(cr, palette::ink);
        cairo_set_line_width(cr, 0.3);
        cairo_stroke(cr);
    }
}

// The pointer: its tip is the texture's centre, where the screens draw the pointer.
void draw_mouse_cursor(art_canvas& c)
{
    cairo_t* cr = c.cr;
    auto arrow = [&](cairo_t* m) {
        double x = 4, y = 4;
        cairo_move_to(m, x, y);
        cairo_line_to(m, x, y + 3.3);
        cairo_line_to(m, x + 0.8, y + 2.55);
        cairo_line_to(m, x + 1.45, y + 3.75);
        cairo_line_to(m, x + 1.95, y + 3.5);
        cairo_line_to(m, x + 1.35, y + 2.32);
        cairo_line_to(m, x + 2.4, y + 2.25);
        cairo_close_path(m);
    };
    art_drop_shadow(c, arrow, 0.15, 0.25, 0.2, 0.5);
    cairo_new_path(cr);
    arrow(cr);
    art_linear(cr, 4, 4, 6, 7.5, {{0, palette::cream}, {1, palette::glow}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::walnut_dark);
    cairo_set_line_width(cr, 0.16);
    cairo_stroke(cr);
}

void draw_text_cursor(art_canvas& c, double alpha)
{
    cairo_t* cr = c.cr;
    art_rounded_rect(cr, 0.85, 0.1, 0.3, 1.8, 0.1);
    art_set(cr, palette::ink, alpha);
    cairo_fill(cr);
}

// The editors' list box: a dark panel, the selection bar, the scroll track and thumb.
void draw_listbox_bkg(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, c.units_w, c.units_h);
    art_set(cr, palette::walnut_dark, 0.85);
    cairo_fill(cr);
    art_vignette(
        c, [&](cairo_t* m) { cairo_rectangle(m, 0, 0, c.units_w, c.units_h); }, 1.0,
        palette::shadow.with_alpha(0.6));
    cairo_rectangle(cr, 0.1, 0.1, c.units_w - 0.2, c.units_h - 0.2);
    art_set(cr, palette::brass, 0.8);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke(cr);
}

void draw_listbox_sel(art_canvas& c)
{
    cairo_t* cr = c.cr;
    art_rounded_rect(cr, 0.05, 0.08, c.units_w - 0.1, c.units_h - 0.16, 0.3);
    art_linear(cr, 0, 0, 0, c.units_h,
               {{0, palette::brass_light.with_alpha(0.75)}, {1, palette::brass.with_alpha(0.75)}});
    cairo_fill(cr);
}

void draw_scroll_bkg(art_canvas& c)
{
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, c.units_w, c.units_h);
    art_set(cr, palette::shadow, 0.7);
    cairo_fill(cr);
    art_rounded_rect(cr, c.units_w * 0.3, 0.2, c.units_w * 0.4, c.units_h - 0.4, c.units_w * 0.2);
    art_set(cr, palette::walnut, 0.9);
    cairo_fill(cr);
}

void draw_scroll_but(art_canvas& c)
{
    cairo_t* cr = c.cr;
    art_rounded_rect(cr, 0.08, 0.08, c.units_w - 0.16, c.units_h - 0.16, c.units_w * 0.35);
    art_linear(cr, 0, 0, c.units_w, 0,
               {{0, palette::brass_light}, {0.5, palette::brass}, {1, palette::brass_dark}});
    cairo_fill_preserve(cr);
    art_set(cr, palette::brass_dark.shade(-0.4));
    cairo_set_line_width(cr, 0.08);
    cairo_stroke(cr);
}

}  // namespace

void add_widget_textures(art_table& table)
{
    table.add(art_ui("Star_On"), 128, 128, 2, 2, [](art_canvas& c) { draw_star(c, 1, 1, 0.9, 2); });
    table.add(art_ui("Star_Half"), 128, 128, 2, 2, [](art_canvas& c) { draw_star(c, 1, 1, 0.9, 1); });
    table.add(art_ui("Star_Off"), 128, 128, 2, 2, [](art_canvas& c) { draw_star(c, 1, 1, 0.9, 0); });
    table.add(art_ui("Difficulty_On"), 64, 64, 2, 2, [](art_canvas& c) { draw_pip(c, 2); });
    table.add(art_ui("Difficulty_Half"), 64, 64, 2, 2, [](art_canvas& c) { draw_pip(c, 1); });
    table.add(art_ui("Difficulty_Off"), 64, 64, 2, 2, [](art_canvas& c) { draw_pip(c, 0); });
    table.add(art_ui("Tile_UnavailableLevel"), 128, 128, 4, 4, [](art_canvas& c) { draw_tile(c, 0); });
    table.add(art_ui("Tile_AvailableLevel"), 128, 128, 4, 4, [](art_canvas& c) { draw_tile(c, 1); });
    table.add(art_ui("Tile_CompletedLevel"), 128, 128, 4, 4, [](art_canvas& c) { draw_tile(c, 2); });
    // The glow under open tiles pulses through four frames.
    art_texture& glow =
        table.add(art_ui("UnderTile_"), 128, 128, 10, 10, [](art_canvas& c) { draw_under_glow(c, 1.0); });
    glow.animated = true;
    glow.anim_speed = 5;
    const double pulse[] = {0.8, 0.62, 0.8};
    for (int i = 0; i < 3; ++i)
        table.add(art_ui("UnderTile_" + std::to_string(i + 2)), 128, 128, 10, 10,
                  [s = pulse[i]](art_canvas& c) { draw_under_glow(c, s); });
    table.add(art_ui("button_restartlevel"), 128, 256, 8, 16,
              [](art_canvas& c) { draw_margin_button(c, icon_restart); });
    table.add(art_ui("button_showsolution"), 128, 256, 8, 16,
              [](art_canvas& c) { draw_margin_button(c, icon_bulb); });
    table.add(art_ui("button_menu"), 128, 256, 8, 16, [](art_canvas& c) { draw_margin_button(c, icon_map); });
    table.add(art_ui("ButtonLabel_RestartLevel"), 256, 64, 16, 4,
              [](art_canvas& c) { draw_button_label(c, "Restart", true); });
    table.add(art_ui("ButtonLabel_ShowSolution"), 256, 64, 16, 4,
              [](art_canvas& c) { draw_button_label(c, "Show solution", false); });
    table.add(art_ui("ButtonLabel_Menu"), 256, 64, 16, 4,
              [](art_canvas& c) { draw_button_label(c, "Map", true); });
    table.add(art_ui("Button_GreenOK_Normal"), 128, 128, 4, 4,
              [](art_canvas& c) { draw_round_button(c, palette::ok_green, false, true); });
    table.add(art_ui("Button_GreenOK_MouseOver"), 128, 128, 4, 4,
              [](art_canvas& c) { draw_round_button(c, palette::ok_green, true, true); });
    table.add(art_ui("Button_DeletePlayer_Normal"), 64, 64, 2.5, 2.5,
              [](art_canvas& c) { draw_round_button(c, palette::warn_red, false, false); });
    table.add(art_ui("Button_DeletePlayer_MouseOver"), 64, 64, 2.5, 2.5,
              [](art_canvas& c) { draw_round_button(c, palette::warn_red, true, false); });
    table.add(art_ui("checkbox_off"), 64, 64, 3, 3, [](art_canvas& c) { draw_checkbox(c, 0); });
    table.add(art_ui("checkbox_on"), 64, 64, 3, 3, [](art_canvas& c) { draw_checkbox(c, 1); });
    table.add(art_ui("checkbox_mouseover"), 64, 64, 3, 3, [](art_canvas& c) { draw_checkbox(c, 2); });
    table.add(art_ui("mouse_cursor1"), 128, 128, 8, 8, draw_mouse_cursor);
    art_texture& caret =
        table.add(art_ui("Cursor_"), 32, 32, 2, 2, [](art_canvas& c) { draw_text_cursor(c, 1.0); });
    caret.animated = true;
    caret.anim_speed = 2;
    table.add(art_ui("Cursor_2"), 32, 32, 2, 2, [](art_canvas& c) { draw_text_cursor(c, 0.15); });
    table.add(art_ui("listbox_bkg"), 64, 64, 4, 4, draw_listbox_bkg);
    table.add(art_ui("listbox_sel"), 128, 32, 8, 2, draw_listbox_sel);
    table.add(art_ui("scroll_bkg"), 32, 128, 2, 8, draw_scroll_bkg);
    table.add(art_ui("scroll_but"), 32, 64, 2, 4, draw_scroll_but);
}
