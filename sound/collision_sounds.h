// The collision-sound table: which sample a collision of two sound classes plays, read
// from a "collision_sounds" script block, and the samples it names, fetched once.
#pragma once

#include "data/script.h"
#include "sound/sample.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class pak_system;

class collision_sound_table {
public:
    script_handle block;                  // kept for the whole run
    std::vector<ref_ptr<w_sample>> held;  // every sample the block names that was found
    std::set<std::string> names;          // every name met, fetched or not

    // Takes the block and fetches each string value in it (nested blocks included) the
    // first time its name is met; names the store does not have are skipped. A null store
    // fetches nothing.
    void load(const script_handle& table, pak_system* store);
    // The sample name for classes a and b: the pair entry a.b, else b.a, else a's own sample
    // unless b's priority is higher, else b's own sample. Null when none applies (so a class
    // of high priority without a sample of its own silences the classes below it).
    const char* choose(int32_t class_a, int32_t class_b) const;
};
