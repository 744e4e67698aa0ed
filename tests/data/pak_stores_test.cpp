// Archive and directory stores: layouts, replacement, and damaged input.
#include "data/byte_order.h"
#include "data/pak.h"
#include "data/pak_tree.h"
#include "tests/data/pak_test_util.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

namespace {

// A hand-made archive record (archive meaning of size: everything after the name block).
std::vector<uint8_t> record(uint32_t code, uint32_t header, const std::string& name,
                            const std::vector<uint8_t>& payload, int64_t size_field = -1)
{
    std::vector<uint8_t> b;
    append_le32(b, code);
    append_le32(b, header);
    uint32_t padded = uint32_t((payload.size() + 3) & ~size_t(3));
    append_le32(b, size_field < 0 ? padded : uint32_t(size_field));
    b.push_back(uint8_t(name.size() + 1));
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(0);
    while (b.size() % 4)
        b.push_back(0);
    b.insert(b.end(), payload.begin(), payload.end());
    while (b.size() % 4)
        b.push_back(0);
    return b;
}

std::vector<uint8_t> compressed_payload(const std::vector<uint8_t>& data, uint32_t declared)
{
    std::vector<uint8_t> out;
    append_le32(out, declared);
    uLongf n = compressBound(uLong(data.size()));
    std::vector<uint8_t> z(n);
    compress2(z.data(), &n, data.data(), uLong(data.size()), 9);
    out.insert(out.end(), z.begin(), z.begin() + long(n));
    return out;
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::string read_name(pak_module& m, const char* name)
{
    ref_ptr<pak_chunkref> r = m.get(name);
    if (!r)
        return "<missing>";
    std::vector<uint8_t> b = pak_read_all(*r);
    return std::string(b.begin(), b.end());
}

}  // namespace

TEST(pak_archive, written_chunks_read_back_after_reopening_stored_and_compressed)
{
    test_scratch_dir dir;
    std::string path = dir.file("a.pk2");
    std::vector<uint8_t> big(100000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t((i * 7) % 13);
    {
        pak_system sys;
        pak_file f(&sys, true, path.c_str());
        ASSERT_EQ(f.status, 0);
        ASSERT_TRUE(f.write_raw(pak_code_levl, "levels\\Title", 5, false, "hello", 0, false));
        ref_ptr<pak_chunkref> z =
            f.write_raw(pak_code_samp, "music\\title", uint32_t(big.size()), false, big.data(), 9, false);
        ASSERT_TRUE(z);
        EXPECT_EQ(z->method, 7u);
        EXPECT_EQ(z->container, 0);  // level 9 must not turn into the container bit
        EXPECT_LT(z->stored_size, big.size() / 10);
        pak_editchunk img = pak_editchunk::node(
            pak_code_imag, "tex\\a",
            {pak_editchunk::leaf(pak_code_head, "", {1, 2}), pak_editchunk::leaf(pak_code_data, "", {3})});
        ASSERT_TRUE(f.write(img, 0, false));
    }
    EXPECT_EQ(test_read_bytes(path).size() % 4, 0u);
    pak_system sys;
    pak_file f(&sys, false, path.c_str());
    ASSERT_EQ(f.status, 0);
    EXPECT_EQ(f.chunk_count(), 3u);
    EXPECT_EQ(f.damaged_records, 0u);
    // A stored 5-byte chunk reads back as 8 bytes, the last 3 zero.
    ref_ptr<pak_chunkref> t = f.get("levels\\Title");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->uncompressed_size, 8u);
    EXPECT_EQ(pak_read_all(*t), (std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', 0, 0, 0}));
    ref_ptr<pak_chunkref> z = f.get("music\\title");
    ASSERT_TRUE(z);
    EXPECT_EQ(pak_read_all(*z), big);
    ref_ptr<pak_chunkref> img = f.get("tex\\a");
    ASSERT_TRUE(img);
    EXPECT_TRUE(img->is_container());
    pak_rawchunk raw(img);
    pak_record rec;
    ASSERT_TRUE(raw.find(pak_code_data, rec));
    EXPECT_EQ(rec.size, 1u);
    EXPECT_EQ(rec.data[0], 3);
    // Read-only stores refuse writes.
    EXPECT_FALSE(f.write_raw(pak_code_levl, "x", 1, false, "x", 0, false));
    EXPECT_EQ(f.status, pak_module::status_write_failed);
}

TEST(pak_stores, an_edit_chunk_whose_child_name_cannot_be_recorded_is_not_written)
{
    test_scratch_dir dir;
    pak_system sys;
    pak_editchunk img = pak_editchunk::node(pak_code_imag, "tex\\a",
                                            {pak_editchunk::leaf(pak_code_head, std::string(128, 'n'), {1})});
    pak_file f(&sys, true, dir.file("n.pk2").c_str());
    EXPECT_FALSE(f.write(img, 0, false));
    EXPECT_EQ(f.status, pak_module::status_write_failed);
    EXPECT_EQ(test_read_bytes(dir.file("n.pk2")).size(), 0u);
    pak_dir d(&sys, true, dir.file("d").c_str());
    EXPECT_FALSE(d.write(img, 0, false));
    EXPECT_EQ(d.status, pak_module::status_uncreated);
    EXPECT_EQ(d.chunk_count(), 0u);
    // With a name that fits, both write the same content.
    img.children[0].name = "h";
    ASSERT_TRUE(f.write(img, 0, false));
    ASSERT_TRUE(d.write(img, 0, false));
    EXPECT_EQ(pak_read_all(*f.get("tex\\a")), pak_read_all(*d.get("tex\\a")));
}

TEST(pak_archive, replacing_marks_the_old_record_free_and_refusal_keeps_it)
{
    test_scratch_dir dir;
    std::string path = dir.file("r.pk2");
    {
        pak_system sys;
        pak_file f(&sys, true, path.c_str());
        ASSERT_TRUE(f.write_raw(pak_code_levl, "lvl", 3, false, "old", 0, false));
        EXPECT_FALSE(f.write_raw(pak_code_levl, "lvl", 3, false, "new", 0, false));
        EXPECT_EQ(f.status, pak_module::status_refused);
        EXPECT_EQ(read_name(f, "lvl").substr(0, 3), "old");
    }
    size_t before = test_read_bytes(path).size();
    {
        pak_system sys;
        pak_file f(&sys, true, path.c_str());
        ASSERT_TRUE(f.write_raw(pak_code_init, "lvl", 3, false, "new", 0, true));
        EXPECT_EQ(read_name(f, "lvl").substr(0, 3), "new");
        EXPECT_EQ(f.chunk_count(), 1u);
    }
    std::vector<uint8_t> bytes = test_read_bytes(path);
    EXPECT_GT(bytes.size(), before);
    EXPECT_EQ(std::memcmp(bytes.data(), "FREE", 4), 0);
    pak_system sys;
    pak_file f(&sys, false, path.c_str());
    EXPECT_EQ(f.chunk_count(), 1u);
    EXPECT_EQ(f.get("lvl")->code, pak_code_init);
    EXPECT_EQ(f.damaged_records, 0u);
}

TEST(pak_archive, the_later_of_two_records_with_one_name_wins)
{
    test_scratch_dir dir;
    std::string path = dir.file("d.pk2");
    test_write_bytes(path, concat({record(pak_code_levl, 0x20000000, "same", pak_bytes("one!")),
                                   record(pak_code_imag, 0x20000000, "same", pak_bytes("two!")),
                                   record(pak_code_levl, 0x20000000, "other", pak_bytes("3333"))}));
    pak_system sys;
    std::vector<std::string> seen;
    pak_enum_function watch([&](ref_ptr<pak_chunkref> r) { seen.push_back(r->name); });
    pak_file f(&sys, false, path.c_str(), &watch);
    EXPECT_EQ(seen, (std::vector<std::string>{"same", "same", "other"}));
    EXPECT_EQ(f.chunk_count(), 2u);
    EXPECT_EQ(read_name(f, "same"), "two!");
    EXPECT_EQ(f.get("same")->code, pak_code_imag);
}

TEST(pak_archive, damaged_records_are_dropped_and_intact_ones_after_them_stay_readable)
{
    test_scratch_dir dir;
    std::vector<uint8_t> a = record(pak_code_levl, 0x20000000, "a", pak_bytes("aaaa"));
    std::vector<uint8_t> c = record(pak_code_levl, 0x20000000, "c", pak_bytes("cccc"));
    std::vector<uint8_t> zipped =
        record(pak_code_levl, 0x22000000, "z", compressed_payload(pak_bytes("zzzzzzzz"), 8));
    struct variant {
        const char* what;
        std::vector<uint8_t> bad;
    };
    std::vector<variant> variants = {
        {"wrong marker", record(pak_code_levl, 0x40000000, "b", pak_bytes("bbbbbbbbbbbb"))},
        {"size far past the end", record(pak_code_levl, 0x20000000, "b", pak_bytes("bbbb"), 0x7FFFFFF0)},
        {"absurd uncompressed size",
         record(pak_code_levl, 0x22000000, "b", compressed_payload(pak_bytes("bbbb"), 0xFFFFFFF0))},
        {"compressed size below its length word", record(pak_code_levl, 0x22000000, "b", {}, 0)},
        {"garbage words", std::vector<uint8_t>(24, 0xEE)},
    };
    // A name without its NUL within 128 bytes.
    std::vector<uint8_t> long_name = record(pak_code_levl, 0x20000000, std::string(140, 'n'), {});
    long_name[12] = 128;
    variants.push_back({"name without NUL", long_name});

    for (const variant& v : variants) {
        std::string path = dir.file("damaged.pk2");
        test_write_bytes(path, concat({a, v.bad, zipped, c}));
        pak_system sys;
        pak_file f(&sys, false, path.c_str());
        ASSERT_EQ(f.status, 0) << v.what;
        EXPECT_FALSE(f.get("b")) << v.what;
        EXPECT_EQ(read_name(f, "a"), "aaaa") << v.what;
        EXPECT_EQ(read_name(f, "z"), "zzzzzzzz") << v.what;
        EXPECT_EQ(read_name(f, "c"), "cccc") << v.what;
    }

    // A truncated last record is dropped; the ones before it stay.
    std::vector<uint8_t> cut = concat({a, c});
    cut.resize(cut.size() - 2);
    std::string path = dir.file("cut.pk2");
    test_write_bytes(path, cut);
    pak_system sys;
    pak_file f(&sys, false, path.c_str());
    EXPECT_EQ(read_name(f, "a"), "aaaa");
    EXPECT_FALSE(f.get("c"));
    EXPECT_EQ(f.damaged_records, 1u);
}

TEST(pak_archive, inflation_must_produce_exactly_the_declared_bytes)
{
    test_scratch_dir dir;
    std::vector<uint8_t> text = pak_bytes("0123456789abcdef0123456789abcdef");
    std::vector<uint8_t> broken = compressed_payload(text, 32);
    broken[10] ^= 0xFF;
    std::string path = dir.file("z.pk2");
    test_write_bytes(path, concat({record(pak_code_levl, 0x22000000, "short", compressed_payload(text, 40)),
                                   record(pak_code_levl, 0x22000000, "long", compressed_payload(text, 20)),
                                   record(pak_code_levl, 0x22000000, "broken", broken),
                                   record(pak_code_levl, 0x22000000, "fine", compressed_payload(text, 32))}));
    pak_system sys;
    pak_file f(&sys, false, path.c_str());
    for (const char* n : {"short", "long", "broken"}) {
        ref_ptr<pak_chunkref> r = f.get(n);
        ASSERT_TRUE(r) << n;
        std::vector<uint8_t> buf(r->uncompressed_size);
        EXPECT_EQ(r->read(buf.data()), -1) << n;
        // And the walker built on it is empty rather than half-filled.
        EXPECT_EQ(pak_rawchunk(r).size, 0u) << n;
    }
    EXPECT_EQ(read_name(f, "fine"), std::string(text.begin(), text.end()));
}

TEST(pak_dir, chunk_files_are_found_by_relative_name_and_bad_ones_are_left_out)
{
    test_scratch_dir dir;
    std::vector<uint8_t> stored;
    append_le32(stored, 0x20000000);
    stored.insert(stored.end(), {'h', 'i', '!'});
    test_write_bytes(dir.file("levels/Title.LEVL.pkc"), stored);
    test_write_bytes(dir.file("tex/ui/Star_On.IMAG.pkc"), stored);
    test_write_bytes(dir.file("z.LEVL.pkc"), stored);  // the shortest name there is
    std::vector<uint8_t> zipped;
    append_le32(zipped, 0x32000000);  // container, compressed
    std::vector<uint8_t> payload = compressed_payload(pak_bytes("packed text"), 11);
    zipped.insert(zipped.end(), payload.begin(), payload.end());
    test_write_bytes(dir.file("init/worlds.INIT.pkc"), zipped);
    std::vector<uint8_t> bad = stored;
    bad[3] = 0x40;  // the marker bits are not 001
    test_write_bytes(dir.file("bad.LEVL.pkc"), bad);
    std::vector<uint8_t> absurd = zipped;
    absurd[4] = absurd[5] = absurd[6] = absurd[7] = 0xFF;
    test_write_bytes(dir.file("absurd.SAMP.pkc"), absurd);
    test_write_bytes(dir.file("short.SAMP.pkc"), {0x00, 0x00});
    test_write_bytes(dir.file("notes.txt"), stored);
    test_write_bytes(dir.file("x.TOOLONG.pkc"), stored);

    pak_system sys;
    pak_module* m = sys.add_directory(dir.path.string().c_str(), false);
    EXPECT_EQ(m->chunk_count(), 4u);
    EXPECT_EQ(read_name(*m, "levels\\Title"), "hi!");
    EXPECT_EQ(read_name(*m, "z"), "hi!");
    EXPECT_EQ(m->get("tex\\ui\\Star_On")->code, pak_code_imag);
    ref_ptr<pak_chunkref> w = m->get("init\\worlds");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->is_container());
    EXPECT_EQ(read_name(*m, "init\\worlds"), "packed text");
    EXPECT_FALSE(m->get("bad"));
    EXPECT_FALSE(m->get("absurd"));
    EXPECT_FALSE(m->get("short"));
    EXPECT_EQ(pak_open_chunk_file(dir.file("bad.LEVL.pkc"), "bad", pak_code_levl)->status,
              pak_status_bad_header);
    EXPECT_EQ(pak_open_chunk_file(dir.file("gone.LEVL.pkc"), "gone", pak_code_levl)->status,
              pak_status_unopened);
}

TEST(pak_dir, writing_creates_missing_directories_and_refuses_names_leaving_the_root)
{
    test_scratch_dir dir;
    std::string root = dir.file("store");
    pak_system sys;
    pak_module* m = sys.add_directory(root.c_str(), true);
    pak_editchunk img = pak_editchunk::node(pak_code_imag, "tex\\deep\\er\\pic",
                                            {pak_editchunk::leaf(pak_code_head, "", {7, 7, 7})});
    ref_ptr<pak_chunkref> r = m->write(img, 9, false);
    ASSERT_TRUE(r);
    EXPECT_TRUE(std::filesystem::is_regular_file(root + "/tex/deep/er/pic.IMAG.pkc"));
    pak_rawchunk raw(r);
    pak_record rec;
    ASSERT_TRUE(raw.find(pak_code_head, rec));
    EXPECT_EQ(rec.size, 3u);

    EXPECT_FALSE(m->write(img, 0, false));
    EXPECT_EQ(m->status, pak_module::status_refused);
    for (const char* bad : {"..\\evil", "a\\..\\..\\evil", "\\abs", "a\\\\b", "a/b", "."}) {
        EXPECT_FALSE(m->write_raw(pak_code_levl, bad, 1, false, "x", 0, true)) << bad;
        EXPECT_EQ(m->status, pak_module::status_uncreated) << bad;
    }
    EXPECT_FALSE(m->write_raw(pak_code("../x"), "ok", 1, false, "x", 0, true));
    EXPECT_FALSE(std::filesystem::exists(dir.file("evil.LEVL.pkc")));

    // The same name under another code replaces the old file, and a rescan agrees.
    ASSERT_TRUE(m->write_raw(pak_code_levl, "tex\\deep\\er\\pic", 2, false, "ok", 0, true));
    EXPECT_FALSE(std::filesystem::exists(root + "/tex/deep/er/pic.IMAG.pkc"));
    pak_system again;
    pak_module* m2 = again.add_directory(root.c_str(), false);
    EXPECT_EQ(m2->chunk_count(), 1u);
    EXPECT_EQ(read_name(*m2, "tex\\deep\\er\\pic"), "ok");
}

// A source tree serves script sources and chunk files by chunk name, by the same name rule
// as the directory store and the archive builder, and takes no writes.
TEST(pak_source_dir, serves_script_sources_and_chunk_files_by_chunk_name)
{
    test_scratch_dir dir;
    test_write_text(dir.file("levels/Ledge.LEVL.txt"), "level text");
    test_write_text(dir.file("a.INIT.txt"), "x 1");  // the shortest name there is
    ASSERT_TRUE(pak_write_chunk_file(dir.file("levels/Ledge_r.RPLY.pkc"), false, 0, "rp", 2));
    for (const char* other : {"levels/Ledge.solution", "levels/x.LE-L.txt", "notes.txt", ".hidden/b.LEVL.txt",
                              "levels/.LEVL.txt", "CMakeLists.txt"})
        test_write_text(dir.file(other), "no source");

    pak_system sys;
    auto store = std::make_unique<pak_source_dir>(&sys, dir.path.string());
    pak_module* m = store.get();
    sys.add_module(std::move(store));
    EXPECT_EQ(m->chunk_count(), 3u);
    ref_ptr<pak_chunkref> level = m->get("levels\\Ledge");
    ASSERT_TRUE(level);
    EXPECT_EQ(level->get_code(), pak_code_levl);
    EXPECT_EQ(pak_read_all(*level), pak_bytes("level text"));
    ASSERT_TRUE(m->get("a"));
    EXPECT_EQ(m->get("a")->get_code(), pak_code_init);
    ref_ptr<pak_chunkref> replay = m->get("levels\\Ledge_r");
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->get_code(), pak_code_rply);
    EXPECT_EQ(pak_read_all(*replay), pak_bytes("rp"));
    EXPECT_FALSE(m->write_raw(pak_code_levl, "new", 1, false, "x", 0, true));

    std::string base;
    uint32_t code = 0;
    EXPECT_FALSE(pak_split_coded_name("Ledge.LEVL.txt", ".pkc", base, code));
    EXPECT_FALSE(pak_split_coded_name(".LEVL.txt", ".txt", base, code));
    ASSERT_TRUE(pak_split_coded_name("dir/x.IMAG.pkc", ".pkc", base, code));
    EXPECT_EQ(base, "dir/x");
    EXPECT_EQ(code, pak_code_imag);
}

// The one walk every store and tool shares: sorted, hidden files and folders left out,
// folders that no chunk name can reach left out, names from folders and stems.
TEST(pak_tree, walks_sorted_and_leaves_out_what_no_store_may_serve)
{
    test_scratch_dir dir;
    std::string root = dir.file("tree");
    for (const char* f : {"levels/b.LEVL.pkc", "levels/a.LEVL.pkc", "top.INIT.pkc", ".git/objects/x.LEVL.pkc",
                          "levels/.old/c.LEVL.pkc", "levels/.d.LEVL.pkc", "we\\ird/e.LEVL.pkc"}) {
        std::filesystem::create_directories(std::filesystem::path(root + "/" + f).parent_path());
        ASSERT_TRUE(pak_write_chunk_file(root + "/" + f, false, 0, "x", 1));
    }
    std::vector<pak_tree_file> files;
    ASSERT_TRUE(pak_walk_tree(root, files));
    std::vector<std::string> seen;
    for (const pak_tree_file& f : files)
        seen.push_back(f.relative);
    EXPECT_EQ(seen, (std::vector<std::string>{"levels/a.LEVL.pkc", "levels/b.LEVL.pkc", "top.INIT.pkc"}));
    std::string name;
    ASSERT_TRUE(files[0].chunk_name("a", name));
    EXPECT_EQ(name, "levels\\a");
    EXPECT_FALSE(files[0].chunk_name("x\\y", name));
    EXPECT_FALSE(files[0].chunk_name(std::string(pak_name_capacity, 'n'), name));

    // The directory store serves exactly what the walk found.
    pak_system sys;
    pak_module* m = sys.add_directory(root.c_str(), false);
    EXPECT_EQ(m->chunk_count(), 3u);
    EXPECT_TRUE(m->get("levels\\a"));
    EXPECT_FALSE(m->get("levels\\.old\\c"));

    std::string error;
    EXPECT_FALSE(pak_walk_tree(dir.file("missing"), files, &error));
    EXPECT_NE(error.find("not a directory"), std::string::npos);
}
