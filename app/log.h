// Log channels and entries: an entry is opened on one of four channels, values are
// appended to its text, and on close the text goes to the sinks the channel's mask selects.
// Sink 0 writes to stderr (and hands the text on to sink 1); sinks 1 and 2 keep the most
// recent entries in memory for tests and the on-screen console.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The four channels and what each carries. The game run mode mutes the first three on
// stderr unless its command line asks for the log; log_always reaches stderr in every mode.
enum log_channel : uint32_t {
    log_info = 0,     // progress: a level loading, a level saved
    log_problem = 1,  // missing resources, refused or damaged data
    log_detail = 2,   // the on-screen console's channel (its mask also selects sink 2)
    log_always = 3,   // developer messages that are never muted
};
constexpr uint32_t log_channel_count = 4;
constexpr uint32_t log_sink_count = 3;
// Size of an entry's text buffer; the text itself holds at most one character less.
constexpr size_t log_entry_capacity = 4096;
// How many recent entries the memory sinks 1 and 2 keep.
constexpr size_t log_sink_history = 256;

// A value that knows how to format itself into an entry.
class log_generictype {
public:
    virtual ~log_generictype() = default;
    // Writes at most `room` characters at `at` and returns how many it wrote.
    virtual size_t format(char* at, size_t room) const = 0;
};

// A hexadecimal number, zero-padded to at least `width` digits, followed by one blank.
class logcon_hex : public log_generictype {
public:
    uint32_t value = 0;
    int32_t width = 0;

    logcon_hex(uint32_t v, int32_t w = 0) : value(v), width(w) {}
    size_t format(char* at, size_t room) const override;
};

// The raw entry. Entries live on the stack of the code that logs.
struct log_entry {
    uint32_t channel = 0;
    size_t length = 0;
    bool open = false;
    char text[log_entry_capacity] = {};
};

// Sets or clears bit `bit` of a channel's sink mask; out-of-range channels or bits are ignored.
void log_set_channel_flag(uint32_t channel, uint32_t bit, bool on);
// The channel's current mask (0 for an out-of-range channel).
uint32_t log_channel_mask(uint32_t channel);
// Puts every mask back to its default (3, 3, 7, 3).
void log_reset_channels();
// The game run mode's rule: unless the command line contains "log", channels 0 to 2
// stop reaching sink 0.
void log_mute_for_game(std::string_view command_line);

void log_open(log_entry& e, uint32_t channel);
void log_append(log_entry& e, const char* s);
void log_append(log_entry& e, std::string_view s);
// Appends the decimal value and one blank.
void log_append(log_entry& e, long long v);
void log_append(log_entry& e, unsigned long long v);
void log_append(log_entry& e, const log_generictype& v);
// Dispatches the text to the sinks and ends the entry; closing twice does nothing.
void log_close(log_entry& e);

// Sink 0's stream (stderr unless redirected); returns the previous one. Null silences it.
std::FILE* log_redirect_sink0(std::FILE* out);
// The most recent entries a memory sink (1 or 2) received, oldest first.
std::vector<std::string> log_sink_entries(uint32_t sink);
// How many entries a sink has received since start-up or its last clear.
uint64_t log_sink_received(uint32_t sink);
void log_sink_clear(uint32_t sink);

// The convenient front end: opens on construction, closes on destruction or close().
//   log_line(log_problem) << "pak_system::get() : '" << name << "' not found!";
class log_line {
public:
    explicit log_line(uint32_t channel) { log_open(entry, channel); }
    ~log_line() { log_close(entry); }
    log_line(const log_line&) = delete;
    log_line& operator=(const log_line&) = delete;

    log_line& operator<<(const char* s)
    {
        log_append(entry, s);
        return *this;
    }
    log_line& operator<<(std::string_view s)
    {
        log_append(entry, s);
        return *this;
    }
    log_line& operator<<(const std::string& s)
    {
        log_append(entry, std::string_view(s));
        return *this;
    }
    log_line& operator<<(char c)
    {
        log_append(entry, std::string_view(&c, 1));
        return *this;
    }
    log_line& operator<<(const log_generictype& v)
    {
        log_append(entry, v);
        return *this;
    }
    template <std::integral T>
    log_line& operator<<(T v)
    {
        if constexpr (std::is_signed_v<T>)
            log_append(entry, static_cast<long long>(v));
        else
            log_append(entry, static_cast<unsigned long long>(v));
        return *this;
    }

    void close() { log_close(entry); }
    std::string_view text() const { return {entry.text, entry.length}; }

private:
    log_entry entry;
};
