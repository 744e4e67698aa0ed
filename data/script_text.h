// The brace-based script text format: the parser that fills a tree from text and the
// writer that the editors and tools use to print one.
#pragma once

#include "data/script_handle.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Blocks nested deeper than this make a text or binary document fail instead of
// exhausting the stack.
constexpr int script_max_depth = 256;

// Fills the node of a handle from NUL-terminated text. Entries merge into what the node
// already holds; a later value for the same key overwrites. On failure the entries read
// before it stay in the tree.
class script_parser {
public:
    explicit script_parser(const script_handle& into) : target(into) {}

    bool parse(const char* text);

    script_handle target;
    // Where the last parse stopped: the offset of the offending byte (or of the end of
    // the document on success) and its line, counting from 1.
    size_t stop_offset = 0;
    int32_t stop_line = 0;
};

// Writes a tree as text. With a name, the node is one entry of that name at depth 0;
// without one (null), each child of the node is an entry at depth 0. Indentation stops
// growing at 16 tabs; nodes nested deeper than script_max_depth (only possible in trees
// built by hand, for instance a block that holds itself) make the writer stop and fail.
bool script_write(FILE* file, const char* name, const script_handle& handle);
bool script_write(std::string& out, const char* name, const script_handle& handle);
