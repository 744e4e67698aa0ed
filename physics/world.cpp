// The world's lists and the operations that add, remove, copy, pick and rebuild their
// elements. Removal clears every pointer into what goes (hover, selection, contacts,
// pending cut events) so nothing dangles.
#include "physics/world.h"
#include "physics/world_internal.h"

#include <algorithm>

v_world::v_world(int32_t world_mode) : mode(world_mode), scratch(std::make_unique<v_step_scratch>())
{}
v_world::~v_world() = default;
v_world::v_world(v_world&&) noexcept = default;
v_world& v_world::operator=(v_world&&) noexcept = default;

v_body_contact* v_contact_map::find(const v_constraint* edge)
{
    for (v_body_contact& c : items)
        if (c.edge == edge)
            return &c;
    return nullptr;
}

bool v_contact_map::has(const v_constraint* edge) const
{
    for (const v_body_contact& c : items)
        if (c.edge == edge)
            return true;
    return false;
}

void v_contact_map::forget_body(const v_body* b)
{
    std::erase_if(items, [b](const v_body_contact& c) { return c.edge_body == b || c.point_body == b; });
}

v_world v_world::copy(const v_world& source, int32_t world_mode, v_replay& replay)
{
    v_world w(world_mode);
    // Old node -> new node, for free nodes and body nodes alike.
    auto map_node = [&](const v_node* n) -> v_node* {
        if (!n)
            return nullptr;
        if (n->body) {
            int32_t bi = source.body_index(n->body);
            int32_t ni = bi >= 0 ? n->body->node_index(n) : -1;
            return ni >= 0 ? &w.bodies[size_t(bi)]->nodes[size_t(ni)] : nullptr;
        }
        auto it = std::find(source.nodes.begin(), source.nodes.end(), n);
        return it != source.nodes.end() ? w.nodes[size_t(it - source.nodes.begin())] : nullptr;
    };
    for (const auto& b : source.bodies) {
        auto copy = std::make_unique<v_body>(*b);
        copy->velocity = {};
        copy->spin = 0.0f;
        w.add_body(std::move(copy));
    }
    for (const v_node* n : source.nodes) {
        auto copy = std::make_unique<v_node>(*n);
        copy->body = nullptr;
        w.add_node(std::move(copy));
    }
    for (const auto& c : source.constraints) {
        v_node* a = map_node(c->n1);
        v_node* b = map_node(c->n2);
        if (!a || !b)
            continue;  // an end that is no longer in the world (a caught ball)
        auto copy = std::make_unique<v_constraint>(*c);
        copy->n1 = a;
        copy->n2 = b;
        copy->cut = false;
        w.add_constraint(std::move(copy));
    }
    v_world_attach_replay(w, replay, nullptr);
    return w;
}

void v_world::clear()
{
    verdict = v_verdict_undecided;
    contacts.clear();
    cut_events.clear();
    hovered = selected = nullptr;
    constraints.clear();
    bodies.clear();
    nodes.clear();
    loaded_nodes.clear();
}

v_body* v_world::add_body(std::unique_ptr<v_body> body)
{
    if (!body)
        return nullptr;
    bodies.push_back(std::move(body));
    return bodies.back().get();
}

v_node* v_world::add_node(std::unique_ptr<v_node> node)
{
    if (!node)
        return nullptr;
    node->body = nullptr;
    loaded_nodes.push_back(std::move(node));
    nodes.push_back(loaded_nodes.back().get());
    return nodes.back();
}

v_node* v_world::add_node(ref_ptr<v_node_type> type, vec2 position, bool fixed)
{
    return add_node(std::make_unique<v_node>(std::move(type), position, fixed));
}

v_constraint* v_world::add_constraint(std::unique_ptr<v_constraint> con)
{
    if (!con)
        return nullptr;
    constraints.push_back(std::move(con));
    return constraints.back().get();
}

v_constraint* v_world::add_constraint(ref_ptr<v_constraint_type> type, v_node* n1, v_node* n2,
                                      float rest_length)
{
    return add_constraint(std::make_unique<v_constraint>(std::move(type), n1, n2, rest_length));
}

v_marker& v_world::add_marker(float x, float y, float angle)
{
    markers.push_back({x, y, angle});
    return markers.back();
}

void v_world::forget_constraint(const v_constraint* con)
{
    if (hovered == con)
        hovered = nullptr;
    if (selected == con)
        selected = nullptr;
    std::erase_if(cut_events, [con](const v_cut_event& e) { return e.constraint == con; });
}

