// Whole-file reads and replacing writes (see file_io.h).
#include "data/file_io.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

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

bool file_read_all(const std::string& path, std::vector<uint8_t>& out, uint64_t limit)
{
    return read_into(path, out, limit);
}

bool file_read_all(const std::string& path, std::string& out, uint64_t limit)
{
    return read_into(path, out, limit);
}

bool file_write_replacing(const std::string& path, const void* data, size_t size)
{
    if (size && !data)
        return false;
    std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    std::error_code ec;
    if (ok)
        fs::rename(temp, path, ec);
    if (!ok || ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}
