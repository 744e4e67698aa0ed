// Message boxes and opening a web page. Without a display (or in headless test runs) the
// text goes to stderr and a Yes/No question is answered No, so nothing ever blocks a test.
#pragma once

enum class glw_icon { error, warning, information };

void glw_message_box(const char* text, const char* caption, glw_icon icon);
bool glw_ask_yes_no(const char* text, const char* caption);
// Opens a URL in the user's browser; in headless runs it is only reported.
bool glw_open_url(const char* url);
// Headless runs show no dialog and open no browser.
void glw_set_headless(bool headless);
bool glw_headless();
