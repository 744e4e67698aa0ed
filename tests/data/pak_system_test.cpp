// pak_system: creators, lookup, live objects, enumeration; and script chunks.
#include "app/log.h"
#include "data/pak.h"
#include "data/pak_script.h"
#include "tests/data/pak_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

struct texture : pak_chunk {
    using pak_chunk::pak_chunk;
};

struct counting_creator : pak_creator {
    int made = 0;
    pak_chunk* create(ref_ptr<pak_chunkref> ref) override
    {
        ++made;
        return new texture(std::move(ref));
    }
};

struct sample : pak_chunk {
    using pak_chunk::pak_chunk;
};

// A system with one writable archive holding a few chunks.
struct archive_fixture : testing::Test {
    test_scratch_dir dir;
    pak_system sys;
    pak_module* store = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(sys.add_archive(dir.file("a.pk2").c_str(), true));
        store = sys.modules[0].get();
        ASSERT_TRUE(store->write_raw(pak_code_imag, "tex\\ui\\Star_On", 3, false, "abc", 0, false));
        ASSERT_TRUE(store->write_raw(pak_code_samp, "sounds\\Rollover1", 2, false, "xy", 1, false));
        ASSERT_TRUE(store->write_raw(pak_code_init, "init\\a", 5, false, "k 1\n", 9, false));
    }
};

}  // namespace

