// The edited body's tree filling, reading, fix-ups after deletions, mirroring and the
// checks that foresee the type loader's refusals.
#include "editors/body/body_model.h"

#include "data/script_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bedit {

namespace {

// Every key of a body type, interned first into a new table in the type loader's order:
// a key's number decides where the writer puts it, so this way a body's text comes out
// the same however a loaded file ordered or spelled its keys. (The nine names every table
// starts with, "X", "Y", "TX", "TY", "TEX", "Z" and "POLYS" among them, come before these
// and are written in capitals.)
const char* const body_keys[] = {"material",   "mass",   "moment", "radius", "pot_color", "motor",
                                 "rotate",     "max_speed", "angle_lock", "rail_y", "rail_x", "nodes",
                                 "constraints", "n1",    "n2",     "collidable", "fric",  "elast",
                                 "pot",        "node"};

// The entry `key` of the tree, emptied to a block.
script_handle cleared(const script_handle& tree, const char* key)
{
    script_handle block = tree.make(key);
    block.set_int(0);
    block.make_block();
    return block;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

float real_or(const script_handle& h, const char* key, float fallback)
{
    script_handle v = h.get(key);
    return v.exists() ? float(v.as_real()) : fallback;
}

std::string counted(size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

body::body() : symbols(std::make_unique<script_symbol_table>(4096, 256, 256))
{
    for (const char* key : body_keys)
        symbols->intern(key);
    tree = script_handle::fresh(symbols.get());
    tree.make_block();
}

vec2 body::corner_position(const corner& c) const
{
    if (c.tied() && size_t(c.node) < nodes.size())
        return nodes[size_t(c.node)].position;
    return c.position;
}

double body::mass() const
{
    script_handle m = tree.get("mass");
    return m.exists() ? m.as_real() : double(default_mass);
}

void body::fill_tree()
{
    tree.make_block();
    if (!tree.get("mass").exists())
        tree.make("mass").set_int(default_mass);
    tree.make("pot_color").set_int(color);

    script_handle block = cleared(tree, "nodes");
    for (size_t i = 0; i < nodes.size(); ++i) {
        script_handle e = block.make(script_id(i));
        e.make("x").set_real(nodes[i].position.x);
        e.make("y").set_real(nodes[i].position.y);
        if (nodes[i].mass != 0.0f)
            e.make("mass").set_real(nodes[i].mass);
    }
    block = cleared(tree, "constraints");
    for (size_t i = 0; i < constraints.size(); ++i) {
        const constraint& c = constraints[i];
        script_handle e = block.make(script_id(i));
        e.make("n1").set_int(c.n1);
        e.make("n2").set_int(c.n2);
        e.make("collidable").set_int(c.collidable ? 1 : 0);
        e.make("fric").set_real(c.fric);
        e.make("elast").set_real(c.elast);
        e.make("pot").set_int(c.pot ? 1 : 0);
    }
    // A polygon is its corners followed by one entry with its depth and texture, which
    // closes it: the layout the type loader reads.
    block = cleared(tree, "polys");
    script_id k = 0;
    for (const polygon& p : polygons) {
        for (const corner& c : p.corners) {
            script_handle e = block.make(k++);
            if (c.tied()) {
                e.make("node").set_int(c.node);
            } else {
                e.make("x").set_real(c.position.x);
                e.make("y").set_real(c.position.y);
            }
            e.make("tx").set_real(c.tx);
            e.make("ty").set_real(c.ty);
        }
        script_handle e = block.make(k++);
        e.make("z").set_real(p.z);
        e.make("tex").set_string(p.texture.c_str());
    }
}

std::string body::text()
{
    fill_tree();
    std::string out;
    script_write(out, nullptr, tree);
    return out;
}

bool body::parse(const std::string& text, body& out, std::string& notes)
{
    body b;
    if (!script_parser(b.tree).parse(text.c_str()))
        return false;
    const script_handle& tree = b.tree;
    b.color = tree.get("pot_color").as_int();

    script_handle block = tree.get("nodes");
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        b.nodes.push_back({{float(e.get("x").as_real()), float(e.get("y").as_real())}, float(e.get("mass").as_real())});
    }
    size_t node_count = b.nodes.size();
    auto valid = [&](int32_t n) { return n >= 0 && size_t(n) < node_count; };

    size_t dropped_constraints = 0;
    block = tree.get("constraints");
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        constraint c;
        c.n1 = e.get("n1").as_int();
        c.n2 = e.get("n2").as_int();
        c.collidable = e.get("collidable").as_int() != 0;
        c.fric = real_or(e, "fric", default_fric);
        c.elast = real_or(e, "elast", default_elast);
        c.pot = e.get("pot").as_int() != 0;
        if (valid(c.n1) && valid(c.n2))
            b.constraints.push_back(c);
        else
            ++dropped_constraints;
    }

    size_t freed_corners = 0;
    std::vector<corner> pending;
    block = tree.get("polys");
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        if (e.get("tex").exists()) {
            const char* tex = e.get("tex").as_string();
            b.polygons.push_back({std::move(pending), float(e.get("z").as_real()), tex ? tex : ""});
            pending.clear();
            continue;
        }
        corner c;
        script_handle tie = e.get("node");
        if (tie.exists() && valid(tie.as_int())) {
            c.node = tie.as_int();
        } else {
            freed_corners += tie.exists() ? 1 : 0;
            c.position = {float(e.get("x").as_real()), float(e.get("y").as_real())};
        }
        c.tx = float(e.get("tx").as_real());
        c.ty = float(e.get("ty").as_real());
        pending.push_back(c);
    }

