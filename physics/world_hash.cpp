// The world state hash.
#include "physics/world_hash.h"

#include <cstring>

namespace {

struct fnv {
    uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) {
            h ^= b[i];
            h *= 1099511628211ull;
        }
    }
    void real(float f)
    {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        bytes(&u, 4);
    }
    void point(vec2 v)
    {
        real(v.x);
        real(v.y);
    }
    void integer(int32_t i) { bytes(&i, 4); }
};

}  // namespace

uint64_t v_world_hash(const v_world& world)
{
    fnv f;
    f.integer(world.verdict);
    f.integer(world.step_count);
    f.integer(int32_t(world.nodes.size()));
    for (const auto& n : world.loaded_nodes) {
        f.point(n->position);
        f.point(n->velocity);
    }
    for (const auto& b : world.bodies) {
        f.point(b->position);
        f.point(b->velocity);
        f.real(b->angle);
        f.real(b->spin);
    }
    for (const auto& c : world.constraints) {
        f.integer(c->cut ? 1 : 0);
        for (const v_node& n : c->inodes) {
            f.point(n.position);
            f.point(n.velocity);
        }
    }
    f.integer(int32_t(world.contacts.size()));
    return f.h;
}
