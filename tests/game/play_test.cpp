// The whole game end to end under the test driver, on the shipped data: a profile made by
// typing, world 0 chosen, a level picked on its map and solved by cutting what its solution
// file cuts at the frames it says, the success with its star counter, the way back to the
// map, and the progress in the save file; the recorded solution earning no stars; a failed
// attempt going back to READY, with Ctrl+P writing the level's intro pictures on the way.
// Levels, their positions on the map and the cuts come from the data (the worlds, the
// solution files and tamble-sim), so a new level set needs no edit here.
#include "tests/game/game_run.h"
#include "tests/test_display.h"
#include "tests/window/png_read.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace {

constexpr int32_t level_solved_bit = 2, solution_shown_bit = 4;

const std::string base = std::string(TAMBLE_SOURCE_DIR) + "/base";

struct cut_t {
    int step = 0;
    int index = 0;
    float x = 0, y = 0;  // where the constraint lies when it is cut
};

struct level_t {
    int index = -1;
    std::string name;  // "levels\Drop"
    std::string file;  // base/levels/Drop.LEVL.txt
    float x = 0, y = 0;
    int difficulty = 0;
    bool tip = false;
    std::vector<cut_t> cuts;
    int decided_step = 0;  // when the cuts solve the level (or fail it)
};

