// Constraint solving: springs, rigid links and the body link, in their fixed orders.
#include "physics/solver.h"

#include "physics/body.h"

namespace {

// Rigid link with a body end: moves each end by half its share of the error, then
// returns the impulse that cancels the relative velocity along the link.
float body_link(v_node& a, v_node& b, float rest, bool rope)
{
    float ma = a.link_mass(), mb = b.link_mass();
    float r;
    if (a.fixed)
        r = 1.0f;
    else if (b.fixed || rope)
        r = 0.0f;
    else
        r = ma / (ma + mb);
    vec2 d = b.position - a.position;
    float dist = d.length();
    if (dist < 0.01f)
        return 0.0f;
    vec2 n = d / dist;
    vec2 corr = n * (rest - dist);
    a.move(-corr * (1.0f - r) * ma / 2.0f);
    b.move(corr * r * mb / 2.0f);

    d = b.position - a.position;
    dist = d.length();
    if (!(dist > 0.0f))
        return 0.0f;
    n = d / dist;
    float k = 0.0f;
    for (const v_node* e : {&a, &b}) {
        if (e->fixed)
            continue;
        if (e->body) {
            float c = cross(e->position - e->body->position, n);
            k += e->body->inv_mass() + e->body->inv_moment() * c * c;
        } else {
            k += 1.0f / e->type_mass();
        }
    }
    if (!(k > 0.0f))
        return 0.0f;
    return dot(n, b.velocity_at() - a.velocity_at()) / k;
}

}  // namespace

void v_solve_segment(const v_constraint& c, v_node& a, v_node& b, bool rope)
{
    const v_constraint_type& t = *c.type;
    float rest = c.rest_length;
    vec2 d = b.position - a.position;
    float dist = d.length();
    if (dist < 0.01f)
        return;
    bool stretched = dist >= rest;
    float k = stretched ? t.tension_k : t.compression_k;
    float damp = stretched ? t.tension_damp : t.compression_damp;

    if (k > 0.0f) {
        vec2 n = d / dist;
        float f;
        if (t.compression_force != 0.0f)
            f = t.compression_force;
        else
            f = 100.0f * k * (dist - rest) + damp * dot(n, b.velocity_at() - a.velocity_at());
        a.impulse(n * f);
        b.impulse(-n * f);
        return;
    }
    if (!a.body && !b.body) {
        // Two fixed ends stay where they are pinned.
        if (a.fixed && b.fixed)
            return;
        float ma = a.type_mass(), mb = b.type_mass();
        float r = mb / (ma + mb);
        if (b.fixed)
            r = 1.0f;
        else if (a.fixed)
            r = 0.0f;
        vec2 corr = d * (-(dist - rest) / dist);
        a.position -= corr * r;
        b.position += corr * (1.0f - r);
        a.velocity -= corr * r / v_dt;
        b.velocity += corr * (1.0f - r) / v_dt;
        return;
    }
    float j = body_link(a, b, rest, rope);
    float f = j / 2.0f;
    vec2 n = normalised(b.position - a.position);
    a.impulse(n * f);
    b.impulse(-n * f);
}

void v_solve_constraint(v_constraint& c)
{
    if (!c.type || !c.n1 || !c.n2)
        return;
    std::vector<v_node>& in = c.inodes;
    if (in.empty()) {
        v_solve_segment(c, *c.n1, *c.n2, false);
        return;
    }
    size_t count = in.size();
    if (c.n2->position.y < c.n1->position.y) {
        for (size_t k = 0; k + 1 < count; ++k)
            v_solve_segment(c, in[k], in[k + 1], true);
        v_solve_segment(c, *c.n1, in[0], true);
        v_solve_segment(c, in[count - 1], *c.n2, true);
    } else {
        v_solve_segment(c, *c.n2, in[count - 1], true);
        for (size_t k = count - 1; k > 0; --k)
            v_solve_segment(c, in[k], in[k - 1], true);
        v_solve_segment(c, in[0], *c.n1, true);
    }
}
