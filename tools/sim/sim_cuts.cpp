// Parsing of cut options and solution files.
#include "tools/sim/sim_cuts.h"

#include "app/file_io.h"

#include <algorithm>
#include <cstdio>

namespace {

// A non-negative decimal number that fits in int32; no sign, no blanks.
bool parse_count(std::string_view s, int32_t& out)
{
    if (s.empty() || s.size() > 10)
        return false;
    int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v > INT32_MAX)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

const std::string_view level_suffix = ".LEVL.txt";

// The level path without ".LEVL.txt"; other paths lose their last 9 characters all the
// same, as the level saver does.
std::string level_stem(const std::string& level_path)
{
    if (level_path.size() < level_suffix.size())
        return level_path;
    return level_path.substr(0, level_path.size() - level_suffix.size());
}

}  // namespace

bool sim_parse_count(std::string_view text, int32_t& out)
{
    return parse_count(text, out);
}

bool sim_parse_cut(std::string_view text, sim_cut& out)
{
    size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    sim_cut c;
    if (!parse_count(text.substr(0, colon), c.step) || !parse_count(text.substr(colon + 1), c.index))
        return false;
    out = c;
    return true;
}

bool sim_parse_solution(std::string_view text, sim_solution& out, std::string& error)
{
    sim_solution s;
    int line_no = 0;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = trim(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++line_no;
        if (line.empty() || line.front() == '#')
            continue;
        sim_cut c;
        if (sim_parse_cut(line, c)) {
            s.cuts.push_back(c);
        } else if (line == "unattended") {
            s.unattended = true;
        } else if (line.substr(0, 8) == "seconds ") {
            int32_t n = 0;
            if (!parse_count(trim(line.substr(8)), n) || n == 0 || n > 3600) {
                error = "line " + std::to_string(line_no) + ": seconds must be 1 to 3600";
                return false;
            }
            s.seconds = static_cast<float>(n);
        } else {
            error = "line " + std::to_string(line_no) +
                    ": expected STEP:INDEX, 'seconds N' or 'unattended', got '" + std::string(line) + "'";
            return false;
        }
    }
    if (s.unattended && !s.cuts.empty()) {
        error = "an unattended level takes no cuts";
        return false;
    }
    sim_sort_cuts(s.cuts);
    out = std::move(s);
    return true;
}

bool sim_read_solution(const std::string& path, sim_solution& out, std::string& error)
{
    std::string text;
    if (!file_read_all(path, text, sim_solution_file_limit)) {
        error = "cannot open or read " + path;
        return false;
    }
    if (!sim_parse_solution(text, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

void sim_sort_cuts(std::vector<sim_cut>& cuts)
{
    std::stable_sort(cuts.begin(), cuts.end(),
                     [](const sim_cut& a, const sim_cut& b) { return a.step < b.step; });
}

std::string sim_solution_path(const std::string& level_path)
{
    return level_stem(level_path) + ".solution";
}
