// Reading the worlds data of a data root.
#include "tools/sim/sim_worlds.h"

#include "data/pak_script.h"
#include "data/script.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string string_of(const script_handle& h, const char* key)
{
    const char* s = h.get(key).as_string();
    return s ? s : "";
}

sim_world_level read_level(const script_handle& h)
{
    sim_world_level l;
    l.level = string_of(h, "level");
    l.title = string_of(h, "title");
    l.x = float(h.get("x").as_real());
    l.y = float(h.get("y").as_real());
    l.state = h.get("state").as_int();
    l.difficulty = h.get("difficulty").as_int();
    l.song = h.get("song").as_int();
    l.trophy = h.get("trophy").as_int();
    l.tip = h.get("tip").as_int();
    script_handle rune = h.get("rune");
    if (rune.type() == script_type_int)
        l.rune = rune.as_int();
    for (script_id k = 0;; ++k) {
        script_handle s = h.get(k);
        if (s.type() != script_type_int)
            break;
        l.successors.push_back(s.as_int());
    }
    return l;
}

void add_scene_levels(const script_handle& sequence, std::vector<std::string>& out)
{
    for (script_id k = 0;; ++k) {
        script_handle scene = sequence.get(k);
        if (scene.type() != script_type_block)
            break;
        std::string level = string_of(scene, "level");
        if (!level.empty())
            out.push_back(level);
    }
}

}  // namespace

void sim_load_worlds(sim_context& ctx, sim_worlds_data& out)
{
    sim_worlds_data d;
    d.tree = script_handle::fresh(&script_global_symbols());
    init_parser parser(d.tree);
    ctx.pak.enumerate(pak_code_init, parser);
    script_handle worlds = d.tree.get("worlds");
    for (script_id w = 0;; ++w) {
        script_handle node = worlds.get(w);
        if (node.type() != script_type_block)
            break;
        sim_world world;
        world.name = string_of(node, "name");
        world.node = node;
        for (script_id l = 0;; ++l) {
            script_handle level = node.get(l);
            if (level.type() != script_type_block)
                break;
            world.levels.push_back(read_level(level));
        }
        d.worlds.push_back(std::move(world));
    }
    for (const char* sequence : {"startup", "ending", "exit"})
        add_scene_levels(d.tree.get(sequence), d.scene_levels);
    out = std::move(d);
}

const sim_world_level* sim_find_world_level(const sim_worlds_data& data, const std::string& level)
{
    for (const sim_world& w : data.worlds)
        for (const sim_world_level& l : w.levels)
            if (l.level == level)
                return &l;
    return nullptr;
}

std::string sim_level_chunk_name(const std::string& root, const std::string& level_path)
{
    std::string rel = fs::path(level_path).lexically_relative(root).generic_string();
    if (rel.empty() || rel.rfind("..", 0) == 0)
        rel = fs::path(level_path).filename().string();
    const std::string suffix = ".LEVL.txt";
    if (rel.size() >= suffix.size() && rel.compare(rel.size() - suffix.size(), suffix.size(), suffix) == 0)
        rel.resize(rel.size() - suffix.size());
    for (char& c : rel)
        if (c == '/')
            c = '\\';
    return rel;
}
