// Full-screen effects that play over the world while a level is shown (a level names its
// effect with the key "effect"). The play screen owns at most one, updates it once per
// drawn frame and draws it after the world.
#pragma once

class visual_effect {
public:
    virtual ~visual_effect() = default;
    virtual void update() = 0;
    virtual void draw() = 0;
};

// A single moving thing of an effect; the game's effects do not use it yet.
class particle {
public:
    virtual ~particle() = default;
    virtual void update() = 0;
    virtual void draw() = 0;
};
