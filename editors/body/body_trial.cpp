// "Try it": the body as the game's type loader builds it, dropped into a little world
// with a floor and a ball of each colour, so that a designer sees it fall, roll and catch.
#include "editors/body/body_editor.h"

#include "data/script_text.h"
#include "physics/body.h"

#include <algorithm>

namespace bedit {

namespace {

// The node types of the balls, colour 1 to 4.
const char* const ball_types[trial_ball_colors] = {"nodes\\ball_red", "nodes\\ball_blue", "nodes\\ball_green",
                                                   "nodes\\ball_yellow"};
// The trial floor's top lies this far below the body's lowest node, but no lower than this.
constexpr float floor_gap = 6, floor_lowest = 60;
// The balls start this far above the body's highest node, but no higher than this.
constexpr float ball_gap = 5, ball_highest = 2;
constexpr float ball_spacing = 2.5f;

// A floor with a low wall at each end, which keeps the balls in view.
ref_ptr<v_body_type> floor_type()
{
    ref_ptr<v_body_type> t = new v_body_type();
    t->name = "bodies\\(trial floor)";
    t->mass = 20.0f;
    t->set_motion(0, 0, 0, 0, false);
    float w = trial_floor_half_width, h = trial_floor_half_height, wall = w - trial_wall_width,
          rim = -h - trial_wall_height;
    // The outline, clockwise on the screen as the game's bodies go, every edge collidable.
    // The top is cut into unit edges: a body touches an edge at one place at a time, so a
    // body standing on one long edge would sink at one end.
    std::vector<v_body_type_node> nodes = {{{-w, rim}}, {{-wall, rim}}};
    for (float x = -wall; x <= wall; x += 1.0f)
        nodes.push_back({{x, -h}});
    for (vec2 p : {vec2{wall, rim}, vec2{w, rim}, vec2{w, h}, vec2{-w, h}})
        nodes.push_back({p});
    std::vector<v_body_type_edge> edges;
    for (size_t i = 0; i < nodes.size(); ++i)
        edges.push_back({int32_t(i), int32_t((i + 1) % nodes.size()), true});
    t->build(nodes, edges);
    // The floor's texture over the floor and each wall.
    auto quad = [&](float x0, float y0, float x1, float y1) {
        float u0 = (x0 + w) / (2 * w), u1 = (x1 + w) / (2 * w);
        t->polys.vertices.push_back({x0, y0, u0, 0, -1});
        t->polys.vertices.push_back({x1, y0, u1, 0, -1});
        t->polys.vertices.push_back({x1, y1, u1, 1, -1});
        t->polys.vertices.push_back({x0, y1, u0, 1, -1});
        t->polys.polygons.push_back({"tex\\bodies\\floor", -4.0f, 4});
    };
    quad(-w, -h, w, h);
    quad(-w, rim, -wall, -h);
    quad(wall, rim, w, -h);
    return t;
}

ref_ptr<v_node_type> ball_type(pak_system* store, int32_t color)
{
    ref_ptr<v_node_type> t;
    if (store && store->get_object(ball_types[color - 1], t) && t && t->loaded)
        return t;
    // Data without the game's balls: a plain ball of the colour.
    t = new v_node_type();
    t->name = ball_types[color - 1];
    t->mass = 1.0f;
    t->radius = 1.0f;
    t->color = color;
    t->check();
    return t;
}

}  // namespace

ref_ptr<v_body_type> trial_body_type(const std::string& text, std::string& why)
{
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    if (!script_parser(root).parse(text.c_str())) {
        why = "Its text does not parse.";
        return nullptr;
    }
    ref_ptr<v_body_type> type = new v_body_type(nullptr, root);
    type->name = "bodies\\(trial)";
    if (!type->loaded) {
        why = "The game's type loader refuses it (the log names the key).";
        return nullptr;
    }
    return type;
}

std::unique_ptr<v_world> trial_world(const ref_ptr<v_body_type>& type, pak_system* store)
{
    auto world = std::make_unique<v_world>(v_mode_play);
    // The body's extent: its nodes, or the origin's surroundings when it has none.
    vec2 lo{-2, -2}, hi{2, 2};
    if (type && type->prototype)
        for (const v_node& n : type->prototype->nodes) {
            lo = {std::min(lo.x, n.position.x), std::min(lo.y, n.position.y)};
            hi = {std::max(hi.x, n.position.x), std::max(hi.y, n.position.y)};
        }
    if (auto b = v_make_body(type, {origin_x, origin_y}, 0.0f))
        world->add_body(std::move(b));

    float top = std::min(origin_y + hi.y + floor_gap, floor_lowest);
    if (auto f = v_make_body(floor_type(), {origin_x, top + trial_floor_half_height}, 0.0f)) {
        for (v_node& n : f->nodes)
            n.fixed = true;
        f->finalise();
        world->add_body(std::move(f));
    }

    // The balls in a row above the body, across its width.
    float spacing = std::max(ball_spacing, (hi.x - lo.x) / float(trial_ball_colors));
    float y = std::max(origin_y + lo.y - ball_gap, ball_highest);
    float middle = origin_x + (lo.x + hi.x) / 2;
    for (int32_t k = 0; k < trial_ball_colors; ++k) {
        float x = middle + (float(k) - float(trial_ball_colors - 1) / 2) * spacing;
        world->add_node(ball_type(store, k + 1), {x, y});
    }
    return world;
}

void body_editor::start_trial()
{
    problems = work.check();
    std::string refused;
    for (const problem& p : problems)
        if (p.refused)
            refused += (refused.empty() ? "" : "\n") + p.text;
    std::string why;
    ref_ptr<v_body_type> type = refused.empty() ? trial_body_type(body_text(), why) : nullptr;
    if (!type) {
        dialog.message("The game would refuse this body, so it cannot be tried yet.\n" +
                           (refused.empty() ? why : refused),
                       "Try it");
        return;
    }
    trial_type = type;
    trial = trial_world(type, store);
    clear_selection();
    end_carry();
    status = "Trying the body: it falls onto a floor among a ball of each colour. Space: back to editing.";
}

void body_editor::stop_trial()
{
    if (!trial)
        return;
    trial.reset();
    trial_type = nullptr;
    refresh_selection();
    status = "Back to editing; the body is as it was.";
}

void body_editor::trial_step()
{
    if (trial)
        trial->step();
}

}  // namespace bedit
