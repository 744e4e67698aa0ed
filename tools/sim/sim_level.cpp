// Opening the tool's stores and turning level and replay arguments into worlds and bytes.
#include "tools/sim/sim_level.h"

#include "app/file_io.h"
#include "data/pak_script.h"
#include "physics/constraint.h"
#include "physics/type_creators.h"
#include "tools/sim/sim_sounds.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool ends_with(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool read_chunk(pak_chunkref& ref, std::vector<uint8_t>& out)
{
    out.resize(ref.get_size());
    return ref.read(out.data()) == 0;
}

}  // namespace

bool sim_take_source_options(std::vector<std::string>& args, sim_source_options& out, std::string& error)
{
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data" || args[i] == "--archive") {
            if (i + 1 >= args.size()) {
                error = args[i] + " needs a value";
                return false;
            }
            (args[i] == "--data" ? out.data_roots : out.archives).push_back(args[i + 1]);
            ++i;
        } else {
            rest.push_back(args[i]);
        }
    }
    args = std::move(rest);
    return true;
}

sim_context::~sim_context()
{
    if (v_level_store() == &pak)
        v_level_set_store(nullptr);
    v_set_default_constraint_type(nullptr);
    sim_load_sound_table(nullptr);
}

bool sim_context::open(const sim_source_options& options, std::string& error)
{
    v_register_type_creators(pak);
    std::vector<std::string> roots = options.data_roots;
    if (roots.empty() && options.archives.empty())
        roots.push_back("base");
    for (const std::string& root : roots) {
        std::error_code ec;
        if (!fs::is_directory(root, ec)) {
            error = "data root '" + root + "' is not a directory";
            return false;
        }
        pak.add_module(std::make_unique<pak_source_dir>(&pak, root));
    }
    for (const std::string& archive : options.archives) {
        if (!pak.add_archive(archive.c_str(), false)) {
            error = "cannot open archive '" + archive + "'";
            return false;
        }
    }
    v_level_set_store(&pak);
    v_install_default_constraint_type(pak);
    sim_load_sound_table(&pak);
    return true;
}

bool sim_is_level_file(const std::string& level)
{
    std::error_code ec;
    return ends_with(level, ".LEVL.txt") || fs::is_regular_file(level, ec);
}

bool sim_level_text(sim_context& ctx, const std::string& level, std::string& text, std::string& error)
{
    if (sim_is_level_file(level)) {
        if (!file_read_all(level, text, v_level_file_limit)) {
            error = "cannot open or read level file '" + level + "'";
            return false;
        }
        return true;
    }
    ref_ptr<pak_chunkref> ref = ctx.pak.get(level.c_str());
    if (!ref || ref->get_code() != pak_code_levl) {
        error = "no level chunk '" + level + "'";
        return false;
    }
    std::vector<char> chars;
    if (!pak_read_text(*ref, chars)) {
        error = "cannot read level chunk '" + level + "'";
        return false;
    }
    text.assign(chars.data());
    return true;
}

bool sim_load_world(sim_context& ctx, const std::string& level, int32_t mode,
                    const std::vector<uint8_t>* replay_bytes, v_world& world, v_level_report& report,
                    std::string& error)
{
    std::string text;
    if (!sim_level_text(ctx, level, text, error))
        return false;
    world = v_world(mode);
    v_replay& replay = v_replay_global();
    replay.init();
    if (!v_level_load_text(world, text.c_str(), level.c_str(), &report)) {
        error = "level '" + level + "' does not parse";
        return false;
    }
    if (!v_world_attach_replay(world, replay, replay_bytes)) {
        error = "the replay does not fit level '" + level + "'";
        return false;
    }
    return true;
}

bool sim_read_replay(sim_context& ctx, const std::string& level, const std::string& replay,
                     std::vector<uint8_t>& bytes, std::string& where, std::string& error)
{
    std::string arg = replay;
    if (arg.empty())
        arg = sim_is_level_file(level) ? v_level_replay_path(level) : level + "_r";
    where = arg;
    std::error_code ec;
    if (fs::is_regular_file(arg, ec)) {
        if (!v_replay_read_file(arg.c_str(), bytes)) {
            error = "'" + arg + "' is not a replay chunk file";
            return false;
        }
        return true;
    }
    if (ends_with(arg, ".pkc")) {
        error = "no replay file '" + arg + "'";
        return false;
    }
    ref_ptr<pak_chunkref> ref = ctx.pak.get(arg.c_str());
    if (!ref || ref->get_code() != pak_code_rply) {
        error = "no replay chunk '" + arg + "'";
        return false;
    }
    if (!read_chunk(*ref, bytes)) {
        error = "cannot read replay chunk '" + arg + "'";
        return false;
    }
    return true;
}
