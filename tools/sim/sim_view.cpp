// tamble-sim view: a live developer view of a level. The world runs at 180 steps a second
// under the averaged catch-up rule and is drawn as lines and circles in the 64 x 64
// playfield; the pointer hovers, selects and cuts constraints as in the play screen.
#include "tools/sim/commands.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_sounds.h"

#include "app/clock.h"
#include "app/driver_script.h"
#include "app/log.h"
#include "app/pacing.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr float pick_distance = 10.0f;
constexpr float pi = 3.14159265f;

struct rgb_t {
    float r, g, b;
};

// Ball and pot colours by colour number (1 red, 2 blue, 3 green, 4 yellow, as the base
// types name them); 0 is an uncoloured node.
rgb_t colour_of(int32_t colour)
{
    static const rgb_t palette[] = {
        {0.75f, 0.75f, 0.75f}, {0.95f, 0.15f, 0.15f}, {0.2f, 0.4f, 1.0f},  {0.15f, 0.8f, 0.2f},
        {1.0f, 0.85f, 0.1f},   {0.8f, 0.2f, 0.9f},    {0.1f, 0.85f, 0.9f}, {1.0f, 0.55f, 0.1f},
    };
    constexpr int32_t n = int32_t(sizeof palette / sizeof palette[0]);
    if (colour <= 0)
        return palette[0];
    return palette[1 + (colour - 1) % (n - 1)];
}

rgb_t dimmed(rgb_t c, float f)
{
    return {c.r * f, c.g * f, c.b * f};
}

void set_colour(rgb_t c)
{
    glColor3f(c.r, c.g, c.b);
}

void line(vec2 a, vec2 b)
{
    glVertex2f(a.x, a.y);
    glVertex2f(b.x, b.y);
}

void disc(vec2 c, float r)
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(c.x, c.y);
    for (int i = 0; i <= 20; ++i) {
        float a = float(i) * 2.0f * pi / 20.0f;
        glVertex2f(c.x + r * std::cos(a), c.y + r * std::sin(a));
    }
    glEnd();
}

void rect_outline(float l, float t, float r, float b)
{
    glBegin(GL_LINE_LOOP);
    glVertex2f(l, t);
    glVertex2f(r, t);
    glVertex2f(r, b);
    glVertex2f(l, b);
    glEnd();
}

void constraint_polyline(const v_constraint& c)
{
    glBegin(GL_LINE_STRIP);
    glVertex2f(c.n1->position.x, c.n1->position.y);
    for (const v_node& n : c.inodes)
        glVertex2f(n.position.x, n.position.y);
    glVertex2f(c.n2->position.x, c.n2->position.y);
    glEnd();
}

// A spring is drawn as a zigzag between its ends, so that it reads apart from rods and ropes.
void spring_zigzag(vec2 a, vec2 b)
{
    constexpr int teeth = 8;
    constexpr float amplitude = 0.6f;
    vec2 d{b.x - a.x, b.y - a.y};
    float length = std::sqrt(d.x * d.x + d.y * d.y);
    vec2 side = length > 0.0f ? vec2{-d.y / length * amplitude, d.x / length * amplitude} : vec2{0.0f, 0.0f};
    glBegin(GL_LINE_STRIP);
    glVertex2f(a.x, a.y);
    for (int i = 1; i < 2 * teeth; ++i) {
        float t = float(i) / float(2 * teeth), sign = i % 2 ? 1.0f : -1.0f;
        glVertex2f(a.x + d.x * t + side.x * sign, a.y + d.y * t + side.y * sign);
    }
    glVertex2f(b.x, b.y);
    glEnd();
}

bool is_spring(const v_constraint& c)
{
    return !c.is_rope() && c.type && (c.type->tension_k != 0.0f || c.type->compression_k != 0.0f);
}

// Stroke glyphs of the verdict words on a 4 x 6 grid: polylines of points written as two
// letters each, x and y in half units from 'a' (so "ia" is the point (4, 0)).
const char* glyph_strokes(char c)
{
    switch (c) {
    case 'A':
        return "amaeeaieim ahih";
    case 'D':
        return "aafaidijfmamaa";
    case 'E':
        return "iaaaamim aggg";
    case 'F':
        return "iaaaam aggg";
    case 'I':
        return "eaem caga cmgm";
    case 'L':
        return "aaamim";
    case 'O':
        return "aaiaimamaa";
    case 'S':
        return "iaaaagigimam";
    case 'V':
        return "aaemia";
    default:
        return "";
    }
}

