// Integration and the elementary pushes of a point mass.
#include "physics/node.h"

#include "physics/body.h"

float v_node::type_mass() const { return type ? type->mass : 1.0f; }

float v_node::link_mass() const { return body ? body->mass() : type_mass(); }

int32_t v_node::color() const { return type ? type->color : 0; }

float v_node::radius() const { return type ? type->radius : 0.0f; }

int32_t v_node::material() const { return type ? type->material : 0; }

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

void v_node::move(vec2 d)
{
    if (body)
        body->move_at(position, d);
    else
        position += d / type_mass();
}

void v_node::impulse(vec2 j)
{
    if (body)
        body->impulse_at(position, j);
    velocity += j / type_mass();
}

vec2 v_node::velocity_at() const { return body ? body->velocity_at(position) : velocity; }
