// The triangle batch: fans, keys, the stable sort, runs and the two passes. The sort needs
// no GL; the last test draws and reads the pixels back.
#include "render/triangle_batch.h"
#include "tests/render/render_test_util.h"

namespace {

void fan(triangle_batch& b, uint32_t texture, bool blended, float z, int vertices, float x = 0)
{
    b.begin_fan(texture, blended, z);
    for (int i = 0; i < vertices; ++i)
        b.add_vertex(x + float(i), float(i * i), float(i), 0);
}

TEST(triangle_batch, a_fan_of_n_vertices_gives_n_minus_2_triangles_around_its_first)
{
    triangle_batch b;
    fan(b, 1, false, -1, 2);
    EXPECT_EQ(b.triangles.size(), 0u);
    fan(b, 1, false, -1, 3);
    EXPECT_EQ(b.triangles.size(), 1u);
    fan(b, 1, false, -1, 5);
    ASSERT_EQ(b.triangles.size(), 4u);
    ASSERT_EQ(b.vertices.size(), 12u);
    // The 5-vertex fan (x 0..4): (v0, v1, v2), (v0, v2, v3), (v0, v3, v4).
    const float expect[3][3] = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}};
    for (int t = 0; t < 3; ++t)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(b.vertices[b.triangles[size_t(t + 1)].first_vertex + uint32_t(k)].x, expect[t][k]);
    // The texture's scroll offsets are added to u and v, the fan's z to every vertex.
    b.clear();
    b.begin_fan(7, false, -2.5f, 0.25f, 0.5f);
    b.add_vertex(0, 0, 1, 1);
    b.add_vertex(1, 0, 2, 2);
    b.add_vertex(1, 1, 3, 3);
    ASSERT_EQ(b.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(b.vertices[2].u, 3.25f);
    EXPECT_FLOAT_EQ(b.vertices[2].v, 3.5f);
    EXPECT_FLOAT_EQ(b.vertices[2].z, -2.5f);
    EXPECT_EQ(b.triangles[0].texture, 7u);
}

TEST(triangle_batch, keys_grow_with_distance_when_opaque_and_towards_the_viewer_when_blended)
{
    EXPECT_EQ(triangle_batch::sort_key(1.0f, false), -819);
    EXPECT_EQ(triangle_batch::sort_key(-1.0f, false), 819);
    EXPECT_EQ(triangle_batch::sort_key(-50.0f, false), 40960);
    EXPECT_EQ(triangle_batch::sort_key(0.0f, true), 65535);
    EXPECT_EQ(triangle_batch::sort_key(-16.0f, true), 52427);
    EXPECT_EQ(triangle_batch::sort_key(-16.0f, false), 13107);
}

TEST(triangle_batch, the_sort_is_stable_puts_blended_after_opaque_and_merges_runs_of_one_texture)
{
    triangle_batch b;
    fan(b, 5, true, -1, 3, 100);   // blended, near
    fan(b, 1, false, -8, 3, 200);  // opaque, far
    fan(b, 2, false, -1, 3, 300);  // opaque, near
    fan(b, 2, false, -1, 4, 400);  // same key and texture: submission order, one run
    fan(b, 6, true, -8, 3, 500);   // blended, far: before the near blended one
    fan(b, 3, false, -1, 3, 600);  // same key, another texture
    b.sort_runs();
    std::vector<float> order;
    for (size_t i = 0; i < b.sorted_vertices.size(); i += 3)
        order.push_back(b.sorted_vertices[i].x);
    EXPECT_EQ(order, (std::vector<float>{300, 400, 400, 600, 200, 500, 100}));
    ASSERT_EQ(b.runs.size(), 5u);
    EXPECT_EQ(b.opaque_runs, 3u);
    EXPECT_EQ(b.runs[0].texture, 2u);
    EXPECT_EQ(b.runs[0].triangle_count, 3u);
    EXPECT_EQ(b.runs[1].texture, 3u);
    EXPECT_EQ(b.runs[2].texture, 1u);
    EXPECT_EQ(b.runs[3].texture, 6u);
    EXPECT_EQ(b.runs[4].first_vertex, 18u);

    // Only the low 16 bits order: an opaque polygon in front of the view (key -819, low
    // bits 0xFCCD) sorts with the blended ones, and so does one beyond z -40.
    b.clear();
    fan(b, 1, false, 1.0f, 3, 1);
    fan(b, 1, false, -50.0f, 3, 2);
    fan(b, 1, true, 0.0f, 3, 3);
    fan(b, 1, false, -2.0f, 3, 4);
    b.sort_runs();
    ASSERT_EQ(b.sorted_vertices.size(), 12u);
    EXPECT_EQ(b.sorted_vertices[0].x, 4);
    EXPECT_EQ(b.sorted_vertices[3].x, 2);
    EXPECT_EQ(b.sorted_vertices[6].x, 1);
    EXPECT_EQ(b.sorted_vertices[9].x, 3);
    EXPECT_EQ(b.opaque_runs, 1u);
}

struct batch_draw_test : render_fixture {
    test_store store;
};

TEST_F(batch_draw_test, opaque_triangles_cut_out_below_half_alpha_and_blended_ones_mix_over_them)
{
    store.add_texture("tex\\red_cutout", 4, 4, 0xFF000008);  // alpha 8: keyed opaque, cut out
    store.add_texture("tex\\red", 4, 4, 0xFF0000FF);
    store.add_texture("tex\\blue_glass", 4, 4, 0x0000FF80);
    ref_ptr<gl_texture> cutout = store.texture("tex\\red_cutout"), red = store.texture("tex\\red");
    ref_ptr<gl_texture> glass = store.texture("tex\\blue_glass");
    ASSERT_FALSE(red->translucent());
    ASSERT_TRUE(glass->translucent());

    triangle_batch& b = triangle_batch_global();
    b.clear();
    auto square = [&](gl_texture* t, float z, float x0, float y0, float size) {
        b.begin_fan(t, z);
        b.add_vertex(x0, y0, 0, 0);
        b.add_vertex(x0 + size, y0, 1, 0);
        b.add_vertex(x0 + size, y0 + size, 1, 1);
        b.add_vertex(x0, y0 + size, 0, 1);
    };
    ASSERT_TRUE(red->solid());
    ASSERT_FALSE(cutout->solid());
    // The glass is submitted first and lies in front, yet is drawn after the red square.
    square(glass.get(), -1, 10, 10, 20);
    square(red.get(), -5, 0, 0, 20);
    square(cutout.get(), -1, 40, 0, 10);
    // Solid, cut out, solid again in drawing order: the alpha test goes off and on again.
    square(red.get(), -0.5f, 40, 20, 10);
    b.flush();
    EXPECT_TRUE(near_colour(at(5, 5), 255, 0, 0)) << at(5, 5);
    EXPECT_TRUE(near_colour(at(15, 15), 127, 0, 128, 8)) << at(15, 15);
    EXPECT_TRUE(near_colour(at(25, 25), 0, 0, 128, 8)) << at(25, 25);
    EXPECT_TRUE(near_colour(at(45, 5), 0, 0, 0)) << at(45, 5);
    EXPECT_TRUE(near_colour(at(45, 25), 255, 0, 0)) << at(45, 25);
    // The GL state is as before the flush.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));

    // Drawn in a faint colour even a solid texture falls below the test and is cut out.
    b.clear();
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
    square(red.get(), -2, 0, 40, 10);
    b.flush();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(near_colour(at(5, 45), 0, 0, 0)) << at(5, 45);
}

}  // namespace
