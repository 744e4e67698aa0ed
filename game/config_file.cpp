// The save file on disk: whole-file reads, replacement with the backup of the previous good
// file, and damaged files moved aside.
#include "game/config_file.h"

#include "app/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string config_file_backup_name(const std::string& path)
{
    return path + ".bak";
}

config_read_status config_file_read(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    if (!exists(path) && errno == ENOENT) {
        bytes.clear();
        return config_read_status::missing;
    }
    if (file_read_all(path, bytes))
        return config_read_status::ok;
    error = "cannot read " + path + ": " + std::strerror(errno);
    return config_read_status::unreadable;
}

bool config_file_write(const std::string& path, const std::vector<uint8_t>& bytes,
                       const std::function<bool(const std::vector<uint8_t>&)>& is_good, std::string& error)
{
    std::vector<uint8_t> previous;
    std::string read_error;
    if (config_file_read(path, previous, read_error) == config_read_status::ok && is_good &&
        is_good(previous) &&
        !file_write_replacing(config_file_backup_name(path), previous.data(), previous.size(), &error))
        return false;
    return file_write_replacing(path, bytes.data(), bytes.size(), &error);
}

std::string config_file_set_aside(const std::string& path)
{
    for (int n = 1; n < 10000; ++n) {
        std::string aside = path + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n));
        // A hard link refuses an existing name, so nothing is replaced even when another
        // process made the name a moment ago; rename stands in where links do not exist.
        bool moved = false;
        if (::link(path.c_str(), aside.c_str()) == 0)
            moved = ::unlink(path.c_str()) == 0 || (::unlink(aside.c_str()), false);
        else if (errno == EEXIST)
            continue;
        else if (!exists(aside))
            moved = std::rename(path.c_str(), aside.c_str()) == 0;
        else
            continue;
        return moved ? aside : std::string();
    }
    return {};
}
