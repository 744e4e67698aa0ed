// Level signatures and their distance.
#include "tools/sim/sim_signature.h"

#include <algorithm>
#include <set>

namespace {

// "bodies\pot_red_rail" -> "pot_rail": the type's kind, whatever its colour.
std::string kind_of(const std::string& type_name)
{
    std::string s = type_name.substr(type_name.find_last_of('\\') + 1);
    for (const char* colour : {"_red", "_blue", "_green", "_yellow"}) {
        size_t at = s.find(colour);
        if (at != std::string::npos)
            s.erase(at, std::string(colour).size());
    }
    return s;
}

bool plain_pin(const std::string& kind)
{
    return kind == "anchor" || kind == "pin" || kind == "knot" || kind.rfind("backdrop", 0) == 0;
}

// What one end of a constraint holds, and how much it says: a ball above a pot above a
// body above a weighted node above a fixed point.
struct end_role {
    int rank = 0;
    std::string name;
};

end_role role_of(const v_world& world, const v_node* n)
{
    if (const v_body* b = world.body_of(n)) {
        if (b->type && b->type->pot_color != 0)
            return {4, "pot"};
        return {3, b->type ? kind_of(b->type->name) : "body"};
    }
    if (n->color() != 0)
        return {5, "ball"};
    if (n->fixed)
        return {0, "fixed"};
    return {2, n->type ? kind_of(n->type->name) : "node"};
}

int32_t edit_distance(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<int32_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = int32_t(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        int32_t diagonal = row[0];
        row[0] = int32_t(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            int32_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string joined(const std::vector<std::string>& items)
{
    std::string s;
    for (const std::string& i : items)
        s += (s.empty() ? "" : ", ") + i;
    return s.empty() ? "-" : s;
}

}  // namespace

std::string sim_signature::text() const
{
    return std::to_string(balls) + (balls == 1 ? " ball, " : " balls, ") + std::to_string(pots) +
           (pots == 1 ? " pot; " : " pots; ") + joined(parts) + "; " + joined(cuts);
}

sim_signature sim_signature_of(const v_world& world, const sim_solution& solution)
{
    sim_signature s;
    std::set<std::string> parts;
    auto add = [&](const v_type_base* type) {
        if (!type)
            return;
        std::string kind = kind_of(type->name);
        if (!plain_pin(kind) && kind != "ball")
            parts.insert(kind);
    };
    for (const v_node* n : world.nodes) {
        s.balls += n->color() != 0;
        add(n->type.get());
    }
    for (const auto& b : world.bodies) {
        s.pots += b->type && b->type->pot_color != 0;
        add(b->type.get());
    }
    for (const auto& c : world.constraints)
        add(c->type.get());
    s.parts.assign(parts.begin(), parts.end());
    std::vector<sim_cut> cuts = solution.cuts;
    sim_sort_cuts(cuts);
    for (const sim_cut& cut : cuts) {
        if (cut.index < 0 || size_t(cut.index) >= world.constraints.size())
            continue;
        const v_constraint& c = *world.constraints[size_t(cut.index)];
        end_role a = role_of(world, c.n1), b = role_of(world, c.n2);
        const end_role& held = a.rank >= b.rank ? a : b;
        s.cuts.push_back((c.type ? kind_of(c.type->name) : "link") + ">" + held.name);
    }
    return s;
}

int32_t sim_signature_distance(const sim_signature& a, const sim_signature& b)
{
    std::vector<std::string> only;
    std::set_symmetric_difference(a.parts.begin(), a.parts.end(), b.parts.begin(), b.parts.end(),
                                  std::back_inserter(only));
    return int32_t(only.size()) + std::abs(a.balls - b.balls) + std::abs(a.pots - b.pots) +
           std::abs(int32_t(a.cuts.size()) - int32_t(b.cuts.size())) + edit_distance(a.cuts, b.cuts);
}
