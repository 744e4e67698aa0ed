// A level's four intro pictures, made one way for everyone who makes them: the game's
// capture key, `tamble-sim previews` and the level editor's preview builder. The level is
// drawn as it stands (a world just built: the level at its start) over the playfield
// backdrop into the render target's capture, read back, resampled to 128, 64, 32 and 16
// pixels (make_level_images), and kept as the PNG sources the archive build packs:
//
//   levels\Drop  ->  <root>/tex/levels/Drop3.png ... Drop0.png  ->  "tex\levels\Drop3" ...
//
//   std::string note;
//   if (!capture_level_pictures(render_target_global(), window, &pak, world, "base",
//                               "levels\\Drop", note))
//       log_line(log_always) << note;
#pragma once

#include "render/render_target.h"

#include <array>
#include <string>

class v_world;

// "<root>/tex/levels/Drop" for "levels\Drop": the pictures are this followed by "0.png" to
// "3.png". Backslashes of the level name become '/'.
std::string level_picture_base(const std::string& root, const std::string& level);

// Writes the four pictures (BGRA, bottom row first, as captured) as opaque RGB PNG files
// base + "0.png" ... base + "3.png", making the folder first. False with the reason when
// one cannot be written.
bool write_level_pictures(const std::string& base, const std::array<level_image, 4>& images,
                          std::string& error);

// Sets the render target up on the window (once; `store` gives it the playfield backdrop),
// draws the world into its capture and writes the pictures under `root`. True with `note`
// naming the files written; false with the reason (no render target, a file that cannot be
// written). The window's view is set back to the game's (centre (32, 32), half-height 32);
// the GL state the caller had is restored.
bool capture_level_pictures(render_target& target, glw_window& window, pak_system* store, const v_world& world,
                            const std::string& root, const std::string& level, std::string& note);
