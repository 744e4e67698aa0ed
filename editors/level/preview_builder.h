// The level editor's Ctrl+P: the intro pictures of the first levels of the store, drawn
// through the one capture path into the tree the editor works on, with the window showing
// progress between levels.
#pragma once

#include <string>

class glw_window;
class pak_system;

// Logs "BUILDING PREVIEWS", draws every level le_preview_levels() names and writes its four
// pictures under `root` (<root>/tex/levels/...). Returns how many levels were written.
int build_level_previews(glw_window& window, pak_system& store, const std::string& root);
