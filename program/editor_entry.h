// The editors' entry: the stores and folders of the command line handed to an editor.
#pragma once

#include "program/entry_options.h"

// The level editor (exit status 0, also when its window cannot be made).
int level_editor_entry(const entry_options& entry, const char* argv0);
// The body editor (exit status 1 after it, 0 when its window cannot be made).
int body_editor_entry(const entry_options& entry, const char* argv0);
