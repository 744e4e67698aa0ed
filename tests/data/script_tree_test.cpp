// Script cells, blocks and handles: paths, getters and setters, for_each order and
// reference counting.
#include "data/script.h"

#include "tests/data/script_test_util.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(script_tree, nil_and_cellless_handles_are_total)
{
    script_symbol_table t;
    for (const script_handle& h : {script_handle(), script_handle(&t, nullptr), script_handle::nil}) {
        EXPECT_EQ(h.type(), script_type_none);
        EXPECT_EQ(h.as_int(), 0);
        EXPECT_EQ(h.as_real(), 0.0);
        EXPECT_EQ(h.as_string(), nullptr);
        EXPECT_FALSE(h.truth());
        EXPECT_FALSE(h.set_int(1));
        EXPECT_FALSE(h.set_real(1));
        EXPECT_FALSE(h.set_string("x"));
        EXPECT_FALSE(h.make_block());
        EXPECT_FALSE(h.make("a.b").exists());
        EXPECT_FALSE(h.make(3).exists());
        EXPECT_FALSE(h.get("a").exists());
        EXPECT_EQ(h.size(), 0);
        int visits = 0;
        h.for_each([&](script_id, const script_handle&) { ++visits; });
        EXPECT_EQ(visits, 0);
    }
}

TEST(script_tree, make_path_builds_blocks_and_get_finds_any_case)
{
    test_tree t;
    EXPECT_EQ(t.root.type(), script_type_int);
    t.root.make("a.b.c").set_int(5);
    EXPECT_EQ(t.root.type(), script_type_block);
    EXPECT_EQ(t.root.get("a").type(), script_type_block);
    EXPECT_EQ(t.root.get("a.b").type(), script_type_block);
    EXPECT_EQ(t.root.get("a.b.c").as_int(), 5);
    EXPECT_EQ(t.root.get("A.B.C").as_int(), 5);
    EXPECT_EQ(t.root.get("a").get("b").get("c").as_int(), 5);
    // Missing keys and paths through values give nil.
    EXPECT_FALSE(t.root.get("a.x").exists());
    EXPECT_FALSE(t.root.get("a.b.c.d").exists());
    EXPECT_FALSE(t.root.get(7).exists());
    // A lookup interns every piece of its path, found or not.
    int32_t names = t.symbols->name_count();
    EXPECT_FALSE(t.root.get("missing.later.#4").exists());
    EXPECT_EQ(t.symbols->name_count(), names + 2);
    // make turns a value on the way into a block, dropping it.
    t.root.make("a.b.c.d").set_string("deep");
    EXPECT_EQ(t.root.get("a.b.c").type(), script_type_block);
    EXPECT_STREQ(t.root.get("a.b.c.d").as_string(), "deep");
    // make of an existing node returns that node.
    EXPECT_EQ(t.root.make("a.b").cell, t.root.get("a.b").cell);
    EXPECT_EQ(t.root.get("a").size(), 1);
}

TEST(script_tree, getters_convert_as_designed)
{
    test_tree t;
    script_handle h = t.root.make("v");
    h.set_real(2.9f);
    EXPECT_EQ(h.as_int(), 2);
    EXPECT_DOUBLE_EQ(h.as_real(), double(2.9f));
    EXPECT_TRUE(h.truth());
    h.set_real(-2.9f);
    EXPECT_EQ(h.as_int(), -2);
    // Out-of-range reals saturate instead of being undefined.
    h.set_real(3e9f);
    EXPECT_EQ(h.as_int(), INT32_MAX);
    h.set_real(-3e9f);
    EXPECT_EQ(h.as_int(), INT32_MIN);
    h.set_real(0.0f);
    EXPECT_FALSE(h.truth());

    h.set_int(-7);
    EXPECT_EQ(h.as_real(), -7.0);
    EXPECT_EQ(h.as_string(), nullptr);
    h.set_string("");
    EXPECT_EQ(h.type(), script_type_string);
    EXPECT_EQ(h.as_string(), nullptr);
    EXPECT_FALSE(h.truth());
    EXPECT_EQ(h.as_int(), 0);
    const char text[] = "rope.tex";
    h.set_string(text, text + 4);
    EXPECT_STREQ(h.as_string(), "rope");
    EXPECT_TRUE(h.truth());
    // Setting a string from the cell's own text.
    h.set_string(h.as_string() + 1);
    EXPECT_STREQ(h.as_string(), "ope");

    h.make_block();
    EXPECT_EQ(h.type(), script_type_block);
    EXPECT_FALSE(h.truth());
    h.make(0);
    EXPECT_TRUE(h.truth());
    EXPECT_EQ(h.as_int(), 0);
    EXPECT_EQ(h.as_real(), 0.0);
    // make_block keeps the entries of a block.
    h.make_block();
    EXPECT_EQ(h.size(), 1);
}

namespace {
std::vector<script_id> keys_of(const script_handle& h)
{
    std::vector<script_id> keys;
    h.for_each([&](script_id k, const script_handle&) { keys.push_back(k); });
    return keys;
}
}  // namespace

