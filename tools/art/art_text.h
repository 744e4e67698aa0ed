// The two fonts the art uses (loaded once from the files the build names) and the
// text drawing shared by captions, buttons and labels.
#pragma once

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

struct art_fonts {
    FT_Library library = nullptr;
    FT_Face text = nullptr;   // the game's proportional face
    FT_Face fixed = nullptr;  // the editors' bitmap face
    cairo_font_face_t* text_cairo = nullptr;
};

// Loads both faces; false with a message when a file is missing or unusable.
bool art_load_fonts(const std::string& text_path, const std::string& fixed_path, std::string& error);
void art_release_fonts();
const art_fonts& art_font();

// Horizontal anchor of a line of text.
enum class art_align { left, centre, right };

// Adds the outline of `utf8` to the current path: its baseline at `y`, set at
// `size` units (the em), anchored at `x`. Returns the advance width.
double art_text_path(cairo_t* cr, const char* utf8, double x, double y, double size,
                     art_align align = art_align::centre);
// The largest size (at most `max_size`) at which `utf8` fits `max_width`.
double art_text_fit(cairo_t* cr, const char* utf8, double max_width, double max_size);
// Cap height of the text face as a fraction of the em: centring a line of capitals
// on y puts its baseline at y + size * art_cap_height() / 2.
double art_cap_height();
