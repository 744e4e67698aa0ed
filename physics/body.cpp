// Rigid body motion: integration with the built-in motor, node placement, pushes and
// impulses at a point, and the pins and rails that hold a body to its fixed nodes.
#include "physics/body.h"

#include "physics/trig.h"

#include <cmath>

namespace {

// Impulse magnitude along unit vector u that cancels the body's velocity at p along u.
float stop_impulse(const v_body& b, vec2 p, vec2 u)
{
    if (b.immovable)
        return 0.0f;
    if (b.angle_lock())
        return b.mass() * -dot(b.velocity, u);
    float c = cross(p - b.position, u);
    float k = b.inv_mass() + b.inv_moment() * c * c;
    return k > 0.0f ? -dot(b.velocity_at(p), u) / k : 0.0f;
}

// Push that moves the body's point p by about e, with component-wise cubes damping
// the pull near the anchor.
vec2 pin_shift(const v_body& b, vec2 p, vec2 e)
{
    if (b.angle_lock())
        return e * b.mass();
    if (e.length() < 0.001f)
        return {};
    vec2 r = p - b.position;
    vec2 g = e * b.inv_mass() + r.perp() * (b.inv_moment() * cross(r, e));
    float s = dot(e, g);
    if (!(s > 0.0f))
        return {};
    return vec2{e.x * e.x * e.x, e.y * e.y * e.y} / s;
}

}  // namespace

v_body::v_body(const v_body& o)
    : type(o.type), nodes(o.nodes), position(o.position), velocity(o.velocity), angle(o.angle), spin(o.spin),
      bound_radius(o.bound_radius), immovable(o.immovable), z_bias(o.z_bias)
{
    for (v_node& n : nodes)
        n.body = this;
    constraints.reserve(o.constraints.size());
    for (const v_constraint& c : o.constraints) {
        v_constraint copy = c;
        int32_t i1 = o.node_index(c.n1), i2 = o.node_index(c.n2);
        copy.n1 = i1 >= 0 ? &nodes[size_t(i1)] : nullptr;
        copy.n2 = i2 >= 0 ? &nodes[size_t(i2)] : nullptr;
        constraints.push_back(std::move(copy));
    }
    collidable.reserve(o.collidable.size());
    for (const v_constraint* c : o.collidable)
        collidable.push_back(&constraints[size_t(c - o.constraints.data())]);
}

float v_body::mass() const
{
    return type ? type->mass : 1.0f;
}
float v_body::inv_mass() const
{
    return type ? type->inv_mass : 1.0f;
}
float v_body::inv_moment() const
{
    return type ? type->inv_moment : 1.0f;
}
bool v_body::angle_lock() const
{
    return type && type->angle_lock;
}
int32_t v_body::material() const
{
    return type ? type->material : 0;
}

vec2 v_body::transform(vec2 l) const
{
    float s, c;
    v_sincos(angle, s, c);
    return {l.x * c - l.y * s + position.x, l.x * s + l.y * c + position.y};
}

vec2 v_body::local_node(size_t i) const
{
    if (type && type->prototype && i < type->prototype->nodes.size())
        return type->prototype->nodes[i].position;
    return {};
}

void v_body::integrate(float dt)
{
    if (immovable || !type)
        return;
    const v_body_type& t = *type;
    if (t.motor != 0.0f) {
        if (spin * t.motor > 0.0f && std::fabs(spin) > t.max_speed)
            spin -= t.motor * dt / t.mass;
        else
            spin += t.motor * dt / t.mass;
    }
    if (t.rotate != 0.0f)
        spin = t.rotate;
    velocity += vec2{0.0f, v_gravity} * dt;
    position += velocity * dt;
    if (!t.angle_lock)
        angle += spin * dt;
}

