// "music\solution", played while a recorded solution is shown: calm and thoughtful,
// a music box over a soft pad and slow harp, in F major. Form: A, B, A.
#include "tools/synth/music/songs.h"

const song_spec& solution_song()
{
    static const song_spec song = {
        "music\\solution",
        80.0,
        4,
        0.0f,
        {2.2f, 4500.0f, 0.03f, 1.2f},
        0.55f,
        {
            {"box", instrument::music_box, part_role::melody, 2.0f, 0.5f, 0.4f},
            {"arp", instrument::harp, part_role::arpeggio, -8.0f, 0.6f, 0.4f, 60},
            {"pad", instrument::pad, part_role::pad, -13.0f, 0.4f, 0.6f, 60},
            {"bass", instrument::bass, part_role::bass, -5.0f, 0.5f, 0.15f, 41},
            {"shaker", instrument::shaker, part_role::drums, -10.0f, 0.65f, 0.3f, 60, 0.6f},
        },
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
        {"A", "B", "A"},
    };
    return song;
}
