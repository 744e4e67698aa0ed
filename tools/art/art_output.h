// Writing the generated data root (PNG sources, codec sidecars, the texture
// metadata script, a stamp) and the contact sheet of every texture.
#pragma once

#include "render/image/image_codec.h"
#include "tools/art/art_table.h"

#include <string>
#include <vector>

// Draws every texture of the table. The images come back in table order. With
// `timing`, prints the milliseconds each texture took.
std::vector<image_rgba> art_draw_all(const art_table& table, bool timing = false);

// True when `root` may be written: missing, empty, or holding the stamp of an
// earlier run. False with a message otherwise.
bool art_check_root(const std::string& root, std::string& error);

// Replaces the contents of `root` with the sources of the images. Refuses a folder
// that holds files but no stamp of an earlier run, so a mistyped path is never
// emptied. False with a message on failure.
bool art_write_root(const art_table& table, const std::vector<image_rgba>& images, const std::string& root,
                    std::string& error);

// One picture of every texture over a checkerboard, labelled with its name.
bool art_write_contact_sheet(const art_table& table, const std::vector<image_rgba>& images,
                             const std::string& path, std::string& error);

// The metadata script: one block per texture that animates, repeats or scrolls.
std::string art_metadata_script(const art_table& table);
