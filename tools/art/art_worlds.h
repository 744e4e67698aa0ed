// The four worlds' looks: materials, colours, emblem and motif, rune glyph and
// map painter. A new world is a row in `art_worlds()` and a map function.
#pragma once

#include "tools/art/art_panels.h"

#include <vector>

struct art_world;
using art_map_painter = void (*)(art_canvas& c, const art_world& w);

struct art_world {
    const char* key;   // folder under tex\worlds
    const char* name;  // shown on the emblem banner
    art_wood board;    // the banner's wood
    art_colour ribbon, enamel, plate, glass;
    int rune_shape;
    art_emblem emblem, motif;  // first and second medallion
    art_map_painter map;
    art_map_painter backdrop;  // behind levels: the world's "bodies\backdrop_<key>" type
};

const std::vector<art_world>& art_worlds();

// The map pictures, 64 x 64 units.
void art_draw_workshop_map(art_canvas& c, const art_world& w);
void art_draw_mill_map(art_canvas& c, const art_world& w);
void art_draw_clocktower_map(art_canvas& c, const art_world& w);
void art_draw_observatory_map(art_canvas& c, const art_world& w);
void art_draw_workshop_backdrop(art_canvas& c, const art_world& w);
void art_draw_mill_backdrop(art_canvas& c, const art_world& w);
void art_draw_clocktower_backdrop(art_canvas& c, const art_world& w);
void art_draw_observatory_backdrop(art_canvas& c, const art_world& w);
