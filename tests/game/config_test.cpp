// The configuration file: what a save writes loads back identical; damaged, truncated and
// wrong-typed files are moved aside and the last good copy is loaded and written back; a
// file that cannot be read is left alone and never saved over; a failing disk leaves the
// old file whole and is told to the player once; the mute switches reach the mixer.
#include "game/config.h"

#include "app/file_io_internal.h"
#include "app/log.h"
#include "game/config_file.h"
#include "game/profile.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

const char* const two_players = R"(
    last_save 1  mute_music 1  mute_sound 0
    saves {
        0 { name "Ann"  slot 0  stars 7  tips 5  runes 1
            0 { trophies 6  0 2  1 6  2 4 }
            1 { 0 1 } }
        1 { name "Zoë Ørsted-Ñúñez"  slot 1  stars 1  speed 0.75 }
        2 0
    })";

std::string config_text()
{
    std::string out;
    script_write(out, "config", script_global_tree().get("config"));
    return out;
}

std::vector<uint8_t> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

struct config_files {
    temp_folder folder;
    std::string path = folder.file("config.dat");
    std::string backup = folder.file("config.dat.bak");
    config_files() { config_set_path(path); }
};

// Saves `first` and then `second`, so that the file holds `second` and the backup `first`.
void save_two(const char* first, const char* second)
{
    set_game_tree("", first);
    ASSERT_TRUE(config_save());
    set_game_tree("", second);
    ASSERT_TRUE(config_save());
}

