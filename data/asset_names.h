// The resources the program fetches by a name written in its code, one constant each, and
// the lists of them that the archive tests check. Code that fetches a texture or sample by
// a fixed name takes it from here and adds a new one to its list, so that a name missing
// from the built archive fails a test instead of drawing or playing nothing. Names made at
// run time (a level's pictures "tex\<level>N", the songs "music\songN", what the "INIT"
// data names) are checked by `tamble-sim verify` and the tests of the data instead.
#pragma once

// Textures: the fonts, world drawing and the effects.
inline constexpr char tex_font_text[] = "tex\\font\\64x64_Black";
inline constexpr char tex_ui_playfield_tile[] = "tex\\ui\\playfield_tile";
inline constexpr char tex_ui_playfield_background[] = "tex\\ui\\playfield_background";
inline constexpr char tex_ui_constraint_hovered[] = "tex\\ui\\constraint_mouseover";
inline constexpr char tex_ui_constraint_selected[] = "tex\\ui\\constraint_selected";
inline constexpr char tex_ui_pen[] = "tex\\ui\\Pen_";  // animated: Pen_2, Pen_3, ...
inline constexpr char tex_ui_replay_vignette[] = "tex\\ui\\replay_vignette";
inline constexpr char tex_rain_streak[] = "tex\\Effect_RainStreak";
inline constexpr char tex_rain_splash[] = "tex\\Effect_RainSpat_Frame";  // animated
// The window's icon and the title screens.
inline constexpr char tex_ui_app_icon[] = "tex\\ui\\app_icon";
inline constexpr char tex_ui_title_logo[] = "tex\\ui\\title_logo";
inline constexpr char tex_ui_title_scroll[] = "tex\\ui\\title_scroll_segments";
inline constexpr char tex_ui_title_background[] = "tex\\ui\\title_bg";
// The play screen.
inline constexpr char tex_ui_mouse_cursor[] = "tex\\ui\\mouse_cursor1";
inline constexpr char tex_ui_star_off[] = "tex\\ui\\Star_Off";
inline constexpr char tex_ui_star_half[] = "tex\\ui\\Star_Half";
inline constexpr char tex_ui_star_on[] = "tex\\ui\\Star_On";
inline constexpr char tex_ui_text_ready[] = "tex\\ui\\text_READY";
inline constexpr char tex_ui_text_success[] = "tex\\ui\\text_SUCCESS";
inline constexpr char tex_ui_text_failed[] = "tex\\ui\\text_FAILED";
inline constexpr char tex_ui_highlight[] = "tex\\ui\\MouseOver_Settings";
inline constexpr char tex_ui_frames[] = "tex\\ui\\frames";
inline constexpr char tex_ui_button_restart[] = "tex\\ui\\button_restartlevel";
inline constexpr char tex_ui_button_solution[] = "tex\\ui\\button_showsolution";
inline constexpr char tex_ui_button_menu[] = "tex\\ui\\button_menu";
inline constexpr char tex_ui_label_restart[] = "tex\\ui\\ButtonLabel_RestartLevel";
inline constexpr char tex_ui_label_solution[] = "tex\\ui\\ButtonLabel_ShowSolution";
inline constexpr char tex_ui_label_menu[] = "tex\\ui\\ButtonLabel_Menu";
inline constexpr char tex_ui_paper_large[] = "tex\\ui\\InfoBox_Paper_1024";
// The world map.
inline constexpr char tex_ui_tile_unavailable[] = "tex\\ui\\Tile_UnavailableLevel";
inline constexpr char tex_ui_tile_available[] = "tex\\ui\\Tile_AvailableLevel";
inline constexpr char tex_ui_tile_completed[] = "tex\\ui\\Tile_CompletedLevel";
inline constexpr char tex_ui_level_popup[] = "tex\\ui\\InfoBox_LevelPop";
inline constexpr char tex_ui_tile_glow[] = "tex\\ui\\UnderTile_";
inline constexpr char tex_ui_difficulty_off[] = "tex\\ui\\Difficulty_Off";
inline constexpr char tex_ui_difficulty_half[] = "tex\\ui\\Difficulty_Half";
inline constexpr char tex_ui_difficulty_on[] = "tex\\ui\\Difficulty_On";
// The shell, player select, settings and world selection.
inline constexpr char tex_ui_settings_box[] = "tex\\ui\\InfoBox_Settings";
inline constexpr char tex_ui_label_box[] = "tex\\ui\\InfoBox_Label";
inline constexpr char tex_ui_text_cursor[] = "tex\\ui\\Cursor_";
inline constexpr char tex_ui_list_lines[] = "tex\\ui\\List_Lines";
inline constexpr char tex_ui_label_bar[] = "tex\\ui\\LabelBar";
inline constexpr char tex_ui_delete_normal[] = "tex\\ui\\Button_DeletePlayer_Normal";
inline constexpr char tex_ui_delete_hovered[] = "tex\\ui\\Button_DeletePlayer_MouseOver";
inline constexpr char tex_ui_ok_normal[] = "tex\\ui\\Button_GreenOK_Normal";
inline constexpr char tex_ui_ok_hovered[] = "tex\\ui\\Button_GreenOK_MouseOver";
inline constexpr char tex_ui_paper_small[] = "tex\\ui\\InfoBox_Paper_512";
inline constexpr char tex_ui_yes_no_highlight[] = "tex\\ui\\MouseOver_YesNo";
inline constexpr char tex_ui_checkbox_off[] = "tex\\ui\\checkbox_off";
inline constexpr char tex_ui_checkbox_on[] = "tex\\ui\\checkbox_on";
inline constexpr char tex_ui_checkbox_hovered[] = "tex\\ui\\checkbox_mouseover";
inline constexpr char tex_ui_emblem_default[] = "tex\\ui\\Emblem_Default";

