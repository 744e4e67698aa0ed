// Integration and the elementary pushes of a point mass.
#include "physics/node.h"

#include "physics/body.h"

float v_node::link_mass() const
{
    return body ? body->mass() : type_mass();
}

void v_node::integrate(float dt)
{
    if (body)
        return;
    if (fixed) {
        velocity = {};
        accel = {};
        return;
    }
    velocity += accel * dt;
    position += velocity * dt;
    accel = {0.0f, v_gravity};
}

void v_node::move_body(vec2 d)
{
    body->move_at(position, d);
}

void v_node::impulse_body(vec2 j)
{
    body->impulse_at(position, j);
}

vec2 v_node::body_velocity_at() const
{
    return body->velocity_at(position);
}
