// Feeds arbitrary text to the level loader (with real types, so indices, masks and
// ropes are exercised), steps what loads, and saves it again.
#include "app/log.h"
#include "physics/level.h"
#include "tools/sim/sim_level.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

sim_context& context()
{
    static sim_context* ctx = [] {
        log_redirect_sink0(nullptr);
        v_set_message_box([](const char*, const char*) {});
        auto* c = new sim_context;
        sim_source_options o;
        o.data_roots.push_back(std::string(TAMBLE_SOURCE_DIR) + "/tests/levels/data");
        std::string error;
        c->open(o, error);
        return c;
    }();
    return *ctx;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    context();
    std::string text(reinterpret_cast<const char*>(data), size);
    v_world world;
    v_level_report report;
    if (!v_level_load_text(world, text.c_str(), "fuzz", &report))
        return 0;
    for (int i = 0; i < 5; ++i)
        world.step();
    std::string saved = v_level_text(world);
    v_world again;
    v_level_load_text(again, saved.c_str(), "fuzz again", &report);
    return 0;
}
