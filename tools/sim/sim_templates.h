// The level generator's rules and mechanism templates, read from a script-text file that a
// designer edits (tools/sim/generate_templates.txt): what a candidate level is made of, where
// its pieces may go, and what a kept level must satisfy. The README's "tamble-sim generate"
// section describes the file; in short:
//
//   rules { search_seconds 8. single_share 0.1 ... }        what a kept level must satisfy
//   backdrop "bodies\backdrop_observatory"                   the last body of every level
//   plans { ~ { weight 2 colours 1 helpers_min 0 helpers_max 1 } }
//   templates {
//    ~ {
//      name "vee" role "ball" weight 2                      ball, pot or helper
//      x { min 12 max 52 } y { min 4 max 14 }               where its origin may go
//      params { ~ { name "a" min 4 max 10 step 0.5 } }      drawn for each candidate
//      box { left "-a - 1" top "-1" right "a + 1" bottom "h + 1" }
//      nodes { ~ { name "ball" type "nodes\ball_*" x "0" y "h" } ~ { ... fixed 1 } }
//      bodies { ~ { name "pot" type "bodies\pot_*" x "0" y "0" ang "0" fix_mask "PPH" } }
//      links { ~ { type "constraints\rope" from "left" to "ball" } ~ { ... to "pot.8" } }
//    }
//   }
//
// Positions, angles, lengths and box sides are formulas (sim_expr.h) of the parameters,
// relative to the origin; '*' in a type name is the colour the piece serves (red, blue...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sim_generate_rules {
    double settle_seconds = 1.0;    // nothing may move much this long before the first cut
    double settle_distance = 0.5;   // ... further than this many units
    double search_seconds = 6.0;    // the searched cuts come within this time
    double slack_seconds = 5.0;     // and must solve at most this long after it
    int32_t single_grid = 15;       // steps between the times of searched one-cut schedules
    int32_t pair_grid = 60;         // the same for the two-cut schedules
    double single_share = 0.1;      // at most this share of the blind one-cut schedules solve
    int32_t max_cuts = 4;           // the longest schedule searched for
    int32_t follow = 2;             // partial solutions followed further at each depth
    double window_seconds = 0.25;   // every cut of the solution has at least this window
    double solution_seconds = 15.0; // the least time a solution file gives
    int32_t min_difference = 2;     // from every shipped and kept level (sim_signature.h)
    int32_t tries = 40;             // places tried for a piece before the candidate is given up
    int32_t max_schedules = 12000;  // schedules searched for one candidate before it counts unsolved
};

struct sim_template_param {
    std::string name;
    double min = 0.0, max = 0.0, step = 0.0;  // step 0: any value
};

struct sim_template_node {
    std::string name, type, x, y;
    bool fixed = false;
    bool moving = false;  // moves on purpose from the start (left out of the settling test)
};

struct sim_template_body {
    std::string name, type, x, y, angle, fix_mask;
    bool moving = false;
};

// A constraint between two ends: a node's name, or "body.K" for node K of a body.
struct sim_template_link {
    std::string type, from, to, length;
};

struct sim_range {
    double min = 0.0, max = 0.0;
};

enum class sim_template_role { ball, pot, helper };

struct sim_template {
    std::string name;
    sim_template_role role = sim_template_role::helper;
    double weight = 1.0;
    sim_range x, y;  // the origin, on the playfield, in steps of half a unit
    std::vector<sim_template_param> params;
    std::string box_left, box_top, box_right, box_bottom;
    std::vector<sim_template_node> nodes;
    std::vector<sim_template_body> bodies;
    std::vector<sim_template_link> links;
};

struct sim_plan {
    double weight = 1.0;
    int32_t colours = 1;  // each colour: one ball template and one pot template
    int32_t helpers_min = 0, helpers_max = 0;
};

struct sim_templates {
    sim_generate_rules rules;
    std::string backdrop;  // a body type placed at (32, 32) last, or none
    std::vector<sim_plan> plans;
    std::vector<sim_template> templates;
};

// Reads the generator's file from its text. False, with `error` naming the entry and what
// is wrong with it, when the text does not parse or an entry cannot be used: a missing
// name, type or formula, a formula that does not evaluate with its parameters at the middle
// of their ranges, an end that names no piece of its template, a colour '*' in a helper or
// none in a ball or pot template, a plan no template can fill.
bool sim_read_templates(const std::string& text, sim_templates& out, std::string& error);
// The same from a file of at most a megabyte.
bool sim_load_templates(const std::string& path, sim_templates& out, std::string& error);
