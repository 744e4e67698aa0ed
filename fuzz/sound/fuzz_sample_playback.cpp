// Arbitrary bytes as a "SAMP" chunk played through the mixer: the first byte chooses which
// of four voices loop; the rest is the chunk. Four voices play it at once, pass after pass
// with the decoding ahead between passes, until they end or a bounded number of passes has
// run (a frame count in HEAD is held small, so that a valid sample ends within the bound).
#include "sound/mixer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t max_frames = 20000;
constexpr int max_passes = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;
    uint8_t loops = data[0];
    ref_ptr<w_sample> sample(new w_sample(nullptr, data + 1, uint32_t(size - 1)));
    sample->sample.head[2] %= max_frames;
    sound_mixer mixer;
    for (int i = 0; i < 4; ++i)
        mixer.play(sample, 1.0f, 0.5f, (loops >> i) & 1 ? sound_flag_loop : 0);
    std::vector<int16_t> out(2 * 512);
    for (int pass = 0; pass < max_passes && mixer.busy_voices() > 0; ++pass) {
        mixer.mix(out.data(), 64 + (pass * 97) % 449);
        mixer.refill_streams();
        mixer.tick();
        if (pass == max_passes / 2)
            for (const sound_voice& v : mixer.voices)
                mixer.stop(v.handle);
    }
    mixer.tick();
    if (mixer.busy_voices() != 0)
        __builtin_trap();  // stopped voices must be freed
    return 0;
}
