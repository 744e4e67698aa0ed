// Type loading: keys, defaults and derived values in their order, rope building, the
// checks that refuse unusable data, and the creators that serve types from a store.
#include "app/log.h"
#include "data/pak.h"
#include "data/pak_script.h"
#include "physics/body.h"
#include "physics/type_creators.h"
#include "physics/world.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

script_handle parse(const char* text)
{
    script_handle h = script_handle::fresh(&script_global_symbols());
    EXPECT_TRUE(script_parser(h).parse(text)) << text;
    return h;
}

ref_ptr<v_body_type> body_type(const char* text)
{
    return ref_ptr<v_body_type>(new v_body_type(nullptr, parse(text)));
}

ref_ptr<v_constraint_type> constraint_type(const char* text)
{
    return ref_ptr<v_constraint_type>(new v_constraint_type(nullptr, parse(text)));
}

class physics_types : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_sink = log_redirect_sink0(nullptr);
        log_sink_clear(1);
    }
    void TearDown() override { log_redirect_sink0(previous_sink); }
    std::FILE* previous_sink = nullptr;
};

TEST_F(physics_types, node_type_keys_and_polygon_counting)
{
    v_node_type t(nullptr, parse(R"(material 3 mass 2.5 radius 1.25 color 4 collision_velocity 12
        polys { ~{ x 1 y 2 tx 0.5 ty 0.25 } ~{ y 7 } ~{ tex "tex\balls\red" z -2 }
                ~{ x 3 y 4 } ~{ tex "tex\balls\ring" z -1.5 } ~{ x 9 y 9 } })"));
    EXPECT_TRUE(t.loaded);
    EXPECT_EQ(t.material, 3);
    EXPECT_FLOAT_EQ(t.mass, 2.5f);
    EXPECT_FLOAT_EQ(t.radius, 1.25f);
    EXPECT_EQ(t.color, 4);
    EXPECT_FLOAT_EQ(t.collision_velocity, 12.0f);
    ASSERT_EQ(t.polys.vertices.size(), 4u);  // the trailing vertex is kept, unused
    ASSERT_EQ(t.polys.polygons.size(), 2u);
    EXPECT_EQ(t.polys.polygons[0].count, 2);
    EXPECT_EQ(t.polys.polygons[0].texture, "tex\\balls\\red");
    EXPECT_FLOAT_EQ(t.polys.polygons[0].z, -2.0f);
    EXPECT_EQ(t.polys.polygons[1].count, 1);
    EXPECT_FLOAT_EQ(t.polys.vertices[0].tx, 0.5f);
    // "y" without "x" leaves both at 0.
    EXPECT_FLOAT_EQ(t.polys.vertices[1].x, 0.0f);
    EXPECT_FLOAT_EQ(t.polys.vertices[1].y, 0.0f);
}

TEST_F(physics_types, constraint_type_keys_defaults_and_polygons)
{
    ref_ptr<v_constraint_type> t = constraint_type(R"(tension { k 0.5 damp 0.1 force 9 }
        compression { k 0.25 damp 0.05 force 5 } seg_len 1.5 seg_mass 0
        polys { ~{ x 0 y -0.5 tx 0 ty 0 } ~{ tex "tex\ropes\hemp" z -3 } ~{ x 1 y 0.5 } })");
    EXPECT_TRUE(t->loaded);
    EXPECT_FLOAT_EQ(t->tension_k, 0.5f);
    EXPECT_FLOAT_EQ(t->tension_damp, 0.1f);
    EXPECT_FLOAT_EQ(t->tension_force, 9.0f);
    EXPECT_FLOAT_EQ(t->compression_k, 0.25f);
    EXPECT_FLOAT_EQ(t->compression_force, 5.0f);
    EXPECT_FLOAT_EQ(t->seg_len, 1.5f);
    EXPECT_FLOAT_EQ(t->seg_mass, 0.1f);  // 0 becomes 0.1
    EXPECT_FLOAT_EQ(t->mass, 0.1f);      // and is the rope nodes' mass
    EXPECT_TRUE(t->cuttable);            // "uncuttable" absent
    EXPECT_FLOAT_EQ(t->fric, 0.5f);      // absent: 0.5
    EXPECT_FLOAT_EQ(t->elast, 0.5f);
    EXPECT_TRUE(t->polys.polygons.empty());  // the node-type part stays empty
    ASSERT_EQ(t->rope_polys.polygons.size(), 1u);
    EXPECT_EQ(t->rope_polys.polygons[0].count, 1);
    EXPECT_EQ(t->rope_polys.vertices.size(), 2u);

    ref_ptr<v_constraint_type> rod = constraint_type("uncuttable 1 fric 0 elast 0.75");
    EXPECT_FALSE(rod->cuttable);
    EXPECT_FLOAT_EQ(rod->fric, 0.0f);  // present, even when 0
    EXPECT_FLOAT_EQ(rod->elast, 0.75f);
}

// Every key lookup interns its name, so the order in which a type reads its keys shows
// in a fresh symbol table: each name must get a later id than the one read before it.
template <class T>
void expect_keys_read_in_order(std::initializer_list<const char*> keys)
{
    script_symbol_table table;
    script_handle root = script_handle::fresh(&table);
    ASSERT_TRUE(script_parser(root).parse("unrelated 1"));
    T type(nullptr, root);
    script_id previous = 0;
    for (const char* key : keys) {
        script_id id = table.intern(key);
        if (id <= script_id_z)
            continue;  // names every table knows from the start
        EXPECT_GT(id, previous) << key << " read too early";
        previous = id;
    }
}

TEST_F(physics_types, keys_are_read_in_their_fixed_order)
{
    expect_keys_read_in_order<v_node_type>(
        {"unrelated", "material", "mass", "radius", "color", "collision_velocity"});
    expect_keys_read_in_order<v_constraint_type>({"unrelated", "tension", "force", "compression", "seg_len",
                                                  "seg_mass", "uncuttable", "fric", "elast"});
    expect_keys_read_in_order<v_body_type>({"unrelated", "material", "mass", "moment", "radius", "pot_color",
                                            "motor", "rotate", "max_speed", "angle_lock", "rail_y", "rail_x",
                                            "nodes", "constraints"});
}

TEST_F(physics_types, balance_node_is_appended_before_the_moment_is_derived)
{
    ref_ptr<v_body_type> t = body_type(R"(mass 2
        nodes { ~{ x 1 y 1 } ~{ x 1 y -1 } ~{ x 1 y 0 } })");
    ASSERT_TRUE(t->loaded);
    ASSERT_TRUE(t->has_balance_node);
    ASSERT_EQ(t->prototype->nodes.size(), 4u);
    EXPECT_EQ(t->prototype->nodes[3].position, vec2(-3.0f, 0.0f));
    // R = 2 + 2 + 1 over the nodes read; N' = 4 with the balance node.
    EXPECT_FLOAT_EQ(t->moment, 5.0f * 2.0f / 4.0f);
    EXPECT_FLOAT_EQ(t->inv_moment, 1.0f / 2.5f);
    EXPECT_FLOAT_EQ(t->inv_mass, 0.5f);
    EXPECT_EQ(t->centroid, vec2(0.0f, 0.0f));  // balance node included

    // Masses weight the sum: (2, 0) / 2 + (-1, 0) / 1 is within 0.01 of the origin.
    ref_ptr<v_body_type> weighted = body_type(R"(mass 1
        nodes { ~{ x 2 y 0 mass 2 } ~{ x -1 y 0.005 } })");
    ASSERT_TRUE(weighted->loaded);
    EXPECT_FALSE(weighted->has_balance_node);
    EXPECT_EQ(weighted->prototype->nodes.size(), 2u);
}

TEST_F(physics_types, body_scalar_rules)
{
    ref_ptr<v_body_type> plain = body_type("mass 1 nodes { ~{ x 1 } ~{ x -1 } }");
    EXPECT_FLOAT_EQ(plain->max_speed, 1.0f);
    EXPECT_FALSE(plain->angle_lock);
    EXPECT_FALSE(plain->has_rail);

    ref_ptr<v_body_type> t = body_type(R"(mass 1 motor 1 max_speed 2 rail_x 1 rail_y 0
        pot_color 3 rotate 0.5 nodes { ~{ x 1 } ~{ x -1 } })");
    EXPECT_FLOAT_EQ(t->motor, -10.0f);
    EXPECT_FLOAT_EQ(t->max_speed, 20.0f);
    EXPECT_EQ(t->rail_normal, vec2(0.0f, -1.0f));
    EXPECT_TRUE(t->has_rail);
    EXPECT_TRUE(t->angle_lock);  // forced by the rail
    EXPECT_EQ(t->pot_color, 3);
    EXPECT_FLOAT_EQ(t->rotate, 0.5f);

    ref_ptr<v_body_type> slanted = body_type("mass 1 rail_x 3 rail_y 4 nodes { ~{ x 1 } ~{ x -1 } }");
    EXPECT_FLOAT_EQ(slanted->rail_normal.x, 0.8f);
    EXPECT_FLOAT_EQ(slanted->rail_normal.y, -0.6f);
}

TEST_F(physics_types, body_edges_prototype_and_node_polygons)
{
    ref_ptr<v_body_type> t = body_type(R"(mass 4
        nodes { ~{ x -1 y -1 } ~{ x 1 y -1 } ~{ x 1 y 1 } ~{ x -1 y 1 } }
        constraints { ~{ n1 0 n2 1 collidable 1 elast 0.25 } ~{ n1 1 n2 2 pot 1 fric 0.1 }
                      ~{ n1 2 n2 3 collidable 1 } }
        polys { ~{ node 2 tx 1 ty 1 } ~{ x 5 y 6 } ~{ tex "tex\bodies\crate" z -4 } })");
    ASSERT_TRUE(t->loaded);
    const v_body& p = *t->prototype;
    ASSERT_EQ(p.constraints.size(), 3u);
    EXPECT_FLOAT_EQ(p.constraints[0].elast, 0.25f);
    EXPECT_FLOAT_EQ(p.constraints[0].fric, 0.5f);  // absent: 0.5
    EXPECT_FLOAT_EQ(p.constraints[1].fric, 0.1f);
    EXPECT_TRUE(p.constraints[1].pot);
    EXPECT_FLOAT_EQ(p.constraints[0].rest_length, 2.0f);
    EXPECT_EQ(p.constraints[0].n1, &p.nodes[0]);
    EXPECT_TRUE(p.constraints[0].type);  // the default constraint type
    EXPECT_FLOAT_EQ(t->mean_elast, (0.25f + 0.5f + 0.5f) / 3.0f);
    ASSERT_EQ(p.collidable.size(), 2u);
    EXPECT_EQ(p.collidable[1], &p.constraints[2]);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p.nodes[size_t(i)].on_edge) << i;
    EXPECT_FLOAT_EQ(p.bound_radius, std::sqrt(2.0f) + 0.5f);
    EXPECT_FALSE(p.immovable);
    ASSERT_EQ(t->polys.vertices.size(), 2u);
    EXPECT_EQ(t->polys.vertices[0].node, 2);
    EXPECT_FLOAT_EQ(t->polys.vertices[0].x, 1.0f);
    EXPECT_EQ(t->polys.vertices[1].node, -1);
    EXPECT_FLOAT_EQ(t->polys.vertices[1].x, 5.0f);
    EXPECT_EQ(t->polys.polygons[0].count, 2);

    // A body copies its prototype with every pointer moved to its own arrays.
    std::unique_ptr<v_body> b = v_make_body(t, {10.0f, 20.0f}, 0.0f, 1.5f);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->nodes[2].position, vec2(11.0f, 21.0f));
    EXPECT_EQ(b->nodes[0].body, b.get());
    EXPECT_EQ(b->constraints[1].n2, &b->nodes[2]);
    EXPECT_EQ(b->collidable[0], &b->constraints[0]);
    EXPECT_FLOAT_EQ(b->z_bias, 1.5f);
}

