// The fixed simulation step that the frame clock, the physics world and the tools share:
// 180 steps a second, each 1/180 s as a single-precision value.
#pragma once

#include <cstdint>

constexpr int32_t steps_per_second = 180;
// The float the world integrates with (0.0055555557); every conversion between seconds
// and steps goes through this value so that it rounds the same way everywhere.
constexpr float step_seconds = 1.0f / float(steps_per_second);
static_assert(step_seconds == 0.0055555557f);
