// Helpers shared by the script tests: a tree over its own symbol table.
#pragma once

#include "data/script.h"

#include <memory>
#include <string>

// Trees made with `sharing` use the same table as another, so that the same names get
// the same ids (and blocks the same for_each order) in both.
struct test_tree {
    test_tree() = default;
    explicit test_tree(const test_tree& sharing) : symbols(sharing.symbols) {}

    std::shared_ptr<script_symbol_table> symbols = std::make_shared<script_symbol_table>(4096, 256, 256);
    script_handle root = script_handle::fresh(symbols.get());

    bool parse(const char* text)
    {
        script_parser parser(root);
        bool ok = parser.parse(text);
        stop_line = parser.stop_line;
        return ok;
    }

    std::string write(const char* name = nullptr) const
    {
        std::string out;
        script_write(out, name, root);
        return out;
    }

    int stop_line = 0;
};