TEST_F(physics_types, unusable_types_are_refused_with_a_log_line)
{
    struct {
        const char* text;
        const char* key;
    } bodies[] = {
        {"mass 0 nodes { ~{ x 1 } ~{ x -1 } }", "\"mass\""},
        {"mass -2 nodes { ~{ x 1 } ~{ x -1 } }", "\"mass\""},
        {"mass 1 moment -1 nodes { ~{ x 1 } ~{ x -1 } }", "\"moment\""},
        {"mass 1 nodes { ~{ x 0 y 0 } }", "\"moment\""},  // derived moment 0
        {"mass 1 nodes { ~{ x 1 } ~{ x -1 } } constraints { ~{ n1 0 n2 0 } }", "\"constraints\""},
        {"mass 1 nodes { ~{ x 1 } ~{ x -1 } } constraints { ~{ n1 0 n2 2 } }", "\"constraints\""},
        {"mass 1 nodes { ~{ x 1 } ~{ x -1 } } constraints { ~{ n1 -1 n2 1 } }", "\"constraints\""},
        {"mass 1 nodes { ~{ x 1 } ~{ x -1 } } polys { ~{ node 7 } ~{ tex \"t\" } }", "\"polys\""},
        {"mass 1 nodes { ~{ x 1 mass -1 } ~{ x -1 } }", "\"nodes\""},
    };
    for (const auto& c : bodies) {
        log_sink_clear(1);
        ref_ptr<v_body_type> t = body_type(c.text);
        EXPECT_FALSE(t->loaded) << c.text;
        EXPECT_TRUE(test_logged({"body type", c.key, "refused"})) << c.text;
    }
    // A refused body type makes no bodies, so no NaN can reach a world; that holds too
    // when only its polygons were wrong and the prototype was already built.
    EXPECT_FALSE(v_make_body(body_type("mass 0 nodes { ~{ x 1 } ~{ x -1 } }"), {}, 0.0f));
    EXPECT_FALSE(
        v_make_body(body_type("mass 1 nodes { ~{ x 1 } ~{ x -1 } } polys { ~{ node 7 } }"), {}, 0.0f));

    log_sink_clear(1);
    v_node_type massless(nullptr, parse("radius 1"));
    EXPECT_FALSE(massless.loaded);
    EXPECT_TRUE(test_logged({"node type", "\"mass\""}));
    v_node_type inside_out(nullptr, parse("mass 1 radius -1"));
    EXPECT_FALSE(inside_out.loaded);

    EXPECT_FALSE(constraint_type("seg_len -1")->loaded);
    EXPECT_FALSE(constraint_type("seg_mass -0.5")->loaded);
    EXPECT_TRUE(test_logged({"constraint type", "\"seg_mass\""}));
}

