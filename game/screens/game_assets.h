// What the game loads at start-up and the screens share: the program's resource system,
// the start-up asset loading (creators, stores, the "INIT" and "LEVL" chunks, the
// preloaded references), and small helpers to fetch textures and play interface sounds.
#pragma once

#include "data/pak.h"
#include "game/ui_sound.h"
#include "render/texture.h"
#include "render/texture_cache.h"
#include "render/world_draw.h"

#include <functional>
#include <string>

// The program's resource system, through which every name resolves.
pak_system& game_pak();

// Start-up asset loading: registers the creators of textures, samples and the three type
// chunks; lets `add_stores` add the stores (earlier stores win a name); parses every
// "INIT" chunk into the global script tree and every "LEVL" chunk under its own name;
// installs the store for levels, types and sounds; fetches the preloaded references.
// False with `error` set when no store could be added, or "no worlds" when the stores
// hold no worlds (the data is damaged or not the game's) and `need_worlds` is set; the
// editors work on data trees that hold only levels and types.
bool game_load_assets(const std::function<bool(pak_system&, std::string&)>& add_stores, std::string& error,
                      bool need_worlds = true);
// Drops the preloaded references and the cached sounds (before the GL context and the
// sound system go).
void game_release_assets();

// A texture by name; null when the store has none (the store logs it). Null draws nothing.
// Screens that name textures by string (icons, tiles, cards) hold a gl_texture_cache on
// game_pak() instead, so each name is fetched once.
ref_ptr<gl_texture> game_texture(const char* name);
ref_ptr<gl_texture> game_texture(const std::string& name);

// Plays a sample once in the middle at full volume under the sound volume. A missing
// sample plays nothing (and is looked up only once).
void game_play(const char* sample_name);
// The interface sounds screen logic asks for.
void game_play(ui_sound sound);

// How the game's screens draw worlds; plain drawing of what has no texture is on when the
// game plays a source tree without an archive.
world_draw_style& game_world_style();
