// The one search for the game's archive: the working directory and the program's folders
// first, then the folders the program was built to know; each place is tried and listed once.
#include "data/archive_search.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(archive_search, looks_here_and_beside_the_program_before_the_known_folders_and_lists_each_place_once)
{
    test_scratch_dir dir;
    fs::create_directories(dir.path / "here");
    fs::create_directories(dir.path / "known");
    fs::path was = fs::current_path();
    fs::current_path(dir.path / "here");
    std::string here = (fs::current_path() / "tamble.pk2").string();
    std::string known = (fs::current_path().parent_path() / "known").string();

    std::vector<std::string> looked_in;
    std::string none = pak_find_game_archive(nullptr, {known, "", known}, looked_in);
    std::vector<std::string> first = looked_in;
    test_write_text(known + "/tamble.pk2", "x");
    looked_in.clear();
    std::string found_known = pak_find_game_archive(nullptr, {known}, looked_in);
    test_write_text(here, "x");
    looked_in.clear();
    std::string found_here = pak_find_game_archive(nullptr, {known}, looked_in);
    fs::current_path(was);

    EXPECT_EQ(none, "");
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], here);
    EXPECT_EQ(first[1], (fs::read_symlink("/proc/self/exe").parent_path() / "tamble.pk2").string());
    EXPECT_EQ(first[3], known + "/tamble.pk2");
    EXPECT_EQ(found_known, known + "/tamble.pk2");
    EXPECT_EQ(found_here, here);
    EXPECT_EQ(looked_in.size(), 1u);
}
