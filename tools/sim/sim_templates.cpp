// Reading the generator's file: its rules, plans and templates, each checked as it is read
// so that a designer's slip is reported with the entry it is in.
#include "tools/sim/sim_templates.h"

#include "app/file_io.h"
#include "data/script.h"
#include "tools/sim/sim_expr.h"

#include <cstdio>

namespace {

std::string text_of(const script_handle& node)
{
    const char* s = node.as_string();
    return s ? s : "";
}

bool is_number(const script_handle& node)
{
    return node.type() == script_type_int || node.type() == script_type_real;
}

// A formula entry: a quoted formula or a plain number (kept as its text).
std::string formula_of(const script_handle& node)
{
    if (is_number(node)) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.9g", node.as_real());
        return buf;
    }
    return text_of(node);
}

// Visits the anonymous entries 0, 1, ... of a block while they exist.
template <class F>
void each_entry(const script_handle& block, F fn)
{
    for (script_id i = 0; block.get(i).exists(); ++i)
        fn(i, block.get(i));
}

struct template_reader {
    std::string error;

    bool fail(const std::string& where, const std::string& why)
    {
        if (error.empty())
            error = where + ": " + why;
        return false;
    }

    bool read_rules(const script_handle& node, sim_generate_rules& r)
    {
        auto real = [&](const char* key, double& v) {
            script_handle h = node.get(key);
            if (h.exists())
                v = h.as_real();
        };
        auto count = [&](const char* key, int32_t& v) {
            script_handle h = node.get(key);
            if (h.exists())
                v = h.as_int();
        };
        real("settle_seconds", r.settle_seconds);
        real("settle_distance", r.settle_distance);
        real("search_seconds", r.search_seconds);
        real("slack_seconds", r.slack_seconds);
        count("single_grid", r.single_grid);
        count("pair_grid", r.pair_grid);
        real("single_share", r.single_share);
        count("max_cuts", r.max_cuts);
        count("follow", r.follow);
        real("window_seconds", r.window_seconds);
        real("solution_seconds", r.solution_seconds);
        count("min_difference", r.min_difference);
        count("tries", r.tries);
        count("max_schedules", r.max_schedules);
        if (r.settle_seconds < 0 || r.settle_seconds > 10 || r.settle_distance <= 0)
            return fail("rules", "settle_seconds must lie in 0..10 and settle_distance above 0");
        if (r.search_seconds <= 0 || r.search_seconds > 30 || r.slack_seconds < 0 || r.slack_seconds > 30)
            return fail("rules", "search_seconds must lie in 0..30 (above 0), slack_seconds in 0..30");
        if (r.single_grid < 1 || r.pair_grid < 1)
            return fail("rules", "the grids must be 1 step or more");
        if (r.max_cuts < 1 || r.max_cuts > 8 || r.follow < 0 || r.follow > 16)
            return fail("rules", "max_cuts must lie in 1..8 and follow in 0..16");
        if (r.single_share < 0 || r.single_share > 1 || r.window_seconds < 0 || r.solution_seconds < 1 ||
            r.solution_seconds > 60 || r.min_difference < 0 || r.tries < 1 ||
            r.max_schedules < 1)
            return fail("rules", "single_share 0..1, window_seconds 0 or more, solution_seconds 1..60, "
                                 "min_difference 0 or more, tries and max_schedules 1 or more");
        return true;
    }

    bool check_formula(const std::string& where, const std::string& formula, const sim_expr_names& names)
    {
        if (formula.empty())
            return fail(where, "missing");
        double v = 0;
        std::string why;
        return sim_eval_expr(formula, names, v, why) || fail(where, why);
    }