std::string command_output(const std::string& cmd, int* status = nullptr)
{
    std::string out;
    // Leaks of the tools are checked by their own tests; here only their answers count.
    if (FILE* p = popen(("ASAN_OPTIONS=detect_leaks=0 " + cmd + " 2>&1").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        int s = pclose(p);
        if (status)
            *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }
    return out;
}

// tamble-sim COMMAND on the level's source, with more arguments.
std::string sim(const level_t& level, const std::string& command, const std::string& args = "",
                int* status = nullptr)
{
    return command_output(
        std::string(TAMBLE_SIM) + " " + command + " " + level.file + " --data " + base + args, status);
}

std::string cut_arguments(const std::vector<cut_t>& cuts)
{
    std::string args;
    for (const cut_t& c : cuts)
        args += " --cut " + std::to_string(c.step) + ":" + std::to_string(c.index);
    return args;
}

// Where each cut constraint lies at its step: the middle of its two ends, from the
// positions tamble-sim traces while it plays the cuts (a body end counts as the body's
// centre).
bool locate_cuts(level_t& level)
{
    std::string info = sim(level, "info");
    std::string trace = sim(level, "run", cut_arguments(level.cuts) + " --trace 1 --seconds 30");
    std::smatch verdict;
    if (!std::regex_search(trace, verdict, std::regex("(solved|failed) at step (\\d+)")))
        return false;
    level.decided_step = std::stoi(verdict[2].str());
    for (cut_t& c : level.cuts) {
        std::smatch m;
        std::regex line_re("\\n +" + std::to_string(c.index) +
                           " \\S+ +(body (\\d+) )?node (\\d+) -> (body (\\d+) )?node (\\d+)");
        if (!std::regex_search(info, m, line_re))
            return false;
        std::string ends[2] = {m[2].matched ? "b" + m[2].str() : "n" + m[3].str(),
                               m[5].matched ? "b" + m[5].str() : "n" + m[6].str()};
        size_t at = trace.find("step " + std::to_string(c.step) + ":");
        if (at == std::string::npos)
            return false;
        std::string step_line = trace.substr(at, trace.find('\n', at) - at);
        float sx = 0, sy = 0;
        for (const std::string& end : ends) {
            std::smatch p;
            if (!std::regex_search(step_line, p, std::regex(" " + end + " \\(([-0-9.]+), ([-0-9.]+)")))
                return false;
            sx += std::stof(p[1].str()) / 2;
            sy += std::stof(p[2].str()) / 2;
        }
        c.x = sx;
        c.y = sy;
    }
    return true;
}

// World 0's level `index` from the shipped worlds, with its solution's cuts located.
bool read_level(int index, level_t& level)
{
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    if (!script_parser(root).parse(read_text(base + "/init/worlds.INIT.txt").c_str()))
        return false;
    script_handle entry = root.get("worlds").get(script_id(0)).get(script_id(index));
    const char* name = entry.get("level").as_string();
    if (!name)
        return false;
    level.index = index;
    level.name = name;
    std::string path = level.name;
    std::replace(path.begin(), path.end(), '\\', '/');
    level.file = base + "/" + path + ".LEVL.txt";
    level.x = float(entry.get("x").as_real());
    level.y = float(entry.get("y").as_real());
    level.difficulty = entry.get("difficulty").as_int();
    level.tip = entry.get("tip").as_int() != 0;
    std::ifstream solution(base + "/" + path + ".solution");
    std::string line;
    while (std::getline(solution, line)) {
        cut_t c;
        if (std::sscanf(line.c_str(), "%d:%d", &c.step, &c.index) == 2)
            level.cuts.push_back(c);
    }
    std::sort(level.cuts.begin(), level.cuts.end(),
              [](const cut_t& a, const cut_t& b) { return a.step < b.step; });
    return !level.cuts.empty() && locate_cuts(level);
}

// The frame of the `nth` (from 1) log line "<what> at frame N" in a run's output, counted
// from player select as the scripts are, or -1.
int frame_of(const std::string& out, const std::string& what, int nth = 1)
{
    size_t at = 0;
    for (int i = 0; i < nth; ++i) {
        at = out.find(what + " at frame ", at);
        if (at == std::string::npos)
            return -1;
        at += what.size();
    }
    return std::atoi(out.c_str() + at + 10) - title_frames;
}

int count_of(const std::string& out, const std::string& what)
{
    int n = 0;
    for (size_t at = out.find(what); at != std::string::npos; at = out.find(what, at + 1))
        ++n;
    return n;
}

// From player select on a fresh save file: a profile typed and chosen, world 0, the level's
// tile on the map.
std::string to_level(const level_t& level)
{
    std::ostringstream s;
    // Enter chooses the new profile; the title scroll turns for three seconds.
    s << "0 move 30 28\n40 click left 30 28\n45 text \"Eve\"\n50 key enter\n"
      << "270 click left 30 28\n280 click left 56 28\n"  // world 0, OK
      << "320 move " << level.x << " " << level.y << "\n330 click left " << level.x << " " << level.y << "\n";
    return s.str();
}

// A tip card is clicked away (its CONTINUE stands lower on a card without lines).
std::string past_tip(const level_t& level, const std::string& out)
{
    int tip = frame_of(out, "play: TIP");
    if (!level.tip || tip < 0)
        return "";
    return std::to_string(tip + 45) + " click left 56 40\n" + std::to_string(tip + 47) +
           " click left 56 45\n";
}

// The solution's cuts, once PLAYING began in frame `playing`: the world takes three steps
// a frame, the first three in that frame, and a cut takes effect after the steps of its frame.
// The pointer hovers over the constraint a frame before the click selects it (hovering is
// worked out while playing only), and the right click cuts it.
std::string cut_events(const level_t& level, int playing)
{
    std::ostringstream s;
    for (const cut_t& c : level.cuts) {
        int frame = playing + std::max(int(std::lround(c.step / 3.0)) - 1, 1);
        s << frame - 1 << " move " << c.x << " " << c.y << "\n"
          << frame << " click left " << c.x << " " << c.y << "\n"
          << frame << " click right " << c.x << " " << c.y << "\n";
    }
    return s.str();
}

game_run play_run(const std::string& script, int frames, const std::string& captures = "");
std::string run_fresh(const game_run& run);

// The script from player select to the level playing, clicking a tip away when one shows;
// the output of the run that got there.
std::string to_playing(const level_t& level, std::string& script)
{
    script = to_level(level);
    std::string out = run_fresh(play_run(script, 700));
    std::string tip = past_tip(level, out);
    if (tip.empty())
        return out;
    script += tip;
    return run_fresh(play_run(script, 800));
}

game_run play_run(const std::string& script, int frames, const std::string& captures)
{
    game_run run;
    run.script = script;
    run.frames = frames;
    run.captures = captures;
    run.args = {"log"};
    run.from_player_select = true;
    return run;
}

// Runs the script on a fresh save file and returns the output.
std::string run_fresh(const game_run& run)
{
    std::remove(run_config_file().c_str());
    EXPECT_EQ(run_game(run), 0);
    return read_text(run_prefix() + "out");
}

}  // namespace

