// Writing, reading and removing the autosave file.
#include "editors/common/autosave.h"

#include "app/file_io.h"

#include <cstdio>

namespace {

// Autosaves are the editor's own small texts; anything larger is not one.
constexpr uint64_t autosave_limit = 64ull << 20;

}  // namespace

bool ed_autosave::due(double seconds)
{
    editing += seconds;
    return !path.empty() && editing >= interval;
}

bool ed_autosave::write(const ed_snapshot& state, std::string* error) const
{
    if (path.empty())
        return false;
    std::string text = header + "\n" + state.file + "\n" + state.text;
    return file_write_replacing(path, text.data(), text.size(), error);
}

bool ed_autosave::read(ed_snapshot& state) const
{
    std::string text;
    if (path.empty() || !file_read_all(path, text, autosave_limit))
        return false;
    size_t first = text.find('\n');
    if (first == std::string::npos || text.compare(0, first, header) != 0)
        return false;
    size_t second = text.find('\n', first + 1);
    if (second == std::string::npos)
        return false;
    state.file = text.substr(first + 1, second - first - 1);
    state.text = text.substr(second + 1);
    return true;
}

void ed_autosave::remove() const
{
    if (!path.empty())
        std::remove(path.c_str());
}
