// The compact binary form of a script tree (the configuration file "config.dat"): a
// list of key names, then the root entry with typed values and varint name indices.
#pragma once

#include "data/script_handle.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Names of this length or longer make a load fail.
constexpr size_t script_binary_max_name = 1024;

// Saves the handle's node as the root entry named `name` ("root" when null). Fails on
// a write error or on nesting deeper than script_max_depth.
bool script_save_binary(FILE* file, const char* name, const script_handle& handle);
bool script_save_binary(std::vector<uint8_t>& out, const char* name, const script_handle& handle);

// Loads a tree saved by script_save_binary, either into the handle's node itself or
// into make(root name) of it, so that the file's root name decides where it lands.
// Fails on a truncated or damaged file (never reading past its end), on a type byte
// above 4, on a name of script_binary_max_name bytes or more, and on nesting deeper
// than script_max_depth; what was read before the failure stays.
bool script_load_binary(FILE* file, const script_handle& handle, bool into_handle_itself);
bool script_load_binary(const uint8_t* data, size_t size, const script_handle& handle,
                        bool into_handle_itself);
