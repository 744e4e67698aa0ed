// tamble-art as a build step: the same sources give the same archive, and it never
// empties a folder it did not write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int run(const std::string& command)
{
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<char> file_bytes(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

struct art_generator : ::testing::Test {
    fs::path dir;
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("tamble_art_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int generate(const fs::path& root)
    {
        return run(std::string(TAMBLE_ART) + " --out '" + root.string() + "' " + TAMBLE_ART_FONT_ARGS);
    }
};

TEST_F(art_generator, two_runs_give_byte_identical_archives)
{
    for (const char* run_name : {"a", "b"}) {
        ASSERT_EQ(generate(dir / run_name), 0);
        ASSERT_EQ(run(std::string(TAMBLE_PAK) + " build -o '" + (dir / run_name).string() + ".pk2' '" +
                      (dir / run_name).string() + "'"),
                  0);
    }
    std::vector<char> a = file_bytes(dir / "a.pk2"), b = file_bytes(dir / "b.pk2");
    EXPECT_GT(a.size(), 1000000u);
    EXPECT_TRUE(a == b) << "the archives differ";
    // A second run over its own output replaces it.
    EXPECT_EQ(generate(dir / "a"), 0);
    EXPECT_TRUE(fs::exists(dir / "a" / "tex" / "font" / "64x64_Black.png.opt"));
}

TEST_F(art_generator, refuses_to_empty_a_folder_it_did_not_write)
{
    fs::create_directories(dir / "mine");
    std::ofstream(dir / "mine" / "notes.txt") << "keep me";
    EXPECT_NE(generate(dir / "mine"), 0);
    EXPECT_TRUE(fs::exists(dir / "mine" / "notes.txt"));
    EXPECT_EQ(run(std::string(TAMBLE_ART) + " --out '" + (dir / "x").string() +
                  "' --text-font /nonexistent " + "--fixed-font /nonexistent"),
              1);
    EXPECT_EQ(run(std::string(TAMBLE_ART) + " --bogus"), 2);
}

}  // namespace
