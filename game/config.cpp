// Loading, saving and applying the configuration subtree "config".
#include "game/config.h"

#include "app/log.h"
#include "game/config_file.h"

#include <cstdio>

namespace {

std::string& path_slot()
{
    static std::string path = "config.dat";
    return path;
}

// Why saves are refused for the rest of the run, empty while they go ahead. A file that
// could not be read, or a damaged one that could not be moved aside, may be the player's
// only copy: nothing is written over it. The player was told when it was loaded.
std::string saves_refused;
// The first failed save of a run is told to the player; later ones go to the log only.
bool save_failure_told = false;

void notice_on_stderr(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
}

void (*save_failure_notice)(const char* text) = notice_on_stderr;

bool save_failed(const std::string& path, const std::string& reason)
{
    log_line(log_always) << "config: cannot save " << path << ": " << reason;
    if (!save_failure_told) {
        save_failure_told = true;
        std::string text = "Your progress could not be saved to " + path + ":\n" + reason +
                           ".\nThe game goes on, but what you do now is not kept until a save succeeds.";
        save_failure_notice(text.c_str());
    }
    return false;
}

// Parses a whole file into a tree of its own; the result is its "config" block, or nil
// when the file is damaged, is some other tree, or holds something else under "config".
script_handle parse_config(const std::vector<uint8_t>& bytes)
{
    script_handle scratch = script_handle::fresh(&script_global_symbols());
    if (!script_load_binary(bytes.data(), bytes.size(), scratch, false))
        return script_handle::nil;
    script_handle config = scratch.get("config");
    if (config.type() != script_type_block)
        return script_handle::nil;
    return config;
}

}  // namespace

bool config_adopt(const std::vector<uint8_t>& bytes)
{
    script_handle config = parse_config(bytes);
    if (!config.exists())
        return false;
    script_global_tree().link(script_global_symbols().intern("config"), config);
    return true;
}

void config_set_path(const std::string& path)
{
    path_slot() = path;
    saves_refused.clear();
    save_failure_told = false;
}

const std::string& config_path()
{
    return path_slot();
}

void config_set_save_failure_notice(void (*notice)(const char* text))
{
    save_failure_notice = notice ? notice : notice_on_stderr;
}

config_load_result config_load()
{
    config_load_result result;
    const std::string& path = config_path();
    saves_refused.clear();
    std::vector<uint8_t> bytes;
    std::string error;
    config_read_status read = config_file_read(path, bytes, error);
    if (read == config_read_status::ok && config_adopt(bytes)) {
        result.status = config_load_status::loaded;
        return result;
    }
    if (read == config_read_status::unreadable) {
        // A folder, or a file this user may not read, is not damaged: it may hold the
        // player's progress, so it stays where it is and is never saved over.
        saves_refused = "it cannot be read";
        log_line(log_always) << "config: " << error << "; it is left alone and nothing is saved in this game";
        result.status = config_load_status::unreadable;
        result.message =
            "The saved players in " + path + " cannot be read:\n" + error +
            ".\nThe game starts with no saved players and saves nothing over that file in this game.";
        return result;
    }

    std::string kept;
    if (read == config_read_status::ok) {
        std::string aside = config_file_set_aside(path);
        if (aside.empty())
            saves_refused = "the damaged file could not be moved aside";
        kept = aside.empty() ? "it was left where it is, and nothing will be saved in this game"
                             : "it was kept as " + aside;
        log_line(log_always) << "config: cannot read " << path << " (damaged or not a configuration file); "
                             << kept;
    }

    // A damaged or missing file: the last good copy takes its place.
    std::string backup = config_file_backup_name(path);
    std::string backup_error;
    if (config_file_read(backup, bytes, backup_error) == config_read_status::ok) {
        if (config_adopt(bytes)) {
            log_line(log_always) << "config: loaded the last good copy " << backup;
            // Written back at once: a start after this one finds the file, and the next two
            // saves do not replace the only copy of the profiles in the backup.
            std::string write_error;
            if (saves_refused.empty() && !config_file_write(path, bytes, nullptr, write_error))
                save_failed(path, write_error);
            result.status = config_load_status::from_backup;
            result.message = read == config_read_status::missing
                                 ? "There was no " + path + ".\nThe last good copy of the saves, " + backup +
                                       ", was loaded instead."
                                 : "The saved players in " + path + " could not be read; " + kept +
                                       ".\nThe last good copy of the saves was loaded instead.";
            return result;
        }
        log_line(log_always) << "config: the backup " << backup << " cannot be read either";
    }
    if (read == config_read_status::missing)
        return result;
    result.status = config_load_status::unreadable;
    result.message = "The saved players in " + path + " could not be read; " + kept +
                     ".\nThe game starts with no saved players.";
    return result;
}

bool config_save()
{
    const std::string& path = config_path();
    if (!saves_refused.empty()) {
        log_line(log_always) << "config: not saved, since " << path
                             << " must not be overwritten: " << saves_refused;
        return false;
    }
    script_handle config = script_global_tree().get("config");
    if (!config.truth())
        return true;
    std::vector<uint8_t> bytes;
    if (!script_save_binary(bytes, "config", config))
        return save_failed(path, "the configuration cannot be written");
    std::string error;
    auto loads = [](const std::vector<uint8_t>& previous) { return parse_config(previous).exists(); };
    if (!config_file_write(path, bytes, loads, error))
        return save_failed(path, error);
    return true;
}

config_sound_seam_t& config_sound_seam()
{
    static config_sound_seam_t seam;
    return seam;
}

void config_apply_sound_switches()
{
    script_handle config = script_global_tree().get("config");
    const config_sound_seam_t& seam = config_sound_seam();
    if (seam.set_music_volume)
        seam.set_music_volume(config.get("mute_music").as_int() > 0 ? 0.0f : 1.0f);
    if (seam.set_sound_volume)
        seam.set_sound_volume(config.get("mute_sound").as_int() > 0 ? 0.0f : 1.0f);
}

script_handle config_node()
{
    return script_global_tree().make("config");
}

void config_toggle_switch(const char* key)
{
    script_handle value = config_node().make(key);
    value.set_int(value.as_int() == 0 ? 1 : 0);
    config_apply_sound_switches();
}
