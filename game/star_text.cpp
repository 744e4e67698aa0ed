// Star totals as text.
#include "game/star_text.h"

namespace {

std::string format(int32_t half_stars, bool blank)
{
    std::string text(1, star_glyph);
    if (blank)
        text += ' ';
    if (blank && half_stars == 1)
        return text + half_star_glyph;
    text += std::to_string(half_stars / 2);
    if (half_stars % 2 != 0)
        text += half_star_glyph;
    return text;
}

}  // namespace

std::string star_text(int32_t half_stars)
{
    return format(half_stars, true);
}

std::string star_text_compact(int32_t half_stars)
{
    return format(half_stars, false);
}
