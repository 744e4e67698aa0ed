// The source converters of `tamble-pak build`, one row per file extension.
//
// A source file under a root becomes one chunk. Its name is the path relative to the
// root with '/' turned into '\' and its extensions removed; its type is the row's code,
// or, for rows with code 0, the four characters before the extension
// ("levels/Ledge.LEVL.txt" is the "LEVL" chunk "levels\Ledge"; with the ".png" row,
// "tex/ui/Star_On.png" is the "IMAG" chunk "tex\ui\Star_On").
//
// To support a new kind of source, add one row to `build_converters` in
// build_converters.cpp: its extension, its code (or 0), and a function that turns the
// file into the chunk's bytes. The function must be deterministic: the same file must
// always give the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a converter makes of one source file.
struct build_output {
    std::vector<uint8_t> bytes;
    bool container = false;
    int level = 0;  // 0 stored in the archive, otherwise zlib-compressed
};

struct build_converter {
    const char* extension;  // matched at the end of the file name, ".txt"
    uint32_t code;          // the chunk's type, or 0 to take it from ".CODE" in the name
    // Reads `path` into `out`; false with a message in `error`.
    bool (*convert)(const std::string& path, build_output& out, std::string& error);
};

// Every converter, terminated by a row with a null extension.
extern const build_converter build_converters[];

// Reads a whole file. False with a message in `error`.
bool read_whole_file(const std::string& path, std::vector<uint8_t>& out, std::string& error);

// Reads the optional sidecar "SOURCE.opt" of a source file: one option per line, its
// words split at blanks; blank lines and lines starting with '#' are skipped. `option`
// gets each line's words and returns false when it cannot use them; the error then
// names the file, the line and `expected`. No sidecar is no options: true.
bool read_sidecar_options(const std::string& source_path, const char* expected,
                          const std::function<bool(const std::vector<std::string>&)>& option,
                          std::string& error);
