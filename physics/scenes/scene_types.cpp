// The code-built types of the shared scenes.
#include "physics/scenes/scene_types.h"

#include "physics/body.h"

#include <cmath>
#include <string>

namespace {

ref_ptr<v_constraint_type> finish(v_constraint_type* t, const char* name)
{
    t->name = name;
    t->check();
    return ref_ptr<v_constraint_type>(t);
}

ref_ptr<v_body_type> body_of(const char* name, float mass, std::vector<vec2> corners,
                             std::vector<v_body_type_edge> edges)
{
    auto* t = new v_body_type();
    t->name = name;
    t->mass = mass;
    std::vector<v_body_type_node> nodes;
    for (vec2 c : corners)
        nodes.push_back({c, 1.0f});
    t->build(nodes, edges);
    return ref_ptr<v_body_type>(t);
}

// A closed collidable outline through every node in order.
std::vector<v_body_type_edge> outline(int32_t count)
{
    std::vector<v_body_type_edge> edges;
    for (int32_t i = 0; i < count; ++i) {
        v_body_type_edge e;
        e.n1 = i;
        e.n2 = (i + 1) % count;
        e.collidable = true;
        e.elast = 0.0f;
        edges.push_back(e);
    }
    return edges;
}

}  // namespace

ref_ptr<v_node_type> scene_ball_type(int32_t color, float radius, float mass)
{
    auto* t = new v_node_type();
    t->name = "nodes\\ball_" + std::to_string(color);
    t->material = 1;
    t->mass = mass;
    t->radius = radius;
    t->color = color;
    t->check();
    return ref_ptr<v_node_type>(t);
}

ref_ptr<v_node_type> scene_anchor_type()
{
    auto* t = new v_node_type();
    t->name = "nodes\\anchor";
    t->mass = 1.0f;
    t->radius = 0.3f;
    t->check();
    return ref_ptr<v_node_type>(t);
}

ref_ptr<v_node_type> scene_bumper_type(float speed)
{
    auto* t = new v_node_type();
    t->name = "nodes\\bumper";
    t->material = 2;
    t->mass = 5.0f;
    t->radius = 1.5f;
    t->collision_velocity = speed;
    t->check();
    return ref_ptr<v_node_type>(t);
}

ref_ptr<v_constraint_type> scene_rope_type(float seg_len)
{
    auto* t = new v_constraint_type();
    t->compression_k = 0.0001f;
    t->seg_len = seg_len;
    t->seg_mass = 0.1f;
    return finish(t, "constraints\\rope_stiff");
}

ref_ptr<v_constraint_type> scene_elastic_rope_type(float seg_len)
{
    auto* t = new v_constraint_type();
    t->tension_k = 0.1f;
    t->tension_damp = 0.02f;
    t->compression_k = 0.0001f;
    t->seg_len = seg_len;
    t->seg_mass = 0.1f;
    return finish(t, "constraints\\rope");
}

ref_ptr<v_constraint_type> scene_spring_type(float k, float damp, float force)
{
    auto* t = new v_constraint_type();
    t->tension_k = k;
    t->tension_damp = damp;
    t->compression_k = k;
    t->compression_damp = damp;
    t->compression_force = force;
    return finish(t, "constraints\\spring");
}

ref_ptr<v_constraint_type> scene_rod_type()
{
    auto* t = new v_constraint_type();
    t->cuttable = false;
    return finish(t, "constraints\\rod");
}

ref_ptr<v_body_type> scene_box_type(float w, float h, float mass, float spacing)
{
    float x = w / 2.0f, y = h / 2.0f;
    std::vector<vec2> corners;
    // Each side from one corner towards the next, split into pieces no longer than spacing.
    auto side = [&](vec2 from, vec2 to) {
        float len = (to - from).length();
        int32_t pieces = spacing > 0.0f ? int32_t(std::ceil(len / spacing - 0.001f)) : 1;
        for (int32_t i = 0; i < pieces; ++i)
            corners.push_back(from + (to - from) * (float(i) / float(pieces)));
    };
    side({-x, -y}, {x, -y});
    side({x, -y}, {x, y});
    side({x, y}, {-x, y});
    side({-x, y}, {-x, -y});
    return body_of("bodies\\box", mass, corners, outline(int32_t(corners.size())));
}

ref_ptr<v_body_type> scene_pot_type(int32_t color)
{
    const float x = 4.0f, y = 3.0f, t = 0.6f;
    std::vector<vec2> corners = {{-x, -y},    {-x + t, -y}, {-x + t, y - t}, {x - t, y - t},
                                 {x - t, -y}, {x, -y},      {x, y},          {-x, y}};
    std::vector<v_body_type_edge> edges = outline(8);
    edges[2].pot = true;  // the inner floor, from (-x + t, y - t) to (x - t, y - t)
    ref_ptr<v_body_type> type = body_of("bodies\\pot", 5.0f, corners, edges);
    type->pot_color = color;
    type->name = "bodies\\pot_" + std::to_string(color);
    return type;
}
