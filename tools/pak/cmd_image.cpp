// tamble-pak image: PNG to "IMAG" chunk file and back.
#include "app/image_file/png_file.h"
#include "data/pak_tree.h"
#include "render/image/image_chunk.h"
#include "tools/pak/chunk_source.h"
#include "tools/pak/commands.h"
#include "tools/pak/image_source.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parse_quality(const char* text, int& quality)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < 0 || v > 100)
        return false;
    quality = int(v);
    return true;
}

int encode(int argc, char** argv)
{
    std::string in, out;
    int quality = image_default_quality;
    bool raw = false;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--raw")) {
            raw = true;
        } else if (!std::strcmp(argv[i], "--quality")) {
            if (i + 1 >= argc || !parse_quality(argv[++i], quality))
                return pak_tool_fail("image", "--quality takes a number from 0 to 100", 2);
        } else if (argv[i][0] == '-' && argv[i][1]) {
            return pak_tool_fail("image", std::string("unknown option '") + argv[i] + "'", 2);
        } else if (in.empty()) {
            in = argv[i];
        } else if (out.empty()) {
            out = argv[i];
        } else {
            return pak_tool_fail("image", "encode takes IN.png OUT.IMAG.pkc", 2);
        }
    }
    if (out.empty())
        return pak_tool_fail("image", "encode takes IN.png OUT.IMAG.pkc", 2);
    std::string base;
    uint32_t code = 0;
    if (!pak_split_coded_name(out, ".pkc", base, code) || code != pak_code_imag)
        return pak_tool_fail("image", "'" + out + "': the output must be named NAME.IMAG.pkc", 2);

    std::string error;
    png_pixels image;
    if (!png_file_read(in, 4, image, error))
        return pak_tool_fail("image", error);
    tool_chunk chunk;
    chunk.name = base;
    chunk.code = pak_code_imag;
    chunk.container = true;
    chunk.bytes = image_chunk_content(image.width, image.height, image.data.data(), quality, raw);
    if (!write_chunk_file(out, chunk, raw ? 9 : 0, error))
        return pak_tool_fail("image", error);
    return 0;
}

int decode(int argc, char** argv)
{
    std::string source, out;
    bool half = false, plain = false;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--half")) {
            half = true;
        } else if (!std::strcmp(argv[i], "--plain")) {
            plain = true;
        } else if (argv[i][0] == '-' && argv[i][1]) {
            return pak_tool_fail("image", std::string("unknown option '") + argv[i] + "'", 2);
        } else if (source.empty()) {
            source = argv[i];
        } else if (out.empty()) {
            out = argv[i];
        } else {
            return pak_tool_fail("image", "decode takes SOURCE OUT.png", 2);
        }
    }
    if (out.empty())
        return pak_tool_fail("image", "decode takes SOURCE OUT.png", 2);
    std::string error;
    tool_chunk chunk;
    if (!load_chunk_source(source, chunk, error))
        return pak_tool_fail("image", error);
    if (chunk.code != pak_code_imag)
        return pak_tool_fail("image",
                             "'" + source + "' is a " + pak_code_text(chunk.code) + " chunk, not IMAG");
    image_rgba image;
    bool fast = !plain && image_cpu_has_fast_decoder();
    if (!image_from_chunk(chunk.bytes.data(), chunk.bytes.size(), half, fast, image, error))
        return pak_tool_fail("image", "'" + source + "': " + error);
    if (!png_file_write(out, image.width, image.height, 4, image.pixels.data(), error))
        return pak_tool_fail("image", error);
    return 0;
}

}  // namespace

int cmd_image(int argc, char** argv)
{
    if (argc >= 1 && !std::strcmp(argv[0], "encode"))
        return encode(argc - 1, argv + 1);
    if (argc >= 1 && !std::strcmp(argv[0], "decode"))
        return decode(argc - 1, argv + 1);
    return pak_tool_fail("image", "expected 'encode' or 'decode' (try tamble-pak --help)", 2);
}
