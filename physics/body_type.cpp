// Body types: the scalar keys, then the derived values in their fixed order (balance
// node, moment, edges, prototype, polygons), with the checks that keep the step finite.
#include "physics/body.h"
#include "physics/types.h"
#include "physics/types_internal.h"

#include "data/pak_system.h"

#include <cmath>

namespace {

const char* const kind = "body type";

float real_of(const script_handle& h, const char* key)
{
    return float(h.get(key).as_real());
}

float real_or(const script_handle& h, const char* key, float fallback)
{
    script_handle v = h.get(key);
    return v.exists() ? float(v.as_real()) : fallback;
}

// "constraints\default" from the store the type came from, else the installed default.
ref_ptr<v_constraint_type> edge_type_for(const ref_ptr<pak_chunkref>& ref)
{
    if (ref && ref->module && ref->module->system) {
        ref_ptr<v_constraint_type> t;
        if (ref->module->system->get_object("constraints\\default", t) && t && t->loaded)
            return t;
    }
    return v_default_constraint_type();
}

}  // namespace

v_body_type::v_body_type() : v_type_base(nullptr)
{}

v_body_type::~v_body_type() = default;

v_body_type::v_body_type(ref_ptr<pak_chunkref> r, const script_handle& root) : v_type_base(std::move(r))
{
    material = root.get("material").as_int();
    mass = real_of(root, "mass");
    moment = real_of(root, "moment");
    radius = real_of(root, "radius");
    pot_color = root.get("pot_color").as_int();
    float motor_key = real_of(root, "motor");
    rotate = real_of(root, "rotate");
    float max_speed_key = real_of(root, "max_speed");
    bool lock = root.get("angle_lock").as_int() != 0;
    // Read one after the other: every lookup interns its key, so the order shows in the
    // symbol table.
    float rail_y = real_of(root, "rail_y");
    float rail_x = real_of(root, "rail_x");
    set_motion(motor_key, max_speed_key, rail_x, rail_y, lock);

    std::vector<v_body_type_node> nodes;
    script_handle block = root.get("nodes");
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        float m = real_of(e, "mass");
        nodes.push_back({{real_of(e, "x"), real_of(e, "y")}, m == 0.0f ? 1.0f : m});
    }
    std::vector<v_body_type_edge> edges;
    block = root.get("constraints");
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        v_body_type_edge edge;
        edge.n1 = e.get("n1").as_int();
        edge.n2 = e.get("n2").as_int();
        edge.collidable = e.get("collidable").as_int() != 0;
        edge.fric = real_or(e, "fric", 0.5f);
        edge.elast = real_or(e, "elast", 0.5f);
        edge.pot = e.get("pot").as_int() != 0;
        edges.push_back(edge);
    }
    if (!build(nodes, edges, edge_type_for(ref)))
        return;

    std::vector<vec2> local;
    for (const v_node& n : prototype->nodes)
        local.push_back(n.position);
    if (!v_read_polys(root.get("polys"), polys, &local)) {
        loaded = false;
        v_type_refuse(name, kind, "polys", "names a node outside the node list");
    }
}

void v_body_type::set_motion(float motor_key, float max_speed_key, float rail_x, float rail_y, bool lock)
{
    motor = -motor_key * 10.0f;
    max_speed = max_speed_key * 10.0f;
    if (max_speed == 0.0f)
        max_speed = 1.0f;
    angle_lock = lock;
    rail_normal = {rail_y, -rail_x};
    has_rail = rail_x != 0.0f || rail_y != 0.0f;
    if (has_rail) {
        rail_normal = normalised(rail_normal);
        angle_lock = true;
    }
}

