// The difficulty figures, the rating they suggest, and the report's table and detail.
#include "tools/sim/sim_difficulty.h"

#include <algorithm>

sim_tally sim_difficulty::wrong_total() const
{
    sim_tally t;
    for (const sim_wrong_cut& w : wrong) {
        t.tried += w.spoiled.tried;
        t.hits += w.spoiled.hits;
    }
    return t;
}

int32_t sim_difficulty::narrowest() const
{
    int32_t n = 0;
    for (const sim_cut_window& w : windows)
        if (!w.open && (n == 0 || w.steps() < n))
            n = w.steps();
    return n;
}

int32_t sim_rate_difficulty(const sim_difficulty& d)
{
    // Thinking: each further cut is one more decision of what and in which order.
    double r = 1.0 + std::min(d.cuts - 1, 3);
    r += d.balls >= 3 ? 1.5 : d.balls == 2 ? 1.0 : 0.0;
    // Timing, as a player meets it (each cut timed after the one before): the narrowest
    // window decides, every further window under half a second adds half a star, at most one.
    double tightest = 0.0, more = 0.0;
    for (const sim_cut_window& w : d.windows) {
        int32_t steps = std::max(w.steps(), w.follow_steps);
        if (w.open || w.follow_open)
            continue;
        double s = double(steps) / steps_per_second;
        double t = s < 0.25 ? 3.0 : s < 0.5 ? 2.0 : s < 1.0 ? 1.0 : s < 2.0 ? 0.5 : 0.0;
        if (t >= 2.0 && tightest >= 2.0)
            more += 0.5;
        tightest = std::max(tightest, t);
    }
    r += tightest + std::min(more, 1.0);
    // A wrong cut that ruins the level asks the player to think before cutting.
    sim_tally wrong = d.wrong_total();
    if (wrong.tried > 0 && wrong.hits * 2 > wrong.tried)
        r += 0.5;
    // Luck: a level that blind schedules solve often is easier than its solution looks.
    if (d.singles.tried > 0 && d.singles.hits * 2 > d.singles.tried)
        r -= 1.0;
    if (d.cuts >= 2 && d.pairs.tried > 0 && d.pairs.hits * 10 > d.pairs.tried)
        r -= 1.0;
    int32_t rating = int32_t(r + 0.5);
    return std::clamp(rating, 1, 8);
}

namespace {

std::string seconds_text(int32_t steps)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", double(steps) / steps_per_second);
    return buf;
}

std::string tally_text(const sim_tally& t)
{
    return t.tried ? std::to_string(t.hits) + "/" + std::to_string(t.tried) : "-";
}

}  // namespace

void sim_print_difficulty_header(std::FILE* out)
{
    std::fprintf(out, "%-24s %5s %5s %4s %5s %6s  %-22s %9s %9s %11s\n", "level", "given", "meas", "cuts",
                 "balls", "solved", "windows (s)", "wrong", "1-cut", "2-cut");
}

void sim_print_difficulty_row(std::FILE* out, const std::string& name, int32_t given, const sim_difficulty& d)
{
    std::string windows;
    for (const sim_cut_window& w : d.windows)
        windows += (windows.empty() ? "" : " ") + (w.open ? std::string("any") : seconds_text(w.steps()));
    if (windows.empty())
        windows = "-";
    int32_t rating = sim_rate_difficulty(d);
    std::string given_text = given > 0 ? std::to_string(given) : "-";
    // A rating three half stars away from the measured one deserves a second look.
    const char* flag = given > 0 && (given - rating >= 3 || rating - given >= 3) ? " !" : "";
    std::fprintf(out, "%-24s %5s %5d %4d %5d %6s  %-22s %9s %9s %11s%s\n", name.c_str(), given_text.c_str(),
                 rating, d.cuts, d.balls, seconds_text(d.solved_step).c_str(), windows.c_str(),
                 tally_text(d.wrong_total()).c_str(), tally_text(d.singles).c_str(),
                 tally_text(d.pairs).c_str(), flag);
}

void sim_print_difficulty_detail(std::FILE* out, const sim_difficulty& d)
{
    std::fprintf(out,
                 "%d balls, %d pots, %d cuttable constraints; the solution cuts %d times and solves at step "
                 "%d (%s s)\n",
                 d.balls, d.pots, d.cuttable, d.cuts, d.solved_step, seconds_text(d.solved_step).c_str());
    for (const sim_cut_window& w : d.windows)
        std::fprintf(out,
                     "  cut %d at step %d: solves from step %d to %d%s (%s s%s; %s s%s with the later cuts "
                     "following)\n",
                     w.cut.index, w.cut.step, w.first, w.last,
                     w.misses ? (", missing " + std::to_string(w.misses) + " lone steps").c_str() : "",
                     seconds_text(w.steps()).c_str(), w.open ? " or more" : "",
                     seconds_text(w.follow_steps).c_str(), w.follow_open ? " or more" : "");
    for (const sim_wrong_cut& w : d.wrong)
        std::fprintf(out, "  cutting %d as well spoils the solution at %d of %d times\n", w.index,
                     w.spoiled.hits, w.spoiled.tried);
    std::fprintf(out, "  blind search before step %d: %s one-cut and %s two-cut schedules solve it\n",
                 d.horizon, tally_text(d.singles).c_str(), tally_text(d.pairs).c_str());
    std::fprintf(out, "  measured difficulty: %d half stars\n", sim_rate_difficulty(d));
}
