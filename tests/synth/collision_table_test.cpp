// The collision-sound table in base/init: every class has its own sample and a
// priority, every sample it names is one the generator renders, and every node and
// body type of the game has a class.
#include "tools/synth/catalogue.h"

#include "data/script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct parsed_file {
    std::shared_ptr<script_symbol_table> symbols = std::make_shared<script_symbol_table>(1 << 16, 256, 1024);
    script_handle root = script_handle::fresh(symbols.get());
};

bool parse_file(const fs::path& path, parsed_file& out)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    script_parser parser(out.root);
    return parser.parse(text.str().c_str());
}

std::set<std::string> collision_samples()
{
    std::set<std::string> names;
    for (const sample_entry& e : sample_catalogue())
        if (e.kind == sample_kind::collision)
            names.insert(e.name);
    return names;
}

}  // namespace

TEST(collision_table, classes_have_samples_and_priorities_and_name_only_rendered_samples)
{
    parsed_file f;
    ASSERT_TRUE(parse_file(fs::path(TAMBLE_SOURCE_DIR) / "base/init/collision_sounds.INIT.txt", f));
    script_handle table = f.root.get("collision_sounds");
    ASSERT_EQ(table.type(), script_type_block);
    std::set<std::string> rendered = collision_samples(), used;
    std::set<int> classes;
    table.for_each([&](script_id key, const script_handle& cls) {
        ASSERT_LT(key, 16384u) << "class keys are numbers";
        classes.insert(int(key));
        ASSERT_EQ(cls.type(), script_type_block) << key;
        const char* own = cls.get("sample").as_string();
        ASSERT_NE(own, nullptr) << "class " << key << " has no sample";
        EXPECT_EQ(cls.get("priority").type(), script_type_real) << "class " << key;
        cls.for_each([&](script_id entry, const script_handle& value) {
            if (value.type() != script_type_string)
                return;
            EXPECT_TRUE(rendered.count(value.as_string())) << "class " << key << ": " << value.as_string();
            used.insert(value.as_string());
            (void)entry;
        });
    });
    // Pair entries name classes that exist.
    table.for_each([&](script_id key, const script_handle& cls) {
        cls.for_each([&](script_id entry, const script_handle&) {
            if (entry < 16384) {
                EXPECT_TRUE(classes.count(int(entry))) << "pair " << key << "." << entry;
            }
        });
    });
    // Nothing is rendered that the table never plays.
    for (const std::string& name : rendered)
        EXPECT_TRUE(used.count(name)) << name << " is rendered but not in the table";
    // The two collision samples the game preloads by name.
    EXPECT_TRUE(used.count("sounds\\Hit_Balls_Metal"));
    EXPECT_TRUE(used.count("sounds\\Hit_SolidWood"));
}

TEST(collision_table, every_node_and_body_type_has_a_class)
{
    parsed_file table_file;
    ASSERT_TRUE(parse_file(fs::path(TAMBLE_SOURCE_DIR) / "base/init/collision_sounds.INIT.txt", table_file));
    script_handle table = table_file.root.get("collision_sounds");
    int types = 0;
    for (const char* folder : {"nodes", "bodies"}) {
        for (const fs::directory_entry& e :
             fs::directory_iterator(fs::path(TAMBLE_SOURCE_DIR) / "base" / folder)) {
            std::string name = e.path().filename().string();
            if (name.find(".NTYP.txt") == std::string::npos && name.find(".BTYP.txt") == std::string::npos)
                continue;
            parsed_file type;
            ASSERT_TRUE(parse_file(e.path(), type)) << name;
            script_handle material = type.root.get("material");
            EXPECT_EQ(material.type(), script_type_int) << name << " has no material";
            EXPECT_TRUE(table.get(script_id(material.as_int())).exists())
                << name << ": material " << material.as_int() << " has no class in the table";
            ++types;
        }
    }
    EXPECT_GE(types, 10);
}
