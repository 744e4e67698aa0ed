// The table of every texture the generator draws: its chunk name, pixel size,
// drawing space, how the archive stores it, its entry in the global script tree
// (animation, repeat, scrolling) and the function that draws it. Each kind of art
// adds its rows in its own file; a new type or screen needs a row and a function.
#pragma once

#include "tools/art/art_canvas.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct art_texture {
    std::string name;  // chunk name with backslashes, "tex\ui\Star_On"
    int width = 0, height = 0;
    double units_w = 1, units_h = 1;         // the space `draw` works in
    bool raw = false;                        // exact RGBA (fonts, hard alpha edges)
    int quality = 90;                        // image codec quality otherwise
    bool bleed = true;                       // colour transparent pixels from their neighbours
    std::optional<art_colour> empty_colour;  // else give them this colour
    // Texture metadata: "anim_speed" (present when animated), "repeat", scrolling.
    bool animated = false;
    int anim_speed = 0;
    bool repeat = false;
    double scroll_x = 0, scroll_y = 0;
    std::function<void(art_canvas&)> draw;
};

class art_table {
public:
    std::vector<art_texture> textures;

    // Adds a row; further fields are set on the returned row.
    art_texture& add(const std::string& name, int width, int height, double units_w, double units_h,
                     std::function<void(art_canvas&)> draw);
    const art_texture* find(const std::string& name) const;
};

// Chunk names: "tex\ui\NAME", "tex\NAME".
std::string art_ui(const std::string& name);
std::string art_tex(const std::string& name);

// The rows of each kind of art.
void add_glyph_textures(art_table& table);
void add_ui_textures(art_table& table);
void add_widget_textures(art_table& table);
void add_effect_textures(art_table& table);
void add_type_textures(art_table& table);
void add_world_textures(art_table& table);
void add_tip_textures(art_table& table);

// Every texture, in a fixed order.
art_table art_all_textures();