TEST(game_play, first_level_solved_earns_its_stars_and_is_saved)
{
    TAMBLE_REQUIRE_DISPLAY();
    level_t level;
    ASSERT_TRUE(read_level(0, level)) << "world 0 level 0 has no usable solution";

    // A first run up to the level finds when it begins to play.
    std::string script;
    std::string out = to_playing(level, script);
    int playing = frame_of(out, "play: PLAYING");
    ASSERT_GT(playing, 0) << out;
    int ready = frame_of(out, "play: READY");
    EXPECT_GT(ready, 0);

    // The real run cuts as the solution says and watches.
    std::string full = script + cut_events(level, playing);
    // Solved, four seconds of success, the map fading in again, and a little more.
    int solved_by = playing + level.decided_step / 3 + 8 * 60;
    full += std::to_string(solved_by) + " quit\n";
    std::string captures = std::to_string(ready + 40) + "," + std::to_string(playing + 10);
    out = run_fresh(play_run(full, solved_by + 10, captures));
    int success = frame_of(out, "play: SUCCESS");
    ASSERT_GT(success, 0) << out;
    EXPECT_EQ(frame_of(out, "play: FAILED"), -1) << out;
    // Back on the map after the success's four seconds.
    int map_again = frame_of(out, "menu: world map", 2);
    EXPECT_GE(map_again, success + 4 * 60) << out;

    saved_config saved(run_config_file());
    ASSERT_TRUE(saved.ok) << out;
    EXPECT_STREQ(saved.slot(0).get("name").as_string(), "Eve");
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), level.difficulty);
    EXPECT_TRUE(saved.slot(0).get(script_id(0)).get(script_id(level.index)).as_int() & level_solved_bit);

    // The captured states, again in the same run: READY's caption over the level, the level
    // playing, the star counter counting, the map after.
    std::string more = std::to_string(success + 45) + "," + std::to_string(success + 90) + "," +
                       std::to_string(map_again + 70);
    out = run_fresh(play_run(full, solved_by + 10, captures + "," + more));
    EXPECT_GT(brightness(run_capture(ready + 40), 0, 0, 64, 64), 5);
    EXPECT_GT(brightness(run_capture(playing + 10), 0, 0, 64, 64), 5);
    // Half stars move into the total four times a second while the counter shows.
    if (level.difficulty > 0) {
        EXPECT_GT(changed_pixels(run_capture(success + 45), run_capture(success + 90), 14, 38, 54, 50), 20);
    }
    EXPECT_GT(brightness(run_capture(map_again + 70), 0, 0, 64, 64), 20);
}

TEST(game_play, shown_solution_earns_no_stars)
{
    TAMBLE_REQUIRE_DISPLAY();
    level_t level;
    ASSERT_TRUE(read_level(0, level));
    std::string script;
    std::string out = to_playing(level, script);
    int playing = frame_of(out, "play: PLAYING");
    ASSERT_GT(playing, 0) << out;

    // Show Solution in the right margin; the replay plays to its end and READY follows.
    script +=
        std::to_string(playing + 10) + " move 68 12\n" + std::to_string(playing + 12) + " click left 68 12\n";
    // The replay goes on a second past its verdict.
    out = run_fresh(play_run(script, playing + level.decided_step / 3 + 6 * 60));
    int solution = frame_of(out, "play: SOLUTION");
    ASSERT_GT(solution, 0) << out;
    int again = frame_of(out, "play: PLAYING", 2);
    ASSERT_GT(again, solution) << out;
    EXPECT_GT(frame_of(out, "play: READY", 2), solution);

    // Solving it afterwards succeeds, but the stars stay where they were.
    std::string full = script + cut_events(level, again);
    int end = again + level.decided_step / 3 + 6 * 60;
    full += std::to_string(end) + " quit\n";
    out = run_fresh(play_run(full, end + 10, std::to_string(solution + 60)));
    ASSERT_GT(frame_of(out, "play: SUCCESS"), again) << out;
    saved_config saved(run_config_file());
    ASSERT_TRUE(saved.ok) << out;
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), 0);
    int32_t state = saved.slot(0).get(script_id(0)).get(script_id(level.index)).as_int();
    EXPECT_TRUE(state & level_solved_bit);
    EXPECT_TRUE(state & solution_shown_bit);
    EXPECT_GT(brightness(run_capture(solution + 60), 0, 0, 64, 64), 5);
}