inline constexpr const char* asset_fetched_textures[] = {
    tex_font_text,
    tex_ui_playfield_tile,
    tex_ui_playfield_background,
    tex_ui_constraint_hovered,
    tex_ui_constraint_selected,
    tex_ui_pen,
    tex_ui_replay_vignette,
    tex_rain_streak,
    tex_rain_splash,
    tex_ui_app_icon,
    tex_ui_title_logo,
    tex_ui_title_scroll,
    tex_ui_title_background,
    tex_ui_mouse_cursor,
    tex_ui_star_off,
    tex_ui_star_half,
    tex_ui_star_on,
    tex_ui_text_ready,
    tex_ui_text_success,
    tex_ui_text_failed,
    tex_ui_highlight,
    tex_ui_frames,
    tex_ui_button_restart,
    tex_ui_button_solution,
    tex_ui_button_menu,
    tex_ui_label_restart,
    tex_ui_label_solution,
    tex_ui_label_menu,
    tex_ui_paper_large,
    tex_ui_tile_unavailable,
    tex_ui_tile_available,
    tex_ui_tile_completed,
    tex_ui_level_popup,
    tex_ui_tile_glow,
    tex_ui_difficulty_off,
    tex_ui_difficulty_half,
    tex_ui_difficulty_on,
    tex_ui_settings_box,
    tex_ui_label_box,
    tex_ui_text_cursor,
    tex_ui_list_lines,
    tex_ui_label_bar,
    tex_ui_delete_normal,
    tex_ui_delete_hovered,
    tex_ui_ok_normal,
    tex_ui_ok_hovered,
    tex_ui_paper_small,
    tex_ui_yes_no_highlight,
    tex_ui_checkbox_off,
    tex_ui_checkbox_on,
    tex_ui_checkbox_hovered,
    tex_ui_emblem_default,
};

// Samples: interface sounds, collision sounds the game keeps loaded, jingles and music.
inline constexpr char sounds_rollover[] = "sounds\\Rollover1";
inline constexpr char sounds_select_constraint[] = "sounds\\Select_Constraint";
inline constexpr char sounds_cut_constraint[] = "sounds\\Cut_Constraint";
inline constexpr char sounds_star_blip[] = "sounds\\StarBlip";
inline constexpr char sounds_hit_balls_metal[] = "sounds\\Hit_Balls_Metal";
inline constexpr char sounds_hit_solid_wood[] = "sounds\\Hit_SolidWood";
inline constexpr char music_ditty_ready[] = "music\\ditty_READY";
inline constexpr char music_ditty_success[] = "music\\ditty_success";
inline constexpr char music_ditty_fail[] = "music\\ditty_fail";
inline constexpr char music_ditty_ball_in_pot[] = "music\\ditty_ball_in_pot";
inline constexpr char music_ditty_zoom[] = "music\\ditty_zoom";
inline constexpr char music_title[] = "music\\title";
inline constexpr char music_map[] = "music\\map";
inline constexpr char music_solution[] = "music\\solution";

inline constexpr const char* asset_fetched_samples[] = {
    sounds_rollover,
    sounds_select_constraint,
    sounds_cut_constraint,
    sounds_star_blip,
    sounds_hit_balls_metal,
    sounds_hit_solid_wood,
    music_ditty_ready,
    music_ditty_success,
    music_ditty_fail,
    music_ditty_ball_in_pot,
    music_ditty_zoom,
    music_title,
    music_map,
    music_solution,
};