    bool read_template(const std::string& at, const script_handle& node, sim_template& t)
    {
        t.name = text_of(node.get("name"));
        std::string where = at + " (" + (t.name.empty() ? "no name" : t.name) + ")";
        if (t.name.empty())
            return fail(where, "a template needs a name");
        std::string role = text_of(node.get("role"));
        if (role == "ball")
            t.role = sim_template_role::ball;
        else if (role == "pot")
            t.role = sim_template_role::pot;
        else if (role == "helper")
            t.role = sim_template_role::helper;
        else
            return fail(where, "role must be \"ball\", \"pot\" or \"helper\"");
        if (node.get("weight").exists())
            t.weight = node.get("weight").as_real();
        if (t.weight < 0)
            return fail(where, "a weight cannot be negative");
        for (auto [key, range] : {std::pair<const char*, sim_range*>{"x", &t.x}, {"y", &t.y}}) {
            range->min = node.get(key).get("min").as_real();
            range->max = node.get(key).get("max").as_real();
            if (!(range->min <= range->max) || range->min < 0 || range->max > 64)
                return fail(where, std::string(key) + " needs min and max within the playfield, min <= max");
        }
        sim_expr_names mids;
        each_entry(node.get("params"), [&](script_id i, const script_handle& p) {
            sim_template_param param;
            param.name = text_of(p.get("name"));
            param.min = p.get("min").as_real();
            param.max = p.get("max").as_real();
            param.step = p.get("step").as_real();
            if (param.name.empty() || !(param.min <= param.max) || param.step < 0)
                fail(where + " params " + std::to_string(i), "needs a name, min <= max and a step of 0 or more");
            mids.emplace_back(param.name, (param.min + param.max) / 2);
            t.params.push_back(param);
        });
        const char* sides[] = {"left", "top", "right", "bottom"};
        std::string* box[] = {&t.box_left, &t.box_top, &t.box_right, &t.box_bottom};
        for (int k = 0; k < 4; ++k) {
            *box[k] = formula_of(node.get("box").get(sides[k]));
            check_formula(where + " box " + sides[k], *box[k], mids);
        }
        std::vector<std::string> ends;
        bool colour = false;
        auto typed = [&](const std::string& w, const std::string& type) {
            if (type.empty())
                return fail(w, "needs a type");
            colour |= type.find('*') != std::string::npos;
            return true;
        };
        each_entry(node.get("nodes"), [&](script_id i, const script_handle& n) {
            std::string w = where + " nodes " + std::to_string(i);
            sim_template_node tn;
            tn.name = text_of(n.get("name"));
            tn.type = text_of(n.get("type"));
            tn.x = formula_of(n.get("x"));
            tn.y = formula_of(n.get("y"));
            tn.fixed = n.get("fixed").as_int() != 0;
            tn.moving = n.get("moving").as_int() != 0;
            typed(w, tn.type) && check_formula(w + " x", tn.x, mids) && check_formula(w + " y", tn.y, mids);
            ends.push_back(tn.name);
            t.nodes.push_back(tn);
        });
        each_entry(node.get("bodies"), [&](script_id i, const script_handle& b) {
            std::string w = where + " bodies " + std::to_string(i);
            sim_template_body tb;
            tb.name = text_of(b.get("name"));
            tb.type = text_of(b.get("type"));
            tb.x = formula_of(b.get("x"));
            tb.y = formula_of(b.get("y"));
            tb.angle = b.get("ang").exists() ? formula_of(b.get("ang")) : "0";
            tb.fix_mask = text_of(b.get("fix_mask"));
            tb.moving = b.get("moving").as_int() != 0;
            typed(w, tb.type) && check_formula(w + " x", tb.x, mids) && check_formula(w + " y", tb.y, mids) &&
                check_formula(w + " ang", tb.angle, mids);
            t.bodies.push_back(tb);
        });
        auto names_piece = [&](const std::string& end) {
            std::string piece = end.substr(0, end.find('.'));
            for (const sim_template_node& n : t.nodes)
                if (!n.name.empty() && n.name == end)
                    return true;
            for (const sim_template_body& b : t.bodies)
                if (!b.name.empty() && b.name == piece && end.size() > piece.size() + 1)
                    return true;
            return false;
        };
        each_entry(node.get("links"), [&](script_id i, const script_handle& l) {
            std::string w = where + " links " + std::to_string(i);
            sim_template_link tl;
            tl.type = text_of(l.get("type"));
            tl.from = text_of(l.get("from"));
            tl.to = text_of(l.get("to"));
            tl.length = l.get("len").exists() ? formula_of(l.get("len")) : "0";
            typed(w, tl.type) && check_formula(w + " len", tl.length, mids);
            if (!names_piece(tl.from) || !names_piece(tl.to))
                fail(w, "from and to must name a node of the template or a body's node (\"pot.8\")");
            t.links.push_back(tl);
        });
        if (t.nodes.empty() && t.bodies.empty())
            return fail(where, "a template needs nodes or bodies");
        if (colour != (t.role != sim_template_role::helper))
            return fail(where, t.role == sim_template_role::helper
                                   ? "a helper serves no colour: no '*' in its types"
                                   : "a ball or pot template needs a '*' type for its colour");
        return error.empty();
    }
};

}  // namespace

bool sim_read_templates(const std::string& text, sim_templates& out, std::string& error)
{
    script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    script_handle root = script_handle::fresh(&symbols);
    script_parser parser(root);
    if (!parser.parse(text.c_str())) {
        error = "line " + std::to_string(parser.stop_line) + ": parse error";
        return false;
    }
    template_reader r;
    sim_templates t;
    r.read_rules(root.get("rules"), t.rules);
    t.backdrop = text_of(root.get("backdrop"));
    each_entry(root.get("templates"), [&](script_id i, const script_handle& node) {
        sim_template tmpl;
        r.read_template("templates " + std::to_string(i), node, tmpl);
        t.templates.push_back(tmpl);
    });
    auto weighs = [&](sim_template_role role) {
        for (const sim_template& tmpl : t.templates)
            if (tmpl.role == role && tmpl.weight > 0)
                return true;
        return false;
    };
    each_entry(root.get("plans"), [&](script_id i, const script_handle& node) {
        sim_plan p;
        if (node.get("weight").exists())
            p.weight = node.get("weight").as_real();
        p.colours = node.get("colours").as_int();
        p.helpers_min = node.get("helpers_min").as_int();
        p.helpers_max = node.get("helpers_max").as_int();
        std::string where = "plans " + std::to_string(i);
        if (p.weight < 0 || p.colours < 1 || p.colours > 4 || p.helpers_min < 0 || p.helpers_max < p.helpers_min ||
            p.helpers_max > 8)
            r.fail(where, "needs colours 1..4, 0 <= helpers_min <= helpers_max <= 8 and a weight of 0 or more");
        else if (!weighs(sim_template_role::ball) || !weighs(sim_template_role::pot) ||
                 (p.helpers_max > 0 && !weighs(sim_template_role::helper)))
            r.fail(where, "no template of a role it asks for");
        t.plans.push_back(p);
    });
    if (r.error.empty() && t.plans.empty())
        r.fail("plans", "at least one plan is needed");
    if (!r.error.empty()) {
        error = r.error;
        return false;
    }
    out = std::move(t);
    return true;
}

bool sim_load_templates(const std::string& path, sim_templates& out, std::string& error)
{
    std::string text;
    if (!file_read_all(path, text, uint64_t(1) << 20)) {
        error = "cannot read '" + path + "'";
        return false;
    }
    if (!sim_read_templates(text, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
