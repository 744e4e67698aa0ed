// Persistent body-body contacts: a node on body B's outline that entered body A gets a
// contact on A's nearest collidable edge; each step pushes the bodies apart, applies a
// restitution impulse and a friction impulse that sticks until the load breaks it.
#include "physics/collision.h"

#include "physics/sound_hooks.h"
#include "physics/world_internal.h"

#include <cmath>

namespace {

// Inverse effective mass of a body at p along d: 1/M + (1/I) cross(r, d)^2.
float inverse_mass_at(const v_body& b, vec2 p, vec2 d)
{
    float c = cross(p - b.position, d);
    return b.inv_mass() + b.inv_moment() * c * c;
}

// The push that moves the contact point of A against B by about e. s is |e|^2 times the
// inverse effective mass along e, so the component-wise cubes over s give e / k along an
// axis and less off it (half on a diagonal): a damped pull-back that never overshoots the
// point where the contact first stuck.
vec2 contact_shift(const v_body& a, const v_body& b, vec2 p, vec2 e)
{
    vec2 ra = p - a.position, rb = p - b.position;
    vec2 ga = e * a.inv_mass() + ra.perp() * (a.inv_moment() * cross(ra, e));
    vec2 gb = -e * b.inv_mass() + rb.perp() * (b.inv_moment() * cross(rb, -e));
    float s = dot(e, ga - gb);
    if (!(s != 0.0f) || !std::isfinite(s))
        return {};
    return vec2{e.x * e.x * e.x, e.y * e.y * e.y} / s;
}

// Push along n that moves body X at p by `amount`: n (n/M + perp(r) (1/I) cross(r, n)).
float push_scale(const v_body& x, vec2 p, vec2 n)
{
    vec2 r = p - x.position;
    return dot(n, n * x.inv_mass() + r.perp() * (x.inv_moment() * cross(r, n)));
}

float share_of(const v_body& a, const v_body& b, const v_constraint& edge, const v_node& point)
{
    if (point.fixed)
        return 1.0f;
    if (edge.n1->fixed && edge.n2->fixed)
        return 0.0f;
    float s = a.mass() / (a.mass() + b.mass());
    return s > 0.0f && s < 1.0f ? s : 0.5f;
}

// The height a body's collision outline spans.
struct outline_span {
    float top, bottom;
};

// The inside test counts the outline edges that span the point's height, so a point
// above or below every outline node is outside without it.
outline_span span_of(const v_body& a)
{
    float top = INFINITY, bottom = -INFINITY;
    for (const v_constraint* e : a.collidable)
        for (float y : {e->n1->position.y, e->n2->position.y}) {
            if (y < top)
                top = y;
            if (y > bottom)
                bottom = y;
        }
    return {top, bottom};
}

// Whether two bodies' bounding circles overlap: their centres nearer than the sum of the radii.
bool bounds_overlap(const v_body& a, const v_body& b)
{
    return (b.position - a.position).length() < a.bound_radius + b.bound_radius;
}

void detect_pair(v_world& world, v_body& a, outline_span span, v_body& b)
{
    for (v_node& p : b.nodes) {
        if (!p.on_edge || p.position.y < span.top || p.position.y >= span.bottom || !a.contains(p.position))
            continue;
        // The nearest edge that the point lies over decides, and only that edge must be
        // free of a contact. Both rules keep stacks at rest: stopping at the first edge
        // that has a contact would leave every body a single contact, and stacks would
        // sink through each other; without the "lies over" rule a corner point that
        // entered near the end of a floor edge is put on the nearest line of a side edge,
        // whose contact then slides off at once, and boxes creep and tilt instead of
        // settling (the stack, floor and sliding tests of the physics suite fail).
        v_constraint* best_edge = nullptr;
        float best = 10000.0f;
        for (v_constraint* e : a.collidable) {
            vec2 p1 = e->n1->position, p2 = e->n2->position;
            vec2 outward{p2.y - p1.y, -(p2.x - p1.x)};
            float len_sq = e->rest_length * e->rest_length;
            if (!(len_sq > 0.0f))
                continue;
            float along = dot(p.position - p1, p2 - p1);
            if (along < 0.0f || along > (p2 - p1).length_sq())
                continue;
            float value = std::fabs(dot(p.position - p1, outward)) / len_sq;
            if (value < best && dot(p.position - b.position, outward) < 0.0f) {
                best = value;
                best_edge = e;
            }
        }
        bool taken = best_edge && world.contacts.has(best_edge);
        if (taken || !best_edge)
            continue;
        if (best_edge->n1->fixed && best_edge->n2->fixed && p.fixed)
            continue;
        vec2 p1 = best_edge->n1->position;
        vec2 u = normalised(best_edge->n2->position - p1);
        v_body_contact c;
        c.edge_body = &a;
        c.point_body = &b;
        c.edge = best_edge;
        c.point = &p;
        c.along = dot(p.position - p1, u);
        c.share = share_of(a, b, *best_edge, p);
        c.sticking = false;
        world.contacts.add(c);
    }
}

// The velocity pass of one contact; false when the contact ends.
bool contact_velocity(v_body_contact& c)
{
    v_body& a = *c.edge_body;
    v_body& b = *c.point_body;
    vec2 p = c.point->position;
    vec2 p1 = c.edge->n1->position;
    vec2 edge = c.edge->n2->position - p1;
    float len = edge.length();
    if (!(len > 0.0f))
        return false;
    vec2 u = edge / len;
    vec2 n{u.y, -u.x};
    if (dot(n, p - p1) >= 0.01f)
        return false;
    float t = dot(u, p - p1);
    v_contact_mode mode = c.share == 0.0f   ? v_contact_edge_immovable
                          : c.share == 1.0f ? v_contact_point_immovable
                                            : v_contact_both;

    float jn = v_contact_rel(a, b, p, n, mode);
    if (jn > 0.0f)
        return true;
    float strength = dot(a.velocity_at(p) - b.velocity_at(p), n) / v_sound_strength_scale;
    if (strength > v_sound_threshold)
        v_sounds().play_collision_sound(strength, a.material(), b.material());

    float mean_elast = b.type ? b.type->mean_elast : 0.0f;
    float f = 1.0f + c.edge->elast * mean_elast;
    a.impulse_at(p, n * (f * jn));
    b.impulse_at(p, -n * (f * jn));

    float jt = v_contact_rel(a, b, p, u, mode);
    float limit = jn * 1.0f;  // friction coefficient 1
    if (std::fabs(jt) < std::fabs(limit)) {
        c.sticking = true;
    } else if (c.sticking) {
        float m = c.share == 0.0f ? b.mass() : c.share == 1.0f ? a.mass() : 0.0f;
        // Friction (coefficient 1) holds up to fifteen steps' worth of gravity's pull:
        // 1/1620 is g dt^2, 20 units/s^2 over one step of 1/180 s, squared.
        float load = -n.y * m;
        if (std::fabs(jt * load) > 15.0f / 1620.0f)
            c.sticking = false;
    } else {
        c.sticking = false;
    }

    float applied;
    if (c.sticking) {
        applied = jt;
        c.offset = u * (c.along - t);
        if (c.offset.length() > 0.001f) {
            c.offset = contact_shift(a, b, p, -c.offset);
            a.move_at(p, c.offset * 0.5f);
            b.move_at(p, -c.offset * 0.5f);
        }
    } else {
        applied = jt < 0.0f ? -std::fabs(jn) : std::fabs(jn);
        c.along = t;
        if (t < 0.0f || t > len)
            return false;
    }
    a.impulse_at(p, u * applied);
    b.impulse_at(p, -u * applied);
    return true;
}

}  // namespace

