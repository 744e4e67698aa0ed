// Font loading through FreeType and text outlines through cairo's FreeType backend.
#include "tools/art/art_text.h"

#include <cairo-ft.h>

namespace {

art_fonts fonts;

}  // namespace

bool art_load_fonts(const std::string& text_path, const std::string& fixed_path, std::string& error)
{
    if (FT_Init_FreeType(&fonts.library) != 0) {
        error = "FreeType cannot start";
        return false;
    }
    if (FT_New_Face(fonts.library, text_path.c_str(), 0, &fonts.text) != 0) {
        error = "'" + text_path + "': not a font FreeType can read";
        return false;
    }
    if (FT_New_Face(fonts.library, fixed_path.c_str(), 0, &fonts.fixed) != 0) {
        error = "'" + fixed_path + "': not a font FreeType can read";
        return false;
    }
    if (FT_Select_Charmap(fonts.text, FT_ENCODING_UNICODE) != 0 ||
        FT_Select_Charmap(fonts.fixed, FT_ENCODING_UNICODE) != 0) {
        error = "a font has no Unicode character map";
        return false;
    }
    // Unhinted outlines: the same shapes at every size and scale.
    fonts.text_cairo = cairo_ft_font_face_create_for_ft_face(fonts.text, FT_LOAD_NO_HINTING);
    return true;
}

void art_release_fonts()
{
    if (fonts.text_cairo)
        cairo_font_face_destroy(fonts.text_cairo);
    if (fonts.fixed)
        FT_Done_Face(fonts.fixed);
    if (fonts.text)
        FT_Done_Face(fonts.text);
    if (fonts.library)
        FT_Done_FreeType(fonts.library);
    fonts = art_fonts{};
}

const art_fonts& art_font()
{
    return fonts;
}

double art_cap_height()
{
    // The height of 'H' from the font's own outline, in ems.
    FT_Face f = fonts.text;
    if (FT_Set_Char_Size(f, 0, 1000 * 64, 72, 72) != 0 || FT_Load_Char(f, 'H', FT_LOAD_NO_SCALE) != 0)
        return 0.7;
    return f->glyph->metrics.height / static_cast<double>(f->units_per_EM);
}

namespace {

void set_face(cairo_t* cr, double size)
{
    cairo_set_font_face(cr, fonts.text_cairo);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace

double art_text_path(cairo_t* cr, const char* utf8, double x, double y, double size, art_align align)
{
    set_face(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8, &e);
    double start = x;
    if (align == art_align::centre)
        start = x - e.x_advance / 2;
    else if (align == art_align::right)
        start = x - e.x_advance;
    cairo_move_to(cr, start, y);
    cairo_text_path(cr, utf8);
    return e.x_advance;
}

double art_text_fit(cairo_t* cr, const char* utf8, double max_width, double max_size)
{
    set_face(cr, max_size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8, &e);
    if (e.x_advance <= max_width || e.x_advance <= 0)
        return max_size;
    return max_size * max_width / e.x_advance;
}
