// Impacts: what two materials sound like when they meet. Each material is a small
// set of resonant modes plus the noise of the contact; an impact strikes both bodies
// with the contact time of the softer one and adds a touch of room.
#pragma once

#include "tools/synth/dsp/resonators.h"
#include "tools/synth/dsp/signal.h"

#include <cstdint>
#include <vector>

struct material_voice {
    const char* name;
    std::vector<resonator_mode> modes;
    float contact;      // seconds the surfaces touch
    float noise_level;  // the scrape/click of the contact itself
    double noise_freq;  // centre of that noise, Hz
    float noise_decay;  // seconds to -60 dB
};

// The materials of the game's bodies and nodes.
const material_voice& glass_material();
const material_voice& metal_material();
const material_voice& rubber_material();
const material_voice& clay_material();
const material_voice& solid_wood_material();
const material_voice& hollow_wood_material();
const material_voice& stone_material();
const material_voice& rope_material();
const material_voice& soft_material();

// `a` strikes `b`. `weight_a` scales how much the striking body itself rings (a
// small ball rings less than the plank it lands on). `detune` shifts every mode by
// that factor, so that pairs sharing materials still sound apart.
stereo_buffer impact(const material_voice& a, const material_voice& b, float weight_a, double detune,
                     uint32_t seed);
// A bumper: a short rubbery thump that drops in pitch, with the spring behind it.
stereo_buffer bumper_hit(uint32_t seed);
