// The script text writer: one entry per line, tab-indented, blocks in braces on lines
// of their own, children in for_each order.
#include "data/script_text.h"

#include <cstring>

namespace {

// Indentation comes from this run, so it stops growing at 16 tabs.
const char tabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
constexpr int max_tabs = int(sizeof tabs) - 1;

void indent(std::string& out, int depth)
{
    out.append(tabs, size_t(depth < max_tabs ? depth : max_tabs));
}

// `depth` is the indentation of this entry, `level` the number of keys from the
// written handle to the node.
bool write_entry(std::string& out, const char* key, const script_handle& node, int depth, int level)
{
    if (level > script_max_depth)
        return false;
    char number[512];
    switch (node.type()) {
    case script_type_int:
        indent(out, depth);
        out += key;
        std::snprintf(number, sizeof number, "\t%d\n", node.cell->v.i);
        out += number;
        return true;
    case script_type_real:
        indent(out, depth);
        out += key;
        std::snprintf(number, sizeof number, "\t%f\n", double(node.cell->v.f));
        out += number;
        return true;
    case script_type_string:
        indent(out, depth);
        out += key;
        out += "\t\"";
        out += node.cell->v.s;
        out += "\"\n";
        return true;
    case script_type_block: {
        indent(out, depth);
        out += key;
        out += '\n';
        indent(out, depth);
        out += "{\n";
        bool ok = true;
        node.for_each([&](script_id id, const script_handle& child) {
            if (ok)
                ok = write_entry(out, node.symbols->name_of(id).c_str(), child, depth + 1, level + 1);
        });
        indent(out, depth);
        out += "}\n";
        return ok;
    }
    default:
        return true;
    }
}

}  // namespace

bool script_write(std::string& out, const char* name, const script_handle& handle)
{
    if (!handle.exists() || !handle.cell)
        return false;
    if (name)
        return write_entry(out, name, handle, 0, 0);
    bool ok = true;
    handle.for_each([&](script_id id, const script_handle& child) {
        if (ok)
            ok = write_entry(out, handle.symbols->name_of(id).c_str(), child, 0, 1);
    });
    return ok;
}

bool script_write(FILE* file, const char* name, const script_handle& handle)
{
    std::string text;
    bool ok = script_write(text, name, handle);
    if (!file)
        return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size())
        return false;
    return ok && !std::ferror(file);
}
