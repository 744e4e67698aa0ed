// The buffers a world's step reuses from one step to the next, so that a settled scene
// steps without allocating. Only the step and the contact resolver use them.
#pragma once

#include "physics/world.h"

#include <vector>

struct v_step_scratch {
    // A free node that takes part in node-node collision, packed for the all-pairs test.
    struct pair_entry {
        float x, y, radius;
        v_node* node;
    };
    std::vector<pair_entry> pairs;
    // The position and angle each body's nodes were last placed from in this step.
    struct body_pose {
        vec2 position;
        float angle = 0.0f;
        bool placed = false;
    };
    std::vector<body_pose> poses;
    // The body contacts in the order of the position pass (lowest point first).
    std::vector<v_body_contact*> contact_order;
};
