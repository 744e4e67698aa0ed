// The difficulty report: solving windows whose edges are real, blind searches that count
// what solves, and a rating that follows what makes a level hard.
#include "tools/sim/sim_difficulty.h"
#include "tools/sim/sim_kept_run.h"
#include "tools/sim/sim_run.h"

#include "app/log.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

class difficulty_report : public ::testing::Test {
protected:
    void SetUp() override
    {
        log_redirect_sink0(nullptr);
        sim_source_options o;
        o.data_roots.push_back(std::string(TAMBLE_SOURCE_DIR) + "/base");
        std::string error;
        ASSERT_TRUE(ctx.open(o, error)) << error;
    }
    void TearDown() override { log_redirect_sink0(stderr); }

    std::string level(const char* name)
    {
        return std::string(TAMBLE_SOURCE_DIR) + "/base/levels/" + name + ".LEVL.txt";
    }

    int32_t verdict(const std::string& path, std::vector<sim_cut> cuts)
    {
        v_world world;
        v_level_report report;
        std::string error;
        EXPECT_TRUE(sim_load_world(ctx, path, v_mode_play, nullptr, world, report, error)) << error;
        sim_run_options run;
        run.cuts = std::move(cuts);
        return sim_run_world(world, run).verdict;
    }

    sim_context ctx;
};

TEST_F(difficulty_report, WindowEdgesSolveAndTheStepsBeyondThemDoNot)
{
    // A swing: the ball must be let go on its way towards the pot.
    std::string drop = level("Drop");
    sim_solution solution;
    solution.cuts = {{250, 0}};
    sim_difficulty d;
    std::string error;
    ASSERT_TRUE(sim_measure_difficulty(ctx, drop, solution, sim_difficulty_options(), d, error)) << error;
    ASSERT_EQ(d.windows.size(), 1u);
    const sim_cut_window& w = d.windows[0];
    EXPECT_FALSE(w.open);
    EXPECT_LE(w.first, 250);
    EXPECT_GE(w.last, 250);
    EXPECT_EQ(verdict(drop, {{w.first, 0}}), v_verdict_solved);
    EXPECT_EQ(verdict(drop, {{w.last, 0}}), v_verdict_solved);
    EXPECT_NE(verdict(drop, {{w.first - 1, 0}}), v_verdict_solved);
    EXPECT_NE(verdict(drop, {{w.last + 1, 0}}), v_verdict_solved);
    EXPECT_EQ(w.follow_steps, w.steps());  // the only cut has nothing following it
    // Some blind single cuts solve it (the swing comes back), most do not; with one rope
    // there are no pairs and no wrong cuts.
    EXPECT_GT(d.singles.hits, 0);
    EXPECT_LT(d.singles.hits, d.singles.tried);
    EXPECT_EQ(d.pairs.tried, 0);
    EXPECT_TRUE(d.wrong.empty());
    EXPECT_EQ(d.narrowest(), w.steps());
}

TEST_F(difficulty_report, LevelAnyCutSolvesIsOpenAndSimplest)
{
    sim_solution solution;
    solution.cuts = {{60, 0}};
    sim_difficulty d;
    std::string error;
    ASSERT_TRUE(sim_measure_difficulty(ctx, level("FirstCut"), solution, sim_difficulty_options(), d, error))
        << error;
    EXPECT_TRUE(d.windows[0].open);
    EXPECT_EQ(d.singles.hits, d.singles.tried);
    EXPECT_EQ(sim_rate_difficulty(d), 1);

    // A schedule that does not solve the level is refused rather than measured.
    solution.cuts = {};
    EXPECT_FALSE(
        sim_measure_difficulty(ctx, level("FirstCut"), solution, sim_difficulty_options(), d, error));
}

