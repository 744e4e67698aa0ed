// The per-user folder where a program keeps what it saves (~/.local/share/tamble/ on
// Linux), made when missing.
#pragma once

#include <string>

// The folder with a trailing '/', or an empty string when the system gives none.
std::string glw_pref_path(const char* app_name);
