// Script chunks in the pak system: the creator of types defined by script text
// ("BTYP", "NTYP", "CTYP") and the start-up enumerators that parse "INIT" and "LEVL"
// chunks into the global script tree.
#pragma once

#include "data/pak_system.h"
#include "data/script.h"

#include <vector>

// Reads a chunk's text and appends a NUL. False (and an empty text) when the chunk
// cannot be read.
bool pak_read_text(pak_chunkref& ref, std::vector<char>& text);

// Parses NUL-terminated text of the chunk `name` into `target`, logging a failure.
bool pak_parse_text(const char* name, const char* text, const script_handle& target);
// Parses a chunk's text into `target`; false when it cannot be read or fails to parse
// (entries read before a parse error stay). Failures are logged on channel 1.
bool pak_parse_chunk(pak_chunkref& ref, const script_handle& target);

// Makes a T from the script tree of a chunk: the text is parsed into a fresh cell over
// the global symbol table and handed to T(ref_ptr<pak_chunkref>, const script_handle&).
// A chunk that cannot be read makes no object; one that fails to parse is still built
// from what was read, as every getter of a script tree degrades to defaults.
template <class T>
class script_creator : public pak_creator {
public:
    pak_chunk* create(ref_ptr<pak_chunkref> ref) override
    {
        if (!ref)
            return nullptr;
        script_handle root = script_handle::fresh(&script_global_symbols());
        std::vector<char> text;
        if (!pak_read_text(*ref, text))
            return nullptr;
        pak_parse_text(ref->name, text.data(), root);
        text = {};
        return new T(std::move(ref), root);
    }
};

// Parses each chunk it is shown into the tree itself ("INIT"): later chunks add to and
// override earlier ones.
class init_parser : public pak_enum_callback {
public:
    init_parser() : tree(script_global_tree()) {}
    explicit init_parser(const script_handle& target) : tree(target) {}
    void visit(ref_ptr<pak_chunkref> ref) override;

    script_handle tree;
    int failures = 0;
};

// Parses each chunk it is shown ("LEVL") into the tree under the chunk's name as a
// single key, so "levels\Title" is found as get("levels\Title").
class level_preloader : public pak_enum_callback {
public:
    level_preloader() : tree(script_global_tree()) {}
    explicit level_preloader(const script_handle& target) : tree(target) {}
    void visit(ref_ptr<pak_chunkref> ref) override;

    script_handle tree;
    int failures = 0;
};
