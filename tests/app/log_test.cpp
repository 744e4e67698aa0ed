// Log entries: formatting, bounds, channel masks, sinks and the game's muting rule.
#include "app/log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class logging : public ::testing::Test {
protected:
    void SetUp() override
    {
        log_reset_channels();
        for (uint32_t s = 0; s < log_sink_count; ++s)
            log_sink_clear(s);
        captured = std::tmpfile();
        ASSERT_NE(captured, nullptr);
        previous = log_redirect_sink0(captured);
    }
    void TearDown() override
    {
        log_redirect_sink0(previous);
        std::fclose(captured);
        log_reset_channels();
    }
    std::string sink0_text()
    {
        std::fflush(captured);
        std::rewind(captured);
        std::string out;
        for (int c; (c = std::fgetc(captured)) != EOF;)
            out += char(c);
        return out;
    }
    std::FILE* captured = nullptr;
    std::FILE* previous = nullptr;
};

std::string hex(uint32_t v, int32_t w)
{
    log_line l(3);
    l << logcon_hex(v, w);
    return std::string(l.text());
}

TEST_F(logging, integers_are_followed_by_a_blank_strings_are_unchanged)
{
    log_line l(0);
    l << 7 << "x";
    EXPECT_EQ(l.text(), "7 x");
    l << -12 << std::string(" y") << static_cast<const char*>(nullptr) << 4000000000u;
    EXPECT_EQ(l.text(), "7 x-12  y4000000000 ");
}

TEST_F(logging, hex_is_zero_padded_to_the_width_and_ends_with_a_blank)
{
    EXPECT_EQ(hex(0x1A, 4), "001A ");
    EXPECT_EQ(hex(0, 0), " ");
    EXPECT_EQ(hex(0, 3), "000 ");
    EXPECT_EQ(hex(0xDEADBEEF, 2), "DEADBEEF ");
    EXPECT_EQ(hex(0xFFFFFFFF, 8), "FFFFFFFF ");
    EXPECT_EQ(hex(5, -3), "5 ");
}

TEST_F(logging, appended_text_stays_within_the_buffer)
{
    log_line l(3);
    std::string big(5000, 'a');
    l << big << 123 << logcon_hex(1, 100000);
    EXPECT_EQ(l.text().size(), log_entry_capacity - 1);
    EXPECT_EQ(l.text(), std::string(log_entry_capacity - 1, 'a'));

    log_line h(3);
    h << std::string(log_entry_capacity - 4, 'b') << logcon_hex(0xABCD, 0);
    EXPECT_EQ(h.text().substr(log_entry_capacity - 4), "ABC");
}

TEST_F(logging, default_masks_and_channel_two_reaches_all_three_sinks)
{
    EXPECT_EQ(log_channel_mask(0), 3u);
    EXPECT_EQ(log_channel_mask(1), 3u);
    EXPECT_EQ(log_channel_mask(2), 7u);
    EXPECT_EQ(log_channel_mask(3), 3u);
    EXPECT_EQ(log_channel_mask(4), 0u);

    log_line(2) << "hello " << 5;
    EXPECT_EQ(sink0_text(), "hello 5 \n");
    EXPECT_EQ(log_sink_received(0), 1u);
    EXPECT_EQ(log_sink_entries(1), std::vector<std::string>{"hello 5 "});
    EXPECT_EQ(log_sink_entries(2), std::vector<std::string>{"hello 5 "});
}

TEST_F(logging, game_start_up_without_log_mutes_sink_zero_on_channels_0_to_2)
{
    log_mute_for_game("tamble.exe");
    EXPECT_EQ(log_channel_mask(0), 2u);
    EXPECT_EQ(log_channel_mask(1), 2u);
    EXPECT_EQ(log_channel_mask(2), 6u);
    EXPECT_EQ(log_channel_mask(3), 3u);

    log_line(2) << "quiet";
    log_line(1) << "also quiet";
    EXPECT_EQ(sink0_text(), "");
    EXPECT_EQ(log_sink_entries(2), std::vector<std::string>{"quiet"});
    EXPECT_EQ(log_sink_entries(1), (std::vector<std::string>{"quiet", "also quiet"}));

    log_line(3) << "loud";
    EXPECT_EQ(sink0_text(), "loud\n");
}

TEST_F(logging, game_start_up_with_log_keeps_the_defaults)
{
    log_mute_for_game("tamble log");
    EXPECT_EQ(log_channel_mask(0), 3u);
    EXPECT_EQ(log_channel_mask(2), 7u);
}

TEST_F(logging, sink_zero_hands_on_to_sink_one_once)
{
    log_set_channel_flag(3, 1, false);
    EXPECT_EQ(log_channel_mask(3), 1u);
    log_line(3) << "a";
    log_line(0) << "b";
    EXPECT_EQ(log_sink_entries(1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(log_sink_received(1), 2u);
    EXPECT_EQ(log_sink_received(2), 0u);
}

TEST_F(logging, flags_out_of_range_are_ignored_and_masks_can_be_zero)
{
    log_set_channel_flag(9, 0, true);
    log_set_channel_flag(0, 40, true);
    EXPECT_EQ(log_channel_mask(0), 3u);
    log_set_channel_flag(0, 0, false);
    log_set_channel_flag(0, 1, false);
    log_line(0) << "nowhere";
    log_line(7) << "bad channel";
    EXPECT_EQ(sink0_text(), "");
    EXPECT_EQ(log_sink_received(1), 0u);
}

TEST_F(logging, explicit_close_dispatches_once_and_later_appends_are_dropped)
{
    {
        log_line l(2);
        l << "one";
        l.close();
        l << "two";
        l.close();
    }
    EXPECT_EQ(log_sink_entries(2), std::vector<std::string>{"one"});

    log_entry raw;
    log_append(raw, "not open");
    log_close(raw);
    log_open(raw, 2);
    log_append(raw, 42LL);
    log_close(raw);
    EXPECT_EQ(log_sink_entries(2), (std::vector<std::string>{"one", "42 "}));
}

TEST_F(logging, memory_sinks_keep_only_the_most_recent_entries)
{
    for (size_t i = 0; i < log_sink_history + 10; ++i)
        log_line(2) << i;
    auto recent = log_sink_entries(2);
    ASSERT_EQ(recent.size(), log_sink_history);
    EXPECT_EQ(recent.front(), "10 ");
    EXPECT_EQ(recent.back(), std::to_string(log_sink_history + 9) + " ");
    EXPECT_EQ(log_sink_received(2), log_sink_history + 10);
}

}  // namespace
