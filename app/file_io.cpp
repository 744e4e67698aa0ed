// Whole-file reads and replacing writes (see file_io.h).
#include "app/file_io.h"

#include "app/file_io_internal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

file_write_hook_t write_hook = nullptr;

bool reached(int point)
{
    return !write_hook || write_hook(point);
}

// Fails as a full disk would.
bool injected_failure()
{
    errno = ENOSPC;
    return false;
}

std::string system_reason(const std::string& what, const std::string& path)
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
// Some file systems cannot sync a folder; the data itself is safe by then.
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

// The temporary file is the only one that can be cut short; the target is whole throughout.
bool replace_file(const std::string& target, const uint8_t* data, size_t size, std::string& error)
{
    std::string temp = target + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = system_reason("cannot create", temp);
        return false;
    }
    size_t half = size / 2;
    bool ok = (reached(file_write_opened) || injected_failure()) && write_all(fd, data, half) &&
              (reached(file_write_half_written) || injected_failure()) &&
              write_all(fd, data + half, size - half) &&
              (reached(file_write_written) || injected_failure()) && ::fsync(fd) == 0;
    if (!ok)
        error = system_reason("cannot write", temp);
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = system_reason("cannot write", temp);
    }
    if (ok && !(reached(file_write_synced) || injected_failure())) {
        ok = false;
        error = system_reason("cannot write", temp);
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = system_reason("cannot rename " + temp + " to", target);
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    reached(file_write_renamed);
    sync_folder(target);
    reached(file_write_done);
    return true;
}

template <typename Bytes>
bool read_into(const std::string& path, Bytes& out, uint64_t limit)
{
    out.clear();
    file_ptr f = file_open(path, "rb");
    if (!f)
        return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        if (out.size() + n > limit) {
            out.clear();
            return false;
        }
        out.insert(out.end(), buf, buf + n);
    }
    if (std::ferror(f.get())) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace

void file_io_set_hook(file_write_hook_t hook)
{
    write_hook = hook;
}

bool file_read_all(const std::string& path, std::vector<uint8_t>& out, uint64_t limit)
{
    return read_into(path, out, limit);
}

bool file_read_all(const std::string& path, std::string& out, uint64_t limit)
{
    return read_into(path, out, limit);
}

bool file_write_replacing(const std::string& path, const void* data, size_t size, std::string* error)
{
    std::string reason;
    if (size && !data)
        reason = "no data to write to " + path;
    else if (replace_file(path, static_cast<const uint8_t*>(data), size, reason))
        return true;
    if (error)
        *error = reason;
    return false;
}