TEST_F(difficulty_report, SchedulesGoingOnFromAKeptRunGiveWhatTheirWholeRunsGive)
{
    // Spring: cut 1 at 30 and cut 0 at 200 solve it at step 383.
    std::string spring = level("Spring");
    v_world start;
    v_level_report report;
    std::string error;
    ASSERT_TRUE(sim_load_world(ctx, spring, v_mode_play, nullptr, start, report, error)) << error;
    std::vector<int32_t> keep;
    for (int32_t t = 0; t < 600; t += 7)
        keep.push_back(t);
    sim_kept_run kept(start, {{200, 0}, {30, 1}}, 1800, keep);
    ASSERT_EQ(kept.result().decided_step, 383);
    ASSERT_NE(kept.kept_at(378), nullptr);
    EXPECT_EQ(kept.kept_at(378)->step_count, 378);
    EXPECT_EQ(kept.kept_at(385), nullptr);  // the run had ended
    EXPECT_EQ(kept.kept_at(380), nullptr);  // not asked for

    auto whole = [&](std::vector<sim_cut> cuts, int32_t max_steps) {
        v_world world = start.clone();
        sim_sort_cuts(cuts);
        sim_run_options run;
        run.cuts = std::move(cuts);
        run.max_steps = max_steps;
        return sim_counted_verdict(sim_run_world(world, run));
    };
    // Parting on a kept step, just before and after one, at step 0, after the kept run
    // ended, never; runs shorter than the decision; then schedules drawn at random.
    std::vector<std::pair<std::vector<sim_cut>, int32_t>> schedules = {
        {{{30, 1}, {200, 0}}, 1800},
        {{{30, 1}, {200, 0}}, 383},
        {{{30, 1}, {200, 0}}, 382},
        {{{30, 1}, {203, 0}}, 1800},
        {{{30, 1}, {202, 0}}, 1800},
        {{{30, 1}, {204, 0}}, 1800},
        {{{30, 1}, {140, 0}}, 1800},
        {{{29, 1}, {200, 0}}, 1800},
        {{{0, 1}, {200, 0}}, 1800},
        {{{30, 1}, {200, 0}, {383, 0}}, 1800},
        {{{30, 1}, {200, 0}, {382, 0}}, 1800},
        {{{200, 0}}, 1800},
        {{{30, 1}}, 700},
        {{}, 500},
    };
    std::mt19937 random(26);
    for (int i = 0; i < 30; ++i) {
        std::vector<sim_cut> cuts;
        for (int n = 1 + int(random() % 3); n > 0; --n)
            cuts.push_back({int32_t(random() % 450), int32_t(random() % 2)});
        schedules.push_back({cuts, 600 + int32_t(random() % 1200)});
    }
    int32_t solved = 0;
    for (const auto& [cuts, max_steps] : schedules) {
        int32_t expected = whole(cuts, max_steps);
        solved += expected == v_verdict_solved;
        std::string text;
        for (const sim_cut& c : cuts)
            text += std::to_string(c.step) + ":" + std::to_string(c.index) + " ";
        EXPECT_EQ(kept.verdict(cuts, max_steps), expected) << text << "within " << max_steps;
    }
    // Both kinds of outcome were compared.
    EXPECT_GT(solved, 3);
    EXPECT_LT(solved, int32_t(schedules.size()) - 3);
}

// The table row (given rating 0) and the detail of a measured level, as the tool prints them.
std::string report_text(const std::string& name, const sim_difficulty& d)
{
    FILE* f = std::tmpfile();
    if (!f)
        return "no temporary file";
    sim_print_difficulty_row(f, name, 0, d);
    sim_print_difficulty_detail(f, d);
    std::string text(size_t(std::ftell(f)), '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return text;
}

TEST_F(difficulty_report, QuickLevelsReportExactlyTheStoredFigures)
{
    // Every figure of the report counts what runs of whole schedules from step 0 give;
    // however the searches share work, the report must stay byte for byte the same. The
    // levels cover lone missing steps, windows with and without later cuts following,
    // wrong cuts, and searches whose schedules solve some of the time. Each level runs on
    // another number of threads: the figures must not depend on them.
    std::string text;
    int32_t threads = 0;
    for (const char* name : {"Drop", "Knock", "Spring", "Cannon"}) {
        sim_solution solution;
        sim_difficulty d;
        sim_difficulty_options options;
        options.threads = ++threads;
        std::string error;
        ASSERT_TRUE(sim_read_solution(sim_solution_path(level(name)), solution, error)) << error;
        ASSERT_TRUE(sim_measure_difficulty(ctx, level(name), solution, options, d, error))
            << name << ": " << error;
        text += report_text(std::string("levels\\") + name, d);
    }
    std::string stored = std::string(TAMBLE_SOURCE_DIR) + "/tests/levels/golden/difficulty_report.txt";
    if (text != test_read_text(stored)) {
        std::string measured = (std::filesystem::current_path() / "difficulty_report.measured.txt").string();
        test_write_text(measured, text);
        ADD_FAILURE() << "the report differs from " << stored << "; see " << measured;
    }
}

TEST(sim_rate_difficulty, FollowsCutsBallsWindowsAndLuck)
{
    sim_difficulty d;
    d.cuts = 1;
    d.balls = 1;
    sim_cut_window w;
    w.first = 0;
    w.last = 3 * 180;
    d.windows = {w};
    int32_t easy = sim_rate_difficulty(d);
    // A narrower window is harder; more cuts and more balls are harder.
    d.windows[0].last = 40;
    d.windows[0].follow_steps = 41;
    int32_t tight = sim_rate_difficulty(d);
    EXPECT_GT(tight, easy);
    d.cuts = 3;
    d.balls = 2;
    d.windows = {w, w, d.windows[0]};
    int32_t more = sim_rate_difficulty(d);
    EXPECT_GT(more, tight);
    // A level that random pairs of cuts often solve is easier than its solution looks.
    d.pairs = {100, 40};
    EXPECT_LT(sim_rate_difficulty(d), more);
    // The scale stays 1 to 8.
    d.cuts = 9;
    d.balls = 4;
    d.pairs = {};
    EXPECT_EQ(sim_rate_difficulty(d), 8);
}

}  // namespace
