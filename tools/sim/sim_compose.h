// Candidate levels of the generator: a plan drawn by weight, then for each of its colours a
// ball template and a pot template, then its helpers, each with parameters drawn from their
// ranges and put where its box overlaps no other box and stays on the playfield. Candidate
// N of a seed depends on nothing but the seed, N and the templates, so candidates can be
// made in any order, on any thread, and come out the same.
#pragma once

#include "tools/sim/sim_templates.h"

#include <cstdint>
#include <string>
#include <vector>

// A small generator of random numbers, the same on every machine and library.
class sim_random {
public:
    explicit sim_random(uint64_t seed) : state(seed) {}
    uint64_t next();
    double unit();                  // in [0, 1)
    double range(double a, double b);  // in [a, b)
    // An index drawn by the weights (all 0: the first).
    size_t pick(const std::vector<double>& weights);

private:
    uint64_t state;
};

struct sim_candidate {
    uint64_t number = 0;
    std::string text;                           // the level text as composed
    std::vector<std::string> pieces;            // "vee (red)", "bumper", in placing order
    std::vector<std::string> constraint_piece;  // the piece each constraint of the level belongs to
    std::vector<int32_t> moving_nodes;          // free nodes that move on purpose from the start
    std::vector<int32_t> moving_bodies;         // ... and bodies
};

// The colour names '*' stands for: 1 red, 2 blue, 3 green, 4 yellow.
const char* sim_colour_name(int32_t colour);

// Composes candidate `number` of `seed`. False, with the reason, when a piece finds no place
// in its tries or a formula gives no number for the parameters drawn.
bool sim_compose_candidate(const sim_templates& templates, uint64_t seed, uint64_t number, sim_candidate& out,
                           std::string& why);
