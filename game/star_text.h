// Star totals as text. Totals are counted in half stars; the font's characters 30 and 31
// are the star and the half-star glyphs.
#pragma once

#include <cstdint>
#include <string>

constexpr char star_glyph = 30;
constexpr char half_star_glyph = 31;

// "★ n" for an even total 2n, "★ n½" for an odd one, and "★ ½" for exactly one half star.
std::string star_text(int32_t half_stars);
// The same without the blank ("★n" or "★n½"), which the profile label is measured with.
std::string star_text_compact(int32_t half_stars);
