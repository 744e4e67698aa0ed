// The one rule by which files under a folder become chunk names, shared by the directory
// store, the archive builder and the tools that read data source trees: every regular file
// below the root, sorted, hidden files and folders left out, named by its folders joined
// with backslashes and its name without extensions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct pak_tree_file {
    std::string path;      // the file's path, the root joined with `relative`
    std::string relative;  // the path below the root with '/' between its parts, for messages
    std::string folder;    // the folders below the root, each followed by '\' ("levels\"); empty at the root
    std::string leaf;      // the file name

    // The chunk name of the file when its name without extensions is `stem`: the folder
    // followed by the stem. False when no chunk can carry that name (an empty stem, a
    // slash or backslash in it, or a name longer than pak_name_capacity allows).
    bool chunk_name(const std::string& stem, std::string& name) const;
};

// Every regular file under `root`, sorted by relative path. Files and folders whose names
// start with '.' (version control, editor backups) are skipped, and so are folders whose
// names hold a backslash, which no chunk name can reach. False, with a message, when the
// root is not a folder or cannot be listed to the end.
bool pak_walk_tree(const std::string& root, std::vector<pak_tree_file>& files, std::string* error = nullptr);

// Splits a file name "NAME.CODE<extension>" into NAME and the code ("x.LEVL.txt" with
// ".txt" gives "x" and "LEVL"); false for other names. NAME is never empty and CODE is four
// letters, digits or '_'. Every store and tool that names chunks by file uses it.
bool pak_split_coded_name(std::string_view file_name, std::string_view extension, std::string& base,
                          uint32_t& code);
// Whether a chunk code is four letters, digits or '_', as names of files can carry it.
bool pak_code_is_plain(uint32_t code);
