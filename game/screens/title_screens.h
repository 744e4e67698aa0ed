// The two screens on the title world: the logo that fades in over the title scene and waits
// for a click, and the transition from player select to world selection (the menu's scroll
// rolls up, turns upright and opens while the scene gives way to the tiled background).
#pragma once

class game_hud;
class v_world;

// Returns when the logo has faded out after a click (or the window closed). The world may
// be null: the logo then shows on black.
void run_title_logo(v_world* title_world);
// Returns after the transition's three seconds.
void run_title_scroll(game_hud& hud, v_world* title_world);
// One step of a screen standing on the title world: sounds, the menu's slide, the message
// pump and the title scene (which may be null).
void title_world_step(game_hud& hud, v_world* title_world);
