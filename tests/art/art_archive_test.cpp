// The built archive holds every texture the game, the screens and the editors
// fetch (the program's list in data/asset_names.h), every texture the base types name, and
// every texture decodes.
#include "data/asset_names.h"
#include "tests/art/art_test_util.h"
#include "tests/data/script_test_util.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

namespace {

// Textures the archive holds beyond the names the program fetches (data/asset_names.h):
// the frames of the animated ones it draws (the pen shows frames 0 to 5, the rain's splash
// two), and what the editors will fetch.
const char* const further_textures[] = {
    "tex\\ui\\Pen_2",      "tex\\ui\\Pen_3",       "tex\\ui\\Pen_4",
    "tex\\ui\\Pen_5",      "tex\\ui\\Pen_6",       "tex\\Effect_RainSpat_Frame2",
    "tex\\font\\8x8_1",    "tex\\ui\\listbox_bkg", "tex\\ui\\listbox_sel",
    "tex\\ui\\scroll_bkg", "tex\\ui\\scroll_but",
};

std::set<std::string> archive_names(uint32_t code)
{
    std::set<std::string> names;
    pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) { names.insert(ref->get_name()); });
    art_archive().enumerate(code, visit);
    return names;
}

std::string chunk_text(const std::string& name)
{
    std::vector<uint8_t> bytes = art_chunk_bytes(art_archive().get(name.c_str()));
    return std::string(bytes.begin(), bytes.end());
}

TEST(art_archive, holds_every_fetched_texture)
{
    std::set<std::string> textures = archive_names(pak_code_imag);
    ASSERT_GT(textures.size(), 100u) << "the archive " TAMBLE_ARCHIVE " holds no generated art";
    for (const char* name : asset_fetched_textures)
        EXPECT_TRUE(textures.count(name)) << name;
    for (const char* name : further_textures)
        EXPECT_TRUE(textures.count(name)) << name;
}

TEST(art_archive, holds_every_texture_the_types_name)
{
    std::set<std::string> textures = archive_names(pak_code_imag);
    std::regex tex_key("tex\\s+\"([^\"]+)\"");
    int named = 0;
    for (uint32_t code : {pak_code_btyp, pak_code_ntyp, pak_code_ctyp})
        for (const std::string& type : archive_names(code)) {
            std::string text = chunk_text(type);
            bool drawn = false;
            for (std::sregex_iterator it(text.begin(), text.end(), tex_key), end; it != end; ++it) {
                EXPECT_TRUE(textures.count((*it)[1].str())) << type << " names " << (*it)[1].str();
                drawn = true;
                ++named;
            }
            // Every type a level can place shows something (body edges of "default" included).
            EXPECT_TRUE(drawn) << type << " has no textured polygon";
        }
    EXPECT_GT(named, 20);
}

TEST(art_archive, animated_textures_have_their_frames)
{
    // The metadata script names every animated texture; each needs at least a frame 2.
    std::string meta = chunk_text("init\\art_textures");
    // The game reads it with its script parser: a chunk that does not parse loses every key.
    test_tree parsed;
    ASSERT_TRUE(parsed.parse(meta.c_str())) << "init\\art_textures does not parse";
    EXPECT_EQ(parsed.root.get("tex\\ui\\title_bg.repeat").as_int(), 1);
    std::regex animated("(\\S+) \\{[^}]*anim_speed");
    std::set<std::string> textures = archive_names(pak_code_imag);
    int count = 0;
    for (std::sregex_iterator it(meta.begin(), meta.end(), animated), end; it != end; ++it) {
        std::string base = (*it)[1].str();
        EXPECT_TRUE(textures.count(base)) << base;
        EXPECT_TRUE(textures.count(base + "2")) << base << " animates without a frame 2";
        ++count;
    }
    EXPECT_GE(count, 4);  // pen, rain splash, text cursor, tile glow
    EXPECT_NE(meta.find("tex\\ui\\title_bg { repeat 1 }"), std::string::npos);
}

TEST(art_archive, every_texture_decodes_at_full_and_half_size)
{
    for (const std::string& name : archive_names(pak_code_imag)) {
        image_rgba full, half;
        std::string error;
        ASSERT_TRUE(art_decode(name, false, full, error)) << name << ": " << error;
        ASSERT_TRUE(art_decode(name, true, half, error)) << name << ": " << error;
        // Power-of-two sizes: plain OpenGL 1.x needs them.
        EXPECT_EQ(full.width & (full.width - 1), 0) << name;
        EXPECT_EQ(full.height & (full.height - 1), 0) << name;
        // Coded textures halve; raw ones (the glyph sheets) come back whole.
        bool halved = half.width == full.width / 2 && half.height == full.height / 2;
        bool whole = half.width == full.width && half.height == full.height && half.pixels == full.pixels;
        EXPECT_TRUE(halved || whole) << name;
        size_t drawn = 0;
        for (size_t i = 3; i < full.pixels.size(); i += 4)
            drawn += full.pixels[i] > 15;
        EXPECT_GT(drawn, full.pixels.size() / 4 / 100) << name << " is (nearly) empty";
    }
}

}  // namespace
