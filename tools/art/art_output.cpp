// The generated root laid out by chunk name, and the contact sheet.
#include "tools/art/art_output.h"

#include "app/image_file/png_file.h"
#include "tools/art/art_paint.h"
#include "tools/art/art_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::vector<image_rgba> art_draw_all(const art_table& table, bool timing)
{
    std::vector<image_rgba> images;
    images.reserve(table.textures.size());
    for (const art_texture& t : table.textures) {
        auto start = std::chrono::steady_clock::now();
        art_canvas canvas(t.width, t.height, t.units_w, t.units_h);
        t.draw(canvas);
        image_rgba img = canvas.pixels(t.bleed);
        if (t.empty_colour)
            for (size_t i = 0; i < img.pixels.size(); i += 4)
                if (img.pixels[i + 3] == 0) {
                    img.pixels[i] = static_cast<uint8_t>(t.empty_colour->r * 255 + 0.5);
                    img.pixels[i + 1] = static_cast<uint8_t>(t.empty_colour->g * 255 + 0.5);
                    img.pixels[i + 2] = static_cast<uint8_t>(t.empty_colour->b * 255 + 0.5);
                }
        images.push_back(std::move(img));
        if (timing)
            std::printf(
                "%8.1f ms  %s\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
                t.name.c_str());
    }
    return images;
}

std::string art_metadata_script(const art_table& table)
{
    // Script text has no comments: the chunk holds nothing but the entries.
    std::string out;
    char line[512];
    for (const art_texture& t : table.textures) {
        std::string keys;
        if (t.animated) {
            std::snprintf(line, sizeof line, " anim_speed %d", t.anim_speed);
            keys += line;
        }
        if (t.repeat)
            keys += " repeat 1";
        if (t.scroll_x != 0 || t.scroll_y != 0) {
            std::snprintf(line, sizeof line, " scroll_x %.4f scroll_y %.4f", t.scroll_x, t.scroll_y);
            keys += line;
        }
        if (!keys.empty())
            out += t.name + " {" + keys + " }\n";
    }
    return out;
}

namespace {

const char* stamp_name = "art.stamp";

bool write_text(const fs::path& path, const std::string& text, std::string& error)
{
    std::ofstream f(path, std::ios::binary);
    f << text;
    f.close();
    if (!f) {
        error = "'" + path.string() + "': cannot write";
        return false;
    }
    return true;
}

fs::path source_path(const fs::path& root, const std::string& name)
{
    std::string rel = name;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    return root / (rel + ".png");
}

}  // namespace

bool art_check_root(const std::string& root, std::string& error)
{
    std::error_code ec;
    fs::path dir(root);
    if (!fs::exists(dir, ec))
        return true;
    if (!fs::is_directory(dir, ec)) {
        error = "'" + root + "' is not a folder";
        return false;
    }
    if (!fs::is_empty(dir, ec) && !fs::exists(dir / stamp_name, ec)) {
        error = "'" + root + "' holds files that tamble-art did not write; not emptying it";
        return false;
    }
    return true;
}

bool art_write_root(const art_table& table, const std::vector<image_rgba>& images, const std::string& root,
                    std::string& error)
{
    std::error_code ec;
    fs::path dir(root);
    if (!art_check_root(root, error))
        return false;
    fs::remove_all(dir, ec);
    for (size_t i = 0; i < table.textures.size(); ++i) {
        const art_texture& t = table.textures[i];
        fs::path png = source_path(dir, t.name);
        fs::create_directories(png.parent_path(), ec);
        const image_rgba& image = images[i];
        if (!png_file_write(png.string(), image.width, image.height, 4, image.pixels.data(), error))
            return false;
        std::string options;
        if (t.raw)
            options = "raw\n";
        else if (t.quality != 90)
            options = "quality " + std::to_string(t.quality) + "\n";
        if (!options.empty() && !write_text(png.string() + ".opt", options, error))
            return false;
    }
    fs::create_directories(dir / "init", ec);
    if (!write_text(dir / "init" / "art_textures.INIT.txt", art_metadata_script(table), error))
        return false;
    return write_text(dir / stamp_name, std::to_string(table.textures.size()) + " textures\n", error);
}

bool art_write_contact_sheet(const art_table& table, const std::vector<image_rgba>& images,
                             const std::string& path, std::string& error)
{
    const int cell = 200, label = 30, columns = 10;
    int rows = static_cast<int>((images.size() + columns - 1) / columns);
    art_canvas sheet(columns * cell, rows * (cell + label), columns * cell, rows * (cell + label));
    cairo_t* cr = sheet.cr;
    art_set(cr, art_hex(0x3A3632));
    cairo_paint(cr);
    for (size_t i = 0; i < images.size(); ++i) {
        const image_rgba& img = images[i];
        double x0 = (i % columns) * cell, y0 = (i / columns) * (cell + label);
        double inner = cell - 12;
        double scale = std::min(inner / img.width, inner / img.height);
        double w = img.width * scale, h = img.height * scale;
        double x = x0 + (cell - w) / 2, y = y0 + (cell - h) / 2;
        // Checkerboard behind the picture shows its transparency.
        for (int cy = 0; cy < static_cast<int>(h); cy += 8)
            for (int cx = 0; cx < static_cast<int>(w); cx += 8) {
                bool dark = ((cx / 8) + (cy / 8)) % 2;
                art_set(cr, dark ? art_hex(0x8C8C8C) : art_hex(0xB4B4B4));
                cairo_rectangle(cr, x + cx, y + cy, std::min(8.0, w - cx), std::min(8.0, h - cy));
                cairo_fill(cr);
            }
        cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
        cairo_surface_flush(src);
        uint8_t* data = cairo_image_surface_get_data(src);
        int stride = cairo_image_surface_get_stride(src);
        for (int py = 0; py < img.height; ++py)
            for (int px = 0; px < img.width; ++px) {
                const uint8_t* p = &img.pixels[(size_t(py) * img.width + px) * 4];
                uint32_t a = p[3];
                uint32_t v =
                    (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
                reinterpret_cast<uint32_t*>(data + py * stride)[px] = v;
            }
        cairo_surface_mark_dirty(src);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(src);
        std::string name = table.textures[i].name.substr(4);
        std::string size = std::to_string(img.width) + "x" + std::to_string(img.height);
        cairo_new_path(cr);
        double fs_ = art_text_fit(cr, name.c_str(), cell - 8, 13);
        art_text_path(cr, name.c_str(), x0 + cell / 2.0, y0 + cell + 11, fs_);
        art_set(cr, palette::cream);
        cairo_fill(cr);
        art_text_path(cr, size.c_str(), x0 + cell / 2.0, y0 + cell + 25, 10);
        art_set(cr, palette::paper_shade);
        cairo_fill(cr);
    }
    image_rgba pixels = sheet.pixels(false);
    return png_file_write(path, pixels.width, pixels.height, 4, pixels.pixels.data(), error);
}
