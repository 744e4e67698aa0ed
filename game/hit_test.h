// Hit tests of the screens, in view units; every comparison is strict, so a point on an
// edge is outside.
#pragma once

#include <cmath>

// Inside the rectangle of centre (cx, cy) and size (w, h).
inline bool inside_rect(float x, float y, float cx, float cy, float w, float h)
{
    return cx - w / 2 < x && x < cx + w / 2 && cy - h / 2 < y && y < cy + h / 2;
}

// Within `reach` of (cx, cy) in x and in y.
inline bool within(float x, float y, float cx, float cy, float reach)
{
    return std::abs(x - cx) < reach && std::abs(y - cy) < reach;
}
