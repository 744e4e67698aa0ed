// tamble-art: draws every texture of the game and writes them, with their codec
// options and metadata, as a data root for `tamble-pak build`.
#include "tools/art/art_output.h"
#include "tools/art/art_text.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage(int status)
{
    std::fprintf(status ? stderr : stdout,
                 "usage: tamble-art --out ROOT --text-font FILE --fixed-font FILE [--sheet FILE.png] "
                 "[--list] [--timing]\n"
                 "  draws every texture into ROOT (PNG sources by chunk name, sidecar options,\n"
                 "  init/art_textures.INIT.txt with the texture metadata); --sheet also writes a\n"
                 "  contact sheet of all textures; --list prints the texture names and sizes only;\n"
                 "  --timing prints the time each texture takes.\n");
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string out, sheet, text_font, fixed_font;
    bool list = false, timing = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& dst) {
            if (i + 1 >= argc)
                return false;
            dst = argv[++i];
            return true;
        };
        if (a == "--help" || a == "-h")
            return usage(0);
        bool ok = true;
        if (a == "--out")
            ok = value(out);
        else if (a == "--sheet")
            ok = value(sheet);
        else if (a == "--text-font")
            ok = value(text_font);
        else if (a == "--fixed-font")
            ok = value(fixed_font);
        else if (a == "--list")
            list = true;
        else if (a == "--timing")
            timing = true;
        else {
            std::fprintf(stderr, "tamble-art: unknown argument '%s'\n", a.c_str());
            return usage(2);
        }
        if (!ok) {
            std::fprintf(stderr, "tamble-art: %s needs a value\n", a.c_str());
            return usage(2);
        }
    }
    art_table table = art_all_textures();
    if (list) {
        for (const art_texture& t : table.textures)
            std::printf("%s %dx%d%s\n", t.name.c_str(), t.width, t.height, t.raw ? " raw" : "");
        return 0;
    }
    if (out.empty() || text_font.empty() || fixed_font.empty())
        return usage(2);
    std::string error;
    if (!art_check_root(out, error) || !art_load_fonts(text_font, fixed_font, error)) {
        std::fprintf(stderr, "tamble-art: %s\n", error.c_str());
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    std::vector<image_rgba> images = art_draw_all(table, timing);
    bool ok = art_write_root(table, images, out, error);
    if (ok && !sheet.empty())
        ok = art_write_contact_sheet(table, images, sheet, error);
    art_release_fonts();
    if (!ok) {
        std::fprintf(stderr, "tamble-art: %s\n", error.c_str());
        return 1;
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("tamble-art: %zu textures in %.0f ms\n", table.textures.size(), ms);
    return 0;
}
