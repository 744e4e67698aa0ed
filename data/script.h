// Script trees: the dynamically typed trees that hold all structured data of the game
// (types, levels, start-up definitions, editor settings, the configuration), with their
// symbol tables, text format and binary form; and the program's global tree.
#pragma once

#include "data/script_binary.h"
#include "data/script_handle.h"
#include "data/script_symbols.h"
#include "data/script_text.h"

// Sizes of the global symbol table, which serves the global tree and every type
// definition; and of the tables made for one level file or one editor tree.
constexpr int32_t script_global_pool = 65536;
constexpr int32_t script_global_buckets = 4096;
constexpr int32_t script_global_entries = 4096;
constexpr int32_t script_small_pool = 4096;
constexpr int32_t script_small_buckets = 256;
constexpr int32_t script_small_entries = 256;

// The program's global symbol table, made on first use.
script_symbol_table& script_global_symbols();
// The global script tree: a handle over the global symbol table whose cell starts as
// the integer 0 and becomes a block with its first entry. "INIT" chunks fill it, each
// level sits under its chunk name, the configuration under "config".
script_handle& script_global_tree();
