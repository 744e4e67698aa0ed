// The texture table: rows added by each kind of art, in a fixed order.
#include "tools/art/art_table.h"

art_texture& art_table::add(const std::string& name, int width, int height, double units_w, double units_h,
                            std::function<void(art_canvas&)> draw)
{
    art_texture t;
    t.name = name;
    t.width = width;
    t.height = height;
    t.units_w = units_w;
    t.units_h = units_h;
    t.draw = std::move(draw);
    textures.push_back(std::move(t));
    return textures.back();
}

const art_texture* art_table::find(const std::string& name) const
{
    for (const art_texture& t : textures)
        if (t.name == name)
            return &t;
    return nullptr;
}

std::string art_ui(const std::string& name)
{
    return "tex\\ui\\" + name;
}

std::string art_tex(const std::string& name)
{
    return "tex\\" + name;
}

art_table art_all_textures()
{
    art_table table;
    add_glyph_textures(table);
    add_ui_textures(table);
    add_widget_textures(table);
    add_effect_textures(table);
    add_type_textures(table);
    add_world_textures(table);
    add_tip_textures(table);
    return table;
}