TEST(game_play, failed_attempt_goes_back_to_ready)
{
    TAMBLE_REQUIRE_DISPLAY();
    // The first level of world 0 whose solution's cuts, all made at once at the start, fail.
    level_t level;
    for (int i = 0; i < 64 && level.index < 0; ++i) {
        level_t candidate;
        if (!read_level(i, candidate)) {
            if (candidate.name.empty())
                break;
            continue;
        }
        for (cut_t& c : candidate.cuts)
            c.step = 3;
        int status = 0;
        sim(candidate, "run", cut_arguments(candidate.cuts) + " --seconds 15", &status);
        if (status == 1 && locate_cuts(candidate))
            level = candidate;
    }
    ASSERT_GE(level.index, 0) << "no level of world 0 fails when cut at once";

    // The level is open on a profile made beforehand.
    std::string profile = "saves { 0 { name \"Ann\" 0 { " + std::to_string(level.index) + " 1 } tips -1 } }";
    game_run run =
        play_run("0 move 30 28\n40 click left 30 28\n45 click left 54.5 28\n"
                 "290 click left 30 28\n300 click left 56 28\n"
                 "340 move " +
                     std::to_string(level.x) + " " + std::to_string(level.y) + "\n350 click left " +
                     std::to_string(level.x) + " " + std::to_string(level.y) + "\n",
                 700);
    ASSERT_TRUE(write_config(run_config_file(), profile.c_str()));
    ASSERT_EQ(run_game(run), 0);
    std::string out = read_text(run_prefix() + "out");
    int playing = frame_of(out, "play: PLAYING");
    ASSERT_GT(playing, 0) << out;

    // Ctrl+P while playing writes the level's intro pictures as the PNG sources the archive
    // build packs, into the first --data tree.
    namespace fs = std::filesystem;
    fs::path data = fs::absolute(run_prefix() + "data");
    fs::remove_all(data);
    fs::create_directories(data);
    run.args.insert(run.args.end(), {"--data", data.string()});
    run.script += std::to_string(playing + 2) + " keydown ctrl\n" + std::to_string(playing + 3) + " key p\n" +
                  std::to_string(playing + 4) + " keyup ctrl\n";
    run.script += cut_events(level, playing);
    run.frames = playing + level.decided_step / 3 + 3 * 60;
    ASSERT_TRUE(write_config(run_config_file(), profile.c_str()));
    ASSERT_EQ(run_game(run), 0);
    out = read_text(run_prefix() + "out");
    EXPECT_EQ(count_of(out, "play: intro pictures written to"), 1) << out;
    std::string picture = (data / "tex").string() + "/" + level.name.substr(0, level.name.find('\\')) + "/" +
                          level.name.substr(level.name.find('\\') + 1);
    for (int i = 0; i < 4; ++i) {
        test_image img;
        ASSERT_TRUE(png_read_rgb_file(picture + std::to_string(i) + ".png", img)) << picture << i;
        EXPECT_EQ(img.width, 16 << i);
    }
    int failed = frame_of(out, "play: FAILED");
    ASSERT_GT(failed, playing) << out;
    // FAILED dissolves for a second, then the level is set up afresh and READY shows.
    int ready = frame_of(out, "play: READY", 2);
    EXPECT_GE(ready, failed + 55) << out;
    EXPECT_LE(ready, failed + 65) << out;
    EXPECT_EQ(count_of(out, "play: SUCCESS"), 0) << out;
    run.captures = std::to_string(failed + 20) + "," + std::to_string(ready + 30);
    ASSERT_TRUE(write_config(run_config_file(), profile.c_str()));
    ASSERT_EQ(run_game(run), 0);
    EXPECT_GT(changed_pixels(run_capture(failed + 20), run_capture(ready + 30), 16, 26, 48, 38), 100);
    saved_config saved(run_config_file());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), 0);
    fs::remove_all(data);
}

