// The generator's inputs: template formulas, the reader's refusals, candidates that depend
// on nothing but their seed and number and keep their pieces apart, and the likeness measure.
#include "tools/sim/sim_compose.h"
#include "tools/sim/sim_expr.h"
#include "tools/sim/sim_signature.h"
#include "tools/sim/sim_templates.h"

#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const char* const two_pieces = R"(
plans { ~ { colours 1 helpers_min 2 helpers_max 2 } }
templates
{
	~ { name "hang" role "ball" x { min 8 max 56 } y { min 4 max 10 }
	    params { ~ { name "h" min 3 max 9 step 0.5 } }
	    box { left -2 top -1 right 2 bottom "h + 1.5" }
	    nodes { ~ { name "top" type "nodes\anchor" fixed 1 x 0 y 0 } ~ { name "ball" type "nodes\ball_*" x 0 y "h" } }
	    links { ~ { type "constraints\rope" from "top" to "ball" } } }
	~ { name "pot" role "pot" x { min 8 max 56 } y { min 40 max 56 } box { left -5 top -4 right 5 bottom 4 }
	    bodies { ~ { name "pot" type "bodies\pot_*" x 0 y 0 fix_mask "PPH" } } }
	~ { name "bumper" role "helper" x { min 8 max 56 } y { min 14 max 38 } box { left -2 top -2 right 2 bottom 2 }
	    nodes { ~ { name "b" type "nodes\bumper" fixed 1 x 0 y 0 } } }
}
)";

TEST(generator_inputs, formulas_evaluate_and_refuse_what_is_no_number)
{
    double v = 0;
    std::string error;
    ASSERT_TRUE(sim_eval_expr("-2.6 - L + L * cos(th)", {{"L", 10.0}, {"th", 0.0}}, v, error)) << error;
    EXPECT_DOUBLE_EQ(v, -2.6);
    ASSERT_TRUE(sim_eval_expr("max(1, min(a, 3)) * -(2 - 4) / 4", {{"a", 7.0}}, v, error)) << error;
    EXPECT_DOUBLE_EQ(v, 1.5);
    for (const char* bad : {"sqrt(-1)", "1 / (a - a)", "b + 1", "2 +", "(1", "1 2", "max()", "cos 1", ""})
        EXPECT_FALSE(sim_eval_expr(bad, {{"a", 1.0}}, v, error)) << bad;
}

TEST(generator_inputs, reader_names_the_entry_it_refuses)
{
    sim_templates t;
    std::string error;
    ASSERT_TRUE(sim_read_templates(two_pieces, t, error)) << error;
    EXPECT_EQ(t.templates.size(), 3u);

    struct refused {
        std::string from, to, names;
    };
    const refused cases[] = {
        {"y \"h\" } }", "y \"h + q\" } }", "hang"},                    // a formula naming what is not bound
        {"from \"top\"", "from \"nowhere\"", "hang"},                  // an end that names no piece
        {"type \"nodes\\bumper\"", "type \"nodes\\bumper_*\"", "bumper"},  // a colour in a helper
    };
    for (const refused& c : cases) {
        std::string text = two_pieces;
        size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, c.from.size(), c.to);
        EXPECT_FALSE(sim_read_templates(text, t, error)) << c.to;
        EXPECT_NE(error.find(c.names), std::string::npos) << error;
    }
    EXPECT_FALSE(sim_read_templates("rules { max_cuts 0 }", t, error));
    EXPECT_FALSE(sim_read_templates("templates { ~ { role \"ball\" } }", t, error));
    EXPECT_FALSE(sim_read_templates("plans { ~ { colours 2 } } {", t, error));
}

TEST(generator_inputs, candidates_depend_on_seed_and_number_only_and_keep_their_pieces_apart)
{
    sim_templates t;
    std::string error;
    ASSERT_TRUE(sim_read_templates(two_pieces, t, error)) << error;
    sim_candidate later, again, other;
    std::string why;
    // Made out of order, the same candidate comes out the same.
    ASSERT_TRUE(sim_compose_candidate(t, 9, 5, later, why)) << why;
    for (uint64_t n = 0; n < 5; ++n) {
        sim_candidate c;
        sim_compose_candidate(t, 9, n, c, why);
    }
    ASSERT_TRUE(sim_compose_candidate(t, 9, 5, again, why)) << why;
    EXPECT_EQ(later.text, again.text);
    ASSERT_TRUE(sim_compose_candidate(t, 10, 5, other, why)) << why;
    EXPECT_NE(later.text, other.text);
    EXPECT_EQ(later.pieces, (std::vector<std::string>{"hang (red)", "pot (red)", "bumper", "bumper"}));
    EXPECT_NE(later.text.find("nodes\\ball_red"), std::string::npos);
    EXPECT_NE(later.text.find("bodies\\pot_red"), std::string::npos);

    // The two bumpers (4 x 4 boxes) never overlap.
    int32_t composed = 0;
    for (uint64_t n = 0; n < 40; ++n) {
        sim_candidate c;
        if (!sim_compose_candidate(t, 3, n, c, why))
            continue;
        ++composed;
        std::vector<std::pair<double, double>> bumpers;
        for (size_t at = c.text.find("nodes\\bumper"); at != std::string::npos;
             at = c.text.find("nodes\\bumper", at + 1)) {
            size_t line = c.text.rfind('\n', at);
            double x = 0, y = 0;
            ASSERT_EQ(std::sscanf(c.text.c_str() + line + 1, " ~{ x %lf y %lf", &x, &y), 2);
            bumpers.emplace_back(x, y);
        }
        ASSERT_EQ(bumpers.size(), 2u);
        bool apart = std::abs(bumpers[0].first - bumpers[1].first) >= 4 ||
                     std::abs(bumpers[0].second - bumpers[1].second) >= 4;
        EXPECT_TRUE(apart) << c.text;
    }
    EXPECT_GT(composed, 30);
}

TEST(generator_inputs, distance_counts_parts_balls_and_cut_edits)
{
    sim_signature a;
    a.parts = {"pot", "rope", "windmill"};
    a.balls = 1;
    a.pots = 1;
    a.cuts = {"rope>ball", "rope>pot"};
    EXPECT_EQ(sim_signature_distance(a, a), 0);
    sim_signature b = a;
    b.cuts = {"rope>pot", "rope>ball"};  // the same cuts the other way round: two changes
    EXPECT_EQ(sim_signature_distance(a, b), 2);
    sim_signature c = a;
    c.parts = {"bumper", "pot", "rope"};  // a bumper for the windmill: two parts differ
    c.balls = 2;
    c.pots = 2;
    c.cuts.push_back("rope>ball");  // one more ball, pot and cut, and one cut inserted
    EXPECT_EQ(sim_signature_distance(a, c), 2 + 1 + 1 + 1 + 1);
    EXPECT_EQ(sim_signature_distance(c, a), sim_signature_distance(a, c));
}

}  // namespace
