// Which levels Ctrl+P draws pictures of: the level chunks of the store in enumeration order,
// at most six of them counted, and of those not the ones whose name holds "test" or "\gun"
// in any letter case. A skipped level still uses up one of the six: the count rises before
// the name is looked at. A name the store holds twice is counted where it is read from.
#pragma once

#include "data/pak.h"

#include <string>
#include <string_view>
#include <vector>

constexpr int32_t le_preview_count = 6;

std::vector<std::string> le_preview_levels(pak_system& store);
// Whether a level chunk name is left out of the pictures ("test", "\gun", any case).
bool le_preview_skipped(std::string_view chunk_name);
