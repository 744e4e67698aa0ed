// Free node against free node and body against free node.
#include "physics/collision.h"

#include "physics/sound_hooks.h"

#include <cmath>

void v_node_node(v_node& a, v_node& b)
{
    if (!a.type || !b.type)
        return;
    float big_r = a.type->radius + b.type->radius;
    vec2 d = b.position - a.position;
    float q = d.length_sq();
    if (q > big_r * big_r)
        return;
    vec2 o;
    if (q > 0.0f) {
        float dist = std::sqrt(q);
        o = d * (big_r - dist) / dist;
    } else {
        // Coincident centres have no direction: part them vertically instead of
        // dividing by zero.
        if (!(big_r > 0.0f))
            return;
        d = {0.0f, big_r};
        q = big_r * big_r;
        o = d;
    }
    float wa, wb;
    if (!a.fixed && !b.fixed)
        wa = wb = 0.5f;
    else if (a.fixed && !b.fixed)
        wa = 0.0f, wb = 1.0f;
    else if (!a.fixed && b.fixed)
        wa = 1.0f, wb = 0.0f;
    else
        return;
    if (!a.fixed)
        a.position -= o * wa;
    if (!b.fixed)
        b.position += o * wb;

    float vn = dot(b.velocity - a.velocity, d);
    if (vn > 0.0f)
        return;
    if (!a.fixed && !b.fixed) {
        float ma = a.type->mass, mb = b.type->mass;
        wb = ma / (ma + mb);
        wa = 1.0f - wb;
    }
    float strength = -vn / v_sound_strength_scale;
    float ca = a.type->collision_velocity, cb = b.type->collision_velocity;
    if (ca != 0.0f) {
        b.velocity = normalised(b.position - a.position) * ca;
        if (!a.fixed)
            a.velocity = -b.velocity;
        strength = 1.0f;
    } else if (cb != 0.0f) {
        a.velocity = normalised(a.position - b.position) * cb;
        if (!b.fixed)
            b.velocity = -a.velocity;
        strength = 1.0f;
    } else {
        float k = 2.0f * vn / q;
        a.velocity += d * k * wa;
        b.velocity -= d * k * wb;
    }
    if (strength > v_sound_threshold)
        v_sounds().play_collision_sound(strength, a.type->material, b.type->material);
}

int32_t v_body_node(v_body& body, v_node& node)
{
    if (!node.type)
        return v_catch_none;
    const float r = node.type->radius;
    const float m = node.type->mass;
    const int32_t colour = node.type->color;
    for (v_constraint* e : body.collidable) {
        vec2 a = e->n1->position;
        vec2 edge = e->n2->position - a;
        float len = edge.length();
        if (!(len > 0.0f))
            continue;
        vec2 u = edge / len;
        vec2 n{u.y, -u.x};
        float d = dot(n, node.position - a);
        if (!(d > 0.0f && d < r))
            continue;
        float t = dot(u, node.position - a);
        float penetration;
        vec2 normal;
        if (t >= 0.0f && t <= len) {
            penetration = r - d;
            normal = n;
        } else {
            vec2 w = node.position - (t > len ? e->n2->position : a);
            float wq = w.length_sq();
            if (wq > r * r || !(wq > 0.0f))
                continue;
            float wl = std::sqrt(wq);
            penetration = r - wl;
            normal = w / wl;
        }
        float k = node.fixed ? 0.0f : 1.0f / m;
        if (!body.immovable && body.type) {
            float c = cross(node.position - body.position, normal);
            k += c * c * body.inv_moment() + body.inv_mass();
        }
        if (k > 0.0f) {
            float j = dot(node.velocity - body.velocity_at(node.position), normal) / k;
            if (j < 0.0f) {
                j = j * (1.0f + e->elast);
                body.impulse_at(node.position, normal * j);
                if (!node.fixed)
                    node.impulse(-normal * j);
                float strength = -j * k / v_sound_strength_scale;
                if (strength > v_sound_threshold)
                    v_sounds().play_collision_sound(strength, node.type->material, body.material());
            }
        }
        // The body is not moved; a pinned node is not moved either.
        if (!node.fixed)
            node.move(normal * penetration * m);
        // Any node touching a pot edge is judged, approaching or not: whatever lands in a
        // pot of another colour (a plain weight included) fails the level.
        if (e->pot)
            return body.type && body.type->pot_color == colour ? v_catch_own_pot : v_catch_wrong_pot;
    }
    return v_catch_none;
}
