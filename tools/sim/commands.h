// Sub-commands of tamble-sim. Each takes the arguments after its own name and returns
// the process exit status. Adding a command is one row in `sim_tool_commands` (main.cpp)
// and one declaration here.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class sim_context;

struct sim_tool_command {
    const char* name;
    const char* usage;  // shown by --help
    int (*run)(int argc, char** argv);
};

// Reports a failure on stderr as "tamble-sim COMMAND: MESSAGE", then the usage text when
// one is given, and returns 3, the tool's exit status for bad arguments or data.
int sim_tool_fail(const char* command, const std::string& message, const char* usage = nullptr);

// The table of every sub-command, terminated by an entry with a null name.
extern const sim_tool_command sim_tool_commands[];

int sim_cmd_info(int argc, char** argv);
int sim_cmd_run(int argc, char** argv);
int sim_cmd_play(int argc, char** argv);
int sim_cmd_bench(int argc, char** argv);
int sim_cmd_verify(int argc, char** argv);
int sim_cmd_report(int argc, char** argv);
int sim_cmd_generate(int argc, char** argv);
// The live viewer (tools/sim/sim_view.cpp) and the level previews (sim_previews.cpp), built
// only with the window layer.
int sim_cmd_view(int argc, char** argv);
int sim_cmd_previews(int argc, char** argv);
// The four intro pictures of each level (its source, a file or chunk name, and its chunk
// name, which names the pictures) drawn into `root` as `previews` draws them: 0 when all
// were written, 1 when one could not be, 3 without a display or render target.
int sim_draw_level_pictures(sim_context& ctx, const std::string& root,
                            const std::vector<std::pair<std::string, std::string>>& levels, int32_t size);