TEST_F(physics_types, rope_building_from_the_segment_length)
{
    ref_ptr<v_constraint_type> rope = constraint_type("seg_len 1 seg_mass 0");
    v_node a(nullptr, {0.0f, 0.0f}, true), b(nullptr, {10.0f, 0.0f});
    v_constraint c(rope, &a, &b, 3.0f);  // the segment length overrides the given length
    ASSERT_EQ(c.inodes.size(), 10u);
    EXPECT_FLOAT_EQ(c.rest_length, 10.0f / 11.0f);
    EXPECT_FLOAT_EQ(c.inodes[0].position.x, 10.0f / 11.0f);
    EXPECT_FLOAT_EQ(c.inodes[9].position.x, 100.0f / 11.0f);
    EXPECT_FLOAT_EQ(c.inodes[0].type_mass(), 0.1f);
    EXPECT_FALSE(c.cut);

    v_node near(nullptr, {0.5f, 0.0f});
    v_constraint shortie(rope, &a, &near);
    EXPECT_TRUE(shortie.inodes.empty());
    EXPECT_FLOAT_EQ(shortie.rest_length, 0.5f);

    // Rebuilding follows the ends' current positions.
    b.position = {0.0f, 4.5f};
    c.rebuild();
    EXPECT_EQ(c.inodes.size(), 4u);
    EXPECT_FLOAT_EQ(c.rest_length, 0.9f);

    // A plain link: rest length 0 means the current distance; an empty type is the default.
    v_constraint link(nullptr, &a, &b);
    EXPECT_FLOAT_EQ(link.rest_length, 4.5f);
    EXPECT_EQ(link.type, v_default_constraint_type());

    // An absurd segment length cannot make millions of nodes.
    ref_ptr<v_constraint_type> fine = constraint_type("seg_len 0.000001");
    b.position = {60.0f, 0.0f};
    v_constraint huge(fine, &a, &b);
    EXPECT_EQ(huge.inodes.size(), size_t(v_max_rope_nodes));
}

