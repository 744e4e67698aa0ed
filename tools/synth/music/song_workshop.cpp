// "music\song1", the workshop: a busy, cheerful tune in C major. Marimba melody,
// harp arpeggios, a plucked bass, and a woodblock knocking the backbeat like a
// hammer on the bench. Form: intro, A, B, A, C (kalimba), A.
#include "tools/synth/music/songs.h"

const song_spec& workshop_song()
{
    static const song_spec song = {
        "music\\song1",
        112.0,
        4,
        0.12f,
        {1.5f, 5500.0f, 0.02f, 1.0f},
        0.45f,
        {
            {"lead", instrument::marimba, part_role::melody, 4.0f, 0.45f, 0.25f},
            {"kalimba", instrument::kalimba, part_role::melody, 2.0f, 0.6f, 0.3f},
            {"arp", instrument::harp, part_role::arpeggio, -10.0f, 0.7f, 0.35f, 62},
            {"pad", instrument::pad, part_role::pad, -13.0f, 0.4f, 0.6f, 60},
            {"bass", instrument::bass, part_role::bass, -5.0f, 0.5f, 0.1f, 40},
            {"kick", instrument::kick, part_role::drums, -7.0f, 0.5f, 0.05f, 36, 0.5f},
            {"shaker", instrument::shaker, part_role::drums, -10.0f, 0.65f, 0.15f, 60, 0.6f},
            {"block", instrument::woodblock, part_role::drums, -6.0f, 0.35f, 0.2f, 79, 0.5f},
        },
        {
            {"intro",
             2,
             "C:4 | G7:4",
             {{"arp", "0:0.5 1 2 3 2 1 2 1"}, {"pad", "hold:8"}, {"block", "....x.......x..."}}},
            {"A",
             8,
             "C:4 | Am:4 | F:4 | G:4 | C:4 | Am:4 | Dm7:2 G7:2 | C:4",
             {{"lead", "E5:1 G5:0.5 E5 C5:1 D5:0.5 E5 | A4:1 C5:0.5 E5 A5:1.5 G5:0.5 | "
                       "F5:1 A5:0.5 F5 C5:1 D5:0.5 E5 | D5:1.5 B4:0.5 G4:2 | "
                       "E5:1 G5:0.5 E5 C6:1 B5:0.5 A5 | A5:1 E5:0.5 C5 E5:2 | "
                       "F5:1 E5:0.5 D5 B4:1 D5:0.5 F5 | E5:0.5 D5 C5:3"},
              {"arp", "0:0.5 1 2 3 2 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:1.5 2:0.5 0:1 2:1"},
              {"kick", "x.......x......."},
              {"shaker", "..x...x...x...x."},
              {"block", "....x.......x..."}}},
            {"B",
             8,
             "F:4 | G:4 | Em:4 | Am:4 | Dm:4 | G:4 | C/E:2 F:2 | G7:4",
             {{"lead", "A5:2 G5:1 F5:1 | G5:1.5 D5:0.5 B4:2 | E5:1 G5:1 B5:1 G5:1 | A5:3 r:1 | "
                       "F5:1 E5:1 D5:1 A4:1 | B4:1 D5:1 G5:2 | G5:1 E5:1 A5:1 F5:1 | D5:1 F5:1 G5:1 B4:1"},
              {"kalimba", "r:2 C6:0.5 A5:0.5 F5:1 | r:2 D6:0.5 B5:0.5 G5:1 | r:2 B5:0.5 G5:0.5 E5:1 | "
                          "r:2 C6:0.5 A5:0.5 E5:1 | r:2 A5:0.5 F5:0.5 D5:1 | r:2 B5:0.5 G5:0.5 D5:1 | "
                          "r:4 | r:4"},
              {"arp", "0:1 2:1 1:1 2:1"},
              {"pad", "hold:32"},
              {"bass", "0:2 2:1 0:1"},
              {"kick", "x.......x......."},
              {"shaker", "x.x.x.x.x.x.x.x."},
              {"block", "....x.......x..."}}},
            {"C",
             8,
             "Am:4 | F:4 | C:4 | G:4 | Am:4 | F:4 | Dm:4 | G7:4",
             {{"kalimba", "C6:0.5 B5 A5 E5 A5:1 C6:1 | C6:0.5 A5 F5 A5 C6:2 | E6:0.5 D6 C6 G5 E5:1 G5:1 | "
                          "D6:1.5 B5:0.5 G5:2 | C6:0.5 B5 A5 E5 A5:1 C6:1 | A5:0.5 C6 F6:1 E6:1 C6:1 | "
                          "D6:1 A5:1 F5:1 D6:1 | B5:1 G5:1 F5:1 D5:1"},
              {"arp", "0:0.5 1 2 1"},
              {"pad", "hold:32"},
              {"bass", "0:3 2:1"},
              {"shaker", "..x...x...x...x."},
              {"block", "x...............|....x.......x..."}}},
        },
        {"intro", "A", "B", "A", "C", "A"},
    };
    return song;
}
