// "music\title", the game's theme in F major: a marimba tune that the flute takes up
// in the middle, harp arpeggios, a light kick and shaker, and a quiet celesta
// interlude. Form: intro, A, B, A, C, A.
#include "tools/synth/music/songs.h"

const song_spec& title_song()
{
    static const song_spec song = {
        "music\\title",
        104.0,
        4,
        0.08f,
        {1.8f, 5200.0f, 0.02f, 1.1f},
        0.5f,
        {
            {"marimba", instrument::marimba, part_role::melody, 6.0f, 0.45f, 0.25f},
            {"flute", instrument::flute, part_role::melody, -4.0f, 0.5f, 0.35f},
            {"celesta", instrument::celesta, part_role::melody, 3.0f, 0.55f, 0.4f},
            {"arp", instrument::harp, part_role::arpeggio, -10.0f, 0.65f, 0.35f, 62},
            {"pad", instrument::pad, part_role::pad, -14.0f, 0.4f, 0.6f, 60},
            {"bass", instrument::bass, part_role::bass, -5.0f, 0.5f, 0.1f, 41},
            {"kick", instrument::kick, part_role::drums, -8.0f, 0.5f, 0.05f, 36, 0.5f},
            {"shaker", instrument::shaker, part_role::drums, -10.0f, 0.7f, 0.15f, 60, 0.6f},
        },
        {
            {"intro", 2, "F:4 | C:4", {{"arp", "0:0.5 1 2 3 2 1 2 1"}, {"pad", "hold:8"}}},
            {"A",
             8,
             "F:4 | C/E:4 | Dm:4 | Bb:4 | Gm7:4 | C:4 | F:4 | C7:4",
             {{"marimba",
               "C5:1 F5:1 A5:1 C6:1 | C6:1.5 Bb5:0.5 G5:2 | A5:1 F5:1 D5:1 F5:1 | D5:2 F5:1 Bb5:1 | "
               "Bb5:1.5 A5:0.5 G5:1 F5:1 | E5:1 G5:1 C6:2 | A5:1.5 G5:0.5 F5:1 C5:1 | "
               "E5:1 G5:1 Bb5:1 C6:1"},
              {"arp", "0:0.5 1 2 3 2 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1.5 2:0.5 0:1 2:1"},
              {"kick", "x.......x......."},
              {"shaker", "..x...x...x...x."}}},
            {"B",
             8,
             "Bb:4 | F/A:4 | Gm7:4 | C:4 | Dm:4 | Am:4 | Bb:4 | C7:4",
             {{"flute", "D6:2 Bb5:1 F5:1 | C6:2 A5:1 F5:1 | Bb5:1 D6:1 F6:1 D6:1 | E6:3 r:1 | "
                        "F6:2 D6:1 A5:1 | E6:2 C6:1 A5:1 | D6:1 C6:1 Bb5:1 A5:1 | G5:1 Bb5:1 E6:1 C6:1"},
              {"marimba", "r:4 | r:4 | r:4 | r:2 G5:0.5 C6:0.5 E6:1 | r:4 | r:4 | r:4 | r:4"},
              {"arp", "0:1 2:1 1:1 2:1"},
              {"pad", "hold:32"},
              {"bass", "0:2 2:1 0:1"},
              {"kick", "x.......x......."},
              {"shaker", "x.x.x.x.x.x.x.x."}}},
            {"C",
             8,
             "Dm:4 | Bb:4 | F:4 | C:4 | Dm:4 | Bb:4 | Gm:4 | C:4",
             {{"celesta", "A5:1 D6:1 F6:2 | F6:1 D6:1 Bb5:2 | C6:1 F6:1 A6:2 | G6:2 E6:2 | "
                          "F6:1 A6:1 D6:2 | D6:1 F6:1 Bb6:2 | G6:1 D6:1 Bb5:2 | C6:2 E6:1 G6:1"},
              {"arp", "0:0.5 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:4"}}},
        },
        {"intro", "A", "B", "A", "C", "A"},
    };
    return song;
}
