// Loading, saving and applying the configuration subtree "config".
#include "game/config.h"

#include "app/log.h"
#include "game/config_file.h"

namespace {

std::string& path_slot()
{
    static std::string path = "config.dat";
    return path;
}

// Set when a damaged file could not be moved aside: saving would overwrite it, so saves
// are refused for the rest of the run.
bool keep_damaged_file = false;

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
    keep_damaged_file = false;
}

const std::string& config_path()
{
    return path_slot();
}

config_load_result config_load()
{
    config_load_result result;
    const std::string& path = config_path();
    std::vector<uint8_t> bytes;
    std::string error;
    config_read_status read = config_file_read(path, bytes, error);
    if (read == config_read_status::missing)
        return result;
    if (read == config_read_status::ok) {
        if (config_adopt(bytes)) {
            result.status = config_load_status::loaded;
            return result;
        }
        error = "damaged or not a configuration file";
    }

    std::string aside = config_file_set_aside(path);
    keep_damaged_file = aside.empty();
    std::string kept = aside.empty() ? "it was left where it is, and nothing will be saved in this game"
                                     : "it was kept as " + aside;
    log_line(3) << "config: cannot read " << path << " (" << error << "); " << kept;

    std::string backup = config_file_backup_name(path);
    std::string backup_error;
    if (config_file_read(backup, bytes, backup_error) == config_read_status::ok) {
        if (config_adopt(bytes)) {
            log_line(3) << "config: loaded the last good copy " << backup;
            result.status = config_load_status::from_backup;
            result.message = "The saved players in " + path + " could not be read; " + kept +
                             ".\nThe last good copy of the saves was loaded instead.";
            return result;
        }
        log_line(3) << "config: the backup " << backup << " cannot be read either";
    }
    result.status = config_load_status::unreadable;
    result.message = "The saved players in " + path + " could not be read; " + kept +
                     ".\nThe game starts with no saved players.";
    return result;
}

bool config_save()
{
    const std::string& path = config_path();
    if (keep_damaged_file) {
        log_line(3) << "config: not saved, so that the damaged " << path << " is not overwritten";
        return false;
    }
    script_handle config = script_global_tree().get("config");
    if (!config.truth())
        return true;
    std::vector<uint8_t> bytes;
    if (!script_save_binary(bytes, "config", config)) {
        log_line(3) << "config: cannot save " << path << ": the configuration cannot be written";
        return false;
    }
    std::string error;
    auto loads = [](const std::vector<uint8_t>& previous) { return parse_config(previous).exists(); };
    if (!config_file_write(path, bytes, loads, error)) {
        log_line(3) << "config: cannot save " << path << ": " << error;
        return false;
    }
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
