// Feeds arbitrary text to the generator's template reader, formulas and all, and composes a
// few candidates from what it accepts.
#include "tools/sim/sim_compose.h"
#include "tools/sim/sim_templates.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    sim_templates templates;
    std::string error;
    if (!sim_read_templates(text, templates, error))
        return 0;
    for (uint64_t n = 0; n < 3; ++n) {
        sim_candidate candidate;
        std::string why;
        sim_compose_candidate(templates, 1, n, candidate, why);
    }
    return 0;
}
