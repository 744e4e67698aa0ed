// The level editor run mode: its start-up in order (window, start-up asset loading, GL
// state, the editor's own start-up, sound and the collision-sound table), the editor loop
// and the shutdown.
#pragma once

#include "editors/common/editor_options.h"

// Runs the level editor until it is closed; the program's exit status (0, also when the
// window cannot be made).
int level_editor_main(const editor_options& options);
