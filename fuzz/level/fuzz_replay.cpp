// Feeds arbitrary bytes to the replay player as chunk data, with and without expected
// counts, and plays whatever loads to its end.
#include "physics/replay.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    v_replay r;
    v_replay_counts counts;
    counts.nodes = 3;
    counts.bodies = 1;
    counts.cuts = 1;
    for (int pass = 0; pass < 2; ++pass) {
        r.init();
        if (!r.load(data, size, pass ? &counts : nullptr))
            continue;
        for (int steps = 0; steps < 100000 && r.advance(); ++steps) {
            float angle;
            vec2 p;
            r.body(0, p, angle);
            (void)r.node(2);
            (void)r.cut(0);
        }
    }
    return 0;
}
