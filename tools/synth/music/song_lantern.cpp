// "music\song4", lantern light: a swung tune in A minor that opens into C major.
// Fingerpicked nylon guitar under a kalimba melody, a celesta answering in the
// middle, brushes and a shaker. Form: intro, A, B, C (guitar tune), A.
#include "tools/synth/music/songs.h"

const song_spec& lantern_song()
{
    static const song_spec song = {
        "music\\song4",
        100.0,
        4,
        0.3f,
        {1.8f, 4800.0f, 0.025f, 1.1f},
        0.5f,
        {
            {"kalimba", instrument::kalimba, part_role::melody, 3.0f, 0.45f, 0.3f},
            {"celesta", instrument::celesta, part_role::melody, 2.0f, 0.55f, 0.35f},
            {"guitar", instrument::nylon, part_role::melody, 1.0f, 0.5f, 0.3f},
            {"pick", instrument::nylon, part_role::arpeggio, -10.0f, 0.35f, 0.3f, 60},
            {"pad", instrument::pad, part_role::pad, -14.0f, 0.6f, 0.6f, 62},
            {"bass", instrument::bass, part_role::bass, -6.0f, 0.5f, 0.1f, 40},
            {"kick", instrument::kick, part_role::drums, -8.0f, 0.5f, 0.05f, 36, 0.5f},
            {"brush", instrument::brush, part_role::drums, -8.0f, 0.45f, 0.2f, 60, 0.6f},
            {"shaker", instrument::shaker, part_role::drums, -10.0f, 0.7f, 0.2f, 60, 0.6f},
        },
        {
            {"intro", 2, "Am:4 | E7:4", {{"pick", "0:0.5 2 1 2 3 2 1 2"}, {"shaker", "..x...x...x...x."}}},
            {"A",
             8,
             "Am:4 | Am/G:4 | Fmaj7:4 | E7:4 | Am:4 | Dm7:4 | G7:4 | Cmaj7:2 E7:2",
             {{"kalimba",
               "E5:1 A5:1 C6:1.5 B5:0.5 | A5:1 E5:1 C5:2 | F5:1 A5:1 C6:1 E6:1 | D6:1.5 B5:0.5 G#5:2 | "
               "A5:1 C6:1 E6:1.5 D6:0.5 | C6:1 A5:1 F5:1 D5:1 | B4:1 D5:1 F5:1 G5:1 | E5:2 G#5:1 B5:1"},
              {"pick", "0:0.5 2 1 2 3 2 1 2"},
              {"pad", "hold:32"},
              {"bass", "0:1.5 2:0.5 -1:1 0:1"},
              {"kick", "x.........x....."},
              {"brush", "....x.......x..."},
              {"shaker", "..x...x...x...x."}}},
            {"B",
             8,
             "C:4 | G/B:4 | Am:4 | Em:4 | F:4 | C/E:4 | Dm7:4 | E7:4",
             {{"celesta",
               "G5:1.5 E5:0.5 C6:2 | B5:1.5 G5:0.5 D6:2 | C6:1 E6:1 A5:2 | B5:1 G5:1 E5:2 | "
               "A5:1 C6:1 F6:1.5 E6:0.5 | E6:1 C6:1 G5:2 | F5:1 A5:1 C6:1 D6:1 | E6:1.5 D6:0.5 B5:1 G#5:1"},
              {"kalimba", "r:4 | r:2 G5:0.5 B5:0.5 D6:1 | r:4 | r:2 E5:0.5 G5:0.5 B5:1 | "
                          "r:4 | r:2 G5:0.5 C6:0.5 E6:1 | r:4 | r:4"},
              {"pick", "0:0.5 2 1 2 3 2 1 2"},
              {"pad", "hold:32"},
              {"bass", "0:2 2:1 0:1"},
              {"kick", "x.........x....."},
              {"brush", "....x.......x..."},
              {"shaker", "..x...x...x...x."}}},
            {"C",
             8,
             "Dm7:4 | Am:4 | Fmaj7:4 | E7:4 | Dm7:4 | Am:4 | F:2 E7:2 | Am:4",
             {{"guitar", "D5:0.5 F5 A5:1 C6:1 A5:1 | E5:0.5 A5 C6:1 B5:1 A5:1 | F5:0.5 A5 C6:1 E6:1 C6:1 | "
                         "B5:1 G#5:1 E5:1 D5:1 | F5:1 A5:1 D6:1.5 C6:0.5 | C6:1 A5:1 E5:2 | "
                         "A5:1 F5:1 G#5:1 B5:1 | A5:3 r:1"},
              {"pick", "0:1 2:1 1:1 2:1"},
              {"pad", "hold:32"},
              {"bass", "0:2 2:2"},
              {"brush", "....x.......x..."},
              {"shaker", "x.x.x.x.x.x.x.x."}}},
        },
        {"intro", "A", "B", "C", "A"},
    };
    return song;
}
