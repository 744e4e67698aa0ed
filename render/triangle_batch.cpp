// triangle_batch: fans into keyed triangles, a two-pass radix sort, runs, two draw passes.
#include "render/triangle_batch.h"

#include "render/texture.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

constexpr uint32_t blended_pass_key = 0x8000;

// One stable counting pass over byte `shift / 8` of the low 16 bits of the keys.
void radix_pass(const std::vector<batch_triangle>& in, std::vector<batch_triangle>& out, int shift)
{
    uint32_t count[257] = {};
    for (const batch_triangle& t : in)
        ++count[((uint32_t(t.key) >> shift) & 0xFF) + 1];
    for (int i = 0; i < 256; ++i)
        count[i + 1] += count[i];
    out.resize(in.size());
    for (const batch_triangle& t : in)
        out[count[(uint32_t(t.key) >> shift) & 0xFF]++] = t;
}

bool in_blended_pass(int32_t key)
{
    return (uint32_t(key) & 0xFFFF) >= blended_pass_key;
}

}  // namespace

int32_t triangle_batch::sort_key(float z, bool blended)
{
    return blended ? int32_t(z * 819.2f + 65535.0f) : int32_t(-z * 819.2f);
}

void triangle_batch::begin_fan(gl_texture* texture, float z)
{
    if (!texture) {
        begin_fan(0u, false, z);
        return;
    }
    int32_t frame = texture->current_frame();
    begin_fan(texture->gl_name(frame), texture->translucent(), z, texture->scroll_offset_x(),
              texture->scroll_offset_y(), texture->frame_solid(frame));
}

void triangle_batch::begin_fan(uint32_t gl_name, bool blended, float z, float u_offset, float v_offset,
                               bool solid)
{
    fan_texture = gl_name;
    fan_solid = solid;
    fan_z = z;
    fan_key = sort_key(z, blended);
    fan_u = u_offset;
    fan_v = v_offset;
    staged_count = 0;
}

void triangle_batch::add_vertex(float x, float y, float u, float v)
{
    staged[staged_count++] = batch_vertex{x, y, fan_z, u + fan_u, v + fan_v};
    if (staged_count < 3)
        return;
    triangles.push_back(batch_triangle{fan_key, fan_texture, uint32_t(vertices.size()), fan_solid ? 1u : 0u});
    vertices.insert(vertices.end(), staged, staged + 3);
    // The next vertex makes a triangle with the fan's first vertex and this one.
    staged[1] = staged[2];
    staged_count = 2;
}

void triangle_batch::clear()
{
    vertices.clear();
    triangles.clear();
    runs.clear();
    sorted_vertices.clear();
    opaque_runs = 0;
    staged_count = 0;
}

void triangle_batch::sort_runs()
{
    radix_pass(triangles, scratch, 0);
    radix_pass(scratch, sorted, 8);

    runs.clear();
    opaque_runs = 0;
    sorted_vertices.resize(sorted.size() * 3);
    for (size_t i = 0; i < sorted.size(); ++i) {
        const batch_triangle& t = sorted[i];
        for (int k = 0; k < 3; ++k)
            sorted_vertices[i * 3 + size_t(k)] = vertices[t.first_vertex + uint32_t(k)];
        bool blended = in_blended_pass(t.key), solid = t.solid != 0;
        if (!runs.empty() && runs.back().texture == t.texture &&
            in_blended_pass(runs.back().key) == blended && runs.back().solid == solid) {
            ++runs.back().triangle_count;
            continue;
        }
        runs.push_back(batch_run{t.key, t.texture, uint32_t(i * 3), 1, solid});
        if (!blended)
            opaque_runs = runs.size();
    }
}

void triangle_batch::draw_runs() const
{
    if (runs.empty())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(batch_vertex), &sorted_vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(batch_vertex), &sorted_vertices[0].u);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);

    // A solid texel's alpha is at least 240/255 (and filtering keeps it there): times a
    // colour alpha of 3/4 it stays above the test's one half.
    GLfloat colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    bool solid_passes = colour[3] >= 0.75f;
    glAlphaFunc(GL_GREATER, 0.5f);
    glDisable(GL_BLEND);
    bool alpha_test = false;
    glDisable(GL_ALPHA_TEST);
    for (size_t i = 0; i < runs.size(); ++i) {
        const batch_run& r = runs[i];
        if (i == opaque_runs) {
            glDisable(GL_ALPHA_TEST);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        } else if (i < opaque_runs && alpha_test != !(r.solid && solid_passes)) {
            alpha_test = !alpha_test;
            if (alpha_test)
                glEnable(GL_ALPHA_TEST);
            else
                glDisable(GL_ALPHA_TEST);
        }
        glBindTexture(GL_TEXTURE_2D, r.texture);
        glDrawArrays(GL_TRIANGLES, GLint(r.first_vertex), GLsizei(r.triangle_count * 3));
    }
    glPopClientAttrib();
    glPopAttrib();
}

triangle_batch& triangle_batch_global()
{
    static triangle_batch batch;
    return batch;
}