    notes.clear();
    if (dropped_constraints)
        notes += counted(dropped_constraints, "constraint names", "constraints name") +
                 " a node the file does not have and " + (dropped_constraints == 1 ? "was" : "were") +
                 " left out. ";
    if (freed_corners)
        notes += counted(freed_corners, "polygon corner was", "polygon corners were") +
                 " tied to a node the file does not have; " + (freed_corners == 1 ? "it is" : "they are") +
                 " free corners now. ";
    if (!pending.empty())
        notes += counted(pending.size(), "corner follows", "corners follow") +
                 " the last texture entry, so the game draws no polygon with " +
                 (pending.size() == 1 ? "it" : "them") + "; left out. ";
    if (!notes.empty())
        notes.pop_back();
    out = std::move(b);
    return true;
}

void body::delete_node(int32_t index)
{
    if (index < 0 || size_t(index) >= nodes.size())
        return;
    vec2 at = nodes[size_t(index)].position;
    nodes.erase(nodes.begin() + index);
    std::erase_if(constraints, [&](const constraint& c) { return c.n1 == index || c.n2 == index; });
    for (constraint& c : constraints) {
        c.n1 -= c.n1 > index ? 1 : 0;
        c.n2 -= c.n2 > index ? 1 : 0;
    }
    for (polygon& p : polygons)
        for (corner& c : p.corners) {
            if (c.node == index) {
                c.node = -1;
                c.position = at;
            } else if (c.node > index) {
                --c.node;
            }
        }
}

void body::delete_constraint(int32_t index)
{
    if (index >= 0 && size_t(index) < constraints.size())
        constraints.erase(constraints.begin() + index);
}

void body::delete_polygon(int32_t index)
{
    if (index >= 0 && size_t(index) < polygons.size())
        polygons.erase(polygons.begin() + index);
}

void body::mirror()
{
    for (node& n : nodes)
        n.position.x = -n.position.x;
    for (polygon& p : polygons)
        for (corner& c : p.corners)
            if (!c.tied())
                c.position.x = -c.position.x;
    for (constraint& c : constraints)
        std::swap(c.n1, c.n2);
}