// Types served from a chunk store through the creators.
class physics_type_store : public physics_types {
protected:
    void SetUp() override
    {
        physics_types::SetUp();
        root =
            std::filesystem::temp_directory_path() / ("tamble_physics_types_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        v_register_type_creators(pak);
        store = pak.add_directory(root.string().c_str(), true);
    }
    void TearDown() override
    {
        v_set_default_constraint_type(nullptr);
        std::filesystem::remove_all(root);
        physics_types::TearDown();
    }
    void put(uint32_t code, const char* name, const std::string& text)
    {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        ASSERT_TRUE(store->write(pak_editchunk::leaf(code, name, bytes), 0, true)) << name;
    }
    std::filesystem::path root;
    pak_system pak;
    pak_module* store = nullptr;
};

TEST_F(physics_type_store, creators_serve_types_and_refuse_bad_ones)
{
    put(pak_code_ctyp, "constraints\\default", "fric 0.25 elast 0.125");
    put(pak_code_ntyp, "nodes\\ball_red", "mass 1 radius 1 color 1");
    put(pak_code_ntyp, "nodes\\broken", "radius 1");
    put(pak_code_btyp, "bodies\\crate",
        "mass 2 nodes { ~{ x -1 } ~{ x 1 } } constraints { ~{ n1 0 n2 1 collidable 1 } }");

    ref_ptr<v_node_type> ball;
    EXPECT_TRUE(pak.get_object("nodes\\ball_red", ball));
    ASSERT_TRUE(ball);
    EXPECT_EQ(ball->name, "nodes\\ball_red");
    EXPECT_EQ(ball->color, 1);
    ref_ptr<v_node_type> again;
    pak.get_object("nodes\\ball_red", again);
    EXPECT_EQ(again.get(), ball.get());  // shared while held

    log_sink_clear(1);
    ref_ptr<v_node_type> broken;
    pak.get_object("nodes\\broken", broken);
    EXPECT_FALSE(broken);
    EXPECT_TRUE(test_logged({"nodes\\broken", "\"mass\""}));

    // Body edges take "constraints\default" from the store the body type came from.
    ref_ptr<v_body_type> crate;
    pak.get_object("bodies\\crate", crate);
    ASSERT_TRUE(crate);
    EXPECT_EQ(crate->prototype->constraints[0].type->name, "constraints\\default");

    ASSERT_TRUE(v_install_default_constraint_type(pak));
    EXPECT_FLOAT_EQ(v_default_constraint_type()->fric, 0.25f);
    v_node a, b(nullptr, {1.0f, 0.0f});
    EXPECT_EQ(v_constraint(nullptr, &a, &b).type->name, "constraints\\default");
}

}  // namespace