TEST(pak_creators, found_by_code_in_any_registration_order_with_null_fallback)
{
    pak_system sys;
    pak_null_creator_t c[6];
    uint32_t codes[] = {pak_code_ctyp, pak_code_imag, pak_code_ntyp, pak_code_samp, pak_code_btyp};
    EXPECT_EQ(sys.find_creator(pak_code_imag), nullptr);  // empty table
    for (int i = 0; i < 5; ++i)
        sys.register_creator(codes[i], &c[i]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(sys.find_creator(codes[i]), &c[i]) << i;
    EXPECT_EQ(sys.find_creator(pak_code_levl), nullptr);
    EXPECT_EQ(sys.find_creator(0), nullptr);
    EXPECT_EQ(sys.find_creator(0xFFFFFFFFu), nullptr);
    // One more after a search: the table is sorted again before the next search.
    sys.register_creator(pak_code("AAAA"), &c[5]);
    EXPECT_EQ(sys.find_creator(pak_code("AAAA")), &c[5]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(sys.find_creator(codes[i]), &c[i]) << i;
    // "NULL" catches every code without its own creator.
    pak_null_creator_t fallback;
    sys.register_creator(pak_code_null, &fallback);
    EXPECT_EQ(sys.find_creator(pak_code_levl), &fallback);
    EXPECT_EQ(sys.find_creator(pak_code_imag), &c[1]);
    // Registering a code twice replaces its creator instead of leaving two entries.
    sys.register_creator(pak_code_imag, &c[5]);
    EXPECT_EQ(sys.find_creator(pak_code_imag), &c[5]);
    EXPECT_EQ(sys.creators.size(), 7u);
}

TEST_F(archive_fixture, unknown_names_are_logged_exactly_and_case_matters)
{
    log_sink_clear(1);
    EXPECT_TRUE(sys.get("tex\\ui\\Star_On"));
    EXPECT_FALSE(sys.get("tex\\ui\\star_on"));
    std::vector<std::string> lines = log_sink_entries(1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "pak_system::get() : 'tex\\ui\\star_on' not found!");
    EXPECT_FALSE(sys.get(""));
    EXPECT_FALSE(sys.get(nullptr));
    EXPECT_EQ(log_sink_entries(1).back(), "pak_system::get() : '' not found!");
}

TEST_F(archive_fixture, a_held_object_is_shared_and_made_anew_after_every_holder_let_go)
{
    counting_creator imag;
    sys.register_creator(pak_code_imag, &imag);
    ref_ptr<texture> a, b;
    ASSERT_TRUE(sys.get_object("tex\\ui\\Star_On", a));
    ASSERT_TRUE(sys.get_object("tex\\ui\\Star_On", b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(imag.made, 1);
    EXPECT_EQ(a->ref->object, a.get());
    pak_chunk* first = a.get();
    a.reset();
    EXPECT_EQ(b->ref->object, first);
    b.reset();
    EXPECT_EQ(sys.get("tex\\ui\\Star_On")->object, nullptr);
    ASSERT_TRUE(sys.get_object("tex\\ui\\Star_On", a));
    EXPECT_EQ(imag.made, 2);
}

TEST_F(archive_fixture, get_object_fails_for_unknown_names_codes_without_creator_and_wrong_classes)
{
    counting_creator imag;
    sys.register_creator(pak_code_imag, &imag);
    ref_ptr<texture> t;
    EXPECT_FALSE(sys.get_object("nothing", t));
    EXPECT_FALSE(t);
    // No creator for "SAMP" and none under "NULL": load() says -2.
    EXPECT_EQ(sys.get("sounds\\Rollover1")->load(), -2);
    EXPECT_FALSE(sys.get_object("sounds\\Rollover1", t));
    // A creator that makes nothing: found, but no object.
    pak_null_creator_t none;
    sys.register_creator(pak_code_null, &none);
    EXPECT_TRUE(sys.get_object("sounds\\Rollover1", t));
    EXPECT_FALSE(t);
    // Asking for a texture as a sample gives nothing rather than a mistyped pointer.
    ref_ptr<sample> s;
    EXPECT_FALSE(sys.get_object("tex\\ui\\Star_On", s));
    EXPECT_FALSE(s);
    // A reference without a store cannot load.
    pakfile_chunkref loose;
    loose.add_ref();
    EXPECT_EQ(loose.load(), -1);
}

TEST(pak_enumerate, filters_by_code_in_bucket_order_and_visits_stores_in_order)
{
    test_scratch_dir dir;
    pak_system sys;
    ASSERT_TRUE(sys.add_archive(dir.file("one.pk2").c_str(), true));
    ASSERT_TRUE(sys.add_archive(dir.file("two.pk2").c_str(), true));
    const char* names[] = {"levels\\Title", "levels\\Ledge", "a", "b", "zz\\q", "init\\x"};
    for (const char* n : names)
        ASSERT_TRUE(sys.modules[0]->write_raw(n[0] == 'i' ? pak_code_init : pak_code_levl, n, 1, false, "1",
                                              0, false));
    ASSERT_TRUE(sys.modules[1]->write_raw(pak_code_levl, "second", 1, false, "1", 0, false));

    std::vector<std::string> seen;
    pak_enum_function collect([&](ref_ptr<pak_chunkref> r) { seen.push_back(r->name); });
    sys.enumerate(pak_code_levl, collect);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen.back(), "second");
    for (size_t i = 0; i + 2 < seen.size(); ++i)
        EXPECT_LE(pak_name_hash(seen[i].c_str()) & 1023, pak_name_hash(seen[i + 1].c_str()) & 1023);
    seen.clear();
    sys.enumerate(0, collect);
    EXPECT_EQ(seen.size(), 7u);
    // The hash of the design: h = b + (h << 6) + (h << 16) - h over signed bytes.
    EXPECT_EQ(pak_name_hash("a"), 97u);
    EXPECT_EQ(pak_name_hash("ab"), 98u + (97u << 6) + (97u << 16) - 97u);
    uint32_t h = uint32_t(-1);  // the byte 0xFF counts as -1
    EXPECT_EQ(pak_name_hash("\xff"), h);
}

TEST(pak_add_archive, a_missing_archive_is_not_added_and_its_status_is_kept)
{
    test_scratch_dir dir;
    pak_system sys;
    EXPECT_FALSE(sys.add_archive(dir.file("missing.pk2").c_str(), false));
    EXPECT_EQ(sys.error, -1);
    EXPECT_TRUE(sys.modules.empty());
    EXPECT_FALSE(sys.add_archive(dir.path.string().c_str(), false));  // a directory
    EXPECT_TRUE(sys.add_archive(dir.file("new.pk2").c_str(), true));  // created
    EXPECT_EQ(sys.error, 0);
}

namespace {

struct scripted_type : pak_chunk {
    int k;
    scripted_type(ref_ptr<pak_chunkref> r, const script_handle& root)
        : pak_chunk(std::move(r)), k(root.get("k").as_int())
    {}
};

}  // namespace

TEST(pak_script, creators_and_start_up_enumerators_fill_their_trees)
{
    test_scratch_dir dir;
    pak_system sys;
    ASSERT_TRUE(sys.add_archive(dir.file("s.pk2").c_str(), true));
    pak_module& m = *sys.modules[0];
    auto put = [&](uint32_t code, const char* name, const char* text) {
        ASSERT_TRUE(m.write_raw(code, name, uint32_t(std::strlen(text)), false, text, 9, false));
    };
    put(pak_code_ntyp, "nodes\\ball", "k 42\n");
    put(pak_code_init, "init\\one", "worlds { count 3 }\nname \"one\"\n");
    put(pak_code_levl, "levels\\Title", "gravity 20.0\n");
    put(pak_code_levl, "levels\\Broken", "a { b 1\n");

    script_creator<scripted_type> ntyp;
    sys.register_creator(pak_code_ntyp, &ntyp);
    ref_ptr<scripted_type> t;
    ASSERT_TRUE(sys.get_object("nodes\\ball", t));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->k, 42);

    script_symbol_table symbols;
    script_handle tree = script_handle::fresh(&symbols);
    init_parser init(tree);
    sys.enumerate(pak_code_init, init);
    EXPECT_EQ(tree.get("worlds.count").as_int(), 3);
    EXPECT_STREQ(tree.get("name").as_string(), "one");
    level_preloader levels(tree);
    sys.enumerate(pak_code_levl, levels);
    EXPECT_EQ(levels.failures, 1);
    EXPECT_FLOAT_EQ(float(tree.get("levels\\Title").get("gravity").as_real()), 20.0f);
    EXPECT_EQ(tree.get("levels\\Broken").get("a.b").as_int(), 1);  // kept up to the error
    EXPECT_EQ(init.failures, 0);
}
