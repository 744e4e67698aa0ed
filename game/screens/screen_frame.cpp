// The app window's side of the screens' frames.
#include "game/screens/screen_frame.h"

#include "app/view_space.h"
#include "app/window/window.h"

#include <SDL_opengl.h>

namespace {

bool quit_requested = false;

}  // namespace

void screen_drain(const input_sink_t& sink)
{
    if (glw_window* w = app_window())
        drain_input(*w, sink);
}

frame_host_t screen_host(input_sink_t sink)
{
    frame_host_t host;
    host.flush_input = [] {
        if (glw_window* w = app_window())
            w->flush_input();
    };
    host.clear = [] {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    };
    host.swap = [] {
        glw_window* w = app_window();
        return w && w->swap();
    };
    host.drain_input = [sink = std::move(sink)] { screen_drain(sink); };
    return host;
}

void screen_begin_2d(float brightness)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(brightness, brightness, brightness, 1.0f);
}

void screen_quad(gl_texture* texture, const ui_rect& r, gl_uv uv0, gl_uv uv1)
{
    gl_draw_quad(texture, r.x, r.y, r.w, r.h, uv0, uv1);
}

bool screen_pump()
{
    glw_window* w = app_window();
    if (!quit_requested && w && !w->pump_messages())
        quit_requested = true;
    return !quit_requested;
}

bool screen_quit_requested()
{
    return quit_requested;
}

void screen_pointer(float& x, float& y)
{
    x = y = 0.0f;
    if (glw_window* w = app_window())
        w->mouse_position(x, y);
}

float screen_view_width()
{
    glw_window* w = app_window();
    return w ? w->view_width() : view_size;
}

void screen_set_view(float cx, float cy, float half_height)
{
    if (glw_window* w = app_window())
        w->set_view(cx, cy, half_height);
}
