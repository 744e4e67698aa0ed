// The table of source converters for `tamble-pak build` (see build_converters.h).
#include "tools/pak/build_converters.h"

#include "tools/pak/chunk_source.h"
#include "tools/pak/image_source.h"
#include "tools/pak/sound_convert.h"

#include "app/file_io.h"
#include "data/script.h"

#include <cstdio>
#include <sstream>

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out, std::string& error)
{
    if (file_read_all(path, out))
        return true;
    error = "'" + path + "': cannot open or read";
    return false;
}

bool read_sidecar_options(const std::string& source_path, const char* expected,
                          const std::function<bool(const std::vector<std::string>&)>& option,
                          std::string& error)
{
    std::string path = source_path + ".opt";
    if (std::FILE* f = std::fopen(path.c_str(), "rb"))
        std::fclose(f);
    else
        return true;  // no sidecar: the defaults
    std::vector<uint8_t> bytes;
    if (!read_whole_file(path, bytes, error))
        return false;
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::string line;
    int number = 0;
    while (std::getline(text, line)) {
        ++number;
        std::istringstream split(line);
        std::vector<std::string> words;
        std::string word;
        while (split >> word)
            words.push_back(word);
        if (words.empty() || words[0][0] == '#')
            continue;
        if (!option(words)) {
            error = "'" + path + "' line " + std::to_string(number) + ": expected " + expected;
            return false;
        }
    }
    return true;
}

namespace {

// Script text, stored compressed as the game's loaders expect. A text that does not parse
// stops the build: in the archive it would silently lose every entry it holds.
bool convert_script_text(const std::string& path, build_output& out, std::string& error)
{
    if (!read_whole_file(path, out.bytes, error))
        return false;
    script_symbol_table symbols;
    script_parser parser(script_handle::fresh(&symbols));
    std::string text(out.bytes.begin(), out.bytes.end());
    if (!parser.parse(text.c_str())) {
        error = path + ":" + std::to_string(parser.stop_line) + ": parse error";
        return false;
    }
    out.container = false;
    out.level = 9;
    return true;
}

// A chunk file, copied as it stands (compressed again when it was compressed).
bool convert_chunk_file(const std::string& path, build_output& out, std::string& error)
{
    tool_chunk chunk;
    if (!load_chunk_source(path, chunk, error))
        return false;
    out.bytes = std::move(chunk.bytes);
    out.container = chunk.container;
    out.level = chunk.method ? 9 : 0;
    // An archive pads stored data to 4 bytes and readers receive the padding; a chunk of
    // another length (a leaf, or a container whose records are not whole) is compressed
    // instead, so that it reads back exactly as it was.
    if (out.bytes.size() % 4 != 0)
        out.level = 9;
    return true;
}

}  // namespace

const build_converter build_converters[] = {
    {".txt", 0, convert_script_text},
    {".pkc", 0, convert_chunk_file},
    {".png", pak_code_imag, convert_png_image},
    {".wav", pak_code_samp, convert_wav_source},
    {nullptr, 0, nullptr},
};
