// blur_sequence: a dissolving caption. Built once from a texture, it keeps `levels` ever
// blurrier, ever smaller copies of it (level i blurred and halved i + 1 times); drawing it
// at a progress from 0 to 1 crossfades from the sharp texture through the copies while
// the whole fades out.
//
//   blur_sequence ready(ready_texture, 4, 3.0f);   // the screens use 4 levels, sigma 3
//   ready.draw(32, 32, 40, 10, t / duration, brightness);
#pragma once

#include "render/texture.h"

#include <cstdint>
#include <vector>

class blur_sequence {
public:
    ref_ptr<gl_texture> source;
    int32_t level_count = 0;
    std::vector<uint32_t> names;  // GL textures of the blurred levels

    // Reads the source's pixels back from GL and builds the levels. Without levels (none
    // asked for) the source alone is drawn; a missing source, or one that holds no image,
    // draws nothing.
    blur_sequence(ref_ptr<gl_texture> texture, int32_t levels, float sigma);
    ~blur_sequence();
    blur_sequence(const blur_sequence&) = delete;
    blur_sequence& operator=(const blur_sequence&) = delete;

    // The quad centred on (x, y) at depth -1. With k = floor(levels x progress) (at most
    // levels - 1) and f its fraction: image k (the source for k = 0, else level k - 1) at
    // alpha (1 - f)(1 - progress), then level k at alpha (1 - progress) f, both in the grey
    // `brightness`. The colour is (brightness, brightness, brightness, 1) afterwards.
    // Progress is held to 0..1.
    void draw(float x, float y, float width, float height, float progress, float brightness) const;
};
