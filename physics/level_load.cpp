// The level loader and the world constructors built on it: free nodes, bodies with their
// fix masks, constraints with their ropes, markers; replay attachment for recording and
// playback.
#include "physics/level.h"

#include "app/file_io.h"
#include "app/log.h"
#include "data/script.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

pak_system* type_store = nullptr;
v_message_box_fn message_box_fn = nullptr;

template <class T>
ref_ptr<T> resolve(const char* name)
{
    ref_ptr<T> out;
    if (!name || !type_store)
        return out;
    type_store->get_object(name, out);
    // A type whose data failed its checks would break the step: its entry is dropped.
    if (out && !out->loaded)
        out = nullptr;
    return out;
}

vec2 read_position(const script_handle& e)
{
    return vec2{float(e.get("x").as_real()), float(e.get("y").as_real())};
}

struct loader {
    v_world& world;
    const char* level_name;
    v_level_report& report;
    std::vector<v_node*> node_table;
    std::vector<v_body*> body_table;

    void drop(int32_t entry, const std::string& why)
    {
        std::string line = "level '" + std::string(level_name ? level_name : "") + "': constraint " +
                           std::to_string(entry) + " dropped: " + why;
        log_line(log_problem) << line;
        report.problems.push_back(line);
        ++report.dropped_constraints;
    }

    // The node an end names, or null (after logging) when an index is out of range.
    v_node* end_node(const script_handle& e, const char* node_key, const char* body_key, int32_t entry)
    {
        int32_t n = e.get(node_key).as_int();
        script_handle body = e.get(body_key);
        if (body.exists()) {
            int32_t b = body.as_int();
            if (b < 0 || size_t(b) >= body_table.size()) {
                drop(entry, std::string(body_key) + " " + std::to_string(b) + " is not a loaded body (" +
                                std::to_string(body_table.size()) + " loaded)");
                return nullptr;
            }
            v_body* owner = body_table[size_t(b)];
            if (n < 0 || size_t(n) >= owner->nodes.size()) {
                drop(entry, std::string(node_key) + " " + std::to_string(n) + " is not a node of body " +
                                std::to_string(b) + " (" + std::to_string(owner->nodes.size()) + " nodes)");
                return nullptr;
            }
            return &owner->nodes[size_t(n)];
        }
        if (n < 0 || size_t(n) >= node_table.size()) {
            drop(entry, std::string(node_key) + " " + std::to_string(n) + " is not a loaded node (" +
                            std::to_string(node_table.size()) + " loaded)");
            return nullptr;
        }
        return node_table[size_t(n)];
    }

    void nodes(const script_handle& block)
    {
        for (script_id i = 0;; ++i) {
            script_handle e = block.get(i);
            if (!e.exists())
                break;
            ref_ptr<v_node_type> type = resolve<v_node_type>(e.get("type").as_string());
            if (!type) {
                ++report.dropped_nodes;
                continue;
            }
            node_table.push_back(world.add_node(type, read_position(e), e.get("fixed").as_int() != 0));
        }
    }

    void bodies(const script_handle& block)
    {
        for (script_id i = 0;; ++i) {
            script_handle e = block.get(i);
            if (!e.exists())
                break;
            ref_ptr<v_body_type> type = resolve<v_body_type>(e.get("type").as_string());
            std::unique_ptr<v_body> body;
            if (type)
                body = v_make_body(type, read_position(e), float(e.get("ang").as_real()),
                                   float(e.get("z_bias").as_real()));
            if (!body) {
                ++report.dropped_bodies;
                continue;
            }
            v_apply_fix_mask(*body, e.get("fix_mask"));
            body->finalise();
            body_table.push_back(world.add_body(std::move(body)));
        }
    }

    void constraints(const script_handle& block)
    {
        for (script_id i = 0;; ++i) {
            script_handle e = block.get(i);
            if (!e.exists())
                break;
            ref_ptr<v_constraint_type> type = resolve<v_constraint_type>(e.get("type").as_string());
            if (!type) {
                ++report.dropped_constraints;
                continue;
            }
            v_node* n1 = end_node(e, "n1", "n1_body", i);
            if (!n1)
                continue;
            v_node* n2 = end_node(e, "n2", "n2_body", i);
            if (!n2)
                continue;
            float len = float(e.get("len").as_real());
            auto con = std::make_unique<v_constraint>(type, n1, n2, len, 0.0f, 0.0f, false);
            script_handle inodes = e.get("inodes");
            if (inodes.get(0).exists()) {
                // A saved rope keeps its saved segment length and nodes. Without a saved
                // length the built one stays: a zero rest length would pull the rope
                // into a knot.
                if (len > 0.0f)
                    con->rest_length = len;
                con->inodes.clear();
                ref_ptr<v_node_type> node_type = type;
                for (script_id k = 0; k < v_max_rope_nodes; ++k) {
                    script_handle in = inodes.get(k);
                    if (!in.exists())
                        break;
                    con->inodes.emplace_back(node_type, read_position(in));
                }
            }
            world.add_constraint(std::move(con));
        }
    }

