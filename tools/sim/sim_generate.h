// The level generator of `tamble-sim generate`: candidates made from the templates
// (sim_compose.h) are judged on every core (sim_judge.h), taken in the order of their
// numbers, and kept while they differ enough from every shipped and kept level
// (sim_signature.h), until enough are kept. Each kept level is written into the output
// tree as the level editor writes a level: NAME.LEVL.txt, NAME.solution (with the rating
// and the puzzle in its comments) and the replay NAME_r.RPLY.pkc recorded as verify records
// it; generated.txt lists them. The same seed and templates give the same files, byte for
// byte, on any number of threads.
#pragma once

#include "tools/sim/sim_compose.h"
#include "tools/sim/sim_judge.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_signature.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct sim_generate_options {
    sim_templates templates;
    uint64_t seed = 1;
    int32_t count = 12;
    int32_t min_rating = 1, max_rating = 8;
    int32_t threads = 0;             // 0: one per core
    int64_t max_candidates = 20000;  // give up after judging this many
    std::string out_root;            // levels are written into out_root/levels
    std::string prefix;              // level names: prefix + "01", "02"...
    // Levels the kept ones must differ from (the shipped ones): their signatures and names.
    std::vector<std::pair<std::string, sim_signature>> known;
    std::FILE* progress = nullptr;  // a progress line while searching, when set
};

struct sim_kept_level {
    std::string name;  // "Gen7_01"
    std::string path;  // its level file
    sim_candidate candidate;
    sim_judgement judgement;
    sim_signature signature;
};

struct sim_generate_report {
    std::vector<sim_kept_level> kept;
    int64_t candidates = 0;  // judged, in number order, up to the last one kept
    std::array<int64_t, size_t(sim_reject::count)> rejected{};
    int64_t schedules = 0;  // cut schedules the searches ran for those candidates
    double seconds = 0.0;   // the wall time of the search
    double cpu_seconds = 0.0;
};

// The signatures of the levels with solutions under a data root (unattended scenes left out).
std::vector<std::pair<std::string, sim_signature>> sim_root_signatures(sim_context& ctx, const std::string& root);

// Searches until `count` levels are kept or `max_candidates` were judged, writing each kept
// level's text and solution as it is kept, then records their replays and writes
// generated.txt. False, with `error`, when a file cannot be written or a replay recorded.
bool sim_generate_levels(sim_context& ctx, const sim_generate_options& options, sim_generate_report& report,
                         std::string& error);

// The rejection counts and the rate, as the tool prints them at the end.
void sim_print_generate_summary(std::FILE* out, const sim_generate_report& report);
