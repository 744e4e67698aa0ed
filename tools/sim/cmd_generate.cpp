// tamble-sim generate: new levels searched from the templates, judged by the simulator and
// kept with their solutions, replays, intro pictures and measured ratings.
#include "tools/sim/commands.h"
#include "tools/sim/sim_generate.h"
#include "tools/sim/sim_verify.h"

#include <cstdio>
#include <cstdlib>

#ifndef TAMBLE_SIM_TEMPLATES
#define TAMBLE_SIM_TEMPLATES "tools/sim/generate_templates.txt"
#endif

namespace {

constexpr const char* usage =
    "usage: tamble-sim generate OUTDIR [--count N] [--seed S] [--difficulty MIN-MAX] [--templates FILE]\n"
    "                           [--prefix NAME] [--threads N] [--max-candidates N] [--no-pictures]\n"
    "                           [--size PIXELS] [--data ROOT | --archive FILE]\n"
    "  writes OUTDIR/levels/NAME.LEVL.txt, .solution and _r.RPLY.pkc, OUTDIR/tex/levels/NAME0..3.png and\n"
    "  OUTDIR/generated.txt; the pictures need a display (xvfb-run) and the art (--archive build/tamble.pk2)\n";

int fail(const std::string& message)
{
    return sim_tool_fail("generate", message, usage);
}

bool parse_range(const std::string& text, int32_t& low, int32_t& high)
{
    size_t dash = text.find('-');
    if (dash == std::string::npos)
        return sim_parse_count(text, low) && sim_parse_count(text, high);
    return sim_parse_count(text.substr(0, dash), low) && sim_parse_count(text.substr(dash + 1), high);
}

bool parse_seed(const std::string& text, uint64_t& out)
{
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

int sim_cmd_generate(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error))
        return fail(error);
    sim_generate_options options;
    std::string templates = TAMBLE_SIM_TEMPLATES, out_root;
    bool pictures = true;
    int32_t size = 512;
    bool prefix_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        const std::string value = has_value ? args[i + 1] : std::string();
        int32_t n = 0;
        if (a == "--count") {
            if (!has_value || !sim_parse_count(value, n) || n < 1 || n > 99)
                return fail("--count takes 1 to 99 levels");
            options.count = n;
        } else if (a == "--seed") {
            if (!has_value || !parse_seed(value, options.seed))
                return fail("--seed takes a whole number");
        } else if (a == "--difficulty") {
            if (!has_value || !parse_range(value, options.min_rating, options.max_rating) || options.min_rating < 1 ||
                options.max_rating > 8 || options.min_rating > options.max_rating)
                return fail("--difficulty takes MIN-MAX half stars within 1-8");
        } else if (a == "--templates") {
            if (!has_value)
                return fail("--templates needs a file");
            templates = value;
        } else if (a == "--prefix") {
            if (!has_value || value.empty() || value.find_first_of("/\\ .") != std::string::npos)
                return fail("--prefix takes a name without blanks, dots or slashes");
            options.prefix = value;
            prefix_given = true;
        } else if (a == "--threads") {
            if (!has_value || !sim_parse_count(value, n) || n < 1 || n > 256)
                return fail("--threads takes 1 to 256");
            options.threads = n;
        } else if (a == "--max-candidates") {
            if (!has_value || !sim_parse_count(value, n) || n < 1)
                return fail("--max-candidates takes a positive count");
            options.max_candidates = n;
        } else if (a == "--size") {
            if (!has_value || !sim_parse_count(value, size) || size < 16 || size > 4096)
                return fail("--size takes 16 to 4096 pixels");
        } else if (a == "--no-pictures") {
            pictures = false;
            continue;
        } else if (a.rfind("--", 0) == 0) {
            return fail("unknown option " + a);
        } else {
            if (!out_root.empty())
                return fail("one OUTDIR only");
            out_root = a;
            continue;
        }
        ++i;
    }
    if (out_root.empty())
        return fail("no OUTDIR");
    if (!prefix_given)
        options.prefix = "Gen" + std::to_string(options.seed) + "_";
    if (!sim_load_templates(templates, options.templates, error))
        return fail(error);
#ifndef TAMBLE_SIM_VIEW
    if (pictures)
        return fail("this build draws no pictures (no window layer): add --no-pictures");
#endif

    std::vector<std::string> roots = sources.data_roots;
    if (roots.empty() && sources.archives.empty())
        roots.push_back("base");
    sources.data_roots = roots;
    sim_context ctx;
    if (!ctx.open(sources, error))
        return fail(error);
    for (const std::string& root : roots)
        for (auto& known : sim_root_signatures(ctx, root))
            options.known.push_back(std::move(known));
    options.out_root = out_root;
    options.progress = stderr;
    std::fprintf(stderr, "generate: %zu templates, %zu shipped levels to differ from, seed %llu\n",
                 options.templates.templates.size(), options.known.size(),
                 static_cast<unsigned long long>(options.seed));

    sim_generate_report report;
    if (!sim_generate_levels(ctx, options, report, error))
        return sim_tool_fail("generate", error);
    sim_print_generate_summary(stdout, report);
    int status = int32_t(report.kept.size()) < options.count ? 1 : 0;
    for (const sim_kept_level& k : report.kept) {
        sim_verify_result v = sim_verify_level(ctx, k.path);
        std::printf("%s  %s: rating %d, %s\n", v.passed ? "ok  " : "FAIL", k.path.c_str(), k.judgement.rating,
                    k.signature.text().c_str());
        for (const std::string& f : v.failures)
            std::printf("      %s\n", f.c_str());
        status = v.passed ? status : 1;
    }
#ifdef TAMBLE_SIM_VIEW
    if (pictures && !report.kept.empty()) {
        std::vector<std::pair<std::string, std::string>> levels;
        for (const sim_kept_level& k : report.kept)
            levels.emplace_back(k.path, "levels\\" + k.name);
        int drawn = sim_draw_level_pictures(ctx, out_root, levels, size);
        status = drawn ? drawn : status;
    }
#endif
    return status;
}
