// The level saver: the text layout the loader and the level editor read, the fix-mask
// letters, and the replay file written beside the level.
#include "physics/level.h"

#include "app/file_io.h"
#include "app/log.h"

#include <cstdarg>
#include <cstdio>
#include <unordered_map>

namespace {

void appendf(std::string& out, const char* format, ...)
{
    char buf[512];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (size_t(n) < sizeof buf) {
        out.append(buf, size_t(n));
        return;
    }
    // Only long type names get here.
    std::string big(size_t(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(big.data(), big.size(), format, args);
    va_end(args);
    out.append(big.data(), size_t(n));
}

const char* type_name(const v_type_base* t)
{
    return t ? t->name.c_str() : "";
}

struct body_place {
    int32_t body;
    int32_t node;
};

}  // namespace

std::string v_fix_mask_letters(const v_body& body)
{
    std::string out;
    for (size_t k = 0; k < body.nodes.size(); k += 4) {
        int m = 0;
        for (size_t j = 0; j < 4 && k + j < body.nodes.size(); ++j)
            if (body.nodes[k + j].fixed)
                m |= 1 << j;
        out += char('A' + m);
    }
    return out;
}

std::string v_level_text(const v_world& world)
{
    std::unordered_map<const v_node*, int32_t> free_index;
    for (size_t i = 0; i < world.nodes.size(); ++i)
        free_index.emplace(world.nodes[i], int32_t(i));
    std::unordered_map<const v_node*, body_place> body_nodes;
    for (size_t b = 0; b < world.bodies.size(); ++b)
        for (size_t n = 0; n < world.bodies[b]->nodes.size(); ++n)
            body_nodes.emplace(&world.bodies[b]->nodes[n], body_place{int32_t(b), int32_t(n)});

    std::string out = "nodes {\n";
    for (const v_node* n : world.nodes)
        appendf(out, " ~{ x %f y %f fixed %d type \"%s\" }\n", double(n->position.x), double(n->position.y),
                n->fixed ? 1 : 0, type_name(n->type.get()));
    out += "}\nbodies {\n";
    for (const auto& b : world.bodies)
        appendf(out, " ~{ x %f y %f ang %f fix_mask \"%s\" z_bias %f type \"%s\" }\n", double(b->position.x),
                double(b->position.y), double(b->angle), v_fix_mask_letters(*b).c_str(), double(b->z_bias),
                type_name(b->type.get()));
    out += "}\nconstraints {\n";
    int32_t index = 0;
    for (const auto& c : world.constraints) {
        auto end = [&](const v_node* n, const char* key, std::string& text) {
            auto in_body = body_nodes.find(n);
            if (in_body != body_nodes.end()) {
                appendf(text, "   %s %d %s_body %d\n", key, in_body->second.node, key, in_body->second.body);
                return true;
            }
            auto free = free_index.find(n);
            if (free == free_index.end())
                return false;
            appendf(text, "   %s %d\n", key, free->second);
            return true;
        };
        std::string entry = " ~{\n";
        appendf(entry, "   len %f\n   type \"%s\"\n", double(c->rest_length), type_name(c->type.get()));
        // An end that is no longer in the world (a caught ball) cannot be written in a
        // form that reloads; the constraint is left out rather than pointing elsewhere.
        if (!end(c->n1, "n1", entry) || !end(c->n2, "n2", entry)) {
            log_line(log_problem) << "level save: constraint " << index
                                  << " left out: an end is not in the world";
            ++index;
            continue;
        }
        entry += "   inodes {\n";
        for (const v_node& in : c->inodes)
            appendf(entry, "    ~{ x %f y %f }\n", double(in.position.x), double(in.position.y));
        entry += "   }\n  }\n";
        out += entry;
        ++index;
    }
    out += "}\nmarkers {\n";
    for (const v_marker& m : world.markers)
        appendf(out, "    ~{ x %f y %f ang %f }\n", double(m.x), double(m.y), double(m.angle));
    out += "}\n";
    return out;
}

std::string v_level_replay_path(const std::string& level_path)
{
    // Paths shorter than the suffix lose what they have rather than reading before it.
    size_t keep = level_path.size() >= 9 ? level_path.size() - 9 : 0;
    return level_path.substr(0, keep) + "_r.RPLY.pkc";
}

bool v_level_save(const v_world& world, const char* path, const v_replay& replay)
{
    std::string text = v_level_text(world);
    if (!file_write_replacing(path, text.data(), text.size()))
        return false;
    replay.save(v_level_replay_path(path).c_str());
    log_line(log_info) << "Level Saved. \"" << path << "\"";
    return true;
}
