// The shared scenes.
#include "physics/scenes/scenes.h"

namespace {

v_body* add_pinned(v_world& w, const ref_ptr<v_body_type>& type, vec2 at)
{
    v_body* b = w.add_body(v_make_body(type, at, 0.0f));
    for (v_node& n : b->nodes)
        n.fixed = true;
    b->finalise();
    return b;
}

scene_handles hanging_ball(v_world& w, vec2 anchor_at, vec2 ball_at, int32_t color)
{
    scene_handles h;
    v_node* anchor = w.add_node(scene_anchor_type(), anchor_at, true);
    h.ball = w.add_node(scene_ball_type(color), ball_at);
    h.rope = w.add_constraint(scene_rope_type(), anchor, h.ball);
    return h;
}

}  // namespace

scene_handles scene_ball_over_pot(v_world& w, int32_t ball_color, int32_t pot_color)
{
    scene_handles h = hanging_ball(w, {32.0f, 8.0f}, {32.0f, 24.0f}, ball_color);
    h.pot = add_pinned(w, scene_pot_type(pot_color), {32.0f, 52.0f});
    return h;
}

scene_handles scene_ball_over_void(v_world& w)
{
    return hanging_ball(w, {32.0f, 8.0f}, {32.0f, 24.0f}, 1);
}

void scene_box_stack(v_world& w, int32_t count)
{
    add_pinned(w, scene_box_type(40.0f, 2.0f, 10.0f, 2.0f), {32.0f, 60.0f});
    ref_ptr<v_body_type> box = scene_box_type(4.0f, 4.0f, 2.0f);
    // Alternate boxes are offset by one unit: each box then rests on one corner of its
    // own and one corner of the box below, two contacts on two different edges.
    for (int32_t i = 0; i < count; ++i)
        w.add_body(v_make_body(box, {33.0f + float(i % 2), 57.0f - 4.0f * float(i)}, 0.0f));
}

scene_handles scene_rope_pendulum(v_world& w)
{
    return hanging_ball(w, {32.0f, 20.0f}, {42.0f, 20.0f}, 0);
}

void scene_stress(v_world& w)
{
    // Floors and a staircase of boxes: ten bodies that touch each other.
    add_pinned(w, scene_box_type(60.0f, 2.0f, 10.0f), {32.0f, 62.0f});
    add_pinned(w, scene_box_type(20.0f, 1.0f, 10.0f), {14.0f, 40.0f});
    ref_ptr<v_body_type> box = scene_box_type(4.0f, 4.0f, 2.0f);
    for (int32_t i = 0; i < 8; ++i) {
        float x = 8.0f + 6.0f * float(i % 4);
        float y = i < 4 ? 59.0f : 37.5f;
        w.add_body(v_make_body(box, {x, y}, 0.0f));
    }
    // Ten ropes of 20 segments, each with a ball at its end.
    ref_ptr<v_constraint_type> rope = scene_elastic_rope_type(1.0f);
    ref_ptr<v_node_type> anchor = scene_anchor_type();
    for (int32_t i = 0; i < 10; ++i) {
        float x = 34.0f + 2.8f * float(i);
        v_node* top = w.add_node(anchor, {x, 2.0f}, true);
        v_node* end = w.add_node(scene_ball_type(1 + i % 4, 0.8f), {x + 4.0f, 21.0f});
        w.add_constraint(rope, top, end);
    }
    // Loose balls piled in the right half.
    for (int32_t i = 0; i < 30; ++i) {
        float x = 36.0f + 2.1f * float(i % 12);
        float y = 40.0f + 2.1f * float(i / 12);
        w.add_node(scene_ball_type(1 + i % 4, 0.9f), {x, y});
    }
}

double scene_node_energy(const v_world& w)
{
    auto energy = [](const v_node& n) {
        double m = n.type_mass();
        double v2 = double(n.velocity.x) * n.velocity.x + double(n.velocity.y) * n.velocity.y;
        return 0.5 * m * v2 - m * double(v_gravity) * n.position.y;
    };
    double e = 0.0;
    for (const v_node* n : w.nodes)
        if (!n->fixed)
            e += energy(*n);
    for (const auto& c : w.constraints)
        for (const v_node& n : c->inodes)
            e += energy(n);
    return e;
}
