// Walking a folder of chunk files or data sources (see pak_tree.h).
#include "data/pak_tree.h"

#include "data/pak_chunk.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

bool pak_code_is_plain(uint32_t code)
{
    for (int i = 0; i < 4; ++i) {
        char c = char((code >> (8 * i)) & 0xFF);
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

bool pak_split_coded_name(std::string_view file_name, std::string_view extension, std::string& base,
                          uint32_t& code)
{
    // At least one character, a dot, four, the extension.
    size_t n = file_name.size(), e = extension.size();
    if (n < e + 6 || file_name.substr(n - e) != extension || file_name[n - e - 5] != '.')
        return false;
    uint32_t c = 0;
    for (size_t i = 0; i < 4; ++i)
        c |= uint32_t(uint8_t(file_name[n - e - 4 + i])) << (8 * i);
    if (!pak_code_is_plain(c))
        return false;
    code = c;
    base = std::string(file_name.substr(0, n - e - 5));
    return true;
}

bool pak_tree_file::chunk_name(const std::string& stem, std::string& name) const
{
    if (stem.empty() || stem.find_first_of("/\\") != std::string::npos ||
        folder.size() + stem.size() >= pak_name_capacity)
        return false;
    name = folder + stem;
    return true;
}

bool pak_walk_tree(const std::string& root, std::vector<pak_tree_file>& files, std::string* error)
{
    files.clear();
    fs::path base = root.empty() ? fs::path(".") : fs::path(root);
    std::error_code ec;
    if (!fs::is_directory(base, ec)) {
        if (error)
            *error = "'" + root + "': not a directory";
        return false;
    }
    for (fs::recursive_directory_iterator it(base, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        // An entry that cannot be examined (a dangling link) is no file; only a failure
        // of the listing itself ends the walk.
        std::error_code entry_ec;
        std::string leaf = it->path().filename().string();
        bool folder = it->is_directory(entry_ec);
        if (leaf.empty() || leaf[0] == '.' || (folder && leaf.find('\\') != std::string::npos)) {
            if (folder)
                it.disable_recursion_pending();
            continue;
        }
        if (folder || !it->is_regular_file(entry_ec))
            continue;
        pak_tree_file f;
        f.path = it->path().string();
        f.leaf = leaf;
        fs::path rel = it->path().lexically_relative(base);
        f.relative = rel.generic_string();
        for (const fs::path& part : rel.parent_path()) {
            std::string p = part.string();
            if (p != "." && !p.empty())
                f.folder += p + '\\';
        }
        files.push_back(std::move(f));
    }
    if (ec) {
        if (error)
            *error = "'" + root + "': " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end(),
              [](const pak_tree_file& a, const pak_tree_file& b) { return a.relative < b.relative; });
    return true;
}
