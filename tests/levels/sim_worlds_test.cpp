// The worlds data checks of tamble-sim verify: awards, level entries, rune locks, level
// files that belong nowhere, levels no profile can open, and ratings along a main path.
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_worlds.h"

#include "data/pak_script.h"
#include "data/script.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

std::string awards(const std::string& key)
{
    std::string t = "\"tex\\worlds\\" + key + "\\";
    std::string s = "name \"" + key + "\" map " + t + "map\" emblem " + t + "emblem\" trophy_blank " + t +
                    "blank\" rune_icon " + t + "ri\" rune_large " + t + "rl\" rune_medium " + t +
                    "rm\" rune_tile1 " + t + "t1\" rune_tile2 " + t + "t2\"\n";
    for (const char* a : {"trophy1", "trophy2"})
        s += std::string(a) + " { name \"M\" tex_large " + t + "l\" tex_icon " + t + "i\" }\n";
    for (const char* a : {"shard1", "shard2", "shard3"})
        s += std::string(a) + " { name \"S\" tex_large " + t + "l\" tex_icon " + t + "i\" tex_medium " + t +
             "m\" }\n";
    return s;
}

// Two worlds of five levels, each level giving one award. World 0 opens with A0 and leads
// along A1 and A2, with A3 locked behind world 1's rune, far from every other tile. World 1
// opens with B0, which leads to B1 and B2.
std::string good_worlds()
{
    return "worlds {\n"
           " 0 {\n" +
           awards("a") +
           "  0 { level \"levels\\A0\" title \"A0\" difficulty 1 song 1 x 10 y 10 state 1 trophy 3 tip 1 ~ 1 "
           "}\n"
           "  1 { level \"levels\\A1\" title \"A1\" difficulty 2 song 1 x 20 y 10 trophy 4 ~ 2 }\n"
           "  2 { level \"levels\\A2\" title \"A2\" difficulty 2 song 1 x 30 y 10 trophy 5 }\n"
           "  3 { level \"levels\\A3\" title \"A3\" difficulty 6 song 1 x 50 y 50 trophy 1 rune 1 }\n"
           "  4 { level \"levels\\A4\" title \"A4\" difficulty 3 song 1 x 40 y 20 trophy 2 }\n"
           " }\n"
           " 1 {\n" +
           awards("b") +
           "  0 { level \"levels\\B0\" title \"B0\" difficulty 1 song 2 x 10 y 10 state 1 trophy 3 ~ 1 ~ 2 "
           "}\n"
           "  1 { level \"levels\\B1\" title \"B1\" difficulty 2 song 2 x 20 y 10 trophy 4 ~ 4 }\n"
           "  2 { level \"levels\\B2\" title \"B2\" difficulty 3 song 2 x 30 y 10 trophy 5 ~ 3 }\n"
           "  3 { level \"levels\\B3\" title \"B3\" difficulty 4 song 2 x 40 y 10 trophy 2 }\n"
           "  4 { level \"levels\\B4\" title \"B4\" difficulty 4 song 2 x 20 y 30 trophy 1 }\n"
           " }\n"
           "}\n"
           "tips { 1 { line1 \"Cut\" graphic \"tex\\tips\\cut\" } }\n"
           "startup { 0 { level \"levels\\Title\" time 5 } }\n";
}

// Level A4 sits next to A2 on the map (2 units apart): solving A2 opens it.
std::string with_neighbour(std::string text)
{
    size_t at = text.find("x 40 y 20");
    return text.replace(at, 9, "x 32 y 11");
}

const std::vector<std::string> files = {"levels\\A0", "levels\\A1", "levels\\A2",   "levels\\A3",
                                        "levels\\A4", "levels\\B0", "levels\\B1",   "levels\\B2",
                                        "levels\\B3", "levels\\B4", "levels\\Title"};

bool every_image(const std::string&, void*)
{
    return true;
}

std::vector<std::string> check(const std::string& text, std::vector<std::string> level_files = files,
                               bool (*images)(const std::string&, void*) = every_image)
{
    script_handle tree = script_handle::fresh(&script_global_symbols());
    EXPECT_TRUE(pak_parse_text("worlds test", text.c_str(), tree));
    sim_worlds_data data;
    sim_read_worlds(tree, data);
    return sim_check_worlds(data, level_files, {}, images, nullptr);
}

bool mentions(const std::vector<std::string>& problems, const std::string& needle)
{
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(needle) != std::string::npos; });
}

std::string all(const std::vector<std::string>& problems)
{
    std::string s;
    for (const std::string& p : problems)
        s += p + "\n";
    return s;
}

TEST(sim_worlds, consistent_worlds_pass)
{
    // A3 opens with world 1's rune: world 1's three segment levels can all be opened.
    std::vector<std::string> p = check(with_neighbour(good_worlds()));
    EXPECT_TRUE(p.empty()) << all(p);
}

