// Script text read from chunks: the parse step shared by the script creators and the
// start-up enumerators.
#include "data/pak_script.h"

#include "app/log.h"

bool pak_read_text(pak_chunkref& ref, std::vector<char>& text)
{
    text.clear();
    if (ref.status != pak_status_ok || ref.uncompressed_size > pak_max_chunk_size)
        return false;
    text.resize(size_t(ref.uncompressed_size) + 1);
    if (ref.read(text.data()) != 0) {
        text.clear();
        return false;
    }
    text.back() = 0;
    return true;
}

bool pak_parse_chunk(pak_chunkref& ref, const script_handle& target)
{
    std::vector<char> text;
    if (!pak_read_text(ref, text)) {
        log_line(log_problem) << "pak: cannot read script chunk '" << ref.name << "'";
        return false;
    }
    return pak_parse_text(ref.name, text.data(), target);
}

bool pak_parse_text(const char* name, const char* text, const script_handle& target)
{
    script_parser parser(target);
    if (!parser.parse(text)) {
        log_line(log_problem) << "pak: parse error in script chunk '" << name << "' line "
                              << parser.stop_line;
        return false;
    }
    return true;
}

void init_parser::visit(ref_ptr<pak_chunkref> ref)
{
    if (ref && !pak_parse_chunk(*ref, tree))
        ++failures;
}

void level_preloader::visit(ref_ptr<pak_chunkref> ref)
{
    if (!ref || !tree.exists())
        return;
    script_handle level = tree.make(tree.symbols->intern(ref->name));
    if (!pak_parse_chunk(*ref, level))
        ++failures;
}
