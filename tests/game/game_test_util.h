// Helpers of the game tests: the global tree's "worlds" and "config" set from text, and
// a temporary folder for save files, named per process and test and removed afterwards.
#pragma once

#include "data/script.h"
#include "game/config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// Replaces worlds and config of the global tree with what `worlds` and `config` hold
// (script text of the blocks' entries; empty text leaves the entry missing).
inline void set_game_tree(const char* worlds, const char* config)
{
    script_handle& tree = script_global_tree();
    tree.make_block();
    for (auto [key, text] : {std::pair{"worlds", worlds}, std::pair{"config", config}}) {
        script_handle fresh = script_handle::fresh(&script_global_symbols());
        if (text && *text) {
            script_parser parser(fresh);
            EXPECT_TRUE(parser.parse(text)) << key << " line " << parser.stop_line;
        }
        tree.link(script_global_symbols().intern(key), fresh);
    }
}

class temp_folder {
public:
    std::filesystem::path path;

    temp_folder()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() / ("tamble_game_" + std::to_string(::getpid()) + "_" +
                                                         info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~temp_folder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
};
