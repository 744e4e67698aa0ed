// Reading the worlds data of a data root.
#include "tools/sim/sim_worlds.h"

#include "data/pak_script.h"
#include "data/pak_tree.h"
#include "data/script.h"
#include "tools/sim/sim_cuts.h"
#include "data/pak_source_dir.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

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
    script_handle tree = script_handle::fresh(&script_global_symbols());
    init_parser parser(tree);
    ctx.pak.enumerate(pak_code_init, parser);
    sim_read_worlds(tree, out);
}

void sim_read_worlds(const script_handle& tree, sim_worlds_data& out)
{
    sim_worlds_data d;
    d.tree = tree;
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

std::vector<sim_level_file> sim_level_files(const std::string& root)
{
    const std::string suffix = ".LEVL.txt";
    std::vector<pak_tree_file> files;
    pak_walk_tree(root, files);
    std::vector<sim_level_file> out;
    for (const pak_tree_file& f : files) {
        std::string chunk;
        if (f.leaf.size() > suffix.size() && f.leaf.ends_with(suffix) &&
            f.chunk_name(f.leaf.substr(0, f.leaf.size() - suffix.size()), chunk))
            out.push_back({f.path, chunk});
    }
    return out;
}

namespace {

using problems_t = std::vector<std::string>;

std::string where(const sim_world& w, size_t index)
{
    std::string name = w.name.empty() ? "world" : w.name;
    return name + " level " + std::to_string(index);
}

bool has_string(const script_handle& h, const char* key)
{
    return h.get(key).as_string() != nullptr;
}

void check_awards(const sim_world& w, size_t wi, problems_t& out)
{
    std::string name = w.name.empty() ? "world " + std::to_string(wi) : w.name;
    if (w.name.empty())
        out.push_back(name + ": no name");
    for (const char* key : {"map", "emblem", "trophy_blank", "rune_icon", "rune_large", "rune_medium",
                            "rune_tile1", "rune_tile2"})
        if (!has_string(w.node, key))
            out.push_back(name + ": no \"" + key + "\"");
    for (const char* award : {"trophy1", "trophy2", "shard1", "shard2", "shard3"}) {
        script_handle a = w.node.get(award);
        bool shard = award[0] == 's';
        for (const char* key : {"name", "tex_large", "tex_icon", "tex_medium"}) {
            if (!shard && key[4] == 'm')
                continue;
            if (!has_string(a, key))
                out.push_back(name + ": " + award + " has no \"" + key + "\"");
        }
    }
    for (int32_t award = 1; award <= 5; ++award) {
        int32_t n = 0;
        for (const sim_world_level& l : w.levels)
            n += l.trophy == award;
        if (n != 1)
            out.push_back(name + ": award " + std::to_string(award) + " is given by " + std::to_string(n) +
                          " levels, not one");
    }
}

float distance(const sim_world_level& a, const sim_world_level& b)
{
    float dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

void check_level(const sim_worlds_data& data, size_t wi, size_t li,
                 const std::vector<std::string>& level_files, bool (*image_exists)(const std::string&, void*),
                 void* image_ctx, problems_t& out)
{
    const sim_world& w = data.worlds[wi];
    const sim_world_level& l = w.levels[li];
    std::string at = where(w, li);
    if (l.level.empty()) {
        out.push_back(at + ": no \"level\"");
        return;
    }
    at += " (" + l.level + ")";
    if (std::find(level_files.begin(), level_files.end(), l.level) == level_files.end())
        out.push_back(at + ": no such level");
    if (l.title.empty())
        out.push_back(at + ": no title");
    if (l.difficulty < 1 || l.difficulty > 8)
        out.push_back(at + ": difficulty " + std::to_string(l.difficulty) + " is not 1 to 8");
    if (l.song < 1)
        out.push_back(at + ": no song");
    std::string missing;
    for (int i = 0; i < 4; ++i)
        if (!image_exists("tex\\" + l.level + std::to_string(i), image_ctx))
            missing += (missing.empty() ? "tex\\" + l.level : " ") + std::to_string(i);
    if (!missing.empty())
        out.push_back(at + ": intro images missing: " + missing);
    for (int32_t s : l.successors)
        if (s < 0 || size_t(s) >= w.levels.size())
            out.push_back(at + ": successor " + std::to_string(s) + " is not a level of the world");
    if (l.tip != 0) {
        script_handle tip = data.tree.get("tips").get(script_id(l.tip));
        if (l.tip < 1 || l.tip > 31 || !tip.get("line1").as_string() || !tip.get("graphic").as_string())
            out.push_back(at + ": tip " + std::to_string(l.tip) + " has no card (line1 and graphic)");
    }
    if (l.rune >= 0) {
        if (size_t(l.rune) >= data.worlds.size() || size_t(l.rune) == wi)
            out.push_back(at + ": rune " + std::to_string(l.rune) + " is not another world");
        if (l.state != 0)
            out.push_back(at + ": rune-locked but open from the start");
        for (size_t k = 0; k < w.levels.size(); ++k) {
            if (k == li)
                continue;
            const sim_world_level& o = w.levels[k];
            if (std::find(o.successors.begin(), o.successors.end(), int32_t(li)) != o.successors.end())
                out.push_back(at + ": rune-locked, yet level " + std::to_string(k) + " opens it");
            else if (distance(o, l) < sim_neighbour_distance)
                out.push_back(at + ": rune-locked, yet its tile lies next to level " + std::to_string(k) +
                              "'s, which opens it");
        }
    }
}

// Which levels a profile can open by solving everything it can, world by world, with
// runes counted once all three segment levels of their world are open.
std::vector<std::vector<bool>> reachable_levels(const sim_worlds_data& data)
{
    std::vector<std::vector<bool>> open(data.worlds.size());
    for (size_t w = 0; w < data.worlds.size(); ++w) {
        open[w].resize(data.worlds[w].levels.size());
        for (size_t l = 0; l < open[w].size(); ++l)
            open[w][l] = data.worlds[w].levels[l].state & 1;
    }
    auto rune_won = [&](int32_t world) {
        if (world < 0 || size_t(world) >= data.worlds.size())
            return false;
        int32_t segments = 0;
        for (size_t l = 0; l < open[world].size(); ++l) {
            int32_t t = data.worlds[world].levels[l].trophy;
            segments |= open[world][l] && t >= 3 && t <= 5 ? 1 << t : 0;
        }
        return segments == 0x38;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t w = 0; w < data.worlds.size(); ++w) {
            const std::vector<sim_world_level>& levels = data.worlds[w].levels;
            for (size_t l = 0; l < levels.size(); ++l) {
                bool now = open[w][l] || (levels[l].rune >= 0 && rune_won(levels[l].rune));
                for (size_t k = 0; !now && k < levels.size(); ++k) {
                    if (!open[w][k])
                        continue;
                    const std::vector<int32_t>& s = levels[k].successors;
                    now = std::find(s.begin(), s.end(), int32_t(l)) != s.end() ||
                          distance(levels[k], levels[l]) < sim_neighbour_distance;
                }
                if (now && !open[w][l]) {
                    open[w][l] = true;
                    changed = true;
                }
            }
        }
    }
    return open;
}

void check_main_path(const sim_world& w, problems_t& out)
{
    size_t start = w.levels.size();
    for (size_t l = 0; l < w.levels.size() && start == w.levels.size(); ++l)
        if (w.levels[l].state & 1)
            start = l;
    std::vector<bool> seen(w.levels.size());
    for (size_t l = start; l < w.levels.size() && !seen[l];) {
        seen[l] = true;
        const sim_world_level& here = w.levels[l];
        if (here.successors.empty() || here.successors[0] < 0 ||
            size_t(here.successors[0]) >= w.levels.size())
            break;
        size_t next = size_t(here.successors[0]);
        if (w.levels[next].difficulty < here.difficulty)
            out.push_back(where(w, next) + " (" + w.levels[next].level + "): difficulty " +
                          std::to_string(w.levels[next].difficulty) + " falls below the " +
                          std::to_string(here.difficulty) + " of the level before it on the main path");
        l = next;
    }
}

}  // namespace

std::vector<std::string> sim_check_worlds(const sim_worlds_data& data,
                                          const std::vector<std::string>& level_files,
                                          const std::vector<std::string>& scenes,
                                          bool (*image_exists)(const std::string& texture, void* ctx),
                                          void* image_ctx)
{
    problems_t out;
    if (data.worlds.empty())
        out.push_back("no worlds");
    for (size_t w = 0; w < data.worlds.size(); ++w) {
        check_awards(data.worlds[w], w, out);
        if (data.worlds[w].levels.empty())
            out.push_back(data.worlds[w].name + ": no levels");
        for (size_t l = 0; l < data.worlds[w].levels.size(); ++l)
            check_level(data, w, l, level_files, image_exists, image_ctx, out);
        check_main_path(data.worlds[w], out);
    }
    for (const std::string& file : level_files) {
        bool used =
            sim_find_world_level(data, file) ||
            std::find(data.scene_levels.begin(), data.scene_levels.end(), file) != data.scene_levels.end() ||
            std::find(scenes.begin(), scenes.end(), file) != scenes.end();
        if (!used)
            out.push_back(file + ": in no world and no sequence");
    }
    for (const std::string& level : data.scene_levels)
        if (std::find(level_files.begin(), level_files.end(), level) == level_files.end())
            out.push_back("a sequence plays " + level + ", which does not exist");
    std::vector<std::vector<bool>> open = reachable_levels(data);
    for (size_t w = 0; w < open.size(); ++w)
        for (size_t l = 0; l < open[w].size(); ++l)
            if (!open[w][l])
                out.push_back(where(data.worlds[w], l) + " (" + data.worlds[w].levels[l].level +
                              "): no way to open it from a new profile");
    return out;
}

namespace {

struct image_search {
    sim_context* ctx;
    std::string root;
};

bool image_found(const std::string& texture, void* p)
{
    const image_search& s = *static_cast<const image_search*>(p);
    return sim_texture_source_found(*s.ctx, s.root, texture);
}

}  // namespace

bool sim_texture_source_found(sim_context& ctx, const std::string& root, const std::string& texture)
{
    std::string path = root + "/";
    for (char c : texture)
        path += c == '\\' ? '/' : c;
    std::error_code ec;
    if (fs::is_regular_file(path + ".png", ec))
        return true;
    // Asked of each store quietly: a missing image is reported once, by the check.
    for (const std::unique_ptr<pak_module>& m : ctx.pak.modules) {
        ref_ptr<pak_chunkref> chunk = m->get(texture.c_str());
        if (chunk && chunk->get_code() == pak_code_imag)
            return true;
    }
    return false;
}

bool sim_root_has_worlds(const std::string& root)
{
    pak_system own;
    own.add_module(std::make_unique<pak_source_dir>(&own, root));
    script_handle tree = script_handle::fresh(&script_global_symbols());
    init_parser parser(tree);
    own.enumerate(pak_code_init, parser);
    return tree.get("worlds").type() == script_type_block;
}

std::vector<std::string> sim_verify_worlds(sim_context& ctx, const std::string& root, sim_worlds_data& data)
{
    sim_load_worlds(ctx, data);
    std::vector<std::string> levels, scenes;
    for (const sim_level_file& f : sim_level_files(root)) {
        levels.push_back(f.chunk);
        sim_solution solution;
        std::string error;
        if (sim_read_solution(sim_solution_path(f.path), solution, error) && solution.unattended)
            scenes.push_back(f.chunk);
    }
    image_search search{&ctx, root};
    return sim_check_worlds(data, levels, scenes, image_found, &search);
}
