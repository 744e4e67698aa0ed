// The program's global symbol table and script tree.
#include "data/script.h"

script_symbol_table& script_global_symbols()
{
    static script_symbol_table symbols(script_global_pool, script_global_buckets, script_global_entries);
    return symbols;
}

script_handle& script_global_tree()
{
    // Made after the symbol table, so destroyed before it at exit.
    static script_handle tree = script_handle::fresh(&script_global_symbols());
    return tree;
}
