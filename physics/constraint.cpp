// Construction of links and ropes, and the distance used to pick them.
#include "physics/constraint.h"

#include <cmath>

namespace {

ref_ptr<v_constraint_type>& installed_default()
{
    static ref_ptr<v_constraint_type> type;
    return type;
}

ref_ptr<v_constraint_type> builtin_default()
{
    static ref_ptr<v_constraint_type> type = [] {
        auto* t = new v_constraint_type();
        t->name = "constraints\\default";
        t->check();
        return ref_ptr<v_constraint_type>(t);
    }();
    return type;
}

// Distance from p to the segment a-b (the end distances beyond the segment's span).
float segment_distance(vec2 p, vec2 a, vec2 b)
{
    vec2 s = b - a;
    float t = dot(s, p - a);
    if (t < 0.0f || s.length_sq() == 0.0f)
        return (p - a).length();
    if (t <= s.length_sq())
        return std::fabs(dot(p - a, s.perp())) / s.length();
    return (p - b).length();
}

}  // namespace

ref_ptr<v_constraint_type> v_default_constraint_type()
{
    return installed_default() ? installed_default() : builtin_default();
}

void v_set_default_constraint_type(ref_ptr<v_constraint_type> type)
{
    installed_default() = std::move(type);
}

v_constraint::v_constraint(ref_ptr<v_constraint_type> t, v_node* a, v_node* b, float rest, float friction,
                           float elasticity, bool is_pot)
    : type(t ? std::move(t) : v_default_constraint_type()), n1(a), n2(b), rest_length(rest), fric(friction),
      elast(elasticity), pot(is_pot)
{
    if (rest_length == 0.0f && n1 && n2)
        rest_length = (n2->position - n1->position).length();
    cut = false;
    rebuild();
}

void v_constraint::rebuild()
{
    if (!type || type->seg_len <= 0.0f || !n1 || !n2)
        return;
    inodes.clear();
    vec2 d = n2->position - n1->position;
    float span = d.length() / type->seg_len;
    // A NaN or absurd span must not reach the integer conversion.
    int32_t count = 0;
    if (std::isfinite(span))
        count = span >= float(v_max_rope_nodes) ? v_max_rope_nodes : int32_t(span);
    vec2 step = d / float(count + 1);
    rest_length = step.length();
    inodes.reserve(size_t(count));
    ref_ptr<v_node_type> node_type = type;
    for (int32_t i = 0; i < count; ++i)
        inodes.emplace_back(node_type, n1->position + step * float(i + 1));
}

bool v_constraint::cuttable() const
{
    return type && type->cuttable;
}

float v_constraint::distance_to(vec2 p) const
{
    if (cut || !n1 || !n2)
        return -1.0f;
    if (inodes.empty())
        return segment_distance(p, n1->position, n2->position);
    // A rope: the minimum over its polyline, capped at 1000 (which means none).
    float best = 1000.0f;
    const v_node* prev = n1;
    size_t count = inodes.size();
    for (size_t i = 0; i <= count; ++i) {
        const v_node* next = i < count ? &inodes[i] : n2;
        vec2 a = prev->position, b = next->position, s = b - a;
        float t = dot(s, p - a);
        if (t < 0.0f) {
            float q = (p - a).length_sq();
            if (q < best * best)
                best = std::sqrt(q);
        } else if (t <= s.length_sq() && s.length_sq() > 0.0f) {
            float dist = std::fabs(dot(p - a, s.perp())) / s.length();
            if (dist < best)
                best = dist;
        } else {
            float q = (p - b).length_sq();
            if (q < best * best)
                best = std::sqrt(q);
        }
        prev = next;
    }
    return best == 1000.0f ? -1.0f : best;
}