void v_world::remove_constraint(v_constraint* con)
{
    auto it =
        std::find_if(constraints.begin(), constraints.end(), [con](const auto& c) { return c.get() == con; });
    if (it == constraints.end())
        return;
    forget_constraint(con);
    constraints.erase(it);
}

void v_world::remove_node(v_node* n)
{
    auto owned =
        std::find_if(loaded_nodes.begin(), loaded_nodes.end(), [n](const auto& p) { return p.get() == n; });
    if (owned == loaded_nodes.end())
        return;
    std::vector<v_constraint*> doomed;
    for (const auto& c : constraints)
        if (c->n1 == n || c->n2 == n)
            doomed.push_back(c.get());
    for (v_constraint* c : doomed)
        remove_constraint(c);
    std::erase(nodes, n);
    loaded_nodes.erase(owned);
}

void v_world::remove_body(v_body* b)
{
    auto owned = std::find_if(bodies.begin(), bodies.end(), [b](const auto& p) { return p.get() == b; });
    if (owned == bodies.end())
        return;
    std::vector<v_constraint*> doomed;
    for (const auto& c : constraints)
        if ((c->n1 && c->n1->body == b) || (c->n2 && c->n2->body == b))
            doomed.push_back(c.get());
    for (v_constraint* c : doomed)
        remove_constraint(c);
    contacts.forget_body(b);
    bodies.erase(owned);
}

void v_world::rebuild_ropes_of(const v_node* n)
{
    for (const auto& c : constraints)
        if (c->n1 == n || c->n2 == n)
            c->rebuild();
}

void v_world::rebuild_ropes_of(const v_body* b)
{
    for (const auto& c : constraints)
        if ((c->n1 && c->n1->body == b) || (c->n2 && c->n2->body == b))
            c->rebuild();
}

int32_t v_world::node_index(const v_node* n) const
{
    for (size_t i = 0; i < loaded_nodes.size(); ++i)
        if (loaded_nodes[i].get() == n)
            return int32_t(i);
    return -1;
}

int32_t v_world::body_index(const v_body* b) const
{
    for (size_t i = 0; i < bodies.size(); ++i)
        if (bodies[i].get() == b)
            return int32_t(i);
    return -1;
}

int32_t v_world::constraint_index(const v_constraint* c) const
{
    for (size_t i = 0; i < constraints.size(); ++i)
        if (constraints[i].get() == c)
            return int32_t(i);
    return -1;
}

v_body* v_world::body_of(const v_node* n) const
{
    if (!n || !n->body)
        return nullptr;
    return body_index(n->body) >= 0 ? n->body : nullptr;
}

v_constraint* v_world::pick_constraint(vec2 p, float max_distance, bool cuttable_only) const
{
    v_constraint* best = nullptr;
    float best_distance = max_distance;
    for (const auto& c : constraints) {
        if (c->cut || (cuttable_only && !c->cuttable()))
            continue;
        float d = c->distance_to(p);
        if (d >= 0.0f && d < best_distance) {
            best_distance = d;
            best = c.get();
        }
    }
    return best;
}

v_body* v_world::pick_body(vec2 p) const
{
    v_body* best = nullptr;
    float depth = -1000000.0f;
    for (const auto& b : bodies) {
        if (b->contains(p) && b->z_bias > depth) {
            depth = b->z_bias;
            best = b.get();
        }
    }
    return best;
}

v_node* v_world::pick_node(vec2 p) const
{
    v_node* best = nullptr;
    float best_q = 2.0f;
    for (const auto& b : bodies) {
        for (v_node& n : b->nodes) {
            float q = (n.position - p).length_sq();
            if (q < best_q) {
                best_q = q;
                best = &n;
            }
        }
    }
    for (v_node* n : nodes) {
        float q = (n->position - p).length_sq();
        if (q < best_q) {
            best_q = q;
            best = n;
        }
    }
    return best;
}

int32_t v_world::pick_marker(vec2 p) const
{
    int32_t best = 0;
    float best_q = 2.0f;
    for (size_t i = 0; i < markers.size(); ++i) {
        vec2 d = vec2{markers[i].x, markers[i].y} - p;
        float q = d.length_sq();
        if (q < best_q) {
            best_q = q;
            best = int32_t(i) + 1;
        }
    }
    return best;
}
