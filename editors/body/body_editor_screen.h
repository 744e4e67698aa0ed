// The body editor run mode: the window, the start-up asset loading, the GL state, then
// bedit::startup, the editor's run (its loop) and its finish, in that order.
#pragma once

#include "editors/common/editor_options.h"

namespace bedit {

// Runs the body editor until it is closed. The program's exit status: 1 after the body
// editor, 0 when its window cannot be made.
int body_editor_main(const editor_options& options);

}  // namespace bedit
