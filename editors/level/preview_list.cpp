// The levels the preview builder draws.
#include "editors/level/preview_list.h"

#include <algorithm>
#include <cctype>

bool le_preview_skipped(std::string_view chunk_name)
{
    std::string lower(chunk_name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower.find("test") != std::string::npos || lower.find("\\gun") != std::string::npos;
}

std::vector<std::string> le_preview_levels(pak_system& store)
{
    std::vector<std::string> out;
    int32_t counter = 0;
    pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) {
        if (!ref || store.get(ref->name) != ref)
            return;
        if (counter > le_preview_count - 1)
            return;
        ++counter;
        if (!le_preview_skipped(ref->name))
            out.push_back(ref->name);
    });
    store.enumerate(pak_code_levl, visit);
    return out;
}