bool v_body_type::build(const std::vector<v_body_type_node>& nodes_in,
                        const std::vector<v_body_type_edge>& edges, ref_ptr<v_constraint_type> edge_type)
{
    loaded = false;
    prototype.reset();
    has_balance_node = false;
    const float scalars[] = {mass, moment, radius, motor, rotate, max_speed};
    const char* const scalar_keys[] = {"mass", "moment", "radius", "motor", "rotate", "max_speed"};
    for (size_t i = 0; i < 6; ++i)
        if (!std::isfinite(scalars[i]))
            return v_type_refuse(name, kind, scalar_keys[i], "must be finite");
    if (!is_finite(rail_normal))
        return v_type_refuse(name, kind, "rail_x", "must be finite");
    if (mass <= 0.0f)
        return v_type_refuse(name, kind, "mass", "must be above 0");
    if (moment < 0.0f)
        return v_type_refuse(name, kind, "moment", "must not be negative");

    // The nodes, and a balance node that brings the mass-weighted sum back to the origin.
    // (Its own mass, the mean node mass, reaches no instance, so it is not kept.)
    std::vector<vec2> local;
    vec2 sum;
    float spread = 0.0f;
    for (const v_body_type_node& n : nodes_in) {
        float m = n.mass == 0.0f ? 1.0f : n.mass;
        if (!is_finite(n.position) || !std::isfinite(m) || m < 0.0f)
            return v_type_refuse(name, kind, "nodes", "holds a negative or non-finite value");
        sum += n.position / m;
        spread += n.position.length_sq();
        local.push_back(n.position);
    }
    size_t read = local.size();
    if (read > 0 && sum.length() > 0.01f) {
        local.push_back(-sum);
        has_balance_node = true;
    }

    // The moment, from the nodes' spread when the type gives none.
    if (moment == 0.0f && !local.empty())
        moment = spread * mass / float(local.size());
    if (!local.empty() && !(moment > 0.0f && std::isfinite(moment)))
        return v_type_refuse(name, kind, "moment", "must be above 0 (derived from the nodes)");
    inv_mass = 1.0f / mass;
    inv_moment = moment > 0.0f ? 1.0f / moment : 0.0f;

    // The edges must name real nodes and have a length; their mean elasticity scales the
    // restitution of contacts against this body.
    float elast_sum = 0.0f;
    for (const v_body_type_edge& e : edges) {
        if (e.n1 < 0 || e.n2 < 0 || size_t(e.n1) >= local.size() || size_t(e.n2) >= local.size())
            return v_type_refuse(name, kind, "constraints", "names a node outside the node list");
        if ((local[size_t(e.n2)] - local[size_t(e.n1)]).length() < 1e-4f)
            return v_type_refuse(name, kind, "constraints", "holds an edge of zero length");
        if (!std::isfinite(e.fric) || !std::isfinite(e.elast))
            return v_type_refuse(name, kind, "constraints", "holds a non-finite value");
        elast_sum += e.elast;
    }
    mean_elast = edges.empty() ? 0.0f : elast_sum / float(edges.size());

    // The prototype every instance copies, in local coordinates.
    if (!edge_type)
        edge_type = v_default_constraint_type();
    auto proto = std::make_unique<v_body>();
    proto->nodes.resize(local.size());
    vec2 middle;
    for (size_t i = 0; i < local.size(); ++i) {
        proto->nodes[i].position = local[i];
        proto->nodes[i].body = proto.get();
        middle += local[i];
    }
    centroid = local.empty() ? vec2{} : middle / float(local.size());
    proto->constraints.reserve(edges.size());
    for (const v_body_type_edge& e : edges) {
        v_node* a = &proto->nodes[size_t(e.n1)];
        v_node* b = &proto->nodes[size_t(e.n2)];
        proto->constraints.emplace_back(edge_type, a, b, 0.0f, e.fric, e.elast, e.pot);
        // An edge is a plain link even if the default type were a rope.
        v_constraint& c = proto->constraints.back();
        c.inodes.clear();
        c.rest_length = (b->position - a->position).length();
    }
    for (size_t i = 0; i < edges.size(); ++i) {
        if (!edges[i].collidable)
            continue;
        v_constraint* c = &proto->constraints[i];
        proto->collidable.push_back(c);
        c->n1->on_edge = true;
        c->n2->on_edge = true;
    }
    // Finalised (the drawing polygons are read separately, by v_read_polys).
    proto->finalise();
    prototype = std::move(proto);
    loaded = true;
    return true;
}
