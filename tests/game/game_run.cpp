// The game under the test driver, and what the end-to-end tests read back from a run.
#include "tests/game/game_run.h"

#include "tests/window/png_read.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

const char* const title_clicks = "10 click left 32 32\n140 click left 32 32\n";

std::string run_prefix()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "_" + info->name() + "_";
}

std::string run_capture(int frame)
{
    return run_prefix() + std::to_string(frame) + ".png";
}

std::string run_config_file()
{
    return run_prefix() + "config.dat";
}

std::string read_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool write_config(const std::string& path, const char* text)
{
    script_symbol_table symbols;
    script_handle config = script_handle::fresh(&symbols);
    std::vector<uint8_t> bytes;
    if (!script_parser(config).parse(text) || !script_save_binary(bytes, "config", config))
        return false;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return true;
}

namespace {

// Moves the frame number that starts each event line by `offset`.
std::string shift_script(const std::string& script, int offset)
{
    std::istringstream in(script);
    std::string line, out;
    while (std::getline(in, line)) {
        size_t digits = 0;
        while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
            ++digits;
        if (digits > 0)
            line = std::to_string(std::stoi(line.substr(0, digits)) + offset) + line.substr(digits);
        out += line + "\n";
    }
    return out;
}

std::vector<int> capture_frames(const std::string& captures)
{
    std::vector<int> frames;
    std::istringstream in(captures);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            frames.push_back(std::stoi(item));
    return frames;
}

}  // namespace

int run_game(const game_run& run)
{
    int offset = run.from_player_select ? title_frames : 0;
    std::vector<int> frames = capture_frames(run.captures);
    std::string shifted_captures;
    for (int frame : frames) {
        std::remove(run_capture(frame).c_str());
        std::remove(run_capture(frame + offset).c_str());
        shifted_captures += (shifted_captures.empty() ? "" : ",") + std::to_string(frame + offset);
    }
    std::string script =
        run.from_player_select ? title_clicks + shift_script(run.script, offset) : run.script;
    std::ofstream(run_prefix() + "script") << script;
    // The GL driver's allocations cannot be attributed; leaks of our code are checked by
    // the tests without a display.
    std::string cmd = std::string("ASAN_OPTIONS=detect_leaks=0 ") + TAMBLE_GAME +
                      (run.archive ? std::string(" --archive ") + TAMBLE_ARCHIVE : std::string()) +
                      " --config " + (run.config.empty() ? run_config_file() : run.config) + " --size 640x512 --fixed-frame --script " +
                      run_prefix() + "script --capture-prefix " + run_prefix() + " --frames " +
                      std::to_string(run.frames + offset) +
                      (shifted_captures.empty() ? "" : " --capture " + shifted_captures);
    for (const std::string& arg : run.args)
        cmd += " " + arg;
    cmd += " > " + run_prefix() + "out 2>&1";
    int status = std::system(cmd.c_str());
    for (int frame : frames)
        if (offset != 0)
            std::rename(run_capture(frame + offset).c_str(), run_capture(frame).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

saved_config::saved_config(const std::string& path)
{
    std::string bytes = read_text(path);
    ok = script_load_binary(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), root, false);
}

double brightness(const std::string& path, float left, float top, float right, float bottom)
{
    test_image img;
    if (!png_read_rgb_file(path, img))
        return -1;
    double sum = 0;
    int n = 0;
    for (int y = int(top * 8); y < int(bottom * 8) && y < img.height; ++y)
        for (int x = std::max(0, int((left + 8) * 8)); x < int((right + 8) * 8) && x < img.width; ++x) {
            const uint8_t* p = img.at(x, y);
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++n;
        }
    return n ? sum / n : -1;
}

int changed_pixels(const std::string& a, const std::string& b, float left, float top, float right,
                   float bottom)
{
    test_image ia, ib;
    if (!png_read_rgb_file(a, ia) || !png_read_rgb_file(b, ib) || ia.width != ib.width)
        return -1;
    int n = 0;
    for (int y = int(top * 8); y < int(bottom * 8) && y < ia.height; ++y)
        for (int x = std::max(0, int((left + 8) * 8)); x < int((right + 8) * 8) && x < ia.width; ++x) {
            const uint8_t* p = ia.at(x, y);
            const uint8_t* q = ib.at(x, y);
            if (std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 30)
                ++n;
        }
    return n;
}
