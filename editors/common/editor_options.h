// What the program hands an editor when it starts one: the window's and the test driver's
// options, the stores to read, and the folders where the editor reads and writes.
#pragma once

#include "app/driver_script.h"
#include "data/pak.h"

#include <functional>
#include <string>

struct editor_options {
    driver_options driver;
    // Adds the stores the editor reads types, textures and levels from (the --data trees
    // first, then the archive); false with a message when one cannot be opened.
    std::function<bool(pak_system&, std::string&)> add_stores;
    // The first --data tree, or empty: the per-user folder is used instead.
    std::string data_root;
    // The per-user folder (where config.dat lives), with a trailing '/'.
    std::string user_folder;
    // The stores a separate check of a level reads (the --data trees and the archive).
    std::vector<std::string> data_roots;
    std::string archive;
};

// The folder that holds the editors' files of one kind ("levels", "bodies"): in the first
// --data tree, else in the per-user folder; with a trailing '/'.
std::string ed_work_folder(const editor_options& options, const char* kind);
// "editor.txt" at the root of that tree or folder.
std::string ed_settings_path(const editor_options& options);
