// How different two levels are, as a player would tell them apart: by the mechanisms they
// are made of, their balls and pots, and how many cuts their solutions take in which order.
//
// A level's signature holds
//   - its parts: the kinds of the types it uses, without colours and without the plain pins
//     that every level ties things to (anchor, pin, knot) and the backdrops: "rope",
//     "spring_soft", "pot", "pot_rail", "lever", "bumper", "weight", "windmill"...;
//   - its balls and pots;
//   - its cuts in the solution's order, each named by the kind of constraint cut and what it
//     lets go: "rope>ball", "default>pot", "rope>crate", "spring>weight" (the end on a ball
//     first, else on a pot, a body, a weighted node; "rope>fixed" when both ends are fixed).
// The distance of two signatures adds the parts one has and the other lacks, the
// differences of the ball, pot and cut counts, and the edits (insert, drop, change) that
// turn one cut sequence into the other. Levels closer than the generator's min_difference
// count as the same puzzle.
#pragma once

#include "physics/world.h"
#include "tools/sim/sim_cuts.h"

#include <cstdint>
#include <string>
#include <vector>

struct sim_signature {
    std::vector<std::string> parts;  // sorted, each once
    int32_t balls = 0;
    int32_t pots = 0;
    std::vector<std::string> cuts;

    std::string text() const;  // "2 balls, 2 pots; rope, pot, bumper; rope>ball, rope>ball"
};

// The signature of a level built at step 0 and the solution that solves it.
sim_signature sim_signature_of(const v_world& world, const sim_solution& solution);
int32_t sim_signature_distance(const sim_signature& a, const sim_signature& b);
