// tamble-sim view under the test driver: scripted clicks select and cut the rope of a test
// level, captured frames show the ball where the physics puts it, R restarts, Esc quits.
#include "data/pak.h"
#include "render/image/image_chunk.h"
#include "tests/test_display.h"
#include "tests/window/png_read.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string data_root = std::string(TAMBLE_SOURCE_DIR) + "/tests/window/view_data";
const std::string level = data_root + "/levels/view_rope.LEVL.txt";

// The viewer as a shell command. In sanitizer builds its exit-time leak check is off:
// it loads the GL driver, whose allocations LeakSanitizer can neither attribute nor
// suppress, and would fail every run. Leaks of our own code are checked in-process by
// the window tests and by the core tests.
std::string viewer()
{
    return std::string("ASAN_OPTIONS=detect_leaks=0 ") + TAMBLE_SIM;
}

// Runs the viewer on a 640 x 512 window (8 pixels a unit, view x from -8) and returns its exit status.
// Files are named after the running test, since ctest runs the tests side by side.
std::string prefix()
{
    return std::string("view_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_";
}

std::string capture(int frame)
{
    return prefix() + std::to_string(frame) + ".png";
}

int run_view(const std::string& script, const std::string& extra, const std::string& level_file = level,
             const std::string& root = data_root)
{
    // Captures of an earlier run must not stand in for missing ones.
    for (int frame = 0; frame < 300; ++frame)
        std::remove(capture(frame).c_str());
    {
        std::ofstream s(prefix() + "script");
        s << script;
    }
    std::string cmd = viewer() + " view " + level_file + " --data " + root +
                      " --size 640x512 --fixed-frame --script " + prefix() + "script --capture-prefix " +
                      prefix() + " " + extra + " > " + prefix() + "out 2>&1";
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct blob {
    int count = 0;
    double x = 0, y = 0;  // centroid in view units
};

// The red ball's pixels, above the pot's red catching edge (which starts at view y 51.5).
blob red_ball(const std::string& path)
{
    test_image img;
    blob b;
    if (!png_read_rgb_file(path, img))
        return b;
    for (int32_t y = 0; y < std::min<int32_t>(img.height, 8 * 51); ++y)
        for (int32_t x = 0; x < img.width; ++x) {
            const uint8_t* p = img.at(x, y);
            if (p[0] > 200 && p[1] < 80 && p[2] < 80) {
                ++b.count;
                b.x += x;
                b.y += y;
            }
        }
    if (b.count) {
        b.x = b.x / b.count / 8.0 - 8.0;
        b.y = b.y / b.count / 8.0;
    }
    return b;
}

bool green_frame(const std::string& path)
{
    test_image img;
    if (!png_read_rgb_file(path, img))
        return false;
    const uint8_t* p = img.at(2, img.height / 2);
    return p[1] > 200 && p[0] < 80;
}

// Pixels of one colour in a region given in view units (640 x 512 window, 8 pixels a unit).
struct colour_count {
    int count = 0;
    double x = 0, y = 0;
};

template <typename Pred>
colour_count count_in(const std::string& path, float left, float top, float right, float bottom, Pred match)
{
    test_image img;
    colour_count c;
    if (!png_read_rgb_file(path, img))
        return c;
    for (int32_t y = int32_t(top * 8); y < std::min<int32_t>(img.height, int32_t(bottom * 8)); ++y)
        for (int32_t x = std::max(0, int32_t((left + 8) * 8));
             x < std::min<int32_t>(img.width, int32_t((right + 8) * 8)); ++x)
            if (match(img.at(x, y))) {
                ++c.count;
                c.x += x;
                c.y += y;
            }
    if (c.count) {
        c.x = c.x / c.count / 8.0 - 8.0;
        c.y = c.y / c.count / 8.0;
    }
    return c;
}

bool is_red(const uint8_t* p)
{
    return p[0] > 200 && p[1] < 80 && p[2] < 80;
}
bool is_blue(const uint8_t* p)
{
    return p[2] > 200 && p[0] < 100 && p[1] < 140;
}
bool is_green(const uint8_t* p)
{
    return p[1] > 200 && p[0] < 80 && p[2] < 100;
}

const std::string base_root = std::string(TAMBLE_SOURCE_DIR) + "/base";

TEST(viewer, cutting_the_rope_by_clicks_drops_the_ball_into_the_pot)
{
    TAMBLE_REQUIRE_DISPLAY();
    // Select the rope at frame 5, cut it with a right click at frame 6.
    int status = run_view("5 click left 32 15\n6 click right\n", "--capture 4,90,239 --frames 240");
    EXPECT_EQ(status, 0) << "expected the level solved";

    blob hanging = red_ball(capture(4));
    ASSERT_GT(hanging.count, 50);
    EXPECT_NEAR(hanging.x, 32.0, 0.3);
    EXPECT_NEAR(hanging.y, 20.0, 0.3);

    // Falling straight down under gravity 20: about 1.4 s after the cut, y near 20 + 10 t^2.
    blob falling = red_ball(capture(90));
    ASSERT_GT(falling.count, 50);
    EXPECT_NEAR(falling.x, 32.0, 0.3);
    double t = (90 - 6) / 60.0;
    EXPECT_NEAR(falling.y, 20.0 + 10.0 * t * t, 3.0);

    EXPECT_FALSE(green_frame(capture(4)));
    EXPECT_TRUE(green_frame(capture(239)));
    // The verdict is also written across the middle of the view, well inside the frame.
    EXPECT_EQ(count_in(capture(4), 4, 27, 60, 37, is_green).count, 0);
    EXPECT_GT(count_in(capture(239), 4, 27, 60, 37, is_green).count, 500);
}

TEST(viewer, without_a_cut_the_ball_keeps_hanging_and_the_level_is_undecided)
{
    TAMBLE_REQUIRE_DISPLAY();
    // A right click with nothing selected cuts nothing.
    int status = run_view("3 click right 32 15\n4 key space\n", "--capture 119 --frames 120");
    EXPECT_EQ(status, 2);
    blob b = red_ball(capture(119));
    EXPECT_NEAR(b.x, 32.0, 0.3);
    EXPECT_NEAR(b.y, 20.0, 0.5);
}

TEST(viewer, space_cuts_the_selection_r_restarts_and_escape_quits)
{
    TAMBLE_REQUIRE_DISPLAY();
    int status = run_view("2 click left 32 14\n3 key space\n60 key r\n70 key escape\n",
                          "--capture 59,69,75 --frames 1000");
    // Escape ends the run on the restarted, undecided level.
    EXPECT_EQ(status, 2);
    EXPECT_GT(red_ball(capture(59)).y, 22.0);
    blob restarted = red_ball(capture(69));
    EXPECT_NEAR(restarted.y, 20.0, 0.5);
    test_image img;
    EXPECT_FALSE(png_read_rgb_file(capture(75), img));
}

TEST(viewer, base_level_balls_and_pots_show_in_their_colours)
{
    TAMBLE_REQUIRE_DISPLAY();
    // Pair: a red ball (colour 1) at (22, 20) and a blue one (colour 2) at (42, 20) over
    // a red pot at x 20 and a blue pot at x 44.
    EXPECT_EQ(run_view("", "--capture 1 --frames 2", base_root + "/levels/Pair.LEVL.txt", base_root), 2);
    colour_count red = count_in(capture(1), 0, 0, 64, 40, is_red);
    colour_count blue = count_in(capture(1), 0, 0, 64, 40, is_blue);
    ASSERT_GT(red.count, 30);
    ASSERT_GT(blue.count, 30);
    EXPECT_NEAR(red.x, 22.0, 0.5);
    EXPECT_NEAR(blue.x, 42.0, 0.5);
    EXPECT_EQ(count_in(capture(1), 36, 0, 64, 40, is_red).count, 0);
    EXPECT_GT(count_in(capture(1), 14, 48, 26, 60, is_red).count, 20);
    EXPECT_GT(count_in(capture(1), 38, 48, 50, 60, is_blue).count, 20);
}

TEST(viewer, a_level_file_that_does_not_parse_is_reported_and_fails)
{
    TAMBLE_REQUIRE_DISPLAY();
    std::string broken = prefix() + "broken.LEVL.txt";
    {
        std::ofstream f(broken);
        f << "nodes { ~{ x 1.0 \"unterminated\n";
    }
    EXPECT_EQ(run_view("", "--frames 1", broken, base_root), 3);
    std::ifstream out(prefix() + "out");
    std::string text((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    // Headless runs show the level loader's message box on stderr.
    EXPECT_NE(text.find("123: Error Loading Level."), std::string::npos) << text;
}

TEST(viewer, without_a_display_the_viewer_says_so)
{
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + viewer() + " view " + level +
                      " --data " + data_root + " --windowed > view_no_display.out 2>&1";
    int status = std::system(cmd.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 3);
    std::ifstream out("view_no_display.out");
    std::string text((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("no display"), std::string::npos) << text;
}

// A data root with textured types: the view data's types given polygons, textures of one
// colour each, and a level whose pot edges lie on pixel centres.
struct textured_root {
    std::filesystem::path path;

    textured_root()
    {
        path = std::filesystem::temp_directory_path() /
               ("tamble_view_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::copy(data_root, path, std::filesystem::copy_options::recursive);
        append("bodies/pot_red.BTYP.txt", "polys {\n ~{ node 0 tx 0 ty 0 }\n ~{ node 3 tx 1 ty 0 }\n"
                                          " ~{ node 2 tx 1 ty 1 }\n ~{ node 1 tx 0 ty 1 }\n"
                                          " ~{ tex \"tex\\pot\" z -3 }\n}\n");
        append("constraints/rope.CTYP.txt",
               "polys {\n ~{ x 0 y -0.5 tx 0 ty 0 }\n ~{ x 1 y -0.5 tx 0 ty 0 }\n"
               " ~{ x 1 y 0.5 tx 1 ty 0 }\n ~{ tex \"tex\\rope\" z -2 }\n}\n");
        pak_system pak;
        pak_module* store = pak.add_directory(path.string().c_str(), true);
        add_texture(*store, "tex\\pot", 4, 4, {255, 0, 255, 255});
        add_texture(*store, "tex\\rope", 4, 4, {0, 255, 0, 255});
        add_texture(*store, "tex\\Effect_RainStreak", 8, 8, {255, 255, 255, 255});
        std::string level =
            "nodes {\n ~{ x 32.0 y 10.0 fixed 1 type \"nodes\\anchor\" }\n"
            " ~{ x 32.0 y 20.0 fixed 0 type \"nodes\\ball_red\" }\n}\n"
            "bodies {\n ~{ x 32.0625 y 50.0625 ang 0.0 fix_mask \"P\" type \"bodies\\pot_red\" }\n}\n"
            "constraints {\n ~{ type \"constraints\\rope\" n1 0 n2 1 }\n}\n";
        std::ofstream(path / "levels/textured.LEVL.txt") << level;
        std::ofstream(path / "levels/rainy.LEVL.txt") << "effect rain\n" << level;
    }
    ~textured_root()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    void append(const char* file, const char* text) { std::ofstream(path / file, std::ios::app) << text; }
    static void add_texture(pak_module& store, const char* name, int32_t w, int32_t h,
                            std::vector<uint8_t> rgba)
    {
        std::vector<uint8_t> pixels;
        for (int32_t i = 0; i < w * h; ++i)
            pixels.insert(pixels.end(), rgba.begin(), rgba.end());
        std::vector<uint8_t> chunk = image_chunk_content(w, h, pixels.data(), 100, true);
        store.write_raw(pak_code_imag, name, uint32_t(chunk.size()), true, chunk.data(), 0, true);
    }
    std::string level(const char* name) const { return (path / "levels" / name).string(); }
};

bool is_magenta(const uint8_t* p)
{
    return p[0] > 200 && p[1] < 60 && p[2] > 200;
}
bool is_white(const uint8_t* p)
{
    return p[0] > 200 && p[1] > 200 && p[2] > 200;
}

TEST(viewer, types_with_textures_draw_textured_and_d_toggles_the_outlines)
{
    TAMBLE_REQUIRE_DISPLAY();
    textured_root root;
    // Frame 4 as it is; frame 8 with the outlines that D switches on.
    EXPECT_EQ(run_view("5 key d\n", "--capture 4,8 --frames 9", root.level("textured.LEVL.txt"),
                       root.path.string()),
              2);
    // The pot's picture fills its outline; the rope is a band of its texture; the ball,
    // whose type has no polygons, keeps the plain look (a red disc).
    EXPECT_GT(count_in(capture(4), 30, 49, 34, 51.5f, is_magenta).count, 400);
    EXPECT_GT(count_in(capture(4), 31.5f, 12, 32.5f, 18, is_green).count, 30);
    EXPECT_EQ(count_in(capture(4), 33, 12, 40, 18, is_green).count, 0);
    blob ball = red_ball(capture(4));
    EXPECT_GT(ball.count, 50);
    EXPECT_NEAR(ball.y, 20.0, 0.3);
    // A textured pot draws no plain outline: no red catching edge.
    EXPECT_EQ(count_in(capture(4), 28, 48, 36, 53, is_red).count, 0);
    EXPECT_EQ(count_in(capture(4), 28, 52, 36, 52.2f, is_white).count, 0);
    // With the outlines on, the collidable edges are white over the picture.
    EXPECT_GT(count_in(capture(8), 30, 52, 34, 52.2f, is_white).count, 20);
}

TEST(viewer, a_level_that_names_rain_shows_streaks_over_the_world)
{
    TAMBLE_REQUIRE_DISPLAY();
    textured_root root;
    auto streaks = [](const std::string& png) { return count_in(png, 0, 0, 64, 40, is_white).count; };
    EXPECT_EQ(run_view("", "--capture 90 --frames 91", root.level("textured.LEVL.txt"), root.path.string()),
              2);
    EXPECT_EQ(streaks(capture(90)), 0);
    EXPECT_EQ(run_view("", "--capture 90 --frames 91", root.level("rainy.LEVL.txt"), root.path.string()), 2);
    EXPECT_GT(streaks(capture(90)), 500);
}

// tamble-sim previews on a copy of the view data with a worlds file naming its level: the
// four pictures of 16 to 128 pixels land under tex/levels, upright (the ball above the pot).
TEST(viewer, previews_draw_the_four_intro_pictures_of_every_level_of_the_worlds)
{
    TAMBLE_REQUIRE_DISPLAY();
    namespace fs = std::filesystem;
    fs::path root = fs::absolute("previews_root");
    fs::remove_all(root);
    fs::copy(data_root, root, fs::copy_options::recursive);
    fs::create_directories(root / "init");
    {
        std::ofstream w(root / "init" / "worlds.INIT.txt");
        w << "worlds { 0 { name \"W\" 0 { level \"levels\\view_rope\" title \"Rope\" } } }\n";
    }
    auto run = [&](const std::string& extra) {
        std::string cmd = viewer() + " previews " + root.string() + extra + " > previews.out 2>&1";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run(""), 0);
    for (int i = 0; i < 4; ++i) {
        test_image img;
        fs::path file = root / "tex" / "levels" / ("view_rope" + std::to_string(i) + ".png");
        ASSERT_TRUE(png_read_rgb_file(file.string(), img)) << file;
        EXPECT_EQ(img.width, 16 << i);
        EXPECT_EQ(img.height, 16 << i);
    }
    // In the sharpest picture (2 pixels a unit) the red ball hangs at (32, 20), the pot's
    // red rim lies near y 50 below it.
    test_image sharp;
    ASSERT_TRUE(png_read_rgb_file((root / "tex" / "levels" / "view_rope3.png").string(), sharp));
    auto reddish = [&](int32_t top, int32_t bottom, double& cx, double& cy) {
        int count = 0;
        cx = cy = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = 0; x < sharp.width; ++x) {
                const uint8_t* p = sharp.at(x, y);
                if (p[0] > p[1] + 60 && p[0] > p[2] + 60) {
                    ++count;
                    cx += x;
                    cy += y;
                }
            }
        if (count) {
            cx /= count * 2.0;
            cy /= count * 2.0;
        }
        return count;
    };
    double bx, by, px, py;
    ASSERT_GT(reddish(0, 64, bx, by), 0) << "no ball in the upper half";
    EXPECT_NEAR(bx, 32.0, 1.5);
    EXPECT_NEAR(by, 20.0, 1.5);
    ASSERT_GT(reddish(64, 128, px, py), 0) << "no pot in the lower half";
    EXPECT_GT(py, 40.0);

    // A level the worlds data does not name, and a root without worlds data, fail cleanly.
    EXPECT_EQ(run(" levels\\\\Other"), 3);
    fs::remove(root / "init" / "worlds.INIT.txt");
    EXPECT_EQ(run(""), 3);
    fs::remove_all(root);
}

TEST(viewer, bad_arguments_fail_cleanly)
{
    std::string sim = viewer();
    auto status = [](const std::string& cmd) {
        int s = std::system((cmd + " > /dev/null 2>&1").c_str());
        return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    };
    EXPECT_EQ(status(sim + " view"), 3);
    EXPECT_EQ(status(sim + " view " + level + " --frames x"), 3);
    EXPECT_EQ(status(sim + " view no_such_level.LEVL.txt --data " + data_root + " --frames 1"), 3);
    EXPECT_EQ(status(sim + " view " + level + " --data " + data_root + " --script /nonexistent --frames 1"),
              3);
}

}  // namespace
