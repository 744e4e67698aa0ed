// "music\solution", played while a recorded solution is shown: calm and thoughtful,
// a music box over a soft pad and slow harp, in F major. Form: A, B, A.
#include "tools/synth/music/songs.h"

const song_spec& solution_song()
{
    static const song_spec song = {
        .name = "music\\solution",
        .tempo = 80.0,
        .beats_per_bar = 4,
        .swing = 0.0f,
        .room = {.seconds = 2.2f, .damping = 4500.0f, .predelay = 0.03f, .size = 1.2f},
        .room_level = 0.55f,
        .parts =
            {
                {.name = "box",
                 .sound = instrument::music_box,
                 .role = part_role::melody,
                 .level_db = 2.0f,
                 .pan = 0.5f,
                 .reverb = 0.4f},
                {.name = "arp",
                 .sound = instrument::harp,
                 .role = part_role::arpeggio,
                 .level_db = -8.0f,
                 .pan = 0.6f,
                 .reverb = 0.4f,
                 .centre = 60},
                {.name = "pad",
                 .sound = instrument::pad,
                 .role = part_role::pad,
                 .level_db = -13.0f,
                 .pan = 0.4f,
                 .reverb = 0.6f,
                 .centre = 60},
                {.name = "bass",
                 .sound = instrument::bass,
                 .role = part_role::bass,
                 .level_db = -5.0f,
                 .pan = 0.5f,
                 .reverb = 0.15f,
                 .centre = 41},
                {.name = "shaker",
                 .sound = instrument::shaker,
                 .role = part_role::drums,
                 .level_db = -10.0f,
                 .pan = 0.65f,
                 .reverb = 0.3f,
                 .centre = 60,
                 .humanise = 0.6f},
            },
        .sections =
            {
                {"A",
                 8,
                 "F:4 | Am:4 | Bb:4 | C:4 | Dm:4 | Am:4 | Gm7:4 | C7:4",
                 {{"box", "A5:2 C6:2 | E6:2 C6:1 A5:1 | D6:2 F6:2 | G6:2 E6:2 | F6:2 D6:1 A5:1 | C6:2 E6:2 | "
                          "D6:1 Bb5:1 F6:2 | E6:2 Bb5:1 G5:1"},
                  {"arp", "0:1 1:1 2:1 1:1"},
                  {"pad", "hold:32"},
                  {"bass", "0:4"}}},
                {"B",
                 8,
                 "Bb:4 | C:4 | Am:4 | Dm:4 | Gm:4 | C:4 | F:4 | F:4",
                 {{"box", "F6:1 D6:1 Bb5:2 | G5:1 C6:1 E6:2 | E6:1 C6:1 A5:2 | F5:1 A5:1 D6:2 | "
                          "D6:1 Bb5:1 G5:2 | C6:1 E6:1 G6:2 | A5:2 C6:2 | F5:4"},
                  {"arp", "0:1 1:1 2:1 1:1"},
                  {"pad", "hold:32"},
                  {"bass", "0:2 2:2"},
                  {"shaker", "..o...o...o...o."}}},
            },
        .form = {"A", "B", "A"},
    };
    return song;
}
