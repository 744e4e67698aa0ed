// Parsing of the test driver's options and event scripts.
#include "app/driver_script.h"

#include "app/file_io.h"
#include "app/input_codes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char driver_options_help[] =
    "  --windowed             open a window instead of covering the screen\n"
    "  --size WxH             window size (default 1280x720 windowed)\n"
    "  --fixed-frame          the frame clock advances exactly 1/60 s per buffer swap\n"
    "  --frame-time SECONDS   the same with another frame time (0 < SECONDS <= 1)\n"
    "  --script FILE          feed the input events of FILE by frame number\n"
    "  --capture N[,N...]     write the frames numbered N as PNG files\n"
    "  --capture-prefix P     capture file names: P<frame>.png (default frame_)\n"
    "  --frames N             quit cleanly after N frames\n";

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string_view next_word(std::string_view& s)
{
    s = trim(s);
    size_t n = 0;
    while (n < s.size() && !std::isspace(static_cast<unsigned char>(s[n])))
        ++n;
    std::string_view w = s.substr(0, n);
    s.remove_prefix(n);
    return w;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool parse_int(std::string_view s, int64_t& v)
{
    if (s.empty())
        return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool parse_float(std::string_view s, float& v)
{
    if (s.empty() || s.size() > 64)
        return false;
    char buf[65];
    std::memcpy(buf, s.data(), s.size());
    buf[s.size()] = 0;
    char* end = nullptr;
    double d = std::strtod(buf, &end);
    if (end != buf + s.size() || !std::isfinite(d) || std::fabs(d) > 1e6)
        return false;
    v = float(d);
    return true;
}

struct key_name {
    const char* name;
    uint32_t vk;
};

constexpr key_name key_names[] = {
    {"backspace", vk_back}, {"tab", vk_tab},         {"enter", vk_return},    {"return", vk_return},
    {"shift", vk_shift},    {"ctrl", vk_control},    {"control", vk_control}, {"escape", vk_escape},
    {"esc", vk_escape},     {"space", vk_space},     {"pageup", vk_page_up},  {"pagedown", vk_page_down},
    {"end", vk_end},        {"home", vk_home},       {"left", vk_left},       {"up", vk_up},
    {"right", vk_right},    {"down", vk_down},       {"insert", vk_insert},   {"delete", vk_delete},
    {"equals", vk_equals},  {"=", vk_equals},        {"minus", vk_minus},     {"-", vk_minus},
    {"[", vk_open_bracket}, {"]", vk_close_bracket},
};

bool parse_event(std::string_view line, driver_event& e, std::string& why)
{
    std::string_view rest = line;
    std::string_view frame_word = next_word(rest);
    if (!parse_int(frame_word, e.frame) || e.frame < 0) {
        why = "expected a frame number, found '" + std::string(frame_word) + "'";
        return false;
    }
    std::string action = lower(next_word(rest));
    auto position = [&](bool required) {
        std::string_view xs = next_word(rest);
        if (xs.empty() && !required)
            return true;
        std::string_view ys = next_word(rest);
        if (!parse_float(xs, e.x) || !parse_float(ys, e.y)) {
            why = "expected a position X Y in view units";
            return false;
        }
        e.has_position = true;
        return true;
    };
    auto button = [&] {
        std::string b = lower(next_word(rest));
        if (b == "left")
            e.button = 1;
        else if (b == "right")
            e.button = 2;
        else {
            why = "expected 'left' or 'right', found '" + b + "'";
            return false;
        }
        return true;
    };
    auto key = [&] {
        std::string_view k = next_word(rest);
        e.key = driver_key_code(k);
        if (!e.key) {
            why = "unknown key '" + std::string(k) + "'";
            return false;
        }
        return true;
    };

    bool ok;
    if (action == "move") {
        e.action = driver_action::move;
        ok = position(true);
    } else if (action == "press" || action == "release" || action == "click" || action == "double") {
        e.action = action == "press"     ? driver_action::press
                   : action == "release" ? driver_action::release
                   : action == "click"   ? driver_action::click
                                         : driver_action::double_click;
        ok = button() && position(false);
    } else if (action == "key" || action == "keydown" || action == "keyup") {
        e.action = action == "key"       ? driver_action::key
                   : action == "keydown" ? driver_action::key_down
                                         : driver_action::key_up;
        ok = key();
    } else if (action == "text") {
        e.action = driver_action::text;
        std::string_view t = trim(rest);
        if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
            t = t.substr(1, t.size() - 2);
        e.text = std::string(t);
        rest = {};
        ok = !e.text.empty();
        if (!ok)
            why = "text needs something to type";
    } else if (action == "window") {
        e.action = driver_action::window;
        std::string what = lower(next_word(rest));
        ok = true;
        if (what == "unfocus")
            e.change = driver_window_change::focus_lost;
        else if (what == "focus")
            e.change = driver_window_change::focus_gained;
        else if (what == "minimize")
            e.change = driver_window_change::minimized;
        else if (what == "restore")
            e.change = driver_window_change::restored;
        else {
            why = "expected 'unfocus', 'focus', 'minimize' or 'restore', found '" + what + "'";
            ok = false;
        }
    } else if (action == "quit") {
        e.action = driver_action::quit;
        ok = true;
    } else {
        why = "unknown action '" + action + "'";
        return false;
    }
    if (ok && !trim(rest).empty()) {
        why = "unexpected '" + std::string(trim(rest)) + "'";
        return false;
    }
    return ok;
}

bool parse_frame_list(std::string_view s, std::vector<int64_t>& out)
{
    while (!s.empty()) {
        size_t comma = s.find(',');
        int64_t v;
        if (!parse_int(s.substr(0, comma), v) || v < 0)
            return false;
        out.push_back(v);
        s = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
    }
    return !out.empty();
}

}  // namespace

uint32_t driver_key_code(std::string_view name)
{
    if (name.empty())
        return 0;
    std::string n = lower(name);
    if (n.size() == 1 && ((n[0] >= 'a' && n[0] <= 'z') || (n[0] >= '0' && n[0] <= '9')))
        return uint32_t(std::toupper(static_cast<unsigned char>(n[0])));
    if (n.size() >= 2 && n.size() <= 3 && n[0] == 'f') {
        int64_t f;
        if (parse_int(std::string_view(n).substr(1), f) && f >= 1 && f <= 12)
            return vk_f1 + uint32_t(f - 1);
    }
    for (const key_name& k : key_names)
        if (n == k.name)
            return k.vk;
    int64_t v;
    if (n.size() > 2 && n[0] == '0' && n[1] == 'x') {
        auto r = std::from_chars(n.data() + 2, n.data() + n.size(), v, 16);
        if (r.ec == std::errc() && r.ptr == n.data() + n.size() && v > 0 && v < 256)
            return uint32_t(v);
        return 0;
    }
    if (parse_int(n, v) && v > 0 && v < 256)
        return uint32_t(v);
    return 0;
}

bool driver_parse_script(std::string_view text, driver_script& out, std::string& error)
{
    out.events.clear();
    int line_number = 0;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++line_number;
        size_t hash = line.find('#');
        // A '#' inside a quoted text is part of it.
        if (hash != std::string_view::npos && line.find('"') > hash)
            line = line.substr(0, hash);
        line = trim(line);
        if (line.empty())
            continue;
        driver_event e;
        std::string why;
        if (!parse_event(line, e, why)) {
            error = "line " + std::to_string(line_number) + ": " + why;
            out.events.clear();
            return false;
        }
        out.events.push_back(std::move(e));
    }
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const driver_event& a, const driver_event& b) { return a.frame < b.frame; });
    return true;
}