TEST(sim_worlds, reads_level_entries_as_the_game_does)
{
    script_handle tree = script_handle::fresh(&script_global_symbols());
    ASSERT_TRUE(pak_parse_text("worlds test", good_worlds().c_str(), tree));
    sim_worlds_data data;
    sim_read_worlds(tree, data);
    ASSERT_EQ(data.worlds.size(), 2u);
    ASSERT_EQ(data.worlds[0].levels.size(), 5u);
    EXPECT_EQ(data.worlds[1].levels[0].successors, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(data.worlds[0].levels[3].rune, 1);
    EXPECT_EQ(data.worlds[0].levels[0].rune, -1);
    EXPECT_EQ(data.scene_levels, std::vector<std::string>{"levels\\Title"});
    std::vector<sim_level_file> found = sim_level_files(std::string(TAMBLE_SOURCE_DIR) + "/base");
    auto drop = std::find_if(found.begin(), found.end(),
                             [](const sim_level_file& f) { return f.chunk == "levels\\Drop"; });
    ASSERT_NE(drop, found.end());
    EXPECT_TRUE(drop->path.ends_with("levels/Drop.LEVL.txt"));
}

TEST(sim_worlds, missing_awards_and_twice_given_awards_are_reported)
{
    std::string text = with_neighbour(good_worlds());
    text.replace(text.find("rune_large"), 10, "rune_huge");
    text.replace(text.find("trophy 1 }"), 10, "}");
    std::vector<std::string> p = check(text);
    EXPECT_TRUE(mentions(p, "a: no \"rune_large\"")) << all(p);
    EXPECT_TRUE(mentions(p, "b: award 1 is given by 0 levels")) << all(p);
    // The medal no level gives can never be won.
    text = with_neighbour(good_worlds());
    text.replace(text.find("trophy 2 }"), 8, "trophy 3");
    p = check(text);
    EXPECT_TRUE(mentions(p, "a: award 3 is given by 2 levels")) << all(p);
    EXPECT_TRUE(mentions(p, "a: award 2 is given by 0 levels")) << all(p);
}

TEST(sim_worlds, bad_level_entries_are_reported)
{
    std::string text = with_neighbour(good_worlds());
    text.replace(text.find("difficulty 6"), 12, "difficulty 9");
    text.replace(text.find("~ 3 }"), 5, "~ 7 }");
    text.replace(text.find("tip 1"), 5, "tip 2");
    std::vector<std::string> level_files = files;
    level_files.erase(level_files.begin() + 1);  // levels\A1
    auto no_a2_images = [](const std::string& t, void*) { return t.find("A2") == std::string::npos; };
    std::vector<std::string> p = check(text, level_files, no_a2_images);
    EXPECT_TRUE(mentions(p, "(levels\\A3): difficulty 9 is not 1 to 8")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\B2): successor 7 is not a level of the world")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A0): tip 2 has no card")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A1): no such level")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A2): intro images missing: tex\\levels\\A20 1 2 3")) << all(p);
}

TEST(sim_worlds, levels_no_profile_can_open_are_reported)
{
    // Without the neighbour, nothing leads to A4.
    std::vector<std::string> p = check(good_worlds());
    EXPECT_TRUE(mentions(p, "(levels\\A4): no way to open it")) << all(p);
    EXPECT_FALSE(mentions(p, "levels\\A3")) << all(p);
    // World 1's third segment behind a level nobody can reach: its rune never completes,
    // so A3, locked behind it, cannot be opened either.
    std::string text = with_neighbour(good_worlds());
    text.replace(text.find("~ 1 ~ 2 }"), 9, "~ 1 }");
    p = check(text);
    EXPECT_TRUE(mentions(p, "(levels\\B2): no way to open it")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A3): no way to open it")) << all(p);
}

TEST(sim_worlds, rune_lock_that_something_else_opens_is_reported)
{
    std::string text = with_neighbour(good_worlds());
    text.replace(text.find("x 50 y 50"), 9, "x 34 y 12");  // next to A4
    std::vector<std::string> p = check(text);
    EXPECT_TRUE(mentions(p, "(levels\\A3): rune-locked, yet its tile lies next to level 4")) << all(p);
    text = with_neighbour(good_worlds());
    text.replace(text.find("trophy 5 }"), 10, "trophy 5 ~ 3 }");
    text.replace(text.find("rune 1"), 6, "rune 0");
    p = check(text);
    EXPECT_TRUE(mentions(p, "(levels\\A3): rune-locked, yet level 2 opens it")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A3): rune 0 is not another world")) << all(p);
}

TEST(sim_worlds, stray_level_files_and_falling_ratings_are_reported)
{
    std::string text = with_neighbour(good_worlds());
    text.replace(text.find("difficulty 2 song 1 x 30"), 12, "difficulty 1");
    std::vector<std::string> level_files = files;
    level_files.push_back("levels\\Stray");
    script_handle tree = script_handle::fresh(&script_global_symbols());
    ASSERT_TRUE(pak_parse_text("worlds test", text.c_str(), tree));
    sim_worlds_data data;
    sim_read_worlds(tree, data);
    std::vector<std::string> p = sim_check_worlds(data, level_files, {}, every_image, nullptr);
    EXPECT_TRUE(mentions(p, "levels\\Stray: in no world and no sequence")) << all(p);
    EXPECT_TRUE(mentions(p, "(levels\\A2): difficulty 1 falls below the 2")) << all(p);
    // A scene that plays by itself belongs nowhere and is fine.
    p = sim_check_worlds(data, level_files, {"levels\\Stray"}, every_image, nullptr);
    EXPECT_FALSE(mentions(p, "levels\\Stray")) << all(p);
}

// Verify accepts only the intro pictures the archive build packs: a PNG source (what the
// capture writes) or a texture chunk, never a BMP file the build would leave out.
TEST(sim_worlds, only_picture_sources_the_build_packs_count_as_intro_images)
{
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("tamble_intro_images_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "tex" / "levels");
    std::ofstream(root / "tex" / "levels" / "Drop0.bmp") << "BM";
    sim_context ctx;
    EXPECT_FALSE(sim_texture_source_found(ctx, root.string(), "tex\\levels\\Drop0"));
    std::ofstream(root / "tex" / "levels" / "Drop0.png") << "png";
    EXPECT_TRUE(sim_texture_source_found(ctx, root.string(), "tex\\levels\\Drop0"));
    EXPECT_FALSE(sim_texture_source_found(ctx, root.string(), "tex\\levels\\Drop1"));
    fs::remove_all(root);
}

}  // namespace
