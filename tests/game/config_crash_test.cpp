// A crash during a save never loses a profile: a child process that is saving is killed
// at every point of the save, and at random moments of a run of saves; each time the
// file that is left loads whole, holding either the old or the new configuration.
#include "game/config.h"

#include "app/file_io_internal.h"
#include "game/profile.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace {

int kill_at = -1;
int points_passed = 0;

bool kill_here(int)
{
    if (points_passed++ == kill_at)
        ::raise(SIGKILL);
    return true;
}

// Runs `body` in a child process and returns how it ended: the signal that killed it, or
// 0 when it finished.
template <class F>
int in_child(F body)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// The configuration on disk, read the way the game reads it at start-up.
void load_fresh()
{
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
}

}  // namespace

TEST(config_crash, killed_at_every_point_of_a_save)
{
    temp_folder folder;
    config_set_path(folder.file("config.dat"));
    for (int point = 0; point <= 2 * file_write_point_count; ++point) {
        SCOPED_TRACE(point);
        // Two saves before, so the file and its backup both hold Ann with 2 half stars.
        set_game_tree("", "saves { 0 { name \"Ann\" stars 2 } }");
        ASSERT_TRUE(config_save());
        ASSERT_TRUE(config_save());

        int signal = in_child([point] {
            kill_at = point;
            file_io_set_hook(kill_here);
            set_game_tree("", "saves { 0 { name \"Ann\" stars 4 } 1 { name \"Bo\" } }");
            config_save();
        });
        EXPECT_EQ(signal, point < 2 * file_write_point_count ? SIGKILL : 0);

        load_fresh();
        ASSERT_STREQ(profile_name(0), "Ann");
        if (profile_stars(0) == 4)
            EXPECT_STREQ(profile_name(1), "Bo");
        else
            EXPECT_FALSE(profile_taken(1));
        EXPECT_TRUE(profile_stars(0) == 2 || profile_stars(0) == 4);
        // Only the rename makes the new configuration the file's.
        if (point < file_write_point_count + file_write_renamed)
            EXPECT_EQ(profile_stars(0), 2);
        else
            EXPECT_EQ(profile_stars(0), 4);

        // The backup always loads too.
        config_set_path(folder.file("config.dat.bak"));
        load_fresh();
        EXPECT_STREQ(profile_name(0), "Ann");
        config_set_path(folder.file("config.dat"));
    }
}

TEST(config_crash, killed_at_random_moments_of_a_run_of_saves)
{
    temp_folder folder;
    config_set_path(folder.file("config.dat"));
    set_game_tree("", "saves { 0 { name \"Ann\" stars 0 } }");
    ASSERT_TRUE(config_save());

    std::mt19937 random(1234);
    int32_t seen = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        pid_t pid = ::fork();
        if (pid == 0) {
            // Each save adds a half star and a level entry, so the file keeps growing. A save
            // syncs twice, which takes milliseconds: the kills land anywhere in it.
            for (int32_t stars = seen + 1;; ++stars) {
                script_handle ann = config_node().make("saves").make(script_id(0));
                ann.make("stars").set_int(stars);
                ann.make(script_id(0)).make(script_id(stars % 1000)).set_int(2);
                config_save();
            }
        }
        ::usleep(useconds_t(std::uniform_int_distribution<int>(500, 40000)(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        load_fresh();
        ASSERT_STREQ(profile_name(0), "Ann");
        EXPECT_GE(profile_stars(0), seen);
        seen = profile_stars(0);
    }
    // The children did save: the run moved the total on.
    EXPECT_GT(seen, 0);
}
