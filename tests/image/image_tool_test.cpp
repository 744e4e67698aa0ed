// tamble-pak image encode/decode and ".png" build sources, run as the tool.
#include "app/image_file/png_file.h"
#include "render/image/image_codec.h"
#include "tests/image/image_pattern.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

int run(const std::string& args)
{
    return test_run_tool(TAMBLE_PAK, args).status;
}

struct image_tool : ::testing::Test {
    fs::path dir;
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tamble_image_tool_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "root" / "tex");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    image_rgba write_png(const std::string& name, int32_t w, int32_t h)
    {
        image_rgba img;
        img.width = w;
        img.height = h;
        img.pixels = image_pattern::make(w, h, 7);
        std::string error;
        EXPECT_TRUE(png_file_write((dir / name).string(), w, h, 4, img.pixels.data(), error)) << error;
        return img;
    }
    image_rgba read_png(const std::string& name)
    {
        png_pixels png;
        std::string error;
        EXPECT_TRUE(png_file_read((dir / name).string(), 4, png, error)) << error;
        return image_rgba{png.width, png.height, std::move(png.data)};
    }
};

TEST_F(image_tool, encode_decode_full_half_and_raw)
{
    image_rgba src = write_png("in.png", 50, 34);
    ASSERT_EQ(run("image encode " + at("in.png") + " " + at("pic.IMAG.pkc") + " --quality 80"), 0);
    ASSERT_EQ(run("image decode " + at("pic.IMAG.pkc") + " " + at("full.png")), 0);
    image_rgba full = read_png("full.png");
    EXPECT_EQ(full.width, 50);
    EXPECT_GE(image_pattern::psnr(src.pixels, full.pixels, 0, 4), 28.0);
    ASSERT_EQ(run("image decode " + at("pic.IMAG.pkc") + " " + at("plain.png") + " --plain"), 0);
    EXPECT_EQ(read_png("plain.png").pixels, full.pixels);
    ASSERT_EQ(run("image decode " + at("pic.IMAG.pkc") + " " + at("half.png") + " --half"), 0);
    image_rgba half = read_png("half.png");
    EXPECT_EQ(half.width, 25);
    EXPECT_EQ(half.height, 17);

    ASSERT_EQ(run("image encode --raw " + at("in.png") + " " + at("raw.IMAG.pkc")), 0);
    ASSERT_EQ(run("image decode " + at("raw.IMAG.pkc") + " " + at("raw.png") + " --half"), 0);
    EXPECT_EQ(read_png("raw.png").pixels, src.pixels);
}

TEST_F(image_tool, bad_arguments_and_inputs_are_reported)
{
    write_png("in.png", 8, 8);
    EXPECT_EQ(run("image encode " + at("in.png") + " " + at("x.IMAG.pkc") + " --quality 101"), 2);
    EXPECT_EQ(run("image encode " + at("in.png") + " " + at("x.SAMP.pkc")), 2);
    EXPECT_EQ(run("image frobnicate"), 2);
    EXPECT_EQ(run("image decode " + at("missing.IMAG.pkc") + " " + at("o.png")), 1);
    std::ofstream(dir / "junk.png") << "not a png";
    EXPECT_EQ(run("image encode " + at("junk.png") + " " + at("j.IMAG.pkc")), 1);
}

TEST_F(image_tool, build_codes_png_sources_and_follows_sidecars)
{
    image_rgba coded = write_png("root/tex/Coded.png", 40, 24);
    image_rgba raw = write_png("root/tex/Font.png", 16, 16);
    std::ofstream(dir / "root/tex/Font.png.opt") << "# fonts stay exact\nraw\n";
    ASSERT_EQ(run("build -o " + at("out.pk2") + " " + at("root")), 0);
    ASSERT_EQ(run("image decode " + at("out.pk2") + ":'tex\\Font' " + at("font.png")), 0);
    EXPECT_EQ(read_png("font.png").pixels, raw.pixels);
    ASSERT_EQ(run("image decode " + at("out.pk2") + ":'tex\\Coded' " + at("coded.png")), 0);
    EXPECT_GE(image_pattern::psnr(coded.pixels, read_png("coded.png").pixels, 0, 4), 28.0);

    std::ofstream(dir / "root/tex/Coded.png.opt") << "quality lots\n";
    EXPECT_NE(run("build -o " + at("bad.pk2") + " " + at("root")), 0);
}

}  // namespace