// Draws `text` centred on (cx, top) with letters `height` view units tall.
void stroke_text(const char* text, float cx, float top, float height)
{
    float unit = height / 6.0f, advance = 6.0f * unit;
    float x0 = cx - (float(std::strlen(text)) * advance - 2.0f * unit) / 2.0f;
    for (const char* c = text; *c; ++c, x0 += advance) {
        const char* p = glyph_strokes(*c);
        while (*p) {
            glBegin(GL_LINE_STRIP);
            for (; p[0] && p[0] != ' ' && p[1]; p += 2)
                glVertex2f(x0 + float(p[0] - 'a') * unit / 2.0f, top + float(p[1] - 'a') * unit / 2.0f);
            glEnd();
            while (*p == ' ')
                ++p;
        }
    }
}

struct viewer {
    sim_context ctx;
    std::string level;
    v_world world;
    glw_window* window = nullptr;
    bool quit = false;

    bool load(std::string& error)
    {
        v_level_report report;
        v_world fresh;
        if (!sim_load_world(ctx, level, v_mode_play, nullptr, fresh, report, error))
            return false;
        world = std::move(fresh);
        for (const std::string& p : report.problems)
            log_line(log_problem) << "view: " << p;
        return true;
    }

    void cut_selected()
    {
        if (!world.selected || world.selected->cut)
            return;
        world.selected->cut = true;
        log_line(log_always) << "view: cut constraint " << world.constraint_index(world.selected)
                             << "at step " << world.step_count;
        if (world.hovered == world.selected)
            world.set_hovered(nullptr);
        world.set_selected(nullptr);
    }

    void handle_input()
    {
        uint32_t flags, key, down;
        float x, y;
        while (window->pop_mouse_event(flags, x, y)) {
            if (flags & left_press)
                world.set_selected(world.pick_constraint(vec2{x, y}, pick_distance, true));
            if (flags & right_press)
                cut_selected();
        }
        while (window->pop_key_event(key, down)) {
            if (!down)
                continue;
            if (key == vk_space)
                cut_selected();
            else if (key == 'R') {
                std::string error;
                if (!load(error))
                    log_line(log_problem) << "view: cannot reload: " << error;
            } else if (key == vk_escape)
                quit = true;
        }
    }

    void hover()
    {
        float x, y;
        window->mouse_position(x, y);
        world.set_hovered(world.pick_constraint(vec2{x, y}, pick_distance, true));
    }

    void draw()
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        glLineWidth(1.0f);
        set_colour({0.25f, 0.25f, 0.3f});
        rect_outline(0, 0, 64, 64);

        for (const auto& b : world.bodies) {
            // A pot is drawn in its colour, its catching edges thick; other bodies in grey.
            int32_t pot_colour = b->type ? b->type->pot_color : 0;
            rgb_t pot = colour_of(pot_colour);
            glLineWidth(pot_colour ? 2.0f : 1.0f);
            set_colour(pot_colour ? dimmed(pot, 0.6f) : rgb_t{0.6f, 0.6f, 0.65f});
            glBegin(GL_LINES);
            for (const v_constraint& c : b->constraints)
                if (!c.pot)
                    line(c.n1->position, c.n2->position);
            glEnd();
            glLineWidth(4.0f);
            set_colour(pot);
            glBegin(GL_LINES);
            for (const v_constraint& c : b->constraints)
                if (c.pot)
                    line(c.n1->position, c.n2->position);
            glEnd();
            glLineWidth(1.0f);
        }

        // Yellow is a ball colour, so the hover and the selection are shown in white.
        for (const auto& c : world.constraints) {
            if (c->cut)
                continue;
            bool hovered = c.get() == world.hovered, selected = c.get() == world.selected;
            bool cuttable = c->cuttable();
            glLineWidth(selected ? 5.0f : hovered ? 3.0f : cuttable ? 1.5f : 2.5f);
            if (selected)
                set_colour({1.0f, 1.0f, 1.0f});
            else if (hovered)
                set_colour({0.85f, 0.85f, 0.85f});
            else
                set_colour(cuttable ? rgb_t{0.7f, 0.55f, 0.35f} : rgb_t{0.45f, 0.45f, 0.5f});
            if (is_spring(*c))
                spring_zigzag(c->n1->position, c->n2->position);
            else
                constraint_polyline(*c);
        }
        glLineWidth(1.0f);

        for (const v_node* n : world.nodes) {
            set_colour(colour_of(n->color()));
            float r = n->radius() > 0.0f ? n->radius() : 0.3f;
            disc(n->position, r);
        }

        set_colour({0.3f, 0.9f, 0.9f});
        glBegin(GL_LINES);
        for (const v_marker& m : world.markers) {
            vec2 p{m.x, m.y};
            vec2 d{std::cos(m.angle), std::sin(m.angle)};
            vec2 tip{p.x + d.x * 1.5f, p.y + d.y * 1.5f};
            vec2 side{-d.y * 0.5f, d.x * 0.5f};
            line(p, tip);
            line(tip, vec2{tip.x - d.x * 0.6f + side.x, tip.y - d.y * 0.6f + side.y});
            line(tip, vec2{tip.x - d.x * 0.6f - side.x, tip.y - d.y * 0.6f - side.y});
        }
        glEnd();

