// A fingerprint of a world's dynamic state, for determinism checks: two runs, two
// builds or a run and its replayed copy agree exactly when their hashes do.
#pragma once

#include "physics/world.h"

#include <cstdint>

// FNV-1a over the bit patterns of every free node, body, rope node and cut flag, the
// verdict and the step count.
uint64_t v_world_hash(const v_world& world);
