// Node and constraint types read from their script blocks, the polygon lists shared by
// all three type classes, and the checks that refuse data the step cannot survive.
#include "physics/types.h"

#include "app/log.h"
#include "physics/types_internal.h"

#include <cmath>

namespace {

float real_of(const script_handle& h, const char* key)
{
    return float(h.get(key).as_real());
}

float real_or(const script_handle& h, const char* key, float fallback)
{
    script_handle v = h.get(key);
    return v.exists() ? float(v.as_real()) : fallback;
}

}  // namespace

v_type_base::v_type_base(ref_ptr<pak_chunkref> r) : pak_chunk(std::move(r))
{
    if (ref)
        name = ref->get_name();
}

bool v_type_refuse(const std::string& type_name, const char* kind, const char* key, const char* why)
{
    log_line(log_problem) << kind << " '" << type_name << "': key \"" << key << "\" " << why
                          << ", type refused";
    return false;
}

bool v_read_polys(const script_handle& block, v_poly_list& out, const std::vector<vec2>* nodes)
{
    out = {};
    int32_t pending = 0;
    bool ok = true;
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        if (e.get("tex").exists()) {
            const char* tex = e.get("tex").as_string();
            out.polygons.push_back({tex ? tex : "", real_of(e, "z"), pending});
            pending = 0;
            continue;
        }
        v_poly_vertex v;
        script_handle node = nodes ? e.get("node") : script_handle();
        if (node.exists()) {
            int32_t k = node.as_int();
            if (k < 0 || size_t(k) >= nodes->size()) {
                ok = false;
                k = -1;
            } else {
                v.x = (*nodes)[size_t(k)].x;
                v.y = (*nodes)[size_t(k)].y;
            }
            v.node = k;
        } else if (nodes || e.get("x").exists()) {
            v.x = real_of(e, "x");
            v.y = real_of(e, "y");
        }
        v.tx = real_of(e, "tx");
        v.ty = real_of(e, "ty");
        out.vertices.push_back(v);
        ++pending;
    }
    return ok;
}

void v_read_rope_polys(const script_handle& block, v_poly_list& out)
{
    out = {};
    int32_t pending = 0;
    for (script_id i = 0;; ++i) {
        script_handle e = block.get(i);
        if (!e.exists())
            break;
        if (e.get("x").exists()) {
            v_poly_vertex v;
            v.x = real_of(e, "x");
            v.y = real_of(e, "y");
            v.tx = real_of(e, "tx");
            v.ty = real_of(e, "ty");
            out.vertices.push_back(v);
            ++pending;
        } else {
            const char* tex = e.get("tex").as_string();
            out.polygons.push_back({tex ? tex : "", real_of(e, "z"), pending});
            pending = 0;
        }
    }
}

v_node_type::v_node_type(ref_ptr<pak_chunkref> r, const script_handle& root) : v_type_base(std::move(r))
{
    material = root.get("material").as_int();
    mass = real_of(root, "mass");
    radius = real_of(root, "radius");
    color = root.get("color").as_int();
    collision_velocity = real_of(root, "collision_velocity");
    v_read_polys(root.get("polys"), polys);
    check();
}

bool v_node_type::check()
{
    const char* kind = "node type";
    loaded = false;
    if (!std::isfinite(mass) || mass <= 0.0f)
        return v_type_refuse(name, kind, "mass", "must be above 0");
    if (!std::isfinite(radius) || radius < 0.0f)
        return v_type_refuse(name, kind, "radius", "must not be negative");
    if (!std::isfinite(collision_velocity))
        return v_type_refuse(name, kind, "collision_velocity", "must be finite");
    loaded = true;
    return true;
}

v_constraint_type::v_constraint_type(ref_ptr<pak_chunkref> r, const script_handle& root)
    : v_node_type(std::move(r))
{
    tension_k = real_of(root, "tension.k");
    tension_damp = real_of(root, "tension.damp");
    tension_force = real_of(root, "tension.force");
    compression_k = real_of(root, "compression.k");
    compression_damp = real_of(root, "compression.damp");
    compression_force = real_of(root, "compression.force");
    seg_len = real_of(root, "seg_len");
    seg_mass = real_of(root, "seg_mass");
    if (seg_mass == 0.0f)
        seg_mass = 0.1f;
    mass = seg_mass;
    cuttable = root.get("uncuttable").as_int() == 0;
    fric = real_or(root, "fric", 0.5f);
    elast = real_or(root, "elast", 0.5f);
    v_read_rope_polys(root.get("polys"), rope_polys);
    check();
}

bool v_constraint_type::check()
{
    const char* kind = "constraint type";
    loaded = false;
    const struct {
        const char* key;
        float value;
    } reals[] = {
        {"tension.k", tension_k},
        {"tension.damp", tension_damp},
        {"tension.force", tension_force},
        {"compression.k", compression_k},
        {"compression.damp", compression_damp},
        {"compression.force", compression_force},
        {"fric", fric},
        {"elast", elast},
    };
    for (const auto& r : reals)
        if (!std::isfinite(r.value))
            return v_type_refuse(name, kind, r.key, "must be finite");
    if (!std::isfinite(seg_len) || seg_len < 0.0f)
        return v_type_refuse(name, kind, "seg_len", "must not be negative");
    if (!std::isfinite(seg_mass) || seg_mass <= 0.0f)
        return v_type_refuse(name, kind, "seg_mass", "must be above 0");
    mass = seg_mass;
    loaded = true;
    return true;
}
