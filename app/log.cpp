// Log channels, entry formatting and the three sinks.
#include "app/log.h"

#include <array>
#include <charconv>
#include <cstring>
#include <deque>
#include <mutex>

namespace {

constexpr std::array<uint32_t, log_channel_count> default_masks = {3, 3, 7, 3};

struct memory_sink {
    std::deque<std::string> recent;
    uint64_t received = 0;
};

// Entries may be closed from the mixer thread as well, so the sinks and masks share a lock.
struct log_state {
    std::mutex lock;
    std::array<uint32_t, log_channel_count> masks = default_masks;
    std::FILE* sink0 = stderr;
    uint64_t sink0_received = 0;
    memory_sink memory[log_sink_count];
};

log_state& state()
{
    static log_state s;
    return s;
}

// Appends as much of `s` as fits; the buffer always keeps room for the terminator.
void append_bounded(log_entry& e, const char* s, size_t n)
{
    if (!e.open)
        return;
    size_t room = log_entry_capacity - 1 - e.length;
    if (n > room)
        n = room;
    std::memcpy(e.text + e.length, s, n);
    e.length += n;
    e.text[e.length] = 0;
}

void to_memory_sink(log_state& s, uint32_t sink, std::string_view text)
{
    memory_sink& m = s.memory[sink];
    m.recent.emplace_back(text);
    if (m.recent.size() > log_sink_history)
        m.recent.pop_front();
    ++m.received;
}

}  // namespace

size_t logcon_hex::format(char* at, size_t room) const
{
    char digits[8];
    int n = 0;
    for (uint32_t v = value; v != 0; v >>= 4)
        digits[n++] = "0123456789ABCDEF"[v & 15];
    size_t pad = width > n ? size_t(width - n) : 0;
    size_t written = 0;
    auto put = [&](char c) {
        if (written < room)
            at[written++] = c;
    };
    for (size_t i = 0; i < pad && written < room; ++i)
        put('0');
    for (int i = n - 1; i >= 0; --i)
        put(digits[i]);
    put(' ');
    return written;
}

void log_set_channel_flag(uint32_t channel, uint32_t bit, bool on)
{
    if (channel >= log_channel_count || bit >= 32)
        return;
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (on)
        s.masks[channel] |= 1u << bit;
    else
        s.masks[channel] &= ~(1u << bit);
}

uint32_t log_channel_mask(uint32_t channel)
{
    if (channel >= log_channel_count)
        return 0;
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.masks[channel];
}

void log_reset_channels()
{
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.masks = default_masks;
}

void log_mute_for_game(std::string_view command_line)
{
    if (command_line.find("log") != std::string_view::npos)
        return;
    for (uint32_t channel = 0; channel < 3; ++channel)
        log_set_channel_flag(channel, 0, false);
}

void log_open(log_entry& e, uint32_t channel)
{
    e.channel = channel;
    e.length = 0;
    e.text[0] = 0;
    e.open = true;
}

void log_append(log_entry& e, const char* s)
{
    if (s)
        append_bounded(e, s, std::strlen(s));
}

void log_append(log_entry& e, std::string_view s)
{
    append_bounded(e, s.data(), s.size());
}

void log_append(log_entry& e, long long v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf - 1, v);
    *r.ptr++ = ' ';
    append_bounded(e, buf, size_t(r.ptr - buf));
}

void log_append(log_entry& e, unsigned long long v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf - 1, v);
    *r.ptr++ = ' ';
    append_bounded(e, buf, size_t(r.ptr - buf));
}

void log_append(log_entry& e, const log_generictype& v)
{
    if (!e.open)
        return;
    e.length += v.format(e.text + e.length, log_entry_capacity - 1 - e.length);
    e.text[e.length] = 0;
}

void log_close(log_entry& e)
{
    if (!e.open)
        return;
    e.open = false;
    if (e.channel >= log_channel_count)
        return;
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    uint32_t mask = s.masks[e.channel];
    std::string_view text(e.text, e.length);
    if (mask & 1) {
        ++s.sink0_received;
        if (s.sink0) {
            std::fwrite(e.text, 1, e.length, s.sink0);
            std::fputc('\n', s.sink0);
            std::fflush(s.sink0);
        }
        // Sink 0 hands its text on to sink 1; an entry whose mask also selects sink 1
        // reaches it once, not twice.
        if (!(mask & 2))
            to_memory_sink(s, 1, text);
    }
    if (mask & 2)
        to_memory_sink(s, 1, text);
    if (mask & 4)
        to_memory_sink(s, 2, text);
}

std::FILE* log_redirect_sink0(std::FILE* out)
{
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    std::FILE* old = s.sink0;
    s.sink0 = out;
    return old;
}

std::vector<std::string> log_sink_entries(uint32_t sink)
{
    if (sink == 0 || sink >= log_sink_count)
        return {};
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    const auto& recent = s.memory[sink].recent;
    return {recent.begin(), recent.end()};
}

uint64_t log_sink_received(uint32_t sink)
{
    if (sink >= log_sink_count)
        return 0;
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    return sink == 0 ? s.sink0_received : s.memory[sink].received;
}

void log_sink_clear(uint32_t sink)
{
    if (sink >= log_sink_count)
        return;
    log_state& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    if (sink == 0) {
        s.sink0_received = 0;
        return;
    }
    s.memory[sink].recent.clear();
    s.memory[sink].received = 0;
}
