// Reads arbitrary text as a node, a constraint and a body type, puts every type that
// loads into a world and steps it for a second: nothing may read out of bounds or hit
// undefined behaviour, however wild the numbers. A refused body type makes no body.
#include "data/script.h"
#include "physics/body.h"
#include "physics/world.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    std::string text(reinterpret_cast<const char*>(data), size);
    script_handle root = script_handle::fresh(&symbols);
    script_parser(root).parse(text.c_str());

    ref_ptr<v_node_type> node(new v_node_type(nullptr, root));
    ref_ptr<v_constraint_type> link(new v_constraint_type(nullptr, root));
    ref_ptr<v_body_type> body(new v_body_type(nullptr, root));

    v_world w;
    v_node* a = nullptr;
    v_node* b = nullptr;
    if (node->loaded) {
        a = w.add_node(node, {30.0f, 20.0f}, true);
        b = w.add_node(node, {34.0f, 24.0f});
        w.add_node(node, {34.5f, 24.0f});
    }
    if (link->loaded && a && b)
        w.add_constraint(link, a, b);
    if (body->loaded) {
        require(body->prototype != nullptr);
        w.add_body(v_make_body(body, {32.0f, 40.0f}, 0.3f));
        w.add_body(v_make_body(body, {33.0f, 44.0f}, 0.0f));
    } else {
        require(!v_make_body(body, {}, 0.0f));
    }
    for (int i = 0; i < 180; ++i)
        w.step();
    w.pick_constraint({32.0f, 22.0f}, 10.0f, true);
    w.pick_body({32.0f, 40.0f});
    return 0;
}
