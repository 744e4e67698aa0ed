// Textures: `gl_texture` is the live object of an "IMAG" chunk. It decodes the chunk's
// image, uploads it with a mipmap chain, and takes its behaviour on screen (scrolling,
// frame animation, wrapping) from the texture's entry in the global script tree:
//
//   tex\ui\Cloud { scroll_x 0.25 scroll_y -0.5 }   texture widths per second
//   tex\ui\Star_On { anim_speed 8 }                frames "tex\ui\Star_On2", "...3", ...
//   tex\ropes\hemp { repeat 1 }                    repeats in both directions
//
// Textures are fetched by chunk name through a pak_system (`get_object`) once the creator
// is registered, and shared by reference counting. Everything here needs a current GL
// context, except reading the fields.
#pragma once

#include "data/pak_system.h"
#include "render/image/image_codec.h"

#include <cstdint>
#include <vector>

// A texture-coordinate corner.
struct gl_uv {
    float u = 0.0f, v = 0.0f;
};

// Program-wide texture state.
struct gl_texture_state {
    uint64_t memory = 0;         // bytes of the base levels of every living texture
    uint32_t frame_counter = 0;  // frames drawn; the play screen adds one per frame
    // Coded textures are decoded at half width and height (small screens); set it before
    // the first texture loads, with gl_texture_choose_half_size.
    bool half_size = false;
    // -1 until the first texture load decides it from the processor; tests may force it.
    int32_t fast_decoder = -1;
    // The largest side GL takes (GL_MAX_TEXTURE_SIZE): 0 until the first texture load asks
    // GL; tests may set it lower. A larger image is halved until it fits.
    int32_t max_size = 0;
};
gl_texture_state& gl_textures();

// Screens of at most 1024 x 768 pixels (786432) get half-size textures.
void gl_texture_choose_half_size(int32_t screen_width, int32_t screen_height);

// Registers the "IMAG" creator with a pak system (the creator lives as long as the program).
void gl_register_texture_creator(pak_system& pak);

class gl_texture : public pak_chunk {
public:
    uint32_t memory_size = 0;  // width x height x 4 of the uploaded base level
    uint32_t last_use = 0;     // frame counter at the last bind
    uint32_t name = 0;         // GL texture name
    // The "HEAD" record; width and height are those uploaded (halved at half size), and
    // both are 0 for a texture that holds no image.
    image_head head;
    std::vector<ref_ptr<gl_texture>> frames;  // "<name>2", "<name>3", ... when animated
    int32_t anim_speed = 0;                   // frames per 1.024 s
    float scroll_x = 0.0f, scroll_y = 0.0f;   // texture widths / heights per second
    bool repeat = false;
    bool translucent_flag = false;  // some pixel has 15 < alpha < 240: draw with blending
    bool solid_flag = false;        // every pixel has alpha >= 240: hides what lies behind it
    int32_t levels = 0;             // mipmap levels uploaded

    // Decodes and uploads the chunk's image. A chunk without "HEAD" or "DATA", with an
    // unusable size, raw bytes that do not match the size, a damaged stream, or an image GL
    // refuses gives an empty texture (one log line), never a read past the record. An image
    // larger than GL takes is halved until it fits (one log line).
    explicit gl_texture(ref_ptr<pak_chunkref> r);
    ~gl_texture() override;
    gl_texture(const gl_texture&) = delete;
    gl_texture& operator=(const gl_texture&) = delete;

    int32_t width() const { return head.width; }
    int32_t height() const { return head.height; }
    bool translucent() const { return translucent_flag; }
    // Not translucent and without holes: a polygon of it drawn in the opaque pass (alpha
    // test at one half, no blending) covers every pixel it spans with its own colour.
    bool solid() const { return solid_flag; }
    // The same for the image of an animation frame (0 is the texture's own); false for a
    // frame it does not have.
    bool frame_solid(int32_t frame) const;
    bool empty() const { return levels == 0; }
    // The number of images: the texture's own and its collected frames.
    int32_t frame_count() const { return int32_t(frames.size()) + 1; }

    // Frame -1 is the current animation frame; 0 the texture's own image; k (1 <= k <=
    // frames) the image that frame k - 1 shows for -1. Any other index is GL name 0.
    uint32_t gl_name(int32_t frame = -1) const;
    // The frame -1 stands for at this moment: ((ms x anim_speed) >> 10) mod frame_count().
    int32_t current_frame() const;
    int32_t frame_at(uint32_t milliseconds) const;
    // Stamps the texture with the frame counter and binds the frame's name.
    void bind(int32_t frame = -1);

    // Texture-coordinate offsets of the scrolling, in [0, 1), on the animation clock.
    float scroll_offset_x() const;
    float scroll_offset_y() const;

    // The sprite quad: centre (x, y), width x height, at depth -1, in the current colour.
    // uv0 goes with the top-left corner, uv1 with the bottom-right one.
    void draw_quad(float x, float y, float width, float height, gl_uv uv0 = {0, 0}, gl_uv uv1 = {1, 1},
                   int32_t frame = -1);

    // The uploaded base level read back from GL (RGBA, rows top to bottom); false for
    // an empty texture.
    bool read_pixels(std::vector<uint8_t>& rgba) const;

private:
    void upload(const uint8_t* data, uint32_t size);
    void read_metadata();
    int32_t wrap_frame(int32_t running) const;
};

// The sprite quad of a texture that may be missing: a null texture draws nothing.
void gl_draw_quad(gl_texture* texture, float x, float y, float width, float height, gl_uv uv0 = {0, 0},
                  gl_uv uv1 = {1, 1}, int32_t frame = -1);