        if (world.verdict != v_verdict_undecided)
            draw_verdict();
    }

    // A band across the view with SOLVED or FAILED, and a frame in the verdict's colour.
    void draw_verdict() const
    {
        bool solved = world.verdict == v_verdict_solved;
        rgb_t colour = solved ? rgb_t{0.1f, 0.9f, 0.2f} : rgb_t{0.95f, 0.1f, 0.1f};
        const float* view = window->view;
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
        glBegin(GL_QUADS);
        glVertex2f(view[0], 26.0f);
        glVertex2f(view[2], 26.0f);
        glVertex2f(view[2], 38.0f);
        glVertex2f(view[0], 38.0f);
        glEnd();
        glDisable(GL_BLEND);

        set_colour(colour);
        glLineWidth(4.0f);
        stroke_text(solved ? "SOLVED" : "FAILED", 32.0f, 28.0f, 8.0f);
        glLineWidth(8.0f);
        rect_outline(view[0] + 0.3f, view[1] + 0.3f, view[2] - 0.3f, view[3] - 0.3f);
        glLineWidth(1.0f);
    }
};

void show_level_error(const char* text, const char* caption)
{
    glw_message_box(text, caption, glw_icon::warning);
}

int exit_status(int32_t verdict)
{
    return verdict == v_verdict_solved ? 0 : verdict == v_verdict_failed ? 1 : 2;
}

}  // namespace

int sim_cmd_view(int argc, char** argv)
{
    // The driver and window options first; they keep argv[0] in place, so give them one.
    std::vector<char*> args{const_cast<char*>("view")};
    args.insert(args.end(), argv, argv + argc);
    int n = int(args.size());
    driver_options options;
    std::string error;
    if (!driver_parse_options(n, args.data(), options, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    std::vector<std::string> rest(args.begin() + 1, args.begin() + n);
    sim_source_options sources;
    if (!sim_take_source_options(rest, sources, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    if (rest.size() != 1 || rest[0].rfind("--", 0) == 0) {
        std::fprintf(stderr, "usage: tamble-sim view LEVEL [--data ROOT | --archive FILE] [options]\n%s",
                     driver_options_help);
        return 3;
    }

    viewer v;
    v.level = rest[0];
    if (options.driven())
        glw_set_headless(true);
    // Samples resolve through the viewer's stores; opening them loads the collision table.
    sound_set_store(&v.ctx.pak);
    struct sound_session {
        ~sound_session()
        {
            sound_stop();
            sound_set_store(nullptr);
        }
    } sound_on;
    sim_sound_guard world_sounds;
    if (!v.ctx.open(sources, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    if (!glw_display_named()) {
        std::fprintf(stderr, "tamble-sim view: no display to open a window on (DISPLAY and WAYLAND_DISPLAY "
                             "are not set).\nRun it from a desktop session, or headless under xvfb-run with "
                             "the test driver options (--frames N --capture F).\n");
        return 3;
    }

    glw_window window("tamble-sim", ("tamble-sim view " + v.level).c_str(), nullptr, nullptr);
    bool fullscreen = !options.windowed && !options.driven() && options.width == 0;
    int32_t w = options.width ? options.width : 960, h = options.height ? options.height : 768;
    if (!window.create_gl_window(w, h, 32, fullscreen)) {
        std::fprintf(stderr,
                     "tamble-sim view: cannot open a window with an OpenGL context on this display\n");
        return 3;
    }
    window.set_view(32, 32, 32);
    v.window = &window;
    sound_start();

    // The level loads once the window exists, so that a level file that does not parse
    // is reported in a message box ("Error Loading Level.") rather than on stderr only.
    v_set_message_box(show_level_error);
    if (!v.load(error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        v_set_message_box(nullptr);
        return 3;
    }
    set_app_window(&window);
    if (!options.driven()) {
        std::printf("left click selects a rope, right click or Space cuts it, R restarts, Esc quits\n");
        std::fflush(stdout);
    }

    glw_test_driver driver;
    if (options.driven() && !driver.start(window, options, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        v_set_message_box(nullptr);
        set_app_window(nullptr);
        return 3;
    }

    averaged_catchup pacing(frame_timer());
    window.flush_input();
    pacing.begin();
    while (!v.quit) {
        pacing.frame(capped_world_steps([&] { v.world.step(); }, [] { sound_tick(); }));
        if (!window.pump_messages())
            break;
        v.hover();
        v.draw();
        window.swap();
        v.handle_input();
    }
    int status = exit_status(v.world.verdict);
    std::printf("%s after %d steps\n",
                v.world.verdict == v_verdict_solved   ? "solved"
                : v.world.verdict == v_verdict_failed ? "failed"
                                                      : "undecided",
                v.world.step_count);
    driver.stop();
    v_set_message_box(nullptr);
    set_app_window(nullptr);
    window.kill_gl_window();
    return status;
}