    void markers(const script_handle& block)
    {
        for (script_id i = 0;; ++i) {
            script_handle e = block.get(i);
            if (!e.exists())
                break;
            world.add_marker(float(e.get("x").as_real()), float(e.get("y").as_real()),
                             float(e.get("ang").as_real()));
        }
    }
};

}  // namespace

void v_level_set_store(pak_system* store)
{
    type_store = store;
}

pak_system* v_level_store()
{
    return type_store;
}

void v_set_message_box(v_message_box_fn fn)
{
    message_box_fn = fn;
}

void v_message_box(const char* text, const char* caption)
{
    if (message_box_fn)
        message_box_fn(text, caption);
    else
        std::fprintf(stderr, "%s: %s\n", caption, text);
}

void v_apply_fix_mask(v_body& body, const script_handle& mask)
{
    if (mask.type() == script_type_int) {
        uint32_t bits = uint32_t(mask.as_int());
        for (size_t i = 0; i < body.nodes.size(); ++i)
            body.nodes[i].fixed = (bits >> (i % 32)) & 1u;
        return;
    }
    const char* letters = mask.as_string();
    if (!letters)
        return;
    // A short mask leaves the nodes past its end free.
    size_t groups = (body.nodes.size() + 3) / 4, length = 0;
    while (length < groups && letters[length])
        ++length;
    for (size_t i = 0; i < body.nodes.size() && i / 4 < length; ++i) {
        char c = letters[i / 4];
        if (c >= 'A' && c <= 'P')
            body.nodes[i].fixed = ((c - 'A') >> (i % 4)) & 1;
    }
}

void v_level_load(v_world& world, const script_handle& root, const char* level_name, v_level_report* report)
{
    log_line(log_info) << "LOADING LEVEL";
    v_level_report local;
    loader l{world, level_name, report ? *report : local, {}, {}};
    world.clear();
    world.verdict = v_verdict_undecided;
    l.nodes(root.get("nodes"));
    l.bodies(root.get("bodies"));
    l.constraints(root.get("constraints"));
    l.markers(root.get("markers"));
}

bool v_level_load_text(v_world& world, const char* text, const char* level_name, v_level_report* report)
{
    // A level file gets a small symbol table of its own, dropped once the world is built.
    script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    script_handle root = script_handle::fresh(&symbols);
    script_parser parser(root);
    if (!parser.parse(text ? text : "")) {
        world.clear();
        // Both texts are fixed: the caption "123" means nothing by itself, but it is how
        // players, testers and level designers know this box, so it stays exactly so.
        v_message_box("Error Loading Level.", "123");
        return false;
    }
    v_level_load(world, root, level_name, report);
    return true;
}

bool v_level_load_file(v_world& world, const char* path, v_level_report* report)
{
    std::string text;
    if (!file_read_all(path, text, v_level_file_limit)) {
        world.clear();
        return false;
    }
    return v_level_load_text(world, text.c_str(), path, report);
}

v_world v_world_from_level(int32_t mode, const script_handle& level, v_replay& replay,
                           const ref_ptr<pak_chunkref>& replay_chunk, const char* level_name,
                           v_level_report* report)
{
    v_world world(mode);
    replay.init();
    v_level_load(world, level, level_name, report);
    std::vector<uint8_t> bytes;
    bool have = false;
    if (mode == v_mode_playback && replay_chunk) {
        bytes.resize(replay_chunk->get_size());
        have = replay_chunk->read(bytes.data()) == 0;
        if (!have) {
            replay.ended_flag = true;
            return world;
        }
    }
    v_world_attach_replay(world, replay, have ? &bytes : nullptr);
    return world;
}

v_world v_world_from_file(int32_t mode, const char* path, v_replay& replay, v_level_report* report)
{
    v_world world(mode);
    replay.init();
    v_level_load_file(world, path, report);
    v_world_attach_replay(world, replay, nullptr);
    return world;
}
