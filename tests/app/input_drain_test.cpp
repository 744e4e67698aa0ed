// The input drain: the order every screen and editor sees its events in, dropped queues,
// and a stop that leaves the rest queued.
#include "app/input_codes.h"
#include "app/input_drain.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// The window's three queues and pop functions, without a window.
struct fake_queues {
    std::deque<std::pair<uint32_t, uint32_t>> keys;
    std::deque<uint32_t> chars;
    std::deque<std::pair<uint32_t, float>> mice;

    bool pop_key_event(uint32_t& key, uint32_t& down)
    {
        if (keys.empty())
            return false;
        key = keys.front().first;
        down = keys.front().second;
        keys.pop_front();
        return true;
    }
    bool pop_char_event(uint32_t& c)
    {
        if (chars.empty())
            return false;
        c = chars.front();
        chars.pop_front();
        return true;
    }
    bool pop_mouse_event(uint32_t& flags, float& x, float& y)
    {
        if (mice.empty())
            return false;
        flags = mice.front().first;
        x = mice.front().second;
        y = -x;
        mice.pop_front();
        return true;
    }
};

input_sink_t recording_sink(std::vector<std::string>& seen)
{
    input_sink_t sink;
    sink.key = [&](uint32_t k, bool down) {
        seen.push_back("key " + std::to_string(k) + (down ? " down" : " up"));
    };
    sink.character = [&](uint32_t c) { seen.push_back("char " + std::to_string(c)); };
    sink.mouse = [&](uint32_t f, float x, float y) {
        seen.push_back("mouse " + std::to_string(f) + " at " + std::to_string(int(x)) + "," +
                       std::to_string(int(y)));
    };
    return sink;
}

TEST(input_drain, keys_then_characters_then_mouse_each_in_arrival_order)
{
    fake_queues q;
    q.mice = {{left_press, 3.0f}, {left_release, 4.0f}};
    q.chars = {'a', 'b'};
    q.keys = {{vk_shift, 1}, {'A', 1}, {vk_shift, 0}};
    std::vector<std::string> seen;
    drain_input(q, recording_sink(seen));
    EXPECT_EQ(seen, (std::vector<std::string>{"key 16 down", "key 65 down", "key 16 up", "char 97", "char 98",
                                              "mouse 1 at 3,-3", "mouse 64 at 4,-4"}));
    EXPECT_TRUE(q.keys.empty() && q.chars.empty() && q.mice.empty());

    // A queue without a handler is emptied all the same.
    q.keys = {{'B', 1}};
    q.chars = {'c'};
    q.mice = {{right_press, 1.0f}};
    seen.clear();
    input_sink_t mouse_only = recording_sink(seen);
    mouse_only.key = nullptr;
    mouse_only.character = nullptr;
    drain_input(q, mouse_only);
    EXPECT_EQ(seen, (std::vector<std::string>{"mouse 2 at 1,-1"}));
    EXPECT_TRUE(q.keys.empty() && q.chars.empty());
}

TEST(input_drain, a_stop_leaves_the_events_after_it_queued)
{
    fake_queues q;
    q.keys = {{'X', 1}};
    q.mice = {{left_press, 1.0f}, {left_press, 2.0f}, {left_press, 3.0f}};
    std::vector<std::string> seen;
    input_sink_t sink = recording_sink(seen);
    bool leaving = false;
    sink.mouse = [&](uint32_t, float x, float) {
        seen.push_back("press " + std::to_string(int(x)));
        leaving = x >= 2.0f;
    };
    sink.stop = [&] { return leaving; };
    drain_input(q, sink);
    EXPECT_EQ(seen, (std::vector<std::string>{"key 88 down", "press 1", "press 2"}));
    ASSERT_EQ(q.mice.size(), 1u);
    EXPECT_EQ(q.mice.front().second, 3.0f);
    // Still stopped, the next drain takes nothing, keys included.
    q.keys = {{'Y', 1}};
    drain_input(q, sink);
    EXPECT_EQ(q.keys.size(), 1u);
    EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
