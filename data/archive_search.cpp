// Looking for tamble.pk2.
#include "data/archive_search.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string pak_find_game_archive(const char* argv0, const std::vector<std::string>& known_folders,
                                  std::vector<std::string>& looked_in)
{
    std::error_code ec;
    std::vector<fs::path> places;
    fs::path here = fs::current_path(ec);
    if (!ec)
        places.push_back(here / "tamble.pk2");
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec && argv0)
        exe = fs::absolute(argv0, ec);
    if (!ec && !exe.empty()) {
        fs::path folder = exe.parent_path();
        places.push_back(folder / "tamble.pk2");
        places.push_back((folder / ".." / "share" / "tamble" / "tamble.pk2").lexically_normal());
    }
    for (const std::string& folder : known_folders)
        if (!folder.empty())
            places.push_back(fs::path(folder) / "tamble.pk2");
    for (const fs::path& p : places) {
        std::string name = p.string();
        bool seen = false;
        for (const std::string& before : looked_in)
            seen = seen || before == name;
        if (seen)
            continue;
        looked_in.push_back(name);
        if (fs::is_regular_file(p, ec))
            return name;
    }
    return {};
}