TEST(script_tree, for_each_follows_buckets_then_chains)
{
    test_tree t;
    for (script_id k = 0; k < 40; ++k)
        t.root.make("seq").make(k).set_int(k);
    std::vector<script_id> ascending;
    for (script_id k = 0; k < 40; ++k)
        ascending.push_back(k);
    EXPECT_EQ(keys_of(t.root.get("seq")), ascending);

    // 5, 1 and 9 share bucket 1 of the first table (mask 3); the fourth key grows it
    // to mask 7 first, moving 5 to bucket 5 and leaving 1 then 9 in bucket 1.
    script_handle b = t.root.make("mixed");
    for (script_id k : {5, 1, 9})
        b.make(k);
    EXPECT_EQ(keys_of(b), (std::vector<script_id>{5, 1, 9}));
    b.make(2);
    EXPECT_EQ(keys_of(b), (std::vector<script_id>{1, 9, 2, 5}));
    // Growth happens before the lookup, even for a key already there.
    b.make(6);
    b.make(7);
    b.make(3);
    EXPECT_EQ(keys_of(b), (std::vector<script_id>{1, 9, 2, 3, 5, 6, 7}));
    b.make(1);
    EXPECT_EQ(b.size(), 7);
    EXPECT_EQ(keys_of(b), (std::vector<script_id>{1, 2, 3, 5, 6, 7, 9}));
}

TEST(script_tree, visitor_may_change_the_block_it_walks)
{
    test_tree t;
    for (script_id k = 0; k < 3; ++k)
        t.root.make(k).set_int(k);
    int visits = 0;
    t.root.for_each([&](script_id k, const script_handle& child) {
        ++visits;
        t.root.make(k + 100).set_int(child.as_int());
        t.root.make(k).set_string("replaced");
    });
    EXPECT_EQ(visits, 3);
    EXPECT_EQ(t.root.size(), 6);
    EXPECT_EQ(t.root.get(102).as_int(), 2);
}

TEST(script_tree, shared_cells_see_changes_and_outlive_their_parent)
{
    test_tree t;
    script_handle sounds = t.root.make("collision_sounds.wood");
    sounds.set_int(3);
    script_handle second = t.root.make("keep");
    second.assign(t.root.get("collision_sounds"));
    ASSERT_TRUE(t.root.link(t.symbols->intern("also"), second));
    EXPECT_EQ(t.root.get("also.wood").cell, sounds.cell);
    EXPECT_EQ(second.get("wood").as_int(), 3);
    sounds.set_int(4);
    EXPECT_EQ(second.get("wood").as_int(), 4);
    EXPECT_EQ(second.cell->refs, 3);  // two entries and `second`

    // Dropping the whole tree leaves the held cells alive.
    t.root.set_int(0);
    EXPECT_EQ(second.cell->refs, 1);
    EXPECT_EQ(second.get("wood").as_int(), 4);
    EXPECT_EQ(sounds.cell->refs, 2);
    second = script_handle();
    EXPECT_EQ(sounds.cell->refs, 1);
    EXPECT_EQ(sounds.as_int(), 4);

    // Assigning to a handle the child of the cell that only this handle holds.
    script_handle lone = script_handle::fresh(t.symbols.get());
    lone.make("child.leaf").set_int(9);
    lone.assign(lone.get("child"));
    EXPECT_EQ(lone.cell->refs, 1);
    EXPECT_EQ(lone.get("leaf").as_int(), 9);
    lone.assign(lone);
    EXPECT_EQ(lone.cell->refs, 1);
}

TEST(script_tree, reference_count_saturates_instead_of_wrapping)
{
    test_tree t;
    script_handle held = t.root.make("x");
    held.set_string("still here");
    {
        std::vector<script_handle> copies(70000, held);
        EXPECT_EQ(held.cell->refs, script_refs_pinned);
    }
    // A wrapped count would have reached 0 and freed the cell while `held` holds it.
    EXPECT_EQ(held.cell->refs, script_refs_pinned);
    EXPECT_STREQ(held.as_string(), "still here");
    EXPECT_STREQ(t.root.get("x").as_string(), "still here");
    // A pinned cell is never freed. Restore the true count (`held` and the entry) so the
    // tree frees it and the leak checker stays quiet.
    held.cell->refs = 2;
}

TEST(script_tree, very_deep_trees_are_freed_without_recursion)
{
    test_tree t;
    script_handle h = t.root;
    for (int i = 0; i < 200000; ++i)
        h = h.make(1);
    h.set_string("bottom");
    h = script_handle();
    t.root.set_int(0);
    EXPECT_EQ(t.root.as_int(), 0);
}

TEST(script_tree, global_tree_lives_over_the_global_table)
{
    script_handle& g = script_global_tree();
    EXPECT_EQ(g.symbols, &script_global_symbols());
    EXPECT_EQ(script_global_symbols().bucket_count(), 4096);
    g.make("config.sound").set_int(1);
    EXPECT_EQ(script_global_tree().get("CONFIG.SOUND").as_int(), 1);
    EXPECT_EQ(script_global_symbols().intern("DAMP"), script_id_damp);
}
