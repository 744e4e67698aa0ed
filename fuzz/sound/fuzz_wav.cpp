// Arbitrary bytes as a WAVE source file.
#include "sound/codec/wav_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    w_pcm pcm;
    std::string error;
    if (w_read_wav(data, size, pcm, error) && pcm.samples.size() % 2 != 0)
        __builtin_trap();
    return 0;
}
