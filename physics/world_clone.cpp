// A deep copy of a running world. Every pointer between the world's parts (constraint
// ends, the active node list, contacts, hover, selection, cut events) is moved to the
// clone's own parts: the same body and node, the same constraint.
#include "physics/world.h"
#include "physics/world_internal.h"

#include <unordered_map>

namespace {

template <class T>
T* lookup(const std::unordered_map<const T*, T*>& map, const T* key)
{
    auto it = map.find(key);
    return it != map.end() ? it->second : nullptr;
}

}  // namespace

v_world v_world::clone() const
{
    v_world w(mode);
    w.verdict = verdict;
    w.step_count = step_count;
    w.markers = markers;
    std::unordered_map<const v_node*, v_node*> node_map;
    std::unordered_map<const v_body*, v_body*> body_map;
    for (const auto& b : bodies) {
        // The body's copy keeps velocity and spin and points its edges at its own nodes.
        v_body* copy = w.add_body(std::make_unique<v_body>(*b));
        body_map[b.get()] = copy;
        for (size_t i = 0; i < b->nodes.size(); ++i)
            node_map[&b->nodes[i]] = &copy->nodes[i];
    }
    for (const auto& n : loaded_nodes) {
        w.loaded_nodes.push_back(std::make_unique<v_node>(*n));
        node_map[n.get()] = w.loaded_nodes.back().get();
    }
    // The active list keeps its order; caught balls stay out of it.
    for (const v_node* n : nodes)
        if (v_node* copy = lookup(node_map, n))
            w.nodes.push_back(copy);
    std::unordered_map<const v_constraint*, v_constraint*> constraint_map;
    for (const auto& c : constraints) {
        auto copy = std::make_unique<v_constraint>(*c);
        copy->n1 = lookup(node_map, c->n1);
        copy->n2 = lookup(node_map, c->n2);
        constraint_map[c.get()] = w.add_constraint(std::move(copy));
    }
    w.hovered = lookup(constraint_map, hovered);
    w.selected = lookup(constraint_map, selected);
    for (const v_cut_event& e : cut_events)
        w.cut_events.push_back({e.position, e.countdown, lookup(constraint_map, e.constraint)});
    // A contact's edge is one of its edge body's edges and its point one of its point
    // body's nodes: the same places in the copies.
    for (v_body_contact c : contacts.items) {
        const v_body* a = c.edge_body;
        c.edge_body = lookup(body_map, a);
        c.point_body = lookup(body_map, static_cast<const v_body*>(c.point_body));
        c.point = lookup(node_map, static_cast<const v_node*>(c.point));
        if (!c.edge_body || !c.point_body || !c.point)
            continue;
        c.edge = &c.edge_body->constraints[size_t(c.edge - a->constraints.data())];
        w.contacts.add(c);
    }
    return w;
}
