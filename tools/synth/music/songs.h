// Every piece of the game's music, each written as data in a file of its own.
#pragma once

#include "tools/synth/music/score.h"

const song_spec& title_song();
const song_spec& map_song();
const song_spec& solution_song();
const song_spec& workshop_song();   // "music\song1"
const song_spec& meadow_song();     // "music\song2"
const song_spec& clockwork_song();  // "music\song3"
const song_spec& lantern_song();    // "music\song4"
const song_spec& observatory_song();  // "music\song5"

const song_spec& ready_jingle();
const song_spec& success_jingle();
const song_spec& fail_jingle();
const song_spec& ball_in_pot_jingle();
const song_spec& zoom_jingle();