bool driver_load_script(const char* path, driver_script& out, std::string& error)
{
    std::string text;
    if (!file_read_all(path, text, driver_script_limit)) {
        error = std::string("cannot open or read ") + path + " (a script has at most " +
                std::to_string(driver_script_limit >> 20) + " MiB)";
        return false;
    }
    if (!driver_parse_script(text, out, error)) {
        error = std::string(path) + ": " + error;
        return false;
    }
    return true;
}

bool driver_parse_options(int& argc, char** argv, driver_options& out, std::string& error)
{
    int kept = argc > 0 ? 1 : 0;
    for (int i = kept; i < argc; ++i) {
        std::string_view a = argv[i];
        auto value = [&](std::string_view& v) {
            if (i + 1 >= argc) {
                error = std::string(a) + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string_view v;
        if (a == "--windowed") {
            out.windowed = true;
        } else if (a == "--fixed-frame") {
            out.fixed_frame = true;
        } else if (a == "--frame-time") {
            float t;
            if (!value(v) || !parse_float(v, t) || !(t > 0.0f && t <= 1.0f)) {
                error = "--frame-time needs seconds between 0 and 1";
                return false;
            }
            out.fixed_frame = true;
            out.frame_time = double(t);
        } else if (a == "--script") {
            if (!value(v))
                return false;
            out.script_path = std::string(v);
        } else if (a == "--capture") {
            if (!value(v) || !parse_frame_list(v, out.capture_frames)) {
                error = "--capture needs frame numbers such as 10,20";
                return false;
            }
        } else if (a == "--capture-prefix") {
            if (!value(v))
                return false;
            out.capture_prefix = std::string(v);
        } else if (a == "--frames") {
            if (!value(v) || !parse_int(v, out.frame_limit) || out.frame_limit < 0) {
                error = "--frames needs a frame count";
                return false;
            }
        } else if (a == "--size") {
            int64_t w, h;
            size_t x = value(v) ? v.find('x') : std::string_view::npos;
            if (x == std::string_view::npos || !parse_int(v.substr(0, x), w) ||
                !parse_int(v.substr(x + 1), h) || w < 64 || h < 64 || w > 16384 || h > 16384) {
                error = "--size needs WIDTHxHEIGHT, e.g. 1280x720";
                return false;
            }
            out.width = int32_t(w);
            out.height = int32_t(h);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return true;
}
