// Panels many screens share: paper sheets with deckled edges, paper tags and
// wooden boards, each with its soft shadow.
#pragma once

#include "tools/art/art_canvas.h"
#include "tools/art/art_paint.h"

#include <functional>

// A sheet of paper filling (x, y, w, h) with a slightly irregular edge and a shadow.
void art_paper_sheet(art_canvas& c, double x, double y, double w, double h, unsigned seed);
// The outline of that sheet (for clipping and shadows).
void art_paper_outline(cairo_t* cr, double x, double y, double w, double h, unsigned seed);
// A wooden board with rounded corners, bevelled edge and grain along its length.
void art_board(art_canvas& c, double x, double y, double w, double h, double radius, const art_wood& wood);
// A paper tag: a card whose `round_right` (or left) end is rounded, pinned at the other.
void art_tag(art_canvas& c, double x, double y, double w, double h, bool round_right, unsigned seed);

// Draws an emblem centred on (cx, cy) within radius r.
using art_emblem = std::function<void(art_canvas& c, double cx, double cy, double r)>;
// The world-select banner (40 x 10 units, u 0.125-0.875 shown): a board with the
// emblem on the left and the name on a paper plate on the right.
void art_banner(art_canvas& c, const art_wood& wood, const char* name, const art_emblem& emblem);
