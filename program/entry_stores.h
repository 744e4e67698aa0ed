// Where every run mode reads its data: the --data trees first, then the archive (named by
// --archive or found in the usual places), and the folder beside the save file where the
// player's own levels and the editors' files live.
#pragma once

#include "data/pak.h"
#include "program/entry_options.h"

#include <string>
#include <vector>

struct entry_stores {
    std::vector<std::string> data_roots;
    std::string archive;                 // empty: none named and none found
    std::vector<std::string> looked_in;  // where the archive was looked for
    std::string config_path;             // --config, else config.dat in the per-user folder
    std::string own_folder;              // the folder of config_path, with a trailing '/'

    // Adds the --data trees, then the archive. False with a message naming the file, or
    // every place looked in, when the data cannot be opened.
    bool add(pak_system& pak, std::string& message) const;
};

entry_stores entry_find_stores(const entry_options& entry, const char* argv0);
