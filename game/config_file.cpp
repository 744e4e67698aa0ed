// The save file on disk: whole-file reads, replacement through a synced temporary file
// and a rename, the backup of the previous good file, and damaged files moved aside.
#include "game/config_file.h"

#include "game/config_file_internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

config_write_hook_t write_hook = nullptr;

bool reached(int point)
{
    return !write_hook || write_hook(point);
}

std::string reason(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

std::string folder_of(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// After a rename the new directory entry reaches the disk only when the folder is synced.
// Some file systems cannot sync a folder; the data itself is already safe then.
void sync_folder(const std::string& path)
{
    int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool write_all(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Fails as a full disk would: no space left.
bool injected_failure()
{
    errno = ENOSPC;
    return false;
}

// Writes `bytes` to "<target>.tmp", syncs it and renames it over `target`. The target is
// whole before and after; only the temporary file can be cut short.
bool replace_file(const std::string& target, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::string temp = target + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = reason("cannot create", temp);
        return false;
    }
    size_t half = bytes.size() / 2;
    bool ok = (reached(write_point_opened) || injected_failure()) && write_all(fd, bytes.data(), half) &&
              (reached(write_point_half_written) || injected_failure()) &&
              write_all(fd, bytes.data() + half, bytes.size() - half) &&
              (reached(write_point_written) || injected_failure()) && ::fsync(fd) == 0;
    if (!ok)
        error = reason("cannot write", temp);
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = reason("cannot write", temp);
    }
    if (ok && !(reached(write_point_synced) || injected_failure())) {
        ok = false;
        error = reason("cannot write", temp);
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = reason("cannot rename " + temp + " to", target);
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    reached(write_point_renamed);
    sync_folder(target);
    reached(write_point_done);
    return true;
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

void config_file_set_hook(config_write_hook_t hook)
{
    write_hook = hook;
}

std::string config_file_backup_name(const std::string& path)
{
    return path + ".bak";
}

config_read_status config_file_read(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno == ENOENT)
            return config_read_status::missing;
        error = reason("cannot open", path);
        return config_read_status::unreadable;
    }
    uint8_t chunk[16384];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(f) != 0;
    if (failed)
        error = reason("cannot read", path);
    std::fclose(f);
    if (failed) {
        bytes.clear();
        return config_read_status::unreadable;
    }
    return config_read_status::ok;
}

bool config_file_write(const std::string& path, const std::vector<uint8_t>& bytes,
                       const std::function<bool(const std::vector<uint8_t>&)>& is_good, std::string& error)
{
    std::vector<uint8_t> previous;
    std::string read_error;
    if (config_file_read(path, previous, read_error) == config_read_status::ok && is_good &&
        is_good(previous) && !replace_file(config_file_backup_name(path), previous, error))
        return false;
    return replace_file(path, bytes, error);
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
        if (!moved)
            return {};
        sync_folder(path);
        return aside;
    }
    return {};
}
