// The one palette every texture draws from: warm woods, paper, brass, enamel and
// the four ball colours, so that all the art reads as one game.
#pragma once

struct art_colour {
    double r = 0, g = 0, b = 0, a = 1;

    art_colour with_alpha(double alpha) const { return {r, g, b, alpha}; }
    // Towards white (amount > 0) or black (amount < 0).
    art_colour shade(double amount) const
    {
        if (amount >= 0)
            return {r + (1 - r) * amount, g + (1 - g) * amount, b + (1 - b) * amount, a};
        return {r * (1 + amount), g * (1 + amount), b * (1 + amount), a};
    }
    art_colour mix(const art_colour& o, double t) const
    {
        return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
    }
};

constexpr art_colour art_hex(unsigned rgb, double alpha = 1)
{
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

namespace palette {
// Woods, from honey to walnut.
constexpr art_colour wood_light = art_hex(0xE2B06A);
constexpr art_colour wood = art_hex(0xC4873F);
constexpr art_colour wood_dark = art_hex(0x8A5428);
constexpr art_colour walnut = art_hex(0x5A3520);
constexpr art_colour walnut_dark = art_hex(0x34200F);
// Paper and ink.
constexpr art_colour paper = art_hex(0xF4E7C9);
constexpr art_colour paper_shade = art_hex(0xDFC99A);
constexpr art_colour paper_edge = art_hex(0xB8955D);
constexpr art_colour ink = art_hex(0x2A1B12);
constexpr art_colour ink_soft = art_hex(0x5B4330);
constexpr art_colour cream = art_hex(0xFFF6E0);
// Metals.
constexpr art_colour brass = art_hex(0xCFA344);
constexpr art_colour brass_light = art_hex(0xF6DE8E);
constexpr art_colour brass_dark = art_hex(0x7E5A1C);
constexpr art_colour steel = art_hex(0x9AA5AE);
constexpr art_colour steel_light = art_hex(0xDDE4E8);
constexpr art_colour steel_dark = art_hex(0x4B5560);
constexpr art_colour iron = art_hex(0x3C3F45);
// Ball and pot colours (colour index 1 to 4).
constexpr art_colour red = art_hex(0xD8443A);
constexpr art_colour blue = art_hex(0x3A7BD5);
constexpr art_colour green = art_hex(0x45A84A);
constexpr art_colour yellow = art_hex(0xF3C22F);
// Accents.
constexpr art_colour enamel = art_hex(0x2D5A9C);
constexpr art_colour grass = art_hex(0x7FB653);
constexpr art_colour grass_dark = art_hex(0x4E8A3A);
constexpr art_colour water = art_hex(0x5FA8CF);
constexpr art_colour stone = art_hex(0xA49C8C);
constexpr art_colour stone_dark = art_hex(0x6E675B);
constexpr art_colour rubber = art_hex(0x2F2B2A);
constexpr art_colour ok_green = art_hex(0x4F9A3C);
constexpr art_colour warn_red = art_hex(0xB5392F);
constexpr art_colour glow = art_hex(0xFFE7A0);
constexpr art_colour shadow = art_hex(0x1A0F08);
}  // namespace palette
