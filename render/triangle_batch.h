// The triangle batch: world drawing submits every textured polygon of a frame as a fan,
// the batch keys each triangle by depth and translucency, sorts the frame's triangles
// without comparisons and draws them in two passes with one call per run of equal texture.
//
//   triangle_batch& batch = triangle_batch_global();
//   batch.clear();                       // once per frame, before the submissions
//   batch.begin_fan(texture, z);         // a polygon v0, v1, v2, v3 ... becomes the fan
//   batch.add_vertex(x, y, u, v);        // (v0, v1, v2), (v0, v2, v3), ...
//   ...
//   batch.flush();                       // sort and draw
//
// Keys: an opaque polygon at depth z gets trunc(-z x 819.2), which grows with distance, so
// opaque triangles are drawn front to back; a translucent one gets trunc(z x 819.2 + 65535),
// which grows towards the viewer, so blended triangles are drawn back to front. Only the low
// 16 bits of a key order the triangles, and triangles of equal keys keep their submission
// order. Keys below 0x8000 are drawn first, with the alpha test (alpha > 0.5) and without
// blending; the rest after them, blended. For the visible depths of the view (0 to -16)
// that puts every opaque polygon in the first pass and every translucent one in the second.
// Runs of a solid texture skip the alpha test while the colour's alpha is at least 3/4,
// since every one of their fragments passes it: without it a rasteriser may test depth
// before texturing, and the polygons that lie behind others cost far less.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class gl_texture;

struct batch_vertex {
    float x = 0, y = 0, z = 0, u = 0, v = 0;
};

struct batch_triangle {
    int32_t key = 0;
    uint32_t texture = 0;       // GL name
    uint32_t first_vertex = 0;  // into `vertices`
    uint32_t solid = 0;         // 1: every texel has alpha >= 240 (gl_texture::solid)
};

struct batch_run {
    int32_t key = 0;
    uint32_t texture = 0;
    uint32_t first_vertex = 0;  // into the sorted vertex array
    uint32_t triangle_count = 0;
    bool solid = false;
};

class triangle_batch {
public:
    std::vector<batch_vertex> vertices;  // three per triangle, in submission order
    std::vector<batch_triangle> triangles;
    std::vector<batch_run> runs;  // built by sort_runs: opaque runs, then blended runs
    size_t opaque_runs = 0;       // how many of `runs` belong to the first pass

    // The current fan.
    uint32_t fan_texture = 0;
    float fan_z = 0.0f;
    int32_t fan_key = 0;
    bool fan_solid = false;
    float fan_u = 0.0f, fan_v = 0.0f;  // the texture's scroll offsets
    batch_vertex staged[3];
    int32_t staged_count = 0;

    // The key of a polygon at depth z.
    static int32_t sort_key(float z, bool blended);

    // Starts a polygon with the texture's current animation frame, its translucency, its
    // solidity and its scroll offsets. A null texture draws untextured and opaque.
    void begin_fan(gl_texture* texture, float z);
    // The same with everything given (tests and benchmarks need no GL texture).
    void begin_fan(uint32_t gl_name, bool blended, float z, float u_offset = 0.0f, float v_offset = 0.0f,
                   bool solid = false);
    void add_vertex(float x, float y, float u, float v);
    void clear();

    // Sorts the triangles by key, copies their vertices into `sorted_vertices` and builds
    // the runs (no GL).
    void sort_runs();
    // Draws the runs of the last sort: the opaque pass, then the blended pass. The GL state
    // it changes (alpha test, blending, depth test, client arrays) is restored afterwards.
    void draw_runs() const;
    void flush()
    {
        sort_runs();
        draw_runs();
    }

    std::vector<batch_vertex> sorted_vertices;

private:
    std::vector<batch_triangle> sorted;
    std::vector<batch_triangle> scratch;
};

// The one batch of the program, shared by world drawing and its callers.
triangle_batch& triangle_batch_global();