TEST(game_entry, unknown_options_and_unusable_game_data_are_reported)
{
    int status = 0;
    std::string out = command_output(std::string(TAMBLE_GAME) + " --bogus", &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(out.find("unknown option --bogus"), std::string::npos) << out;
    EXPECT_NE(out.find("usage: tamble"), std::string::npos) << out;

    TAMBLE_REQUIRE_DISPLAY();
    // A missing archive named on the command line, and a file that is not an archive of
    // the game: both named in the message, and the program stops with a failure.
    std::string damaged = run_prefix() + "damaged.pk2";
    std::ofstream(damaged, std::ios::binary) << std::string(3000, '\x5a');
    for (const std::string& archive : {run_prefix() + "missing.pk2", damaged}) {
        std::remove((run_prefix() + "missing.pk2").c_str());
        game_run run;
        run.frames = 5;
        run.archive = false;
        run.args = {"--archive", archive};
        EXPECT_EQ(run_game(run), 1) << archive;
        out = read_text(run_prefix() + "out");
        EXPECT_NE(out.find("The game data " + archive), std::string::npos) << out;
    }
    // Without --archive, the places searched are listed (the test's folder has no archive).
    game_run run;
    run.frames = 5;
    run.archive = false;
    EXPECT_EQ(run_game(run), 1);
    out = read_text(run_prefix() + "out");
    EXPECT_NE(out.find("cannot find its game data, tamble.pk2"), std::string::npos) << out;
    EXPECT_NE(out.find(std::filesystem::current_path().string() + "/tamble.pk2"), std::string::npos) << out;
}

TEST(game_play, level_pauses_without_focus_or_minimised_and_resumes_without_catching_up)
{
    TAMBLE_REQUIRE_DISPLAY();
    level_t level;
    ASSERT_TRUE(read_level(0, level));
    std::string script;
    std::string out = to_playing(level, script);
    int playing = frame_of(out, "play: PLAYING");
    ASSERT_GT(playing, 0) << out;
    std::string cuts = script + cut_events(level, playing);
    int last_cut = playing + std::max(int(std::lround(level.cuts.back().step / 3.0)) - 1, 1);
    int end = playing + level.decided_step / 3 + 8 * 60;

    std::string plain = cuts + std::to_string(end) + " quit\n";
    out = run_fresh(play_run(plain, end + 10));
    int success = frame_of(out, "play: SUCCESS");
    ASSERT_GT(success, last_cut) << out;

    // Two seconds without the focus, then two minimised, after the last cut: the verdict
    // comes exactly that much later, since nothing steps meanwhile and nothing is owed after.
    int a = last_cut + 5;
    std::string paused = cuts + std::to_string(a) + " window unfocus\n" + std::to_string(a + 120) +
                         " window focus\n" + std::to_string(a + 130) + " window minimize\n" +
                         std::to_string(a + 250) + " window restore\n" + std::to_string(end + 240) +
                         " quit\n";
    out = run_fresh(play_run(paused, end + 250, std::to_string(a + 60)));
    // A window event of frame N reaches the screen in that frame's pump; it pauses from the next.
    EXPECT_EQ(frame_of(out, "play: paused"), a + 1);
    EXPECT_EQ(frame_of(out, "play: resumed"), a + 121);
    EXPECT_EQ(frame_of(out, "play: paused", 2), a + 131);
    EXPECT_EQ(frame_of(out, "play: resumed", 2), a + 251);
    EXPECT_EQ(frame_of(out, "play: SUCCESS"), success + 240) << out;
    saved_config saved(run_config_file());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), level.difficulty);
}
