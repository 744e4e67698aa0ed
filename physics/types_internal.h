// Shared by the type loaders only: the log line of a refused type.
#pragma once

#include <string>

// Logs "<kind> '<name>': key "<key>" <why>, type refused" and returns false.
bool v_type_refuse(const std::string& type_name, const char* kind, const char* key, const char* why);