void v_body::place_nodes(bool all)
{
    if (!type || !type->prototype)
        return;
    const std::vector<v_node>& local = type->prototype->nodes;
    // The turn is worked out at the first node that moves: a body whose nodes are all
    // fixed (a pinned pot) or that has none (a backdrop) needs none.
    bool turned = false;
    float s = 0.0f, c = 1.0f;
    size_t count = nodes.size() < local.size() ? nodes.size() : local.size();
    for (size_t i = 0; i < count; ++i) {
        if (nodes[i].fixed && !all)
            continue;
        if (!turned) {
            v_sincos(angle, s, c);
            turned = true;
        }
        vec2 l = local[i].position;
        nodes[i].position = {l.x * c - l.y * s + position.x, l.x * s + l.y * c + position.y};
    }
}

void v_body::move_at(vec2 p, vec2 d)
{
    if (immovable)
        return;
    position += d * inv_mass();
    if (!angle_lock())
        angle += inv_moment() * cross(p - position, d);
}

void v_body::impulse_at(vec2 p, vec2 j)
{
    if (immovable)
        return;
    velocity += j * inv_mass();
    if (!angle_lock())
        spin += inv_moment() * cross(p - position, j);
}

vec2 v_body::velocity_at(vec2 p) const
{
    vec2 r = p - position;
    return velocity + vec2{-r.y, r.x} * spin;
}

void v_body::finalise()
{
    float far = 0.0f;
    bool all_fixed = true;
    for (const v_node& n : nodes) {
        float q = (n.position - position).length_sq();
        if (q > far)
            far = q;
        all_fixed = all_fixed && n.fixed;
    }
    bound_radius = std::sqrt(far) + 0.5f;
    immovable = all_fixed;
}

bool v_body::enforce_pins()
{
    if (immovable || !type)
        return false;
    const v_body_type& t = *type;
    auto rail_dir = [&] {
        float s, c;
        v_sincos(angle, s, c);
        vec2 n = t.rail_normal;
        return vec2{n.x * c - n.y * s, n.x * s + n.y * c};
    };
    bool pinned = false;
    for (const v_node& n : nodes) {
        if (!n.fixed)
            continue;
        pinned = true;
        vec2 a = n.position;
        if (t.has_rail) {
            vec2 u = rail_dir();
            impulse_at(a, u * stop_impulse(*this, a, u) / 2.0f);
        } else {
            vec2 ux{1.0f, 0.0f}, uy{0.0f, 1.0f};
            impulse_at(a, ux * stop_impulse(*this, a, ux) / 2.0f);
            impulse_at(a, uy * stop_impulse(*this, a, uy) / 2.0f);
        }
    }
    if (!pinned)
        return false;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].fixed)
            continue;
        vec2 a = nodes[i].position;
        vec2 e = a - transform(local_node(i));
        if (t.has_rail) {
            vec2 u = rail_dir();
            move_at(a, pin_shift(*this, a, u * dot(u, e)));
        } else {
            move_at(a, pin_shift(*this, a, e));
        }
    }
    place_nodes(false);
    return true;
}

bool v_body::contains(vec2 p) const
{
    bool inside = false;
    for (const v_constraint* e : collidable) {
        vec2 p1 = e->n1->position, p2 = e->n2->position;
        float lhs = (p.y - p1.y) * (p2.x - p1.x), rhs = (p2.y - p1.y) * (p.x - p1.x);
        if ((p1.y <= p.y && p.y < p2.y && lhs > rhs) || (p2.y <= p.y && p.y < p1.y && lhs < rhs))
            inside = !inside;
    }
    return inside;
}

int32_t v_body::node_index(const v_node* n) const
{
    if (nodes.empty() || n < nodes.data() || n >= nodes.data() + nodes.size())
        return -1;
    return int32_t(n - nodes.data());
}

std::unique_ptr<v_body> v_make_body(const ref_ptr<v_body_type>& type, vec2 position, float angle,
                                    float z_bias)
{
    if (!type || !type->loaded || !type->prototype)
        return nullptr;
    auto body = std::make_unique<v_body>(*type->prototype);
    body->type = type;
    body->position = position;
    body->angle = angle;
    body->velocity = {};
    body->spin = 0.0f;
    body->z_bias = z_bias;
    for (v_node& n : body->nodes)
        n.fixed = false;
    body->place_nodes(true);
    body->finalise();
    return body;
}
