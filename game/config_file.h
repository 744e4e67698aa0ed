// Safe storage of the player's save file. A save never writes over the only good copy:
// the new bytes go to a temporary file that is synced and then renamed over the old
// file, and the previous good file is kept beside it as "<file>.bak". A file that could
// not be read is moved aside under a name of its own and never overwritten.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class config_read_status {
    ok,
    missing,     // no file of that name
    unreadable,  // it exists but could not be read (a folder, no permission, an I/O error)
};

// Reads the whole file. `error` names the system's reason when it is not ok.
config_read_status config_file_read(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Replaces the file with `bytes`. When the file that is there now passes `is_good`, it
// becomes "<path>.bak" first (written the same safe way), so a save that turns out bad
// can still be undone by hand and a load can fall back to it. False with `error` set
// when anything fails; the file on disk is then the old one, whole.
bool config_file_write(const std::string& path, const std::vector<uint8_t>& bytes,
                       const std::function<bool(const std::vector<uint8_t>&)>& is_good, std::string& error);

// Renames a damaged file to "<path>.damaged", or "<path>.damaged-2", "-3"... when that
// name is taken, so no earlier damaged file is replaced. Returns the new name, or an
// empty string when the file could not be moved.
std::string config_file_set_aside(const std::string& path);

// The name of the backup kept beside `path`.
std::string config_file_backup_name(const std::string& path);