std::vector<problem> body::check() const
{
    std::vector<problem> out;
    // The loader works in single precision; so do these checks, in its order.
    float m = float(mass());
    if (!(m > 0.0f) || !std::isfinite(m))
        out.push_back({true, "The mass is " + number(m) +
                                 ": the game refuses a body without mass. Set \"mass\" above 0 in the file "
                                 "(a body without one is saved with 10)."});
    // Numbers written with very many digits read as not-a-number; the loader refuses them
    // in these keys, with the motor and speed scaled and the rail normalised as it does.
    float moment = float(tree.get("moment").as_real());
    auto key = [&](const char* name) { return float(tree.get(name).as_real()); };
    float rail_x = key("rail_x"), rail_y = key("rail_y");
    vec2 rail{rail_y, -rail_x};
    if (rail_x != 0.0f || rail_y != 0.0f)
        rail = normalised(rail);
    const std::pair<const char*, float> scalars[] = {
        {"moment", moment}, {"radius", key("radius")}, {"motor", -key("motor") * 10.0f},
        {"rotate", key("rotate")}, {"max_speed", key("max_speed") * 10.0f}, {"rail_x", is_finite(rail) ? 0.0f : NAN}};
    for (const auto& [name, value] : scalars)
        if (!std::isfinite(value)) {
            out.push_back({true, std::string("\"") + name + "\" holds a number the game cannot use (too many digits?): "
                                                            "the game refuses the body."});
            return out;
        }
    for (size_t i = 0; i < nodes.size(); ++i)
        if (!is_finite(nodes[i].position) || !std::isfinite(nodes[i].mass)) {
            out.push_back({true, "Node " + std::to_string(i) + " holds a number the game cannot use: the game refuses "
                                                               "the body."});
            return out;
        }
    for (size_t i = 0; i < constraints.size(); ++i)
        if (!std::isfinite(constraints[i].fric) || !std::isfinite(constraints[i].elast)) {
            out.push_back({true, "Constraint " + std::to_string(i) +
                                     " holds a friction or elasticity the game cannot use: the game refuses the body."});
            return out;
        }
    if (moment < 0.0f)
        out.push_back({true, "\"moment\" is negative in the file: the game refuses the body. Set it to 0 "
                             "(worked out from the nodes) or above."});
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].mass < 0.0f) {
            out.push_back({true, "Node " + std::to_string(i) + " has a negative \"mass\" in the file: the game "
                                     "refuses the body. Remove it or make it positive."});
            break;
        }
    if (moment == 0.0f && !nodes.empty() && m > 0.0f) {
        float spread = 0.0f;
        vec2 sum;
        for (const node& n : nodes) {
            sum += n.position / (n.mass == 0.0f ? 1.0f : n.mass);
            spread += n.position.length_sq();
        }
        size_t count = nodes.size() + (sum.length() > 0.01f ? 1 : 0);
        float derived = spread * m / float(count);
        if (!(derived > 0.0f) || !std::isfinite(derived))
            out.push_back({true, "Every node lies on the origin, so the body cannot turn: the game refuses it. "
                                 "Move a node away from the origin (the crossing of the two lines)."});
    }
    for (size_t i = 0; i < constraints.size(); ++i) {
        const constraint& c = constraints[i];
        if (c.n1 < 0 || c.n2 < 0 || size_t(c.n1) >= nodes.size() || size_t(c.n2) >= nodes.size()) {
            out.push_back({true, "Constraint " + std::to_string(i) + " names a node that does not exist."});
            continue;
        }
        vec2 d = nodes[size_t(c.n2)].position - nodes[size_t(c.n1)].position;
        if (d.length() < shortest_edge)
            out.push_back({true, "Constraint " + std::to_string(i) + " joins nodes " + std::to_string(c.n1) +
                                     " and " + std::to_string(c.n2) +
                                     ", which lie on one spot: the game refuses an edge of no length. "
                                     "Move one of them, or delete the constraint."});
    }
    for (size_t i = 0; i < polygons.size(); ++i)
        for (const corner& c : polygons[i].corners)
            if (c.tied() && size_t(c.node) >= nodes.size()) {
                out.push_back({true, "Polygon " + std::to_string(i) + " has a corner tied to node " +
                                         std::to_string(c.node) + ", which does not exist."});
                break;
            }

    if (nodes.empty()) {
        out.push_back({false, "The body has no nodes: the game only draws it, like a backdrop; it never "
                              "moves or collides. N adds nodes."});
    } else if (std::none_of(constraints.begin(), constraints.end(),
                            [](const constraint& c) { return c.collidable; })) {
        out.push_back({false, "No constraint is collidable (B): balls and bodies pass through this body."});
    }
    for (size_t i = 0; i < polygons.size(); ++i)
        if (polygons[i].texture.empty() || polygons[i].corners.size() < 3) {
            out.push_back({false, "Polygon " + std::to_string(i) +
                                      (polygons[i].texture.empty() ? " has no texture" : " has fewer than 3 corners") +
                                      ": the game does not draw it."});
            break;
        }
    return out;
}

bool any_refused(const std::vector<problem>& problems)
{
    return std::any_of(problems.begin(), problems.end(), [](const problem& p) { return p.refused; });
}

}  // namespace bedit
