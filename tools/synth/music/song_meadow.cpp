// "music\song2", the mill by the meadow: a flowing waltz in G major. A soft flute
// sings over running harp eighths like water on the wheel; the kalimba takes the
// tune in the middle. Form: intro, A, A', B, A, C, A'.
#include "tools/synth/music/songs.h"

const song_spec& meadow_song()
{
    static const song_spec song = {
        "music\\song2",
        126.0,
        3,
        0.0f,
        {1.9f, 5000.0f, 0.025f, 1.15f},
        0.5f,
        {
            {"flute", instrument::flute, part_role::melody, -1.0f, 0.45f, 0.35f},
            {"kalimba", instrument::kalimba, part_role::melody, 2.0f, 0.55f, 0.3f},
            {"arp", instrument::harp, part_role::arpeggio, -8.0f, 0.65f, 0.35f, 62},
            {"pad", instrument::pad, part_role::pad, -12.0f, 0.4f, 0.6f, 62},
            {"bass", instrument::bass, part_role::bass, -2.0f, 0.5f, 0.1f, 43},
            {"kick", instrument::kick, part_role::drums, -7.0f, 0.5f, 0.05f, 36, 0.5f},
            {"shaker", instrument::shaker, part_role::drums, -6.0f, 0.7f, 0.2f, 60, 0.6f},
            {"tambourine", instrument::tambourine, part_role::drums, -6.0f, 0.3f, 0.25f, 60, 0.6f},
        },
        {
            {"intro", 4, "G:3 | C:3 | G:3 | D7:3", {{"arp", "0:0.5 1 2 3 2 1"}, {"pad", "hold:12"}}},
            {"A",
             8,
             "G:3 | D/F#:3 | Em:3 | C:3 | G:3 | Am:3 | D7:3 | G:3",
             {{"flute", "D5:1 G5:1 B5:1 | A5:2 F#5:1 | G5:1 E5:1 B4:1 | C5:2 E5:1 | "
                        "D5:1 G5:1 B5:1 | C6:1.5 B5:0.5 A5:1 | F#5:1 A5:1 C6:1 | B5:1 G5:2"},
              {"arp", "0:0.5 1 2 3 2 1"},
              {"pad", "hold:24"},
              {"bass", "0:2 2:1"},
              {"kick", "x.....|......"},
              {"shaker", "..o.o."},
              {"tambourine", "......|....o."}}},
            {"A2",
             8,
             "G:3 | D/F#:3 | Em:3 | C:3 | G:3 | Am:3 | D7:3 | G:3",
             {{"flute", "B5:1 D6:1 B5:1 | A5:1 F#5:1 D5:1 | E5:1 G5:1 B5:1 | E6:2 C6:1 | "
                        "B5:1 A5:1 G5:1 | E5:1 A5:1 C6:1 | D6:1 C6:1 A5:1 | G5:3"},
              {"kalimba", "r:3 | r:1 D6:0.5 A5:0.5 F#5:1 | r:3 | r:1 G5:0.5 C6:0.5 E6:1 | "
                          "r:3 | r:1 E6:0.5 C6:0.5 A5:1 | r:3 | r:1 D6:0.5 B5:0.5 G5:1"},
              {"arp", "0:0.5 1 2 3 2 1"},
              {"pad", "hold:24"},
              {"bass", "0:2 2:1"},
              {"kick", "x.....|......"},
              {"shaker", "..o.o."},
              {"tambourine", "......|....o."}}},
            {"B",
             8,
             "Em:3 | Bm:3 | C:3 | G:3 | Am:3 | Em:3 | C:3 | D:3",
             {{"flute", "B5:2 G5:1 | F#5:2 D5:1 | E5:1 G5:1 C6:1 | B5:2 G5:1 | "
                        "A5:1 C6:1 E6:1 | E6:1.5 B5:0.5 G5:1 | C6:2 G5:1 | F#5:1 A5:1 D6:1"},
              {"arp", "0:1 1:1 2:1"},
              {"pad", "hold:24"},
              {"bass", "0:3"},
              {"kick", "x.....|......"},
              {"shaker", "..o.o."}}},
            {"C",
             8,
             "C:3 | G:3 | Am:3 | Em:3 | F:3 | C:3 | Dsus4:1.5 D:1.5 | D7:3",
             {{"kalimba", "E5:0.5 G5:0.5 C6:1 G5:1 | D6:0.5 B5:0.5 G5:1 D5:1 | C6:0.5 A5:0.5 E5:1 A5:1 | "
                          "B5:1.5 G5:0.5 E5:1 | A5:0.5 C6:0.5 F6:1 C6:1 | E6:0.5 D6:0.5 C6:1 G5:1 | "
                          "G5:1.5 F#5:1.5 | A5:1 C6:1 D6:1"},
              {"arp", "0:1 2:1 1:1"},
              {"pad", "hold:24"},
              {"bass", "0:2 2:1"},
              {"shaker", "..o.o."},
              {"tambourine", "......|......|......|....o."}}},
        },
        {"intro", "A", "A2", "B", "A", "C", "A2"},
    };
    return song;
}
