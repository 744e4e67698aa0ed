// Script commands of tamble-pak: print script text and binary files with the text
// writer, and turn script text into the binary configuration form.
#include "tools/pak/commands.h"

#include "app/file_io.h"
#include "data/script.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Reads a whole file; on failure prints why and returns false.
bool read_file(const char* path, std::string& out)
{
    if (file_read_all(path, out))
        return true;
    std::fprintf(stderr, "tamble-pak: %s: cannot open or read\n", path);
    return false;
}

// Parses a text file into `tree`; reports "FILE:LINE: parse error" on failure.
bool parse_file(const char* path, const script_handle& tree)
{
    std::string text;
    if (!read_file(path, text))
        return false;
    script_parser parser(tree);
    if (!parser.parse(text.c_str())) {
        std::fprintf(stderr, "%s:%d: parse error\n", path, parser.stop_line);
        return false;
    }
    return true;
}

std::unique_ptr<script_symbol_table> small_table()
{
    return std::make_unique<script_symbol_table>(script_small_pool, script_small_buckets,
                                                 script_small_entries);
}

bool print_tree(const script_handle& tree)
{
    if (!script_write(stdout, nullptr, tree)) {
        std::fprintf(stderr, "tamble-pak: cannot write the tree\n");
        return false;
    }
    return true;
}

}  // namespace

int cmd_dump_script(int argc, char** argv)
{
    bool merge = false;
    std::vector<const char*> files;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--merge"))
            merge = true;
        else if (argv[i][0] == '-' && argv[i][1]) {
            std::fprintf(stderr, "tamble-pak dump-script: unknown option '%s'\n", argv[i]);
            return 2;
        } else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: tamble-pak dump-script [--merge] FILE...\n");
        return 2;
    }

    int status = 0;
    if (merge) {
        // Later files add to and override earlier ones, as start-up does with "INIT".
        auto symbols = small_table();
        script_handle tree = script_handle::fresh(symbols.get());
        for (const char* path : files)
            if (!parse_file(path, tree))
                status = 1;
        if (status == 0 && !print_tree(tree))
            status = 1;
        return status;
    }
    for (const char* path : files) {
        auto symbols = small_table();
        script_handle tree = script_handle::fresh(symbols.get());
        if (!parse_file(path, tree) || !print_tree(tree))
            status = 1;
    }
    return status;
}

int cmd_dump_config(int argc, char** argv)
{
    if (argc != 1 || argv[0][0] == '-') {
        std::fprintf(stderr, "usage: tamble-pak dump-config FILE\n");
        return 2;
    }
    std::string bytes;
    if (!read_file(argv[0], bytes))
        return 1;
    auto symbols = small_table();
    script_handle tree = script_handle::fresh(symbols.get());
    // Loaded under its root name, so the output shows which name the file carries.
    if (!script_load_binary(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tree, false)) {
        std::fprintf(stderr, "tamble-pak: %s: damaged or truncated binary script\n", argv[0]);
        return 1;
    }
    return print_tree(tree) ? 0 : 1;
}

int cmd_make_config(int argc, char** argv)
{
    const char* root = "config";
    std::vector<const char*> files;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--root")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                std::fprintf(stderr, "tamble-pak make-config: --root needs a name\n");
                return 2;
            }
            root = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1]) {
            std::fprintf(stderr, "tamble-pak make-config: unknown option '%s'\n", argv[i]);
            return 2;
        } else
            files.push_back(argv[i]);
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "usage: tamble-pak make-config [--root NAME] IN.txt OUT\n");
        return 2;
    }
    auto symbols = small_table();
    script_handle tree = script_handle::fresh(symbols.get());
    if (!parse_file(files[0], tree))
        return 1;
    std::vector<uint8_t> bytes;
    if (!script_save_binary(bytes, root, tree)) {
        std::fprintf(stderr,
                     "tamble-pak: %s: cannot be saved in the binary form "
                     "(nested too deep or an unusable name)\n",
                     files[0]);
        return 1;
    }
    // Written beside the old file and renamed over it: a configuration that was there
    // survives a failed write.
    if (!file_write_replacing(files[1], bytes.data(), bytes.size())) {
        std::fprintf(stderr, "tamble-pak: %s: cannot write\n", files[1]);
        return 1;
    }
    return 0;
}
