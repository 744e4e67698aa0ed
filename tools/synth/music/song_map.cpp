// "music\map", the world map: an unhurried stroll in B-flat major while the player
// chooses a level. Harp melody, kalimba arpeggios, a walking bass, brushes; the
// celesta sings the middle. Form: intro, A, B, A.
#include "tools/synth/music/songs.h"

const song_spec& map_song()
{
    static const song_spec song = {
        "music\\map",
        92.0,
        4,
        0.15f,
        {1.9f, 5000.0f, 0.025f, 1.1f},
        0.5f,
        {
            {"harp", instrument::harp, part_role::melody, 4.0f, 0.45f, 0.3f},
            {"celesta", instrument::celesta, part_role::melody, 3.0f, 0.55f, 0.35f},
            {"arp", instrument::kalimba, part_role::arpeggio, -12.0f, 0.65f, 0.3f, 65},
            {"pad", instrument::pad, part_role::pad, -14.0f, 0.4f, 0.6f, 60},
            {"bass", instrument::bass, part_role::bass, -6.0f, 0.5f, 0.1f, 41},
            {"brush", instrument::brush, part_role::drums, -9.0f, 0.45f, 0.2f, 60, 0.6f},
            {"shaker", instrument::shaker, part_role::drums, -10.0f, 0.7f, 0.2f, 60, 0.6f},
        },
        {
            {"intro", 2, "Bb:4 | F7:4", {{"arp", "0:0.5 1 2 1"}, {"pad", "hold:8"}, {"bass", "0:2 2:2"}}},
            {"A",
             8,
             "Bb:4 | Gm:4 | Eb:4 | F:4 | Bb:4 | Gm:4 | Cm7:2 F:2 | Bb:4",
             {{"harp",
               "D5:1 F5:1 Bb5:1.5 A5:0.5 | G5:1 D5:1 Bb4:2 | Eb5:1 G5:1 Bb5:1 G5:1 | A5:1.5 G5:0.5 F5:2 | "
               "D5:1 F5:1 Bb5:1 D6:1 | D6:1.5 C6:0.5 Bb5:1 G5:1 | Eb5:1 G5:1 A5:1 C6:1 | Bb5:3 r:1"},
              {"arp", "0:0.5 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1 1:1 2:1 1:1"},
              {"brush", "....x.......x..."},
              {"shaker", "..x...x...x...x."}}},
            {"B",
             8,
             "Eb:4 | Bb/D:4 | Cm:4 | F:4 | Eb:4 | Bb/D:4 | Cm7:4 | F7:4",
             {{"celesta",
               "G5:1 Bb5:1 Eb6:2 | D6:1 Bb5:1 F5:2 | Eb6:1 C6:1 G5:1 C6:1 | A5:2 F5:2 | "
               "G5:1 Bb5:1 Eb6:1 G6:1 | F6:2 D6:1 Bb5:1 | Eb6:1 D6:1 C6:1 Bb5:1 | A5:1 F5:1 Eb5:1 C5:1"},
              {"harp",
               "r:4 | r:2 F5:0.5 Bb5:0.5 D6:1 | r:4 | r:2 C6:0.5 A5:0.5 F5:1 | r:4 | r:4 | r:4 | r:4"},
              {"arp", "0:0.5 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1 1:1 2:1 1:1"},
              {"brush", "....x.......x..."},
              {"shaker", "x.x.x.x.x.x.x.x."}}},
        },
        {"intro", "A", "B", "A"},
    };
    return song;
}