namespace {

// Every type the game data ships loads without refusal.
TEST_F(physics_types, every_base_type_loads)
{
    namespace fs = std::filesystem;
    fs::path base = fs::path(TAMBLE_SOURCE_DIR) / "base";
    int count = 0;
    std::vector<int32_t> ball_colours, pot_colours;
    for (const char* folder : {"nodes", "constraints", "bodies"}) {
        for (const auto& entry : fs::directory_iterator(base / folder)) {
            std::string file = entry.path().string();
            std::FILE* f = std::fopen(file.c_str(), "rb");
            ASSERT_TRUE(f) << file;
            std::string text;
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
                text.append(buffer, n);
            std::fclose(f);
            script_handle root = parse(text.c_str());
            bool loaded = false;
            if (file.ends_with(".NTYP.txt")) {
                v_node_type t(nullptr, root);
                loaded = t.loaded;
                if (t.color != 0)
                    ball_colours.push_back(t.color);
            } else if (file.ends_with(".CTYP.txt")) {
                loaded = v_constraint_type(nullptr, root).loaded;
            } else if (file.ends_with(".BTYP.txt")) {
                v_body_type t(nullptr, root);
                loaded = t.loaded;
                if (t.pot_color != 0)
                    pot_colours.push_back(t.pot_color);
            } else {
                continue;
            }
            EXPECT_TRUE(loaded) << file;
            ++count;
        }
    }
    EXPECT_GE(count, 20);
    std::sort(ball_colours.begin(), ball_colours.end());
    std::sort(pot_colours.begin(), pot_colours.end());
    // Several pots may share a colour (a fixed pot and one that rides a rail).
    pot_colours.erase(std::unique(pot_colours.begin(), pot_colours.end()), pot_colours.end());
    EXPECT_GE(ball_colours.size(), 4u);
    EXPECT_EQ(ball_colours, pot_colours);  // a pot for every ball colour, none without a ball
}

}  // namespace
