// A rectangle of the editors' interface space, given by its edges. Hit tests are strict, as
// the game's are: a point on an edge is outside.
#pragma once

struct ed_rect {
    float left = 0, top = 0, right = 0, bottom = 0;

    bool contains(float x, float y) const { return left < x && x < right && top < y && y < bottom; }
    float width() const { return right - left; }
    float height() const { return bottom - top; }
};
