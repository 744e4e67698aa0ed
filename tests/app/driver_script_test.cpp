// The test driver's script format and command-line options.
#include "app/driver_script.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(driver_script, parses_every_action_and_orders_by_frame)
{
    driver_script s;
    std::string error;
    ASSERT_TRUE(driver_parse_script("# comment\n"
                                    "\n"
                                    "5 move 12.5 -3\n"
                                    "2 press left\n"
                                    "2 release Right 1 2   # trailing comment\n"
                                    "3 click left 32 32\n"
                                    "3 double right\n"
                                    "4 key space\n"
                                    "4 keydown 0x41\n"
                                    "4 keyup f12\n"
                                    "6 text \"a # b\"\n"
                                    "7 quit\n",
                                    s, error))
        << error;
    ASSERT_EQ(s.events.size(), 10u);
    std::vector<int64_t> frames;
    for (const auto& e : s.events)
        frames.push_back(e.frame);
    EXPECT_EQ(frames, (std::vector<int64_t>{2, 2, 3, 3, 4, 4, 4, 5, 6, 7}));
    EXPECT_EQ(s.events[0].action, driver_action::press);
    EXPECT_FALSE(s.events[0].has_position);
    EXPECT_EQ(s.events[1].action, driver_action::release);
    EXPECT_EQ(s.events[1].button, 2);
    EXPECT_TRUE(s.events[1].has_position);
    EXPECT_EQ(s.events[1].y, 2.0f);
    EXPECT_EQ(s.events[3].action, driver_action::double_click);
    EXPECT_EQ(s.events[4].key, 0x20u);
    EXPECT_EQ(s.events[5].key, 0x41u);
    EXPECT_EQ(s.events[6].action, driver_action::key_up);
    EXPECT_EQ(s.events[6].key, 0x7Bu);
    EXPECT_EQ(s.events[7].x, 12.5f);
    EXPECT_EQ(s.events[8].text, "a # b");
    EXPECT_EQ(s.events[9].action, driver_action::quit);
}

TEST(driver_script, bad_lines_name_the_line_and_leave_nothing)
{
    const char* bad[] = {
        "x move 1 2",
        "-1 move 1 2",
        "1 move 1",
        "1 move a b",
        "1 press middle",
        "1 key nokey",
        "1 key 0x100",
        "1 fly",
        "1 quit now",
        "1 text",
        "1 move 1e30 0",
        "1 move nan 0",
        "99999999999999999999 quit",
    };
    for (const char* line : bad) {
        driver_script s;
        s.events.resize(3);
        std::string error;
        std::string text = std::string("0 quit\n") + line + "\n";
        EXPECT_FALSE(driver_parse_script(text, s, error)) << line;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
        EXPECT_TRUE(s.events.empty());
    }
    driver_script s;
    std::string error;
    EXPECT_FALSE(driver_load_script("/nonexistent/script.txt", s, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    // An endless file is refused at the size limit, not read until memory runs out.
    EXPECT_FALSE(driver_load_script("/dev/zero", s, error));
    EXPECT_NE(error.find("/dev/zero"), std::string::npos);
}

TEST(driver_script, key_names)
{
    EXPECT_EQ(driver_key_code("a"), 0x41u);
    EXPECT_EQ(driver_key_code("Z"), 0x5Au);
    EXPECT_EQ(driver_key_code("7"), 0x37u);
    EXPECT_EQ(driver_key_code("Esc"), 0x1Bu);
    EXPECT_EQ(driver_key_code("enter"), 0x0Du);
    EXPECT_EQ(driver_key_code("f1"), 0x70u);
    EXPECT_EQ(driver_key_code("f13"), 0u);
    EXPECT_EQ(driver_key_code("13"), 13u);
    EXPECT_EQ(driver_key_code("0xbb"), 0xBBu);
    EXPECT_EQ(driver_key_code(""), 0u);
}

struct args {
    std::vector<std::string> store;
    std::vector<char*> ptrs;
    int argc;
    explicit args(std::vector<std::string> a) : store(std::move(a))
    {
        for (auto& s : store)
            ptrs.push_back(s.data());
        argc = int(ptrs.size());
    }
    std::vector<std::string> rest() const { return {ptrs.begin(), ptrs.begin() + argc}; }
};

TEST(driver_script, options_are_taken_out_and_the_rest_kept_in_order)
{
    args a({"tamble", "editor", "--windowed", "--fixed-frame", "--script", "s.txt", "--capture", "3,10",
            "--capture-prefix", "out/x_", "--frames", "20", "--size", "800x600", "log"});
    driver_options o;
    std::string error;
    ASSERT_TRUE(driver_parse_options(a.argc, a.ptrs.data(), o, error)) << error;
    EXPECT_EQ(a.rest(), (std::vector<std::string>{"tamble", "editor", "log"}));
    EXPECT_TRUE(o.windowed);
    EXPECT_TRUE(o.fixed_frame);
    EXPECT_TRUE(o.driven());
    EXPECT_EQ(o.frame_time, 1.0 / 60.0);
    EXPECT_EQ(o.script_path, "s.txt");
    EXPECT_EQ(o.capture_frames, (std::vector<int64_t>{3, 10}));
    EXPECT_EQ(o.capture_prefix, "out/x_");
    EXPECT_EQ(o.frame_limit, 20);
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);

    args plain({"tamble", "--windowed"});
    driver_options p;
    ASSERT_TRUE(driver_parse_options(plain.argc, plain.ptrs.data(), p, error));
    EXPECT_FALSE(p.driven());
}

TEST(driver_script, bad_option_values_are_refused)
{
    const std::vector<std::vector<std::string>> bad = {
        {"t", "--frames"},          {"t", "--frames", "-1"},  {"t", "--frames", "x"},
        {"t", "--capture", "1,,2"}, {"t", "--capture", "a"},  {"t", "--frame-time", "0"},
        {"t", "--frame-time", "5"}, {"t", "--size", "10x10"}, {"t", "--size", "800"},
        {"t", "--script"},
    };
    for (const auto& v : bad) {
        args a(v);
        driver_options o;
        std::string error;
        EXPECT_FALSE(driver_parse_options(a.argc, a.ptrs.data(), o, error)) << v[1];
        EXPECT_FALSE(error.empty()) << v[1];
    }
}

}  // namespace
