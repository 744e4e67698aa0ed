// "music\song3", the clocktower: a tune in D minor ticking along like an escapement.
// A music box carries the tune over celesta sixteenths; clock ticks and a tock on
// the backbeat keep time; the marimba answers in F major; a glockenspiel rings out
// long notes in the bridge. Form: intro, A, B, A, C, A.
#include "tools/synth/music/songs.h"

const song_spec& clockwork_song()
{
    static const song_spec song = {
        "music\\song3",
        120.0,
        4,
        0.0f,
        {1.7f, 6000.0f, 0.02f, 1.05f},
        0.45f,
        {
            {"box", instrument::music_box, part_role::melody, 1.0f, 0.45f, 0.3f},
            {"marimba", instrument::marimba, part_role::melody, 6.0f, 0.55f, 0.25f},
            {"glock", instrument::glockenspiel, part_role::melody, 3.0f, 0.5f, 0.45f},
            {"arp", instrument::celesta, part_role::arpeggio, -11.0f, 0.7f, 0.3f, 69},
            {"pad", instrument::pad, part_role::pad, -12.0f, 0.35f, 0.6f, 58},
            {"bass", instrument::bass, part_role::bass, -5.0f, 0.5f, 0.1f, 41},
            {"kick", instrument::kick, part_role::drums, -8.0f, 0.5f, 0.05f, 36, 0.4f},
            {"tick", instrument::tick, part_role::drums, -10.0f, 0.62f, 0.15f, 98, 0.3f},
            {"tock", instrument::woodblock, part_role::drums, -8.0f, 0.38f, 0.2f, 72, 0.3f},
        },
        {
            {"intro",
             4,
             "Dm:4 | C:4 | Bb:4 | A:4",
             {{"bass", "0:1 0:1 2:1 0:1"}, {"pad", "hold:16"}, {"tick", "X.x.X.x.X.x.X.x."}}},
            {"A",
             8,
             "Dm:4 | C:4 | Bb:4 | A7:4 | Dm:4 | C:4 | Bb:2 Gm:2 | A:4",
             {{"box", "D5:0.5 F5 A5:1 D6:1 A5:1 | G5:0.5 E5 C5:1 E5:1 G5:1 | F5:0.5 D5 Bb4:1 D5:1 F5:1 | "
                      "E5:1.5 C#5:0.5 A4:2 | D5:0.5 F5 A5:1 D6:1 F6:1 | E6:1 C6:0.5 G5 E5:2 | "
                      "D6:1 Bb5:1 G5:1 D5:1 | C#6:1 A5:1 E5:1 A4:1"},
              {"arp", "0:0.25 1 2 3 2 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1 0:1 2:1 0:1"},
              {"kick", "x.......x......."},
              {"tick", "X.x.X.x.X.x.X.x."},
              {"tock", "....x.......x..."}}},
            {"B",
             8,
             "F:4 | C/E:4 | Dm:4 | Bb:4 | Gm:4 | C:4 | F:4 | A7:4",
             {{"marimba",
               "A5:1.5 G5:0.5 F5:1 C5:1 | G5:1.5 F5:0.5 E5:2 | F5:1 A5:1 D6:1 C6:1 | D6:2 Bb5:2 | "
               "G5:1 Bb5:1 D6:1 G6:1 | E6:1.5 D6:0.5 C6:2 | A5:1 C6:1 F6:2 | E6:1 C#6:1 A5:1 G5:1"},
              {"box", "r:3 C6:1 | r:3 G5:1 | r:3 A5:1 | r:3 F5:1 | r:3 D6:1 | r:3 G5:1 | r:3 C6:1 | r:4"},
              {"arp", "0:0.5 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1.5 0:0.5 2:1 1:1"},
              {"kick", "x.......x......."},
              {"tick", "X.x.X.x.X.x.X.x."},
              {"tock", "....x.......x..."}}},
            {"C",
             8,
             "Gm:4 | Dm:4 | Bb:4 | A:4 | Gm:4 | Dm:4 | Bb:2 C:2 | A7:4",
             {{"glock", "D6:4 | F6:2 E6:1 D6:1 | D6:2 F6:2 | E6:4 | G6:2 F6:1 D6:1 | A6:2 F6:2 | "
                        "F6:2 E6:2 | E6:2 C#6:2"},
              {"arp", "0:0.25 1 2 3 2 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:2 2:2"},
              {"tick", "X.x.X.x.X.x.X.x."}}},
        },
        {"intro", "A", "B", "A", "C", "A"},
    };
    return song;
}
