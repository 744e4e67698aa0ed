// What `cmake --install` puts on a Linux desktop: the program, its archive, a .desktop file,
// AppStream metadata and an icon in the standard places, valid for the desktop's own
// validators; the installed program finds its archive wherever it is started from.
#include "tests/game/game_run.h"
#include "tests/test_display.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

int shell(const std::string& cmd)
{
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(game_install, installed_files_are_valid_and_the_game_finds_its_archive)
{
    fs::path prefix = fs::absolute(run_prefix() + "prefix");
    fs::remove_all(prefix);
    std::string log = fs::absolute(run_prefix() + "out").string();
    ASSERT_EQ(shell(std::string(TAMBLE_CMAKE) + " --install " + TAMBLE_BUILD_DIR + " --prefix " +
                    prefix.string() + " > " + log + " 2>&1"),
              0)
        << read_text(log);

    fs::path desktop = prefix / "share/applications/org.tamble.Tamble.desktop";
    fs::path metainfo = prefix / "share/metainfo/org.tamble.Tamble.metainfo.xml";
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin/tamble"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/tamble/tamble.pk2"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/icons/hicolor/256x256/apps/org.tamble.Tamble.png"));
    EXPECT_EQ(shell("desktop-file-validate " + desktop.string() + " > " + log + " 2>&1"), 0)
        << read_text(log);
    EXPECT_EQ(shell("appstreamcli validate --no-net --pedantic " + metainfo.string() + " > " + log + " 2>&1"),
              0)
        << read_text(log);

    TAMBLE_REQUIRE_DISPLAY();
    // Started from elsewhere, with no archive in the working directory or beside it.
    fs::path config = fs::absolute(run_config_file());
    EXPECT_EQ(shell("cd / && ASAN_OPTIONS=detect_leaks=0 " + (prefix / "bin/tamble").string() + " --config " +
                    config.string() + " --frames 5 --size 320x256 log > " + log + " 2>&1"),
              0)
        << read_text(log);
    EXPECT_NE(read_text(log).find("start-up: first frame after"), std::string::npos) << read_text(log);
    fs::remove_all(prefix);
}
