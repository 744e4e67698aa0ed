// The jingles: short pieces that play once over the music (which the play screen
// ducks for them). Written in the same notation as the songs.
#include "tools/synth/music/songs.h"

namespace {

const reverb_settings jingle_room = {1.4f, 5500.0f, 0.015f, 0.9f};

}  // namespace

const song_spec& ready_jingle()
{
    // A bright pickup to the first beat: "here we go".
    static const song_spec song = {
        "music\\ditty_READY",
        140.0,
        4,
        0.0f,
        jingle_room,
        0.45f,
        {
            {"marimba", instrument::marimba, part_role::melody, 0.0f, 0.45f, 0.3f, 60, 0.0f},
            {"glock", instrument::glockenspiel, part_role::melody, -4.0f, 0.6f, 0.4f, 60, 0.0f},
            {"bass", instrument::bass, part_role::bass, -4.0f, 0.5f, 0.1f, 41, 0.0f},
        },
        {
            {"go",
             1,
             "F:4",
             {{"marimba", "C5:0.5 F5:0.5 A5:0.5 C6:0.5 r:1 F5+A5+C6:1"},
              {"glock", "r:3 F6:1"},
              {"bass", "r:3 0:1"}}},
        },
        {"go"},
        false,
    };
    return song;
}

const song_spec& success_jingle()
{
    // A rising flourish that lands on a full, ringing chord.
    static const song_spec song = {
        "music\\ditty_success",
        128.0,
        4,
        0.0f,
        jingle_room,
        0.5f,
        {
            {"marimba", instrument::marimba, part_role::melody, 0.0f, 0.45f, 0.3f, 60, 0.0f},
            {"harp", instrument::harp, part_role::arpeggio, -5.0f, 0.65f, 0.35f, 60, 0.0f},
            {"glock", instrument::glockenspiel, part_role::melody, -5.0f, 0.55f, 0.45f, 60, 0.0f},
            {"bass", instrument::bass, part_role::bass, -4.0f, 0.5f, 0.1f, 41, 0.0f},
            {"tambourine", instrument::tambourine, part_role::drums, -8.0f, 0.35f, 0.3f, 60, 0.0f},
        },
        {
            {"win",
             2,
             "C:2 G:2 | C:4",
             {{"marimba", "C5:0.5 E5 G5 C6 B5:0.5 G5 B5 D6 | >E6+G6+C6:2 r:2"},
              {"harp", "0:0.25 1 2 3 4 5 6 7 0 1 2 3 4 5 6 7 | 0:0.125 1 2 3 4 5 6 7 8 9 r:2.75"},
              {"glock", "r:4 | C7:1 G6:0.5 C7:2.5"},
              {"bass", "0:2 0:2 | 0:4"},
              {"tambourine", "........|X......."}}},
        },
        {"win"},
        false,
    };
    return song;
}

const song_spec& fail_jingle()
{
    // A gentle, falling sigh in C minor: a shrug, not a scolding. The play screen ducks
    // the level's song for 2 s around it, and the song is in another key, so the sigh has
    // faded out by 1.9 s.
    static const song_spec song = {
        "music\\ditty_fail",
        120.0,
        3,
        0.0f,
        jingle_room,
        0.5f,
        {
            {"marimba", instrument::marimba, part_role::melody, 0.0f, 0.45f, 0.3f, 60, 0.0f},
            {"pad", instrument::pad, part_role::pad, -6.0f, 0.5f, 0.5f, 60, 0.0f},
            {"bass", instrument::bass, part_role::bass, -4.0f, 0.5f, 0.1f, 40, 0.0f},
        },
        {
            {"sigh",
             1,
             "Ab:1 G:1 Cm:1",
             {{"marimba", "Eb5:0.5 C5:0.5 D5:0.5 B4:0.5 C5:1"},
              {"pad", "x:1 x:1 x:1"},
              {"bass", "0:1 0:1 0:1"}}},
        },
        {"sigh"},
        false,
        1.9,
        0.4,
    };
    return song;
}

const song_spec& ball_in_pot_jingle()
{
    // Two quick chimes up a fourth: caught!
    static const song_spec song = {
        "music\\ditty_ball_in_pot",
        160.0,
        4,
        0.0f,
        jingle_room,
        0.4f,
        {
            {"celesta", instrument::celesta, part_role::melody, 0.0f, 0.45f, 0.3f, 60, 0.0f},
            {"glock", instrument::glockenspiel, part_role::melody, -4.0f, 0.6f, 0.4f, 60, 0.0f},
        },
        {
            {"catch", 1, "C:4", {{"celesta", "G5:0.5 C6+E6:3.5"}, {"glock", "G6:0.5 C7:3.5"}}},
        },
        {"catch"},
        false,
    };
    return song;
}

const song_spec& zoom_jingle()
{
    // A harp sweeps up through F major while the map zooms in (two seconds), and a
    // chord blooms as the level appears.
    static const song_spec song = {
        "music\\ditty_zoom",
        120.0,
        4,
        0.0f,
        jingle_room,
        0.5f,
        {
            {"harp", instrument::harp, part_role::arpeggio, 0.0f, 0.5f, 0.35f, 55, 0.0f},
            {"celesta", instrument::celesta, part_role::melody, -2.0f, 0.55f, 0.4f, 60, 0.0f},
            {"pad", instrument::pad, part_role::pad, -6.0f, 0.45f, 0.5f, 65, 0.0f},
        },
        {
            {"sweep",
             1,
             "F:4",
             {{"harp", "0:0.25 1 2 3 4 5 6 7 8 9 10 11 12:1"},
              {"celesta", "r:3 F6+A6+C7:1"},
              {"pad", "x:4"}}},
        },
        {"sweep"},
        false,
    };
    return song;
}