std::string read_text_file(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool last_log_mentions(const std::string& text)
{
    for (const std::string& e : log_sink_entries(1))
        if (e.find(text) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(config_file, saved_file_loads_back_identical)
{
    config_files files;
    set_game_tree("", two_players);
    std::string saved = config_text();
    ASSERT_TRUE(config_save());
    std::vector<uint8_t> first = file_bytes(files.path);

    set_game_tree("", "");
    EXPECT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_EQ(config_text(), saved);
    EXPECT_STREQ(profile_name(1), "Zoë Ørsted-Ñúñez");
    // Saving what was loaded writes the same bytes again.
    ASSERT_TRUE(config_save());
    EXPECT_EQ(file_bytes(files.path), first);
    // No temporary file is left behind.
    EXPECT_FALSE(std::filesystem::exists(files.path + ".tmp"));
}

TEST(config_file, missing_file_leaves_the_tree_and_says_nothing)
{
    config_files files;
    set_game_tree("", "mute_sound 1");
    config_load_result r = config_load();
    EXPECT_EQ(r.status, config_load_status::missing);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(script_global_tree().get("config.mute_sound").as_int(), 1);
    // An empty configuration writes no file at all (the design's save would leave an empty one).
    set_game_tree("", "");
    EXPECT_TRUE(config_save());
    EXPECT_FALSE(std::filesystem::exists(files.path));
}

TEST(config_file, save_keeps_the_previous_good_file_as_backup)
{
    config_files files;
    save_two("saves { 0 { name \"Old\" } }", "saves { 0 { name \"New\" } }");
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_STREQ(profile_name(0), "New");

    // The backup is a whole configuration file holding the save before.
    config_set_path(files.backup);
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_STREQ(profile_name(0), "Old");
}

TEST(config_file, every_truncation_falls_back_to_the_backup)
{
    config_files files;
    save_two(two_players, "saves { 0 { name \"Bo\" stars 3 1 { 4 2 } } }");
    std::vector<uint8_t> good = file_bytes(files.path);
    std::vector<uint8_t> backup = file_bytes(files.backup);
    for (size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE(length);
        std::filesystem::remove(files.path + ".damaged");
        write_bytes(files.path, std::vector<uint8_t>(good.begin(), good.begin() + long(length)));
        write_bytes(files.backup, backup);
        set_game_tree("", "");
        config_load_result r = config_load();
        ASSERT_EQ(r.status, config_load_status::from_backup);
        EXPECT_FALSE(r.message.empty());
        EXPECT_STREQ(profile_name(1), "Zoë Ørsted-Ñúñez");
        // The damaged file is kept, byte for byte, under a name of its own, and the backup
        // has taken its place.
        EXPECT_EQ(file_bytes(files.path + ".damaged").size(), length);
        EXPECT_EQ(file_bytes(files.path), backup);
    }
}

TEST(config_file, corrupt_and_wrong_typed_files_are_kept_aside_and_never_overwritten)
{
    config_files files;
    save_two("saves { 0 { name \"Kept\" stars 9 } }", "saves { 0 { name \"Lost\" } }");
    std::vector<uint8_t> backup = file_bytes(files.backup);

    std::vector<std::vector<uint8_t>> damaged;
    // A type byte that does not exist, in place of the root block's.
    std::vector<uint8_t> bad_type = file_bytes(files.path);
    for (size_t i = 0; i + 1 < bad_type.size(); ++i)
        if (bad_type[i] == 0 && bad_type[i + 1] == 1) {  // end of the names, root name index 1
            bad_type[i + 2] = 9;
            break;
        }
    damaged.push_back(bad_type);
    // A well-formed tree of another kind: its root is not "config".
    {
        script_handle other = script_handle::fresh(&script_global_symbols());
        script_parser(other).parse("name \"editor settings\"");
        std::vector<uint8_t> bytes;
        script_save_binary(bytes, "editor", other);
        damaged.push_back(bytes);
    }
    // "config" holding an integer instead of a block.
    {
        script_handle number = script_handle::fresh(&script_global_symbols());
        number.set_int(12);
        std::vector<uint8_t> bytes;
        script_save_binary(bytes, "config", number);
        damaged.push_back(bytes);
    }
    // Noise.
    damaged.push_back({0xFF, 0x00, 0x13, 0x37, 0x04});

    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        write_bytes(files.path, damaged[i]);
        set_game_tree("", "");
        ASSERT_EQ(config_load().status, config_load_status::from_backup);
        EXPECT_STREQ(profile_name(0), "Kept");
        EXPECT_EQ(profile_stars(0), 9);
        // Nothing from another tree reached the global one.
        EXPECT_FALSE(script_global_tree().get("editor").exists());
        std::string aside = files.path + ".damaged" + (i == 0 ? "" : "-" + std::to_string(i + 1));
        EXPECT_EQ(file_bytes(aside), damaged[i]) << aside;
    }
    // Saving now writes a fresh file and leaves the backup and every damaged file alone.
    ASSERT_TRUE(config_save());
    EXPECT_EQ(file_bytes(files.backup), backup);
    EXPECT_EQ(file_bytes(files.path + ".damaged"), damaged[0]);
}

TEST(config_file, adopted_backup_outlives_a_leave_without_saving_and_the_next_two_saves)
{
    config_files files;
    save_two("saves { 0 { name \"Ann\" stars 9 } }", "saves { 0 { name \"Ann\" stars 9 } }");
    write_bytes(files.path, {'d', 'a', 'm', 'a', 'g', 'e', 'd'});
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::from_backup);

    // The player leaves before any save; the next start finds the profile in the file.
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_EQ(profile_stars(0), 9);
    // Two saves later the profile is still in the file and in the backup.
    ASSERT_TRUE(config_save());
    ASSERT_TRUE(config_save());
    for (const std::string& path : {files.path, files.backup}) {
        config_set_path(path);
        set_game_tree("", "");
        ASSERT_EQ(config_load().status, config_load_status::loaded) << path;
        EXPECT_EQ(profile_stars(0), 9) << path;
    }

    // With the file gone and its backup there, the backup is loaded, said and written back.
    config_set_path(files.path);
    std::filesystem::remove(files.path);
    set_game_tree("", "");
    config_load_result r = config_load();
    EXPECT_EQ(r.status, config_load_status::from_backup);
    EXPECT_NE(r.message.find("config.dat.bak"), std::string::npos) << r.message;
    EXPECT_EQ(profile_stars(0), 9);
    EXPECT_EQ(file_bytes(files.path), file_bytes(files.backup));
}

TEST(config_file, folder_in_place_of_the_file_is_left_alone_and_never_saved_over)
{
    // A file without read permission takes the same path; as root every file reads, so a
    // folder stands in for it.
    config_files files;
    save_two("saves { 0 { name \"Old\" } }", "saves { 0 { name \"Old\" } }");
    std::vector<uint8_t> backup = file_bytes(files.backup);
    std::filesystem::remove(files.path);
    std::filesystem::create_directory(files.path);
    std::ofstream(files.path + "/inside") << "kept";
    static int notices = 0;
    notices = 0;
    config_set_save_failure_notice([](const char*) { ++notices; });

    set_game_tree("", "mute_music 1");
    config_load_result r = config_load();
    EXPECT_EQ(r.status, config_load_status::unreadable);
    EXPECT_NE(r.message.find("cannot be read"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(files.path), std::string::npos) << r.message;
    EXPECT_EQ(script_global_tree().get("config.mute_music").as_int(), 1);
    // Not damaged: nothing renamed, and no save of this run touches the folder or the backup.
    EXPECT_FALSE(std::filesystem::exists(files.path + ".damaged"));
    set_game_tree("", "saves { 0 { name \"New\" } }");
    EXPECT_FALSE(config_save());
    EXPECT_FALSE(config_save());
    EXPECT_TRUE(std::filesystem::is_directory(files.path));
    EXPECT_EQ(read_text_file(files.path + "/inside"), "kept");
    EXPECT_EQ(file_bytes(files.backup), backup);
    // The player was told when the file was read; the refused saves go to the log only.
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(last_log_mentions("config: not saved"));
    config_set_save_failure_notice(nullptr);
}

TEST(config_file, damaged_file_without_backup_starts_empty_and_keeps_the_tree)
{
    config_files files;
    write_bytes(files.path, {'c', 'o', 'n'});
    set_game_tree("", "mute_music 1");
    config_load_result r = config_load();
    EXPECT_EQ(r.status, config_load_status::unreadable);
    EXPECT_NE(r.message.find("could not be read"), std::string::npos);
    EXPECT_NE(r.message.find("config.dat.damaged"), std::string::npos);
    EXPECT_EQ(script_global_tree().get("config.mute_music").as_int(), 1);
    EXPECT_FALSE(profile_taken(0));
    EXPECT_TRUE(last_log_mentions("config: cannot read"));
}

TEST(config_file, failing_disk_leaves_the_old_file_whole_and_is_logged)
{
    config_files files;
    save_two("saves { 0 { name \"Before\" } }", "saves { 0 { name \"Current\" } }");
    std::vector<uint8_t> current = file_bytes(files.path);
    std::vector<uint8_t> backup = file_bytes(files.backup);
    set_game_tree("", "saves { 0 { name \"Never\" } }");

    static std::vector<std::string> notices;
    notices.clear();
    config_set_save_failure_notice([](const char* text) { notices.push_back(text); });

    // Fail at each point before the rename, in the backup's pass and in the file's own.
    for (int fail_at = 0; fail_at < 2 * file_write_point_count; ++fail_at) {
        if (fail_at % file_write_point_count >= file_write_renamed)
            continue;
        SCOPED_TRACE(fail_at);
        static int calls, target;
        calls = 0;
        target = fail_at;
        file_io_set_hook([](int) { return calls++ != target; });
        log_sink_clear(1);
        bool saved = config_save();
        file_io_set_hook(nullptr);
        EXPECT_FALSE(saved);
        EXPECT_TRUE(last_log_mentions("config: cannot save"));
        EXPECT_EQ(file_bytes(files.path), current);
        EXPECT_FALSE(std::filesystem::exists(files.path + ".tmp"));
        EXPECT_FALSE(std::filesystem::exists(files.backup + ".tmp"));
        // A failure in the backup's pass leaves the backup as it was; later ones may
        // already have refreshed it with the current file.
        std::vector<uint8_t> now = file_bytes(files.backup);
        EXPECT_TRUE(now == backup || now == current);
    }
    // The player hears of the first failure only, with the file and the system's reason.
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(files.path), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("No space left on device"), std::string::npos) << notices[0];
    config_set_save_failure_notice(nullptr);
}

TEST(config_file, sound_switches_reach_the_mixer)
{
    static float music = -1, sound = -1;
    config_sound_seam().set_music_volume = [](float v) { music = v; };
    config_sound_seam().set_sound_volume = [](float v) { sound = v; };

    set_game_tree("", "mute_music 1  mute_sound 0");
    config_apply_sound_switches();
    EXPECT_EQ(music, 0.0f);
    EXPECT_EQ(sound, 1.0f);

    config_toggle_switch("mute_music");
    config_toggle_switch("mute_sound");
    EXPECT_EQ(music, 1.0f);
    EXPECT_EQ(sound, 0.0f);
    EXPECT_EQ(script_global_tree().get("config.mute_music").as_int(), 0);

    // Any value other than 0 toggles to 0; a real below 1 reads as 0 and mutes nothing.
    set_game_tree("", "mute_music 7  mute_sound 0.5");
    config_apply_sound_switches();
    EXPECT_EQ(music, 0.0f);
    EXPECT_EQ(sound, 1.0f);
    config_toggle_switch("mute_music");
    EXPECT_EQ(script_global_tree().get("config.mute_music").as_int(), 0);

    config_sound_seam() = {};
}
