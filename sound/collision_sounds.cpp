// Reading the collision-sound table and choosing a sample for a pair of classes.
#include "sound/collision_sounds.h"

#include "data/pak_system.h"

namespace {

// Blocks nested deeper than this are not searched for names (the table uses two levels).
constexpr int max_depth = 32;

// Sound classes are small numbers; anything outside the numeric keys of a script block
// would reach named keys instead, so it has no entry.
script_handle class_entry(const script_handle& block, int32_t c)
{
    if (c < 0 || c >= script_first_name_id)
        return script_handle::nil;
    return block.get(script_id(c));
}

}  // namespace

void collision_sound_table::load(const script_handle& table, pak_system* store)
{
    block = table;
    held.clear();
    names.clear();
    auto visit = [&](auto& self, const script_handle& node, int depth) -> void {
        if (depth > max_depth)
            return;
        node.for_each([&](script_id, const script_handle& child) {
            if (child.type() == script_type_block) {
                self(self, child, depth + 1);
                return;
            }
            const char* name = child.as_string();
            if (!name || !names.insert(name).second || !store)
                return;
            ref_ptr<w_sample> sample;
            if (store->get_object(name, sample) && sample)
                held.push_back(sample);
        });
    };
    visit(visit, block, 0);
}

const char* collision_sound_table::choose(int32_t class_a, int32_t class_b) const
{
    script_handle a = class_entry(block, class_a);
    script_handle b = class_entry(block, class_b);
    const char* name = class_entry(a, class_b).as_string();
    if (!name)
        name = class_entry(b, class_a).as_string();
    if (name)
        return name;
    const char* own_a = a.get("sample").as_string();
    const char* own_b = b.get("sample").as_string();
    if (own_a && !(b.get("priority").as_real() > a.get("priority").as_real()))
        return own_a;
    return own_b;
}
