// Drawing and placing the pieces of a candidate, and writing them as level text.
#include "tools/sim/sim_compose.h"

#include "tools/sim/sim_expr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

uint64_t sim_random::next()
{
    // splitmix64: every seed, even 0, gives a well-mixed stream.
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double sim_random::unit()
{
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

double sim_random::range(double a, double b)
{
    return a + (b - a) * unit();
}

size_t sim_random::pick(const std::vector<double>& weights)
{
    double total = 0;
    for (double w : weights)
        total += std::max(w, 0.0);
    if (total <= 0)
        return 0;
    double r = unit() * total;
    for (size_t i = 0; i < weights.size(); ++i) {
        r -= std::max(weights[i], 0.0);
        if (r < 0)
            return i;
    }
    return weights.size() - 1;
}

const char* sim_colour_name(int32_t colour)
{
    static const char* const names[] = {"", "red", "blue", "green", "yellow"};
    return colour >= 1 && colour <= 4 ? names[colour] : "";
}

namespace {

struct box_t {
    double left, top, right, bottom;

    bool overlaps(const box_t& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// A template drawn and placed: its parameters' values, its origin and its box.
struct placed_piece {
    const sim_template* tmpl = nullptr;
    int32_t colour = 0;
    sim_expr_names values;
    double x = 0, y = 0;
    box_t box{};
};

double snap(double v, double step)
{
    return step > 0 ? std::round(v / step) * step : v;
}

std::string coloured(const std::string& type, int32_t colour)
{
    std::string out;
    for (char c : type)
        out += c == '*' ? std::string(sim_colour_name(colour)) : std::string(1, c);
    return out;
}

void appendf(std::string& out, const char* format, double a, double b)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, format, a, b);
    out += buf;
}

class composer {
public:
    composer(const sim_templates& t, sim_random& r) : templates(t), random(r) {}

    bool place(sim_template_role role, int32_t colour, std::vector<placed_piece>& placed, std::string& why)
    {
        std::vector<const sim_template*> choices;
        std::vector<double> weights;
        for (const sim_template& t : templates.templates)
            if (t.role == role && t.weight > 0) {
                choices.push_back(&t);
                weights.push_back(t.weight);
            }
        const sim_template& t = *choices[random.pick(weights)];
        for (int32_t attempt = 0; attempt < templates.rules.tries; ++attempt) {
            placed_piece p;
            p.tmpl = &t;
            p.colour = colour;
            for (const sim_template_param& param : t.params) {
                double v = std::min(param.max, param.min + snap(random.range(0, param.max - param.min), param.step));
                p.values.emplace_back(param.name, v);
            }
            p.x = snap(random.range(t.x.min, t.x.max), 0.5);
            p.y = snap(random.range(t.y.min, t.y.max), 0.5);
            double sides[4];
            const std::string* formulas[] = {&t.box_left, &t.box_top, &t.box_right, &t.box_bottom};
            for (int k = 0; k < 4; ++k)
                if (!eval(*formulas[k], p.values, sides[k], why))
                    return false;
            p.box = {p.x + sides[0], p.y + sides[1], p.x + sides[2], p.y + sides[3]};
            bool fits = p.box.left >= 0 && p.box.top >= 0 && p.box.right <= 64 && p.box.bottom <= 64;
            for (const placed_piece& other : placed)
                fits = fits && !p.box.overlaps(other.box);
            if (fits) {
                placed.push_back(std::move(p));
                return true;
            }
        }
        why = "no place for " + t.name + " in " + std::to_string(templates.rules.tries) + " tries";
        return false;
    }

    bool eval(const std::string& formula, const sim_expr_names& values, double& out, std::string& why)
    {
        std::string error;
        if (sim_eval_expr(formula, values, out, error))
            return true;
        why = "'" + formula + "': " + error;
        return false;
    }

    // The level text of the placed pieces, with the backdrop last.
    bool write(const std::vector<placed_piece>& placed, sim_candidate& out, std::string& why)
    {
        struct named_end {
            std::string name;
            int32_t index;
        };
        std::string nodes = "nodes {\n", bodies = "bodies {\n", links = "constraints {\n";
        int32_t node_count = 0, body_count = 0;
        for (const placed_piece& p : placed) {
            const sim_template& t = *p.tmpl;
            std::string piece = t.name + (p.colour ? std::string(" (") + sim_colour_name(p.colour) + ")" : "");
            out.pieces.push_back(piece);
            std::vector<named_end> node_ends, body_ends;
            for (const sim_template_node& n : t.nodes) {
                double x = 0, y = 0;
                if (!eval(n.x, p.values, x, why) || !eval(n.y, p.values, y, why))
                    return false;
                if (n.moving)
                    out.moving_nodes.push_back(node_count);
                node_ends.push_back({n.name, node_count++});
                appendf(nodes, " ~{ x %f y %f", p.x + x, p.y + y);
                nodes += std::string(" fixed ") + (n.fixed ? "1" : "0") + " type \"" + coloured(n.type, p.colour) +
                         "\" }\n";
            }
            for (const sim_template_body& b : t.bodies) {
                double x = 0, y = 0, angle = 0;
                if (!eval(b.x, p.values, x, why) || !eval(b.y, p.values, y, why) ||
                    !eval(b.angle, p.values, angle, why))
                    return false;
                if (b.moving)
                    out.moving_bodies.push_back(body_count);
                body_ends.push_back({b.name, body_count++});
                appendf(bodies, " ~{ x %f y %f", p.x + x, p.y + y);
                appendf(bodies, " ang %f", angle, 0);
                bodies += " fix_mask \"" + b.fix_mask + "\" z_bias 0.000000 type \"" + coloured(b.type, p.colour) +
                          "\" }\n";
            }
            auto end_text = [&](const std::string& end, const char* key) {
                for (const named_end& n : node_ends)
                    if (n.name == end)
                        return std::string(" ") + key + " " + std::to_string(n.index);
                size_t dot = end.find('.');
                for (const named_end& b : body_ends)
                    if (dot != std::string::npos && b.name == end.substr(0, dot))
                        return std::string(" ") + key + " " + end.substr(dot + 1) + " " + key + "_body " +
                               std::to_string(b.index);
                return std::string();
            };
            for (const sim_template_link& l : t.links) {
                double length = 0;
                if (!eval(l.length, p.values, length, why))
                    return false;
                std::string from = end_text(l.from, "n1"), to = end_text(l.to, "n2");
                if (from.empty() || to.empty()) {
                    why = t.name + ": a link names no piece";
                    return false;
                }
                appendf(links, " ~{ len %f", length, 0);
                links += " type \"" + coloured(l.type, p.colour) + "\"" + from + to + " }\n";
                out.constraint_piece.push_back(piece);
            }
        }
        if (!templates.backdrop.empty())
            bodies += " ~{ x 32.000000 y 32.000000 ang 0.000000 fix_mask \"\" z_bias 0.000000 type \"" +
                      templates.backdrop + "\" }\n";
        out.text = nodes + "}\n" + bodies + "}\n" + links + "}\nmarkers {\n}\n";
        return true;
    }

private:
    const sim_templates& templates;
    sim_random& random;
};

}  // namespace

bool sim_compose_candidate(const sim_templates& templates, uint64_t seed, uint64_t number, sim_candidate& out,
                           std::string& why)
{
    // Each candidate draws from a stream of its own, so that it does not depend on the
    // candidates before it.
    sim_random random(seed * 0x9E3779B97F4A7C15ull ^ (number + 1) * 0xD1B54A32D192ED03ull);
    std::vector<double> plan_weights;
    for (const sim_plan& p : templates.plans)
        plan_weights.push_back(p.weight);
    const sim_plan& plan = templates.plans[random.pick(plan_weights)];
    int32_t helpers = plan.helpers_min + int32_t(random.unit() * double(plan.helpers_max - plan.helpers_min + 1));
    helpers = std::min(helpers, plan.helpers_max);
    composer c(templates, random);
    std::vector<placed_piece> placed;
    for (int32_t colour = 1; colour <= plan.colours; ++colour)
        if (!c.place(sim_template_role::ball, colour, placed, why))
            return false;
    for (int32_t colour = 1; colour <= plan.colours; ++colour)
        if (!c.place(sim_template_role::pot, colour, placed, why))
            return false;
    for (int32_t h = 0; h < helpers; ++h)
        if (!c.place(sim_template_role::helper, 0, placed, why))
            return false;
    sim_candidate candidate;
    candidate.number = number;
    if (!c.write(placed, candidate, why))
        return false;
    out = std::move(candidate);
    return true;
}