float v_contact_rel(const v_body& a, const v_body& b, vec2 p, vec2 d, v_contact_mode mode)
{
    float k = 0.0f;
    if (mode != v_contact_edge_immovable)
        k += inverse_mass_at(a, p, d);
    if (mode != v_contact_point_immovable)
        k += inverse_mass_at(b, p, d);
    if (!(k > 0.0f))
        return 0.0f;
    return dot(b.velocity_at(p) - a.velocity_at(p), d) / k;
}

void v_detect_contacts(v_world& world)
{
    for (const auto& a : world.bodies) {
        if (a->collidable.empty())
            continue;
        // Detection moves nothing: the outline's span, once needed, holds for every pair.
        bool spanned = false;
        outline_span span{};
        for (const auto& b : world.bodies) {
            if (a == b || b->collidable.empty() || (a->immovable && b->immovable) || !bounds_overlap(*a, *b))
                continue;
            if (!spanned) {
                span = span_of(*a);
                spanned = true;
            }
            detect_pair(world, *a, span, *b);
        }
    }
}

void v_resolve_contacts(v_world& world)
{
    std::vector<v_body_contact*>& order = world.scratch->contact_order;
    order.clear();
    for (v_body_contact& c : world.contacts.items)
        order.push_back(&c);
    // Lowest point on screen first, ties in map order. An insertion sort: stable, and
    // unlike std::stable_sort it needs no buffer, so the step does not allocate.
    for (size_t i = 1; i < order.size(); ++i) {
        v_body_contact* c = order[i];
        float y = c->point->position.y;
        size_t j = i;
        for (; j > 0 && order[j - 1]->point->position.y < y; --j)
            order[j] = order[j - 1];
        order[j] = c;
    }
    for (v_body_contact* c : order) {
        v_body& a = *c->edge_body;
        v_body& b = *c->point_body;
        vec2 p = c->point->position;
        vec2 p1 = c->edge->n1->position;
        vec2 u = normalised(c->edge->n2->position - p1);
        vec2 n{u.y, -u.x};
        float depth = dot(n, p - p1);
        if (depth >= 0.0f)
            continue;
        if (n.y > 0.0f) {
            float s = push_scale(a, p, n);
            if (s > 0.0f)
                a.move_at(p, n * (0.5f * depth) / s);
        } else {
            float s = push_scale(b, p, n);
            if (s > 0.0f)
                b.move_at(p, -n * (0.5f * depth) / s);
        }
    }
    // Map order; contacts that end are dropped, the others keep their order.
    std::vector<v_body_contact>& items = world.contacts.items;
    size_t kept = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!contact_velocity(items[i]))
            continue;
        if (kept != i)
            items[kept] = items[i];
        ++kept;
    }
    items.resize(kept);
}
